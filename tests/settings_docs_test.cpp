// The pages that describe the settings say what the settings table says:
// the README's options are --help's own lines, docs/settings.md lists every
// key of the file with its values and the settings screen's rows in their
// order, and the manual page's source keeps a place for each of its lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "shell/controls_help.h"
#include "shell/options.h"
#include "shell/setting_words.h"
#include "shell/settings_manual.h"
#include "shell/settings_menu.h"
#include "shell/settings_table.h"
#include "tests/docs_pages.h"

namespace {

namespace fs = std::filesystem;

std::string sourceFile(const fs::path& path) {
    return fileText(fs::path(KORDAVAN_SOURCE_DIR) / path);
}

// The rows of the first Markdown table under `heading` in a page, each row
// its cells between the bars, as written.
std::vector<std::vector<std::string>> tableRows(const std::string& page,
                                                const std::string& heading) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : markdownRows(page, heading)) {
        std::vector<std::string> cells;
        for (size_t bar = 0, next = 0; (next = line.find('|', bar + 1)) != std::string::npos;
             bar = next) {
            cells.push_back(line.substr(bar + 1, next - bar - 1));
        }
        rows.push_back(cells);
    }
    return rows;
}

// The first cells of the first Markdown table under `heading` in a page.
std::vector<std::string> firstCells(const std::string& page, const std::string& heading) {
    std::vector<std::string> cells;
    for (const auto& row : tableRows(page, heading)) cells.push_back(row.front());
    return cells;
}

// What a text holds between two marks (`code`, **bold**), each piece on its own.
std::vector<std::string> marked(const std::string& text, const std::string& mark = "`") {
    std::vector<std::string> pieces;
    for (size_t open = text.find(mark); open != std::string::npos;) {
        const size_t close = text.find(mark, open + mark.size());
        if (close == std::string::npos) break;
        pieces.push_back(text.substr(open + mark.size(), close - open - mark.size()));
        open = text.find(mark, close + mark.size());
    }
    return pieces;
}

// The options of the README's table under "## Options": the first column of
// each row holds one or more options in backquotes, ", " between them, each
// `--name` or `--name ARG` as --help shows it.
std::multiset<std::string> readmeOptions(const std::string& readme) {
    std::multiset<std::string> found;
    for (const std::string& cell : firstCells(readme, "## Options")) {
        for (const std::string& option : marked(cell)) found.insert(option);
    }
    return found;
}

std::vector<const SettingRow*> rowsOf(SettingPlace place) {
    std::vector<const SettingRow*> out;
    for (const SettingRow& row : settingsTable())
        if (row.place & place) out.push_back(&row);
    return out;
}

TEST(SettingsDocs, TheReadmeListsExactlyTheCommandLineOptions) {
    std::multiset<std::string> expected;
    for (const SettingRow* row : rowsOf(commandLine)) expected.insert(optionWords(*row));
    EXPECT_EQ(readmeOptions(sourceFile("README.md")), expected);
}

TEST(SettingsDocs, TheReadmeCheckReadsOnlyItsTable) {
    const std::string readme =
        "# Game\n| `--not-this` | |\n\n## Options\n\n| Option | |\n|---|---|\n"
        "| `--scale N` | size |\n| `--help`, `--version` | show |\n\nThen `--later`.\n"
        "| `--other-table` | |\n";
    EXPECT_EQ(readmeOptions(readme),
              (std::multiset<std::string>{"--scale N", "--help", "--version"}));
}

TEST(SettingsDocs, TheReadmesOptionsSayWhatHelpSays) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const SettingRow* row : rowsOf(commandLine))
        expected.emplace_back(std::string("`").append(optionWords(*row)).append("`"),
                              optionHelp(*row));
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& cells : tableRows(sourceFile("README.md"), "## Options")) {
        if (cells.size() < 2 || marked(cells[0]).empty()) continue;
        found.emplace_back(std::string(trim(cells[0])), std::string(trim(cells[1])));
    }
    EXPECT_EQ(found, expected);
}

TEST(SettingsDocs, TheReadmeNamesTheOptionsTheFileCannotKeep) {
    std::set<std::string> expected;
    for (const SettingRow* row : rowsOf(commandLine)) {
        // --window and --fullscreen pick the display, which the file keeps.
        if (!(row->place & settingsFile) && row->kind != SettingKind::pick)
            expected.insert(std::string("--").append(row->name));
    }
    const std::string readme = sourceFile("README.md");
    const size_t from = readme.find("The same choices, but for");
    ASSERT_NE(from, std::string::npos);
    const std::vector<std::string> named =
        marked(readme.substr(from, readme.find("can be kept", from) - from));
    EXPECT_EQ(std::set<std::string>(named.begin(), named.end()), expected);
}

// The values the table in docs/settings.md offers for each key: a row's first
// cell is `key = value` then `other value`s.
std::map<std::string, std::vector<std::string>> documentedValues(const std::string& page) {
    std::map<std::string, std::vector<std::string>> found;
    for (const std::string& cell : firstCells(page, "## The settings file")) {
        std::vector<std::string> pieces = marked(cell);
        const size_t equals = pieces.empty() ? std::string::npos : pieces.front().find(" = ");
        if (equals == std::string::npos) continue;
        const std::string key = pieces.front().substr(0, equals);
        pieces.front().erase(0, equals + 3);
        found[key] = pieces;
    }
    return found;
}

// What a row of the file takes, as the page shows it.
std::vector<std::string> valuesOf(const SettingRow& row) {
    switch (row.kind) {
        case SettingKind::flag:
            return {"yes", "no"};
        case SettingKind::number:
            return {std::string(row.argument)};
        default: {
            std::vector<std::string> words;
            for (int index = 0; !settingWord(row, index).empty(); ++index)
                words.emplace_back(settingWord(row, index));
            return words;
        }
    }
}

TEST(SettingsDocs, TheSettingsPageListsEveryFileKeyWithItsValues) {
    const std::string page = sourceFile("docs/settings.md");
    std::map<std::string, std::vector<std::string>> expected;
    for (const SettingRow* row : rowsOf(settingsFile))
        expected[std::string(row->name)] = valuesOf(*row);
    EXPECT_EQ(documentedValues(page), expected);
    // A number's range, as the option parser takes it.
    for (const auto& cells : tableRows(page, "## The settings file")) {
        const std::vector<std::string> pieces = marked(cells.front());
        const SettingRow* row =
            pieces.empty() ? nullptr
                           : findSetting(pieces.front().substr(0, pieces.front().find(' ')));
        if (row == nullptr || row->kind != SettingKind::number) continue;
        const std::string range = std::to_string(row->low) + " to " + std::to_string(row->high);
        EXPECT_NE(cells.back().find(range), std::string::npos) << row->name << ": " << range;
    }
}

TEST(SettingsDocs, TheSettingsPageNamesTheScreensRowsInItsOrder) {
    const std::string page = sourceFile("docs/settings.md");
    const size_t from = page.find("The first page holds");
    ASSERT_NE(from, std::string::npos);
    std::string paragraph = page.substr(from, page.find("\n\n", from) - from);
    std::replace(paragraph.begin(), paragraph.end(), '\n', ' ');
    const std::vector<std::string> named = marked(paragraph, "**");
    const std::vector<std::string_view> labels = firstPageLabels();
    EXPECT_EQ(named, std::vector<std::string>(labels.begin(), labels.end()));
}

TEST(SettingsDocs, TheManualPagesSourceHasAPlaceForEveryList) {
    const auto keys = withManualControls(sourceFile("packaging/kordavan.6.in"));
    ASSERT_TRUE(keys.has_value());
    const auto page = manualPage(*keys);
    ASSERT_TRUE(page.has_value());
    for (const std::string& list :
         {manualOptions(), manualFileKeys(), manualControls(), manualScreenRows()}) {
        EXPECT_NE(page->find(list), std::string::npos) << list;
    }
}

}  // namespace
