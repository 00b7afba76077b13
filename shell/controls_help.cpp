// The keys and the gamepad as the help, the manual page and the README tell
// of them: the player's reading order and words, with the keys and buttons
// filled in from the control table.

#include "shell/controls_help.h"

#include <algorithm>

#include "shell/key_bindings.h"
#include "shell/manual_lists.h"
#include "shell/setting_words.h"

namespace {

// One line of the keys list. `controls` names the controls it tells of,
// spaces between them; none for a key the window keeps for itself. Their
// default keys are its keys unless `keys` speaks of them otherwise.
struct KeysLine {
    std::string_view controls;
    std::string_view keys;
    std::string_view help;
    std::string_view readme;
    std::string_view readmePads;  // {} stands for the controls' default buttons
    std::string_view manual;      // roff
};

// Settings first, as the title's corner shows it; then as a game goes.
constexpr KeysLine keysList[] = {
    {"settings", "",
     "the settings screen, on the title or paused: display, sound, keys, pad buttons, replays "
     "(Escape closes it)",
     "settings: display, volume, keys, pad buttons, replays (Escape or B closes)", "{}",
     "The settings screen, over the title or a paused game; its first page holds\n"
     ".\\\" The settings screen's rows, made from the settings table.\n"
     "Arrows choose, Return changes, Escape goes back to where play stood;\n"
     "the mouse works too.\n"
     "Every change takes effect at once and is saved in the settings file."},
    {"start", "", "start, on the title", "start, on the title screen", "{}",
     "Start, on the title."},
    {"left right up down", "arrow keys", "fly (Left pulls harder than Right)",
     "fly (Left pulls harder than Right)", "d-pad, left stick",
     "Fly.\n"
     "Left pulls harder than Right:\n"
     "the helicopter leaves the base faster than it comes home."},
    {"land", "", "land, low over the far landing field or over the base",
     "land, low over the far landing field or over the base", "{} (Cross)",
     "Land, low over the far landing field or over the base."},
    {"pause", "", "pause and resume, during play", "pause and resume, during play", "{} (Square)",
     "Pause and resume, during play."},
    {"confirm", "", "back to the title after a won or lost game",
     "back to the title after a won or lost game", "{}",
     "Back to the title after a won or lost game."},
    {"", "F11, Alt+Enter", "switch between window and full screen",
     "switch between window and full screen", "", "Switch between window and full screen."},
    {"screenshot", "", "save the picture on screen in the pictures folder",
     "save the picture on screen as a PNG", "{} (Triangle)",
     "Save the picture on screen as a PNG file in\n"
     ".IR $XDG_PICTURES_DIR/Kordavan/\n"
     "(the pictures folder of\n"
     ".BR xdg\\-user\\-dirs ;\n"
     ".I ~/Pictures/Kordavan/\n"
     "without one), named by the date and time, for example\n"
     ".IR \"Kordavan 2026\\-12\\-08 07\\-24\\-10.png\" .\n"
     "No picture is ever overwritten.\n"
     "If it cannot be saved, one line on standard error says why and play goes on."},
    {"quit", "", "quit", "quit", "{} (Select)",
     "Quit, except on the won and lost pictures, which wait for Return."},
};

// One part of the gamepad's paragraph; {} stands for the controls' default
// buttons. The help's parts run on in one sentence, the manual's are
// sentences of their own.
struct PadLine {
    std::string_view controls;
    std::string_view help;
    std::string_view manual;  // roff
};

constexpr PadLine gamepadList[] = {
    {"settings", "{} opens the settings screen and B closes it;",
     "{} opens the settings screen, the d\\-pad and A work in it, and B closes it."},
    {"left right up down", "the d-pad and the left stick fly,",
     "The d\\-pad and the left stick fly."},
    {"land", "the south button ({}, Cross) lands,", "The south button ({}, Cross) lands."},
    {"pause", "{} (Square) pauses,", "{} (Square) pauses and resumes play."},
    {"start confirm", "{} starts on the title and goes back to it from the won and lost pictures,",
     "{} starts the game on the title\n"
     "and goes back to the title from the won and lost pictures."},
    {"quit", "{} (Select) quits,", "{} (Select) quits."},
    {"screenshot", "{} (Triangle) saves the picture on screen.",
     "{} (Triangle) saves a screenshot."},
};

// At most 79 columns: a line that fills all 80 of a terminal leaves some
// terminals' cursor on a line of its own.
constexpr size_t helpWidth = 79;

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        if (space != 0) words.push_back(text.substr(0, space));
        text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
    }
    return words;
}

// The default keys or buttons of the controls, each once, in the settings
// file's words.
std::string defaultKeysOf(std::string_view controls) {
    const KeyBindings defaults = defaultKeyBindings();
    std::vector<uint8_t> keys;
    for (std::string_view name : wordsOf(controls)) {
        for (uint8_t key : defaults.keys[controlIndex(name)]) {
            if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
        }
    }
    return keyNames(keys);
}

std::string defaultPadsOf(std::string_view controls) {
    const KeyBindings defaults = defaultKeyBindings();
    std::vector<PadButton> pads;
    for (std::string_view name : wordsOf(controls)) {
        for (PadButton pad : defaults.pads[controlIndex(name)]) {
            if (std::find(pads.begin(), pads.end(), pad) == pads.end()) pads.push_back(pad);
        }
    }
    return padNames(pads);
}

std::string withPads(std::string_view text, std::string_view controls) {
    std::string out(text);
    const size_t at = out.find("{}");
    if (at != std::string::npos) out.replace(at, 2, defaultPadsOf(controls));
    return out;
}

std::string keysOf(const KeysLine& line) {
    return line.keys.empty() ? defaultKeysOf(line.controls) : std::string(line.keys);
}

std::string capitalised(std::string text) {
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z') text.front() -= 'a' - 'A';
    return text;
}

// ".B L", or ".BR P \", \" Pause" for several keys.
std::string manualKeysTag(const std::string& keys) {
    std::string tag;
    std::string_view rest = keys;
    while (!rest.empty()) {
        const size_t comma = rest.find(", ");
        tag += (tag.empty() ? "" : " \", \" ") + std::string(rest.substr(0, comma));
        rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 2);
    }
    return (keys.find(", ") == std::string::npos ? ".B " : ".BR ") + tag + "\n";
}

}  // namespace

std::string controlsHelp() {
    std::string out = "Keys:\n";
    for (const KeysLine& line : keysList) {
        std::string start = "  " + capitalised(keysOf(line));
        start.resize(std::max<size_t>(start.size() + 1, 24), ' ');
        out += filledLines(helpWidth, start, line.help, 24);
    }
    std::string gamepad = "Gamepad:";
    // Appended piece by piece: GCC 12 sees a false overlap in " " + text.
    for (const PadLine& line : gamepadList)
        gamepad.append(" ").append(withPads(line.help, line.controls));
    return out + "\n" + filledLines(helpWidth, "", gamepad, 0);
}

std::string manualKeys() {
    std::string out;
    for (const KeysLine& line : keysList) {
        out += &line == keysList ? ".TP 16\n" : ".TP\n";
        out += manualKeysTag(keysOf(line)) + std::string(line.manual) + "\n";
    }
    return out;
}

std::string manualGamepad() {
    std::string out;
    for (const PadLine& line : gamepadList) out += withPads(line.manual, line.controls) + "\n";
    return out;
}

std::optional<std::string> withManualControls(std::string_view page) {
    const ManualList lists[] = {{manualKeysMarker, manualKeys()},
                                {manualGamepadMarker, manualGamepad()}};
    return withLists(page, lists);
}

std::vector<std::string> readmeKeyRows() {
    std::vector<std::string> rows;
    for (const KeysLine& line : keysList) {
        std::string row = "|";
        for (const std::string& cell :
             {capitalised(keysOf(line)), withPads(line.readmePads, line.controls),
              std::string(line.readme)}) {
            row += (cell.empty() ? " " : " " + cell + " ") + "|";
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string_view> keysListControls() {
    std::vector<std::string_view> names;
    for (const KeysLine& line : keysList) {
        for (std::string_view name : wordsOf(line.controls)) names.push_back(name);
    }
    return names;
}

std::vector<std::string_view> gamepadControls() {
    std::vector<std::string_view> names;
    for (const PadLine& line : gamepadList) {
        for (std::string_view name : wordsOf(line.controls)) names.push_back(name);
    }
    return names;
}
