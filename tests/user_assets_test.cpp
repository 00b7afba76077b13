// A player's own pictures and sounds are laid over the generated ones at
// build time; a wrong one must stop the build and name the file.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// An uncompressed 24-bit bottom-up bitmap filled with one colour.
void writeBmp(const fs::path& path, int width, int height) {
    const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    std::vector<uint8_t> b{'B', 'M'};
    put32(b, 54 + stride * uint32_t(height));
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, uint32_t(width));
    put32(b, uint32_t(height));
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    for (int row = 0; row < height; ++row) {
        for (uint32_t i = 0; i < stride; ++i) b.push_back(i < uint32_t(width) * 3 ? 0x40 : 0);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

struct CommandResult {
    int status;
    std::string output;
};

CommandResult layOver(const fs::path& userDir, const fs::path& assetDir) {
    const std::string command =
        std::string(KORDAVAN_CMAKE_COMMAND) + " -DUSER_ASSETS=" + userDir.string() +
        " -DASSET_DIR=" + assetDir.string() + " -DCHECKER=" + KORDAVAN_ASSETS_EXE + " -P " +
        KORDAVAN_SOURCE_DIR + "/cmake/user_assets.cmake 2>&1";
    CommandResult run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char chunk[512];
    while (fgets(chunk, sizeof chunk, pipe) != nullptr) run.output += chunk;
    run.status = pclose(pipe);
    return run;
}

class UserAssets : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("kordavan-user-assets-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "user");
        fs::create_directories(root / "assets");
        writeBmp(root / "assets" / "104.bmp", 64, 240);
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(UserAssets, AWrongSizedPictureStopsTheBuildNamingTheFile) {
    writeBmp(root / "user" / "104.bmp", 10, 10);
    const CommandResult run = layOver(root / "user", root / "assets");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("104.bmp"), std::string::npos) << run.output;
    EXPECT_EQ(fs::file_size(root / "assets" / "104.bmp"), 54u + 64 * 3 * 240)
        << "the generated picture stays";
}

TEST_F(UserAssets, ARightPictureReplacesTheGeneratedOne) {
    writeBmp(root / "user" / "104.bmp", 64, 240);
    std::ofstream(root / "assets" / "104.bmp", std::ios::binary) << "old";
    const CommandResult run = layOver(root / "user", root / "assets");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(fs::file_size(root / "assets" / "104.bmp"), 54u + 64 * 3 * 240);
}

}  // namespace
