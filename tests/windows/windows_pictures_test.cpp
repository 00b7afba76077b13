// Screenshots on Windows: they go into the player's Pictures known folder,
// wherever the player has moved it, under Kordavan, named by the time and
// never over another picture; the PNG is the same as on Linux.

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/picture_files.h"
#include "platform/files.h"
#include "platform/windows/win_machine.h"
#include "shell/screenshot.h"
// After windows.h, whose types they use.
#include <knownfolders.h>
#include <shlobj.h>

namespace {

namespace fs = std::filesystem;

fs::path knownPictures() {
    PWSTR path = nullptr;
    fs::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    return folder;
}

// Moves the player's Pictures folder for one test where Explorer's Location
// tab keeps it, and puts it back.
class MovedPictures {
  public:
    explicit MovedPictures(const fs::path& to) {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) !=
            ERROR_SUCCESS) {
            return;
        }
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old;
        DWORD type = 0;
        hadValue = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(old),
                                    &size) == ERROR_SUCCESS;
        before = old;
        moved = setValue(to.wstring());
    }
    ~MovedPictures() {
        if (key == nullptr) return;
        if (hadValue) {
            setValue(before);
        } else {
            RegDeleteValueW(key, valueName);
        }
        RegCloseKey(key);
    }
    bool moved = false;

  private:
    static constexpr const wchar_t* keyName =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr const wchar_t* valueName = L"My Pictures";
    bool setValue(const std::wstring& path) {
        const auto bytes = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key, valueName, 0, REG_EXPAND_SZ,
                              reinterpret_cast<const BYTE*>(path.c_str()), bytes) == ERROR_SUCCESS;
    }
    HKEY key = nullptr;
    bool hadValue = false;
    std::wstring before;
};

platform::Surface frame() {
    platform::Surface surface;
    surface.width = 640;
    surface.height = 480;
    surface.pixels.assign(640 * 480, 0x001F);
    surface.pixels[0] = 0xFFFF;
    return surface;
}

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(WindowsPictures, ScreenshotsGoToThePicturesKnownFolder) {
    const fs::path pictures = knownPictures();
    ASSERT_FALSE(pictures.empty());
    EXPECT_EQ(platform::picturesFolder(), pictures);
    EXPECT_EQ(screenshotFolder(), pictures / "Kordavan");
}

TEST(WindowsPictures, AMovedPicturesFolderIsFollowed) {
    const fs::path elsewhere = fs::temp_directory_path() / L"kordavan pictures \u00e9t\u00e9";
    fs::remove_all(elsewhere);
    fs::create_directories(elsewhere);
    {
        MovedPictures moved(elsewhere);
        ASSERT_TRUE(moved.moved);
        EXPECT_EQ(fs::weakly_canonical(platform::picturesFolder()),
                  fs::weakly_canonical(elsewhere));

        const std::vector<uint8_t> png = encodePng(frame());
        ASSERT_FALSE(png.empty());
        const std::time_t when = 1'700'000'000;
        std::string error;
        const fs::path first = saveScreenshotFile(png, screenshotFolder(), when, error);
        ASSERT_FALSE(first.empty()) << error;
        const fs::path second = saveScreenshotFile({1, 2, 3}, screenshotFolder(), when, error);
        ASSERT_FALSE(second.empty()) << error;

        EXPECT_EQ(fs::weakly_canonical(first.parent_path()),
                  fs::weakly_canonical(elsewhere / "Kordavan"));
        EXPECT_EQ(first.filename().string().rfind("Kordavan ", 0), 0u) << first.string();
        EXPECT_EQ(first.extension(), ".png");
        EXPECT_NE(second.filename().string().find(" (2).png"), std::string::npos)
            << second.string();
        // The first picture is kept whole: the second took a name of its own.
        EXPECT_EQ(contents(first), std::string(png.begin(), png.end()));
        EXPECT_EQ(contents(second), std::string("\1\2\3"));
    }
    fs::remove_all(elsewhere);
}

// The same frame gives the same file on Linux: its size and FNV-1a hash
// there.
TEST(WindowsPictures, ThePngIsTheSameAsOnLinux) {
    const std::vector<uint8_t> png = encodePng(frame());
    EXPECT_EQ(png.size(), 7569u);
    uint64_t hash = 0xcbf29ce484222325u;
    for (uint8_t byte : png) hash = (hash ^ byte) * 0x100000001b3u;
    EXPECT_EQ(hash, 0x199e310b4bd65a10u);
}

}  // namespace
