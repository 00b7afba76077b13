// Names in any script on Windows: a path the player typed arrives as UTF-8
// and every file call opens it through the wide calls, so Cyrillic, CJK and
// an emoji survive, whatever the ANSI code page.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

// "Дмитрий 日本 🚁", as the player typed it.
const std::string name =
    "\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9 "
    "\xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x9A\x81";

class UnicodeNames : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / platform::utf8Path(name);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST_F(UnicodeNames, ATypedPathKeepsEveryLetter) {
    const fs::path path = platform::utf8Path("C:\\" + name + "\\my rec.txt");
    EXPECT_EQ(path.wstring(),
              L"C:\\\u0414\u043C\u0438\u0442\u0440\u0438\u0439 \u65E5\u672C "
              L"\U0001F681\\my rec.txt");
    // Printed back in the game's own UTF-8.
    EXPECT_EQ(path.string(), "C:\\" + name + "\\my rec.txt");
}

TEST_F(UnicodeNames, AReplayIsRecordedUnderAnyName) {
    const fs::path path = folder / platform::utf8Path(name + ".txt");
    std::string reason;
    platform::GrowingFile* file = platform::startFile(path, reason);
    ASSERT_NE(file, nullptr) << reason;
    EXPECT_TRUE(platform::addToFile(file, "kordavan-replay 1\n", reason)) << reason;
    platform::closeFile(file);
    const platform::FileText text = platform::readFile(path, 1000);
    EXPECT_EQ(text.status, platform::FileStatus::read) << text.reason;
    EXPECT_EQ(text.text, "kordavan-replay 1\n");
    // One file, under exactly that name.
    ASSERT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename().wstring(),
              L"\u0414\u043C\u0438\u0442\u0440\u0438\u0439 \u65E5\u672C \U0001F681.txt");
}

TEST_F(UnicodeNames, SettingsAreReplacedAndMadeUnderAnyName) {
    const fs::path settings = folder / "Kordavan" / "kordavan.conf";
    std::string reason;
    ASSERT_TRUE(platform::replaceFile(settings, "display = window\n", reason)) << reason;
    EXPECT_EQ(platform::readFile(settings, 1000).text, "display = window\n");
    EXPECT_EQ(platform::createFile(folder / platform::utf8Path(name + ".png"), "png", reason),
              platform::CreateStatus::created)
        << reason;
    EXPECT_TRUE(fs::exists(folder / platform::utf8Path(name + ".png")));
}

}  // namespace
