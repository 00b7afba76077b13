// The desktop icons kordavan-assets draws for the hicolor theme: one PNG with
// an alpha channel per size, the same bytes on every run.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const int hicolorSizes[] = {16, 32, 48, 64, 128, 256};

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t big32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

int drawIcons(const fs::path& dir) {
    std::string command =
        std::string("\"") + KORDAVAN_ASSETS_EXE + "\" --icons \"" + dir.string() + "\" 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DesktopIcons : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("kordavan-icons-test-" + std::to_string(getpid()));
        fs::remove_all(root);
        firstRun = drawIcons(root / "first");
        secondRun = drawIcons(root / "second");
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    static fs::path icon(const char* run, int size) {
        return root / run / ("icon-" + std::to_string(size) + ".png");
    }

    static inline fs::path root;
    static inline int firstRun = -1;
    static inline int secondRun = -1;
};

TEST_F(DesktopIcons, GeneratorDrawsThem) {
    EXPECT_EQ(firstRun, 0);
    EXPECT_EQ(secondRun, 0);
}

TEST_F(DesktopIcons, EverySizeIsASquarePngWithAlpha) {
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int size : hicolorSizes) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> b = readFile(icon("first", size));
        ASSERT_GE(b.size(), 33u);
        EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), b.begin()));
        EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
        EXPECT_EQ(big32(b, 16), static_cast<uint32_t>(size));
        EXPECT_EQ(big32(b, 20), static_cast<uint32_t>(size));
        EXPECT_EQ(b[24], 8);  // bits a sample
        EXPECT_EQ(b[25], 6);  // red, green, blue and alpha
    }
}

TEST_F(DesktopIcons, EveryRunDrawsTheSameBytes) {
    for (int size : hicolorSizes) {
        std::vector<uint8_t> first = readFile(icon("first", size));
        EXPECT_FALSE(first.empty()) << size;
        EXPECT_EQ(first, readFile(icon("second", size))) << size;
    }
}

TEST_F(DesktopIcons, NothingElseIsWritten) {
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root / "first")) ++files;
    EXPECT_EQ(files, static_cast<int>(std::size(hicolorSizes)));
}

TEST_F(DesktopIcons, GeneratorFailsWhenItCannotWrite) {
    EXPECT_NE(drawIcons("/proc/kordavan-cannot-write-here"), 0);
}

}  // namespace
