// A player's file named in a message: a name holding a newline must not
// forge a second "kordavan: ..." line, and an escape byte must not reach the
// terminal, whichever message names it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "app/player_run.h"
#include "platform/printable.h"
#include "platform/warnings.h"
#include "replay/recorder.h"
#include "shell/key_bindings.h"
#include "shell/screenshot.h"
#include "shell/settings_file.h"

namespace {

namespace fs = std::filesystem;

// A newline and the terminal's "turn red".
const std::string forged = "a\nkordavan: all is well\x1b[31m";
const std::string shownForged = "a\\x0akordavan: all is well\\x1b[31m";

TEST(FileNames, AreShownEscapedNotObeyed) {
    EXPECT_EQ(shownName(forged), shownForged);
    // Windows folders and other alphabets read as they are.
    EXPECT_EQ(shownName("C:\\Users\\Zoë\\kordavan.conf"), "C:\\Users\\Zoë\\kordavan.conf");
    EXPECT_EQ(shownName(std::string(400, 'x')), std::string(300, 'x') + "... (400 bytes)");
}

// A Windows name cannot hold a control character.
#ifndef _WIN32

class FileNamesInMessages : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("kordavan-file-names-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        platform::collectWarnings({});
    }
    void TearDown() override {
        platform::writeWarnings();
        useKeyBindings(defaultKeyBindings());
        fs::remove_all(folder);
    }
    fs::path folder;
};

TEST_F(FileNamesInMessages, EveryMessageNamingAPlayersFileIsOneLine) {
    const fs::path evil = folder / forged;
    std::ofstream(evil) << "not a folder";
    const std::string missing = (folder / "none" / forged).string();
    struct Surface {
        const char* name;
        std::function<std::string()> message;
    };
    const Surface surfaces[] = {
        {"a settings line",
         [&] {
             std::ostringstream out;
             parseSettings("volume = loud\n", forged, out);
             return out.str();
         }},
        {"a key line",
         [&] {
             std::ostringstream out;
             parseKeyBindings("key-left = Lefty\n", forged, out);
             return out.str();
         }},
        {"a settings file that cannot be read",
         [&] {
             std::ostringstream out;
             fs::create_directories(folder / "conf" / forged);
             readSettingsFile(folder / "conf" / forged, out);
             return out.str();
         }},
        {"--record's file",
         [&] {
             ReplayRecorder recorder;
             std::string error;
             EXPECT_FALSE(recorder.start(missing, error));
             return "kordavan: " + error + "\n";
         }},
        {"a screenshot's folder",
         [&] {
             std::string error;
             EXPECT_TRUE(saveScreenshotFile({1, 2, 3}, evil / "pictures", 0, error).empty());
             return "kordavan: " + error + "\n";
         }},
        {"--replay's file",
         [&] {
             Options options;
             options.replayFile = missing;
             EXPECT_FALSE(setUpRun(options, SettingsFile{}));
             finishRun();
             return platform::keptWarnings();
         }},
    };
    for (const Surface& surface : surfaces) {
        const std::string message = surface.message();
        EXPECT_NE(message.find(shownForged), std::string::npos) << surface.name << ": " << message;
        EXPECT_EQ(message.find('\x1b'), std::string::npos) << surface.name << ": " << message;
        EXPECT_EQ(message.find('\n'), message.size() - 1) << surface.name << ": " << message;
    }
}

#endif

}  // namespace
