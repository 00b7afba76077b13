// What another user or another program could do to the game's files: a
// link or folder another user planted in a shared folder is neither written,
// nor deleted through, nor shown; a settings file rewritten in place while
// the game saves ends as one whole version, and the player hears which.
//
// "Another user" is a uid no account has, which only root can give a file:
// those tests skip elsewhere.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/files.h"
#include "platform/headless.h"
#include "shell/preferences.h"
#include "shell/recordings.h"
#include "shell/setting_changes.h"
#include "shell/settings_file.h"
#include "shell/settings_table.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t someoneElse = 12345;
const std::string secret = "root's own first line\nvolume = 10\n";

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

// A shared folder like /tmp, where the other user plants things, and root's
// own folder, which they point at.
class FileSafetyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string id = std::to_string(::getpid());
        shared = fs::temp_directory_path() / ("kordavan-safety-shared-" + id);
        roots = fs::temp_directory_path() / ("kordavan-safety-root-" + id);
        fs::remove_all(shared);
        fs::remove_all(roots);
        fs::create_directories(shared);
        fs::create_directories(roots);
        fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
        put(roots / "kordavan.conf", secret);
        fs::permissions(roots / "kordavan.conf", fs::perms::owner_read | fs::perms::owner_write);
    }
    void TearDown() override {
        platform::whileReplacing({});
        fs::remove_all(shared);
        fs::remove_all(roots);
    }
    fs::path config() const { return shared / "kordavan"; }

    fs::path shared;
    fs::path roots;
};

void theirs(const fs::path& path) {
    ASSERT_EQ(::lchown(path.c_str(), someoneElse, someoneElse), 0) << path;
}

// Each way the other user may lead the settings file to root's.
struct Planting {
    const char* what;
    void (*plant)(const fs::path& config, const fs::path& roots);
};

const Planting plantings[] = {
    {"the file, their link",
     [](const fs::path& config, const fs::path& roots) {
         fs::create_directories(config);
         fs::create_symlink(roots / "kordavan.conf", config / "kordavan.conf");
         theirs(config / "kordavan.conf");
     }},
    {"the folder, theirs",
     [](const fs::path& config, const fs::path& roots) {
         fs::create_directories(config);
         theirs(config);
         fs::create_symlink(roots / "kordavan.conf", config / "kordavan.conf");
     }},
    {"the folder, their link",
     [](const fs::path& config, const fs::path& roots) {
         fs::create_directory_symlink(roots, config);
         theirs(config);
     }},
};

TEST_F(FileSafetyTest, AnotherUsersLinkOrFolderIsNeitherWrittenNorShown) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    for (const Planting& planting : plantings) {
        SCOPED_TRACE(planting.what);
        fs::remove_all(config());
        planting.plant(config(), roots);
        const fs::path file = config() / "kordavan.conf";

        std::ostringstream warnings;
        EXPECT_FALSE(saveSetting(file, "volume", "90", warnings));
        EXPECT_EQ(lineCount(warnings.str()), 1u) << warnings.str();
        EXPECT_NE(warnings.str().find("is another user's"), std::string::npos) << warnings.str();
        EXPECT_EQ(contents(roots / "kordavan.conf"), secret);
        EXPECT_EQ(fs::status(roots / "kordavan.conf").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);

        warnings.str("");
        EXPECT_EQ(readSettingsFile(file, warnings).text, "");
        EXPECT_EQ(lineCount(warnings.str()), 1u) << warnings.str();
        EXPECT_EQ(warnings.str().find("root's own"), std::string::npos) << warnings.str();
    }
}

TEST_F(FileSafetyTest, RootsOwnLinkIsStillFollowed) {
    fs::create_directories(config());
    fs::create_symlink(roots / "kordavan.conf", config() / "kordavan.conf");
    std::ostringstream warnings;
    EXPECT_TRUE(saveSetting(config() / "kordavan.conf", "volume", "90", warnings))
        << warnings.str();
    EXPECT_EQ(contents(roots / "kordavan.conf"), "root's own first line\nvolume = 90\n");
}

TEST_F(FileSafetyTest, RecordingsBehindAnotherUsersLinkAreNotPruned) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    for (int n = 0; n < 51; ++n) put(roots / recordingName(n * 60), "root's\n");
    fs::create_directories(config());
    fs::create_directory_symlink(roots, config() / "recordings");
    theirs(config() / "recordings");
    std::string reason;
    EXPECT_FALSE(pruneRecordings(config() / "recordings", keptRecordingCount, reason));
    EXPECT_NE(reason.find("recordings is another user's link"), std::string::npos) << reason;
    EXPECT_EQ(keptRecordings(roots).size(), 51u);
}

// ---------------------------------------------------------------- in place

// What another program does to kordavan.conf in the moment the game replaces
// it, and how the file ends.
struct OtherProgram {
    const char* what;
    int flags;
    const char* writes;
    const char* ends;  // the file afterwards
    bool told;
};

const OtherProgram others[] = {
    {"adds a line", O_APPEND, "# theirs\n", "volume = 40\n# theirs\n", false},
    {"rewrites it longer", O_TRUNC, "volume = 30\n# their whole version, longer than ours\n",
     "volume = 40\n", true},
    {"rewrites it shorter", O_TRUNC, "volu", "volume = 40\n", true},
    {"empties it", O_TRUNC, "", "volume = 40\n", true},
};

TEST_F(FileSafetyTest, ASaveEndsAsOneWholeVersionWhateverAnotherProgramWrites) {
    const fs::path file = config() / "kordavan.conf";
    for (const OtherProgram& other : others) {
        SCOPED_TRACE(other.what);
        fs::create_directories(config());
        put(file, "volume = 10\n");
        platform::whileReplacing([&] {
            const int descriptor = ::open(file.c_str(), O_WRONLY | other.flags);
            ASSERT_GE(descriptor, 0);
            const std::string text = other.writes;
            EXPECT_EQ(::write(descriptor, text.data(), text.size()),
                      static_cast<ssize_t>(text.size()));
            ::close(descriptor);
        });
        std::ostringstream warnings;
        EXPECT_TRUE(saveSetting(file, "volume", "40", warnings));
        platform::whileReplacing({});
        EXPECT_EQ(contents(file), other.ends);
        const std::string told = other.told ? "kordavan: another program rewrote " + file.string() +
                                                  " while the volume setting was saved; the "
                                                  "game's version stands, not that program's\n"
                                            : "";
        EXPECT_EQ(warnings.str(), told);
    }
}

TEST_F(FileSafetyTest, TheSettingsScreenSaysWhenAnotherProgramsVersionWasLost) {
    platform::headless::use();  // where the volume takes effect at once
    const fs::path file = config() / "kordavan.conf";
    fs::create_directories(config());
    put(file, "volume = 10\n");
    platform::whileReplacing([&] { put(file, "# theirs\n"); });
    std::ostringstream warnings;
    const std::string said = changeSetting(file, *findSetting("volume"), 40, warnings);
    useSettings(Settings{});
    EXPECT_NE(said.find("(saved)\nanother program rewrote kordavan.conf while the volume "
                        "setting was saved"),
              std::string::npos)
        << said;
    EXPECT_EQ(lineCount(warnings.str()), 1u) << warnings.str();
}

}  // namespace
