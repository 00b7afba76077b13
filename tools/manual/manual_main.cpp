// Writes the manual page with the options, the settings file's keys, the
// controls, the keys, the gamepad and the settings screen's rows put in from
// the game's own tables:
//
//   kordavan-manual PAGE_IN PAGE_OUT

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "shell/controls_help.h"
#include "shell/settings_manual.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::cerr << "usage: kordavan-manual PAGE_IN PAGE_OUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string page{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in) {
        std::cerr << "kordavan-manual: cannot read " << argv[1] << "\n";
        return 1;
    }
    // The keys first: the settings screen's line among them holds the
    // marker of the screen's rows.
    const auto keys = withManualControls(page);
    const auto made = keys ? manualPage(*keys) : std::nullopt;
    if (!made) {
        std::cerr << "kordavan-manual: " << argv[1] << " lacks a marker line of the lists\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << *made;
    out.close();
    if (!out) {
        std::cerr << "kordavan-manual: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
