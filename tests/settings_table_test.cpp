// The settings table and everything made from it agree: every row is in
// --help, in the manual page as built and in the README's table of options,
// and the option parser and the settings file's reader take it with its
// range and default.

#include "shell/settings_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "shell/key_bindings.h"
#include "shell/options.h"
#include "shell/preferences.h"
#include "shell/settings_file.h"
#include "shell/settings_manual.h"
#include "shell/settings_menu.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text with every run of spaces and line ends as one space, so that
// where the help breaks its lines does not matter.
std::string words(std::string_view text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n';
        if (space && (out.empty() || out.back() == ' ')) continue;
        out += space ? ' ' : c;
    }
    return out;
}

CommandLine parse(std::vector<std::string> given) {
    given.insert(given.begin(), "kordavan");
    std::vector<char*> argv;
    for (std::string& word : given) argv.push_back(word.data());
    argv.push_back(nullptr);
    return parseCommandLine(static_cast<int>(given.size()), argv.data());
}

std::string option(const SettingRow& row) {
    return std::string("--").append(row.name);
}

// The rows of one place.
std::vector<const SettingRow*> rowsOf(SettingPlace place) {
    std::vector<const SettingRow*> out;
    for (const SettingRow& row : settingsTable())
        if (row.place & place) out.push_back(&row);
    return out;
}

TEST(SettingsTable, NamesAreUniqueAndEveryRowHasHelp) {
    std::set<std::string> names;
    for (const SettingRow& row : settingsTable()) {
        EXPECT_TRUE(names.insert(std::string(row.name)).second) << row.name;
        EXPECT_FALSE(row.help.empty()) << row.name;
        if (row.kind == SettingKind::pick) {
            EXPECT_NE(findSetting(row.words), nullptr) << row.name;
        }
    }
    EXPECT_FALSE(rowsOf(commandLine).empty());
    EXPECT_FALSE(rowsOf(settingsFile).empty());
}

TEST(SettingsTable, TheDefaultsOfSettingsAndOptionsAreTheTables) {
    for (const SettingRow* row : rowsOf(settingsFile)) {
        ASSERT_NE(row->fields.read, nullptr) << row->name;
        EXPECT_EQ(row->fields.read(Settings{}), row->byDefault) << row->name;
    }
    for (const SettingRow& row : settingsTable()) {
        if (row.fields.said) {
            EXPECT_FALSE(row.fields.said(Options{}).has_value()) << row.name;
        }
    }
}

TEST(SettingsTable, HelpShowsEveryOptionWithItsRangeAndDefault) {
    const std::string help = words(helpText());
    for (const SettingRow* row : rowsOf(commandLine)) {
        EXPECT_NE(help.find(std::string(" ") + optionWords(*row) + " " + words(optionHelp(*row))),
                  std::string::npos)
            << row->name;
        if (row->kind == SettingKind::number) {
            EXPECT_NE(optionHelp(*row).find(std::to_string(row->low) + " to " +
                                            std::to_string(row->high)),
                      std::string::npos)
                << row->name;
        }
    }
}

TEST(SettingsTable, HelpShowsEveryFileKeyAndEveryControl) {
    const std::string help = words(helpText());
    for (const SettingRow* row : rowsOf(settingsFile))
        EXPECT_NE(help.find(fileForm(*row)), std::string::npos) << row->name;
    for (std::string_view control : controlNames())
        EXPECT_NE(help.find(std::string(" ") + std::string(control) +
                            (control == controlNames().back() ? "." : ",")),
                  std::string::npos)
            << control;
}

TEST(SettingsTable, TheOptionParserTakesEachOptionWithinItsRange) {
    for (const SettingRow* row : rowsOf(commandLine)) {
        const std::string name = option(*row);
        switch (row->kind) {
            case SettingKind::number: {
                for (int good : {row->low, row->high}) {
                    const CommandLine result = parse({name + "=" + std::to_string(good)});
                    ASSERT_EQ(result.action, CommandLineAction::play) << name << " " << good;
                    EXPECT_EQ(row->fields.said(result.options), good) << name;
                }
                for (int bad : {row->low - 1, row->high + 1}) {
                    const std::string value = std::to_string(bad);
                    EXPECT_EQ(parse({name, value}).problem,
                              name + " takes a whole number from " + std::to_string(row->low) +
                                  " to " + std::to_string(row->high) + ", not '" + value + "'");
                }
                break;
            }
            case SettingKind::flag:
                EXPECT_EQ(row->fields.said(parse({name}).options), 1) << name;
                break;
            case SettingKind::pick:
                EXPECT_EQ(findSetting(row->words)->fields.said(parse({name}).options),
                          row->byDefault)
                    << name;
                break;
            case SettingKind::file:
                EXPECT_TRUE(row->fields.said(parse({name, "a.replay"}).options)) << name;
                EXPECT_EQ(parse({name + "="}).problem, name + " needs a file");
                break;
            case SettingKind::action:
                EXPECT_EQ(parse({name}).action, static_cast<CommandLineAction>(row->byDefault));
                break;
            case SettingKind::word:
                ADD_FAILURE() << name << ": a word is given on the command line by picks";
                break;
        }
    }
}

std::string fileWarning(const SettingRow& row, const std::string& text) {
    std::ostringstream warnings;
    parseSettings(std::string(row.name) + " = " + text + "\n", "kordavan.conf", warnings);
    return warnings.str();
}

int fileValue(const SettingRow& row, const std::string& text) {
    std::ostringstream warnings;
    const Settings read = parseSettings(std::string(row.name) + " = " + text + "\n", "f", warnings);
    EXPECT_EQ(warnings.str(), "") << row.name << " = " << text;
    return row.fields.read(read);
}

TEST(SettingsTable, TheFileReaderTakesEachKeyWithinItsRangeAndNamesTheDefaultOtherwise) {
    for (const SettingRow* row : rowsOf(settingsFile)) {
        std::vector<std::string> bad = {"bogus"};
        if (row->kind == SettingKind::number) {
            EXPECT_EQ(fileValue(*row, std::to_string(fileLow(*row))), fileLow(*row));
            EXPECT_EQ(fileValue(*row, std::to_string(row->high)), row->high);
            EXPECT_EQ(fileValue(*row, std::to_string(row->byDefault)), row->byDefault);
            bad = {std::to_string(fileLow(*row) - 1), std::to_string(row->high + 1)};
        } else if (row->kind == SettingKind::flag) {
            EXPECT_EQ(fileValue(*row, "yes"), 1);
            EXPECT_EQ(fileValue(*row, "no"), 0);
        } else {
            for (int index = 0; !settingWord(*row, index).empty(); ++index)
                EXPECT_EQ(fileValue(*row, std::string(settingWord(*row, index))), index);
        }
        const std::string used = row->defaultText.empty() ? settingText(*row, row->byDefault)
                                                          : std::string(row->defaultText);
        for (const std::string& value : bad) {
            EXPECT_EQ(fileWarning(*row, value),
                      "kordavan: kordavan.conf:1: " + std::string(row->name) + " must be " +
                          expectedText(*row) + ", not \"" + value + "\"; using " + used + "\n");
        }
    }
}

TEST(SettingsTable, AKeyThatIsOnlyAnOptionIsNoSettingOfTheFile) {
    for (const SettingRow* row : rowsOf(commandLine)) {
        if (row->place & settingsFile) continue;
        std::ostringstream warnings;
        EXPECT_EQ(parseSettings(std::string(row->name) + " = yes\n", "f", warnings), Settings{});
        const std::string said = warnings.str();
        EXPECT_NE(said.find("f:1: no setting called \"" + std::string(row->name) + "\" ("),
                  std::string::npos)
            << said;
    }
}

TEST(SettingsTable, EveryFileValueIsWrittenAsItIsRead) {
    for (const SettingRow* row : rowsOf(settingsFile)) {
        // The ends of its range: a number's, no and yes, the first and second word.
        const bool number = row->kind == SettingKind::number;
        for (int value : {number ? fileLow(*row) : 0, number ? row->high : 1}) {
            const std::string text = withSetting("# mine\n", *row, value);
            EXPECT_TRUE(text.starts_with("# mine\n" + std::string(row->name) + " = ")) << text;
            std::ostringstream warnings;
            EXPECT_EQ(row->fields.read(parseSettings(text, "f", warnings)), value) << text;
        }
    }
}

// The table sits below everything that walks it: it and what it stands on
// include, of shell/, only each other, so nothing that reads or shows the
// settings can come round to itself through the table.
TEST(SettingsTable, TheTableIncludesNoneOfItsUsers) {
    const std::set<std::string> below = {"shell/settings_table.h", "shell/setting_values.h",
                                         "shell/setting_words.h"};
    for (const char* name : {"settings_table.h", "settings_table.cpp", "setting_values.h",
                             "setting_words.h", "setting_words.cpp"}) {
        std::istringstream lines(contents(fs::path(KORDAVAN_SOURCE_DIR) / "shell" / name));
        ASSERT_TRUE(lines.str().size() > 0) << name;
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.starts_with("#include \"shell/")) continue;
            const std::string header = line.substr(10, line.find('"', 10) - 10);
            EXPECT_TRUE(below.contains(header)) << name << " includes " << header;
        }
    }
}

// ---------------------------------------------------------------- the manual page

#ifdef KORDAVAN_MAN_PAGE
TEST(SettingsTable, TheBuiltManualPageHoldsTheTablesLists) {
    const std::string page = contents(KORDAVAN_MAN_PAGE);
    ASSERT_FALSE(page.empty()) << KORDAVAN_MAN_PAGE;
    EXPECT_NE(page.find(manualOptions()), std::string::npos) << "the options are not the table's";
    EXPECT_NE(page.find(manualFileKeys()), std::string::npos) << "the keys are not the table's";
    EXPECT_NE(page.find(manualControls()), std::string::npos) << "the controls are not the table's";
    EXPECT_NE(page.find(manualScreenRows()), std::string::npos) << "the screen's rows are not";
    EXPECT_EQ(page.find(".\\\" The options, made"), std::string::npos) << "a marker was left";
}
#endif

std::string roffName(std::string_view name) {
    std::string out;
    for (char c : name) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

TEST(SettingsTable, TheManualsListsNameEveryRowAndControl) {
    const std::string options = manualOptions();
    for (const SettingRow* row : rowsOf(commandLine)) {
        const std::string name = roffName(option(*row));
        EXPECT_TRUE(options.find(".B " + name + "\n") != std::string::npos ||
                    options.find(".BI " + name + " \" " + std::string(row->argument) + "\"\n") !=
                        std::string::npos)
            << row->name;
    }
    const std::string keys = manualFileKeys();
    for (const SettingRow* row : rowsOf(settingsFile)) {
        const std::string name = roffName(row->name);
        EXPECT_TRUE(keys.find(".BR " + name + " \" = \"") != std::string::npos ||
                    keys.find(".BI \"" + name + " = \"") != std::string::npos)
            << row->name;
    }
    for (std::string_view control : controlNames())
        EXPECT_NE(manualControls().find(std::string(".BR ").append(control)), std::string::npos);
    // Each of the screen's rows, in its order.
    const std::string screen = manualScreenRows();
    size_t after = 0;
    for (std::string_view label : firstPageLabels()) {
        after = screen.find(std::string(label), after);
        ASSERT_NE(after, std::string::npos) << label;
        after += label.size();
    }
}

TEST(SettingsTable, APageWithoutItsMarkersIsNotMade) {
    const std::string page =
        std::string(manualOptionsMarker) + "\n" + std::string(manualFileKeysMarker) + "\n" +
        std::string(manualControlsMarker) + "\n" + std::string(manualScreenMarker) + "\n";
    EXPECT_EQ(manualPage(page),
              manualOptions() + manualFileKeys() + manualControls() + manualScreenRows());
    EXPECT_FALSE(manualPage(page.substr(page.find('\n') + 1)).has_value());
}

// ---------------------------------------------------------------- for a settings screen

TEST(SettingsTable, ThisRunKnowsItsValuesAndWhatTheCommandLineGave) {
    platform::headless::use();
    Options options;
    options.volume = 30;
    options.display = DisplayMode::window;
    usePreferences(options, SettingsFile{});
    EXPECT_EQ(currentSettings().volume, 30);
    EXPECT_FALSE(currentSettings().fullscreen);
    EXPECT_TRUE(givenOnCommandLine("volume"));
    EXPECT_TRUE(givenOnCommandLine("display"));
    EXPECT_FALSE(givenOnCommandLine("scale"));
    EXPECT_FALSE(givenOnCommandLine("no such setting"));
    platform::setSoundOptions({});
}

TEST(SettingsTable, SaveSettingChangesOnlyThatSettingsLine) {
    const fs::path folder =
        fs::temp_directory_path() / ("kordavan-settings-table-" + std::to_string(::getpid()));
    const fs::path file = folder / "kordavan.conf";
    fs::create_directories(folder);
    std::ofstream(file, std::ios::binary) << "# mine\nvolume = 20\r\nscale = 3\n";
    std::ostringstream warnings;
    EXPECT_TRUE(saveSetting(file, "volume", "70", warnings)) << warnings.str();
    EXPECT_EQ(contents(file), "# mine\nvolume = 70\r\nscale = 3\n");
    EXPECT_TRUE(saveSetting(file, "pause-on-focus-loss", "yes", warnings)) << warnings.str();
    EXPECT_EQ(contents(file), "# mine\nvolume = 70\r\nscale = 3\npause-on-focus-loss = yes\n");
    EXPECT_EQ(warnings.str(), "");

    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"volume", "101"}, {"no-sound", "yes"}, {"speed", "3"}}) {
        warnings.str("");
        EXPECT_FALSE(saveSetting(file, name, value, warnings)) << name;
        EXPECT_TRUE(warnings.str().starts_with("kordavan: ")) << warnings.str();
    }
    EXPECT_EQ(contents(file), "# mine\nvolume = 70\r\nscale = 3\npause-on-focus-loss = yes\n");
    fs::remove_all(folder);
}

}  // namespace
