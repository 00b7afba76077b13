// The settings file where Windows keeps a player's settings, written over
// itself as Windows allows: a rename onto an existing file must replace it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/windows/win_machine.h"
#include "shell/settings_file.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WindowsSettings, LiveInTheRoamingApplicationData) {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    ASSERT_NE(appData, nullptr);
    EXPECT_EQ(settingsPath(), fs::path(appData) / "Kordavan" / "kordavan.conf");
}

TEST(WindowsSettings, AnotherSwitchReplacesTheFileAndKeepsThePlayersLines) {
    const fs::path folder = fs::temp_directory_path() / "kordavan-settings-test";
    fs::remove_all(folder);
    const fs::path file = folder / "Kordavan" / "kordavan.conf";
    std::ostringstream warnings;
    ASSERT_TRUE(saveDisplayChoice(file, false, warnings)) << warnings.str();
    std::ofstream(file, std::ios::app | std::ios::binary) << "# my own note\n";
    ASSERT_TRUE(saveDisplayChoice(file, true, warnings)) << warnings.str();
    EXPECT_TRUE(readSettings(file, warnings).fullscreen);
    EXPECT_NE(contents(file).find("# my own note\n"), std::string::npos);
    EXPECT_NE(contents(file).find("display = fullscreen\n"), std::string::npos);
    // Nothing of the write is left beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1);
    EXPECT_EQ(warnings.str(), "");
    fs::remove_all(folder);
}

TEST(WindowsSettings, AReadOnlyFileIsThePlayersAndStaysAsItIs) {
    const fs::path folder = fs::temp_directory_path() / "kordavan-settings-read-only";
    fs::remove_all(folder);
    const fs::path file = folder / "kordavan.conf";
    std::ostringstream warnings;
    ASSERT_TRUE(saveDisplayChoice(file, false, warnings)) << warnings.str();
    const std::string before = contents(file);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(saveDisplayChoice(file, true, warnings));
    EXPECT_NE(warnings.str().find("read-only"), std::string::npos) << warnings.str();
    EXPECT_EQ(contents(file), before);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(folder);
}

}  // namespace
