// The control table and everything made from it agree: the defaults read
// back as the table writes them, every control is told of once in the keys
// list and once in the gamepad's, and --help, the manual page as built, the
// README and the settings screen's rows name each control's default keys
// and buttons.

#include "shell/control_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "shell/controls_help.h"
#include "shell/key_bindings.h"
#include "shell/options.h"
#include "shell/settings_manual.h"
#include "shell/settings_menu.h"
#include "tests/docs_pages.h"

namespace {

namespace fs = std::filesystem;

[[maybe_unused]] std::string contents(const fs::path& path) {
    return fileText(path);
}

[[maybe_unused]] std::vector<std::string> tableRows(const std::string& page,
                                                    const std::string& heading) {
    return markdownRows(page, heading);
}

std::vector<std::string> sortedNames(std::vector<std::string_view> names) {
    std::vector<std::string> out(names.begin(), names.end());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(ControlTable, EachDefaultIsKnownAndWrittenBackAsTheTableWritesIt) {
    const KeyBindings defaults = defaultKeyBindings();
    for (size_t i = 0; i < controlCount; ++i) {
        const ControlRow& row = controlTable[i];
        EXPECT_EQ(keyNames(defaults.keys[i]), row.keys) << row.name;
        EXPECT_EQ(padNames(defaults.pads[i]), row.pads) << row.name;
        EXPECT_EQ(controlIndex(row.name), i);
        EXPECT_EQ(controlIndex(controlLabel(i)), i) << "the screen's label reads back";
    }
    EXPECT_EQ(controlIndex("jump"), controlCount);
}

TEST(ControlTable, EveryReplayWordIsAControlWithAKeyAScriptCanPress) {
    for (const ControlWord& word : controlWords) {
        const auto row = std::find_if(std::begin(controlTable), std::end(controlTable),
                                      [&](const ControlRow& r) { return r.member == word.member; });
        ASSERT_NE(row, std::end(controlTable)) << word.word;
        EXPECT_EQ(defaultKey(word.member), keyByName(row->keys.substr(0, row->keys.find(','))));
        EXPECT_NE(defaultKey(word.member), 0) << word.word;
    }
}

TEST(ControlTable, EveryControlIsToldOfOnceInTheKeysListAndOnceInTheGamepads) {
    const std::vector<std::string> all =
        sortedNames({controlNames().begin(), controlNames().end()});
    EXPECT_EQ(sortedNames(keysListControls()), all);
    EXPECT_EQ(sortedNames(gamepadControls()), all);
}

// Each page, and how it writes a control's default keys where it tells of
// them; its pad buttons stand as words of their own.
struct Page {
    const char* name;
    std::string text;
    std::function<std::string(const ControlRow&)> keys;
};

bool hasWord(const std::string& text, std::string_view word) {
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const char before = at == 0 ? ' ' : text[at - 1];
        const char after = at + word.size() == text.size() ? ' ' : text[at + word.size()];
        if (std::string_view(" (\n").find(before) != std::string_view::npos &&
            std::string_view(" ,)\n").find(after) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string manualTag(std::string_view keys) {
    std::string tag(keys);
    for (size_t at = tag.find(", "); at != std::string::npos; at = tag.find(", ", at + 6))
        tag.replace(at, 2, " \", \" ");
    return (keys.find(',') == std::string_view::npos ? "\n.B " : "\n.BR ") + tag + "\n";
}

std::vector<Page> pages() {
    std::string readme;
    for (const std::string& row : readmeKeyRows()) readme += row + "\n";
    return {
        {"--help", helpText(),
         [](const ControlRow& row) { return "\n  " + std::string(row.keys) + "  "; }},
        {"the manual's sections", manualKeys() + manualGamepad(),
         [](const ControlRow& row) { return manualTag(row.keys); }},
        {"the README's rows", "\n" + readme,
         [](const ControlRow& row) { return "\n| " + std::string(row.keys) + " | "; }},
    };
}

TEST(ControlTable, EveryPageNamesEachControlsDefaultKeysAndButtons) {
    // The arrows are told of together, as the arrow keys and the d-pad.
    const std::vector<std::string_view> together = {"left", "right", "up", "down"};
    for (const Page& page : pages()) {
        for (const ControlRow& row : controlTable) {
            if (std::find(together.begin(), together.end(), row.name) != together.end()) continue;
            EXPECT_NE(page.text.find(page.keys(row)), std::string::npos)
                << page.name << " lacks the keys of " << row.name;
            EXPECT_TRUE(hasWord(page.text, row.pads))
                << page.name << " lacks the buttons of " << row.name;
        }
    }
}

// The source tree is the Linux build's to check; under Wine its path is not
// the program's.
#ifndef _WIN32
TEST(ControlTable, TheReadmesKeysTableIsTheListsOwn) {
    EXPECT_EQ(tableRows(contents(fs::path(KORDAVAN_SOURCE_DIR) / "README.md"), "## Keys"),
              readmeKeyRows());
}
#endif

#ifdef KORDAVAN_MAN_PAGE
TEST(ControlTable, TheBuiltManualPageHoldsTheKeysAndTheGamepad) {
    const std::string page = contents(KORDAVAN_MAN_PAGE);
    ASSERT_FALSE(page.empty()) << KORDAVAN_MAN_PAGE;
    // The settings screen's line among the keys lists the screen's rows in
    // place of their marker.
    std::string keys = manualKeys();
    const size_t rows = keys.find(manualScreenMarker);
    ASSERT_NE(rows, std::string::npos);
    keys.replace(rows, manualScreenMarker.size() + 1, manualScreenRows());
    EXPECT_NE(page.find(".SH KEYS\n" + keys + ".SH GAMEPAD\n" + manualGamepad()),
              std::string::npos);
    EXPECT_EQ(page.find("made from the control table"), std::string::npos) << "a marker was left";
}
#endif

TEST(ControlTable, APageWithoutBothMarkersIsNotMade) {
    const std::string page =
        "a\n" + std::string(manualKeysMarker) + "\nb\n" + std::string(manualGamepadMarker) + "\n";
    EXPECT_EQ(withManualControls(page), "a\n" + manualKeys() + "b\n" + manualGamepad());
    EXPECT_FALSE(withManualControls("a\n" + std::string(manualKeysMarker) + "\n").has_value());
    EXPECT_FALSE(withManualControls(std::string(manualGamepadMarker) + "\n").has_value());
}

TEST(ControlTable, TheSettingsScreenShowsARowPerControlWithItsDefaults) {
    useKeyBindings(defaultKeyBindings());
    SettingsScreenModel model{fs::path(), fs::path()};
    for (const auto& [link, value] : {std::pair{"Keys...", &ControlRow::keys},
                                      std::pair{"Pad buttons...", &ControlRow::pads}}) {
        model.open();
        const std::vector<ScreenRow> first = model.rows();
        const std::string label = link;
        const auto to = std::find_if(first.begin(), first.end(),
                                     [&](const ScreenRow& row) { return row.label == label; });
        ASSERT_NE(to, first.end()) << link;
        model.select(static_cast<size_t>(to - first.begin()));
        model.activate();
        const std::vector<ScreenRow> rows = model.rows();
        ASSERT_GE(rows.size(), controlCount) << link;
        for (size_t i = 0; i < controlCount; ++i) {
            EXPECT_EQ(rows[i].label, controlLabel(i)) << link;
            EXPECT_EQ(rows[i].value, controlTable[i].*value) << link;
        }
    }
}

}  // namespace
