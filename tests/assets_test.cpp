// Guards the pictures and sounds kordavan-assets makes, reading its files
// directly. Built into kordavan-tests, which passes the generator's path as
// the compile definition KORDAVAN_ASSETS_EXE.
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

#include "formats/little_endian.h"

namespace {

namespace fs = std::filesystem;

struct PictureSize {
    int id;
    int width;
    int height;
};

// The sizes the game draws with, written out again here on purpose.
const PictureSize pictureSizes[] = {
    {103, 352, 24},  {104, 64, 240},  {105, 640, 192}, {106, 640, 192}, {107, 640, 192},
    {108, 24, 32},   {109, 24, 32},   {110, 24, 32},   {111, 24, 32},   {112, 24, 32},
    {113, 24, 32},   {114, 24, 32},   {117, 640, 352}, {118, 640, 352}, {120, 32, 48},
    {121, 32, 48},   {122, 352, 24},  {123, 240, 64},  {124, 32, 32},   {125, 240, 64},
    {126, 240, 64},  {127, 240, 64},  {128, 240, 64},  {129, 240, 64},  {130, 240, 64},
    {131, 240, 64},  {132, 240, 64},  {133, 128, 128}, {134, 128, 128}, {135, 128, 128},
    {136, 240, 64},  {137, 640, 192}, {139, 32, 32},   {150, 64, 128},  {151, 640, 480},
    {152, 640, 480}, {153, 288, 608}, {154, 640, 480}, {155, 640, 480}, {156, 160, 160},
    {157, 96, 96},   {158, 96, 96},   {159, 96, 96},   {160, 96, 96},   {161, 96, 96},
    {162, 96, 96},   {163, 96, 96},   {164, 96, 96},   {165, 96, 96},   {167, 160, 28},
    {169, 24, 60},   {170, 576, 312},
};

struct SoundLength {
    int id;
    uint32_t bytes;
    bool loops;
};

const SoundLength soundLengths[] = {
    {140, 24576, false}, {141, 330843, true}, {142, 57344, true},  {143, 33664, true},
    {144, 91030, false}, {145, 24910, false}, {146, 61879, false}, {147, 18432, false},
    {148, 524167, true}, {149, 15584, false}, {166, 79616, false}, {168, 29644, false},
};

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t read16(const std::vector<uint8_t>& b, size_t at) {
    return formats::readLittle16(b, at);
}
uint32_t read32(const std::vector<uint8_t>& b, size_t at) {
    return formats::readLittle32(b, at);
}

std::string tag(const std::vector<uint8_t>& b, size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

std::string quoted(const fs::path& path) {
    std::string out;
    out.append(1, '"').append(path.string()).append(1, '"');
    return out;
}

int runGenerator(const std::string& arguments) {
    std::string command = quoted(KORDAVAN_ASSETS_EXE);
    command.append(" ").append(arguments).append(" 2>/dev/null");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The generator runs twice per test run; every test reads the first output.
class GeneratedAssets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("kordavan-assets-test-" + std::to_string(getpid()));
        fs::remove_all(root);
        firstRun = runGenerator(quoted(root / "first"));
        secondRun = runGenerator(quoted(root / "second"));
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    static fs::path file(int id, const char* extension) {
        return root / "first" / (std::to_string(id) + extension);
    }

    // Samples of a sound, after checking its header.
    static std::vector<uint8_t> samples(int id) {
        std::vector<uint8_t> b = readFile(file(id, ".wav"));
        if (b.size() < 44) return {};
        uint32_t count = read32(b, 40);
        return std::vector<uint8_t>(b.begin() + 44, b.begin() + 44 + count);
    }

    static inline fs::path root;
    static inline int firstRun = -1;
    static inline int secondRun = -1;
};

TEST_F(GeneratedAssets, GeneratorSucceeds) {
    EXPECT_EQ(firstRun, 0);
    EXPECT_EQ(secondRun, 0);
}

TEST_F(GeneratedAssets, EveryRunWritesTheSameBytes) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(root / "first")) {
        fs::path twin = root / "second" / entry.path().filename();
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(readFile(entry.path()), readFile(twin)) << entry.path().filename();
        ++files;
    }
    EXPECT_EQ(files, 52 + 12);
}

TEST_F(GeneratedAssets, PicturesAreUncompressedBottomUpBmpsOfTheirSize) {
    for (const PictureSize& p : pictureSizes) {
        SCOPED_TRACE(p.id);
        std::vector<uint8_t> b = readFile(file(p.id, ".bmp"));
        ASSERT_GE(b.size(), 54u);
        uint32_t stride = (p.width * 3 + 3) & ~3u;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(read32(b, 2), b.size());
        EXPECT_EQ(read32(b, 10), 54u);
        EXPECT_EQ(read32(b, 14), 40u);
        EXPECT_EQ(static_cast<int32_t>(read32(b, 18)), p.width);
        EXPECT_EQ(static_cast<int32_t>(read32(b, 22)), p.height);
        EXPECT_EQ(read16(b, 28), 24u);
        EXPECT_EQ(read32(b, 30), 0u);
        EXPECT_EQ(b.size(), 54 + stride * p.height);
    }
}

// Pure green is the game's transparent colour, and pictures are shown in
// RGB565: an opaque pixel near the key would turn into a hole.
TEST_F(GeneratedAssets, NoOpaquePixelFallsOnTheKey) {
    for (const PictureSize& p : pictureSizes) {
        SCOPED_TRACE(p.id);
        std::vector<uint8_t> b = readFile(file(p.id, ".bmp"));
        ASSERT_GE(b.size(), 54u);
        uint32_t stride = (p.width * 3 + 3) & ~3u;
        int bad = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const uint8_t* px = &b[54 + y * stride + x * 3];  // blue, green, red
                bool key = px[0] == 0 && px[1] == 255 && px[2] == 0;
                bool nearKey = px[2] < 8 && px[0] < 8 && px[1] >= 252;
                if (nearKey && !key) ++bad;
            }
        }
        EXPECT_EQ(bad, 0);
    }
}

TEST_F(GeneratedAssets, SpritesHaveTransparencyAndScreensHaveNone) {
    auto keyPixels = [](const std::vector<uint8_t>& b, int width, int height) {
        uint32_t stride = (width * 3 + 3) & ~3u;
        int count = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* px = &b[54 + y * stride + x * 3];
                count += px[0] == 0 && px[1] == 255 && px[2] == 0;
            }
        return count;
    };
    for (int id : {151, 152, 154, 155, 117, 118})
        EXPECT_EQ(keyPixels(readFile(file(id, ".bmp")), 640, id < 117 || id > 118 ? 480 : 352), 0)
            << id;
    for (int id : {136, 128}) EXPECT_GT(keyPixels(readFile(file(id, ".bmp")), 240, 64), 0) << id;
    EXPECT_GT(keyPixels(readFile(file(153, ".bmp")), 288, 608), 0);
}

// Terrain is solid from row 64 down: the sky only shows above the hills.
TEST_F(GeneratedAssets, TerrainIsSolidBelowTheSkyline) {
    for (int id : {137, 105, 106, 107}) {
        std::vector<uint8_t> b = readFile(file(id, ".bmp"));
        ASSERT_GE(b.size(), 54u + 640 * 3 * 192);
        int holes = 0;
        for (int row = 64; row < 192; ++row) {
            int stored = 191 - row;
            for (int x = 0; x < 640; ++x) {
                const uint8_t* px = &b[54 + stored * 640 * 3 + x * 3];
                holes += px[0] == 0 && px[1] == 255 && px[2] == 0;
            }
        }
        EXPECT_EQ(holes, 0) << id;
    }
}

TEST_F(GeneratedAssets, SoundsArePlainEightBitMonoWaves) {
    for (const SoundLength& s : soundLengths) {
        SCOPED_TRACE(s.id);
        std::vector<uint8_t> b = readFile(file(s.id, ".wav"));
        ASSERT_GE(b.size(), 44u);
        uint32_t pad = s.bytes & 1;
        EXPECT_EQ(tag(b, 0), "RIFF");
        EXPECT_EQ(read32(b, 4), 4 + (8 + 16) + (8 + s.bytes + pad));
        EXPECT_EQ(tag(b, 8), "WAVE");
        EXPECT_EQ(tag(b, 12), "fmt ");
        EXPECT_EQ(read32(b, 16), 16u);
        EXPECT_EQ(read16(b, 20), 1u);
        EXPECT_EQ(read16(b, 22), 1u);
        EXPECT_EQ(read32(b, 24), 22050u);
        EXPECT_EQ(read32(b, 28), 22050u);
        EXPECT_EQ(read16(b, 32), 1u);
        EXPECT_EQ(read16(b, 34), 8u);
        EXPECT_EQ(tag(b, 36), "data");
        EXPECT_EQ(read32(b, 40), s.bytes);
        EXPECT_EQ(b.size(), 44 + s.bytes + pad);
    }
}

// A looping sound plays its last sample straight into its first.
TEST_F(GeneratedAssets, LoopsJoinWithoutAClick) {
    for (const SoundLength& s : soundLengths) {
        if (!s.loops) continue;
        SCOPED_TRACE(s.id);
        std::vector<uint8_t> v = samples(s.id);
        ASSERT_EQ(v.size(), s.bytes);
        EXPECT_LE(std::abs(v.back() - v.front()), 12);
        // Nothing near the seam jumps further than the music does anywhere.
        int largestStep = 0;
        for (size_t i = 1; i < v.size(); ++i)
            largestStep = std::max(largestStep, std::abs(v[i] - v[i - 1]));
        EXPECT_LE(std::abs(v.back() - v.front()), std::max(largestStep, 4));
    }
}

TEST_F(GeneratedAssets, OneShotsStartAndEndInSilence) {
    for (const SoundLength& s : soundLengths) {
        if (s.loops) continue;
        SCOPED_TRACE(s.id);
        std::vector<uint8_t> v = samples(s.id);
        ASSERT_EQ(v.size(), s.bytes);
        EXPECT_LE(std::abs(v.front() - 128), 3);
        EXPECT_LE(std::abs(v.back() - 128), 3);
    }
}

TEST_F(GeneratedAssets, SoundsAreAudibleButNeverClip) {
    for (const SoundLength& s : soundLengths) {
        SCOPED_TRACE(s.id);
        std::vector<uint8_t> v = samples(s.id);
        ASSERT_FALSE(v.empty());
        auto [low, high] = std::minmax_element(v.begin(), v.end());
        EXPECT_GT(*low, 0);
        EXPECT_LT(*high, 255);
        EXPECT_GT(*high - *low, 100);
    }
}

TEST_F(GeneratedAssets, CheckerAcceptsTheGameFilesAndNamesWhatIsWrong) {
    EXPECT_EQ(
        runGenerator("--check " + quoted(file(151, ".bmp")) + " " + quoted(file(141, ".wav"))), 0);

    // A title picture of the wrong size must be refused.
    fs::path wrong = root / "wrong";
    fs::create_directories(wrong);
    fs::copy_file(file(156, ".bmp"), wrong / "151.bmp");
    EXPECT_NE(runGenerator("--check " + quoted(wrong / "151.bmp")), 0);
    // So must a sound in the wrong format.
    std::vector<uint8_t> wave = readFile(file(149, ".wav"));
    wave[24] = 0x44;  // 44100 Hz
    wave[25] = 0xAC;
    std::ofstream(wrong / "149.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(wave.data()),
               static_cast<std::streamsize>(wave.size()));
    EXPECT_NE(runGenerator("--check " + quoted(wrong / "149.wav")), 0);
    // And a file named after no resource.
    fs::copy_file(file(151, ".bmp"), wrong / "999.bmp");
    EXPECT_NE(runGenerator("--check " + quoted(wrong / "999.bmp")), 0);
}

TEST_F(GeneratedAssets, GeneratorFailsWhenItCannotWrite) {
    EXPECT_NE(runGenerator("/proc/kordavan-cannot-write-here"), 0);
}

}  // namespace
