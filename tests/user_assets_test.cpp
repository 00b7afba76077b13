// A player's own pictures and sounds (-DKORDAVAN_ASSETS=FOLDER) in place of
// the generated ones, as a player meets them: the build's check of each file
// against the game's own start-up given the same bytes, and the resource
// section built with a player folder that changes between builds.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/startup.h"
#include "gfx/surfaces.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "sound/sound_buffers.h"
#include "tests/process_support.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void putTag(Bytes& b, const char* tag) {
    b.insert(b.end(), tag, tag + 4);
}

// An uncompressed 24-bit bottom-up bitmap whose rows, from the top, have the
// colours of `rowColour` (blue, green, red).
Bytes bitmap(int width, int height, uint32_t (*rowColour)(int row)) {
    const uint32_t stride = (uint32_t(width) * 3 + 3) & ~3u;
    Bytes b{'B', 'M'};
    put32(b, 54 + stride * uint32_t(height));
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, uint32_t(width));
    put32(b, uint32_t(height));
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    for (int row = height - 1; row >= 0; --row) {
        const uint32_t colour = rowColour(row);
        for (uint32_t i = 0; i < stride; ++i) {
            b.push_back(i < uint32_t(width) * 3 ? uint8_t(colour >> (8 * (i % 3))) : 0);
        }
    }
    return b;
}

uint32_t stripes(int row) {
    return row % 2 == 0 ? 0x0000FFu : 0xFF0000u;  // blue, red: the bytes as stored
}
uint32_t grey(int) {
    return 0x404040u;
}

// A RIFF WAVE of 8-bit mono 22050 Hz samples; an odd data chunk gets its pad
// byte.
Bytes wave(const Bytes& samples, uint16_t blockAlign = 1) {
    Bytes b;
    putTag(b, "RIFF");
    put32(b, 0);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, 22050);
    put32(b, 22050);
    put16(b, blockAlign);
    put16(b, 8);
    putTag(b, "data");
    put32(b, uint32_t(samples.size()));
    b.insert(b.end(), samples.begin(), samples.end());
    if (samples.size() % 2 == 1) b.push_back(0);
    set32(b, 4, uint32_t(b.size() - 8));
    return b;
}

Bytes ramp(size_t count) {
    Bytes out(count);
    for (size_t i = 0; i < count; ++i) out[i] = uint8_t(i * 7);
    return out;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a program with exactly these arguments, no shell between, so that
// folder names with spaces, brackets and quotes reach it as they are; its
// messages come with its output.
ProcessResult run(const std::vector<std::string>& arguments) {
    ProcessStreams streams;
    streams.errorsInOutput = true;
    return runProcess(arguments, streams);
}

fs::path scratchRoot() {
    return fs::temp_directory_path() / ("kordavan-user-assets-" + std::to_string(getpid()));
}

// A folder of this test process's own, emptied.
fs::path scratch(const std::string& name) {
    const fs::path dir = scratchRoot() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// ------------------------------------------------------------ the check and the game

// The game started on the headless machine with one resource of its own
// replaced by a player's file: what the player sees.
class GameWithPlayerFile : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        appWindow = nullptr;
        errorMessage = nullptr;
    }
    void TearDown() override {
        stop();
        fs::remove_all(scratchRoot());
    }

    // 1 when the game starts with the bytes as that resource.
    int start(platform::ResourceType type, int id, const Bytes& bytes) {
        stop();
        platform::headless::use();
        errorMessage = nullptr;
        file = bytes;
        module = *platform::gameModule();
        for (platform::Resource& resource : module.resources) {
            if (resource.type == type && resource.id == id) resource.bytes = file;
        }
        return initApplication(&module, 1);
    }
    void stop() {
        shutdownApp();
        platform::destroyWindow(appWindow);
        appWindow = nullptr;
    }

    // What `kordavan-assets --check` says of the bytes as the player's file `name`.
    ProcessResult check(const std::string& name, const Bytes& bytes) {
        const fs::path dir = scratch("check [player's files]");
        writeFile(dir / name, bytes);
        return run({KORDAVAN_ASSETS_EXE, "--check", (dir / name).string()});
    }

    static const char* reason() { return errorMessage != nullptr ? errorMessage : ""; }

    static Bytes samplesOf(SoundBuffer* buffer) {
        uint8_t* region = nullptr;
        uint32_t length = 0;
        if (!platform::lockBuffer(buffer, 0, UINT32_MAX, &region, &length)) return {};
        Bytes samples(region, region + length);
        platform::unlockBuffer(buffer, region, 0);
        return samples;
    }

    Bytes file;
    platform::Module module;
};

struct SoundCase {
    const char* what;
    Bytes bytes;
    Bytes samples;       // what the game plays; empty when both refuse the file
    const char* reason;  // part of the check's message when it refuses
};

TEST_F(GameWithPlayerFile, EverySoundTheCheckAcceptsTheGamePlaysAndEveryOtherStopsTheBuild) {
    const Bytes samples = ramp(301);
    std::vector<SoundCase> cases;
    cases.push_back({"a plain sound", wave(samples), samples, nullptr});
    {
        Bytes b = wave(samples);
        b.pop_back();  // the pad byte is counted, but never written
        cases.push_back({"a pad byte counted but not written", b, samples, nullptr});
    }
    {
        Bytes b = wave(samples);
        set32(b, 4, 0xFFFFFFFF);  // a writer that streamed the file
        cases.push_back({"a RIFF length of 0xFFFFFFFF", b, samples, nullptr});
    }
    {
        Bytes b = wave(samples);
        set32(b, 4, 4 + 24);  // the form ends after its fmt chunk
        cases.push_back({"a RIFF length ending before the data", b, {}, "RIFF length (28)"});
        set32(b, 4, 4 + 24 + 8 + 100);
        cases.push_back({"a RIFF length ending inside the data", b, {}, "ends inside its 'data'"});
    }
    cases.push_back({"a block align of 2", wave(samples, 2), {}, "block align of 1, has 2"});
    {
        Bytes b = wave(samples);
        set32(b, 40, 5000);
        cases.push_back({"a data chunk longer than the file", b, {}, "runs past the end"});
    }
    {
        Bytes b = wave(samples);
        set32(b, 16, 14);
        cases.push_back({"a short fmt chunk", b, {}, "fmt chunk is too short"});
    }
    cases.push_back({"no samples", wave({}), {}, "has no samples"});
    cases.push_back({"samples over the game's limit",
                     wave(Bytes(platform::maxSoundBufferBytes + 1, 128)),
                     {},
                     "more than the game's 67108864"});

    for (const SoundCase& sound : cases) {
        SCOPED_TRACE(sound.what);
        const ProcessResult verdict = check("149.wav", sound.bytes);
        const int started = start(platform::ResourceType::Wave, 149, sound.bytes);
        if (!sound.samples.empty()) {
            EXPECT_EQ(verdict.exitCode, 0) << verdict.output;
            ASSERT_EQ(started, 1) << reason();
            EXPECT_EQ(samplesOf(sndPickUp), sound.samples);
        } else {
            EXPECT_EQ(verdict.exitCode, 1);
            EXPECT_NE(verdict.output.find("149.wav'"), std::string::npos) << verdict.output;
            EXPECT_NE(verdict.output.find(sound.reason), std::string::npos) << verdict.output;
            EXPECT_EQ(started, 0);
            stop();
            EXPECT_EQ(platform::headless::lastMessageBox(), "CreateBuffer FAILED");
        }
    }
}

TEST_F(GameWithPlayerFile, EveryPictureTheCheckAcceptsTheGameShowsAsItIsStored) {
    const Bytes plain = bitmap(64, 240, stripes);
    Bytes gap = plain;  // four bytes between the headers and the pixels
    gap.insert(gap.begin() + 54, {1, 2, 3, 4});
    set32(gap, 10, 58);
    for (const Bytes& accepted : {plain, gap}) {
        EXPECT_EQ(check("104.bmp", accepted).exitCode, 0);
        ASSERT_EQ(start(platform::ResourceType::Bitmap, 104, accepted), 1) << reason();
        ASSERT_EQ(surfCrusher->width, 64);
        ASSERT_EQ(surfCrusher->height, 240);
        for (int y : {0, 1, 2, 239}) {
            const uint16_t expected = y % 2 == 0 ? 0x001F : 0xF800;  // blue, red
            EXPECT_EQ(surfCrusher->pixels[size_t(y) * 64], expected) << y;
            EXPECT_EQ(surfCrusher->pixels[size_t(y) * 64 + 63], expected) << y;
        }
    }

    // Pixels said to start inside the headers would show the headers' bytes.
    for (uint32_t offset : {0u, 20u, 53u}) {
        Bytes b = plain;
        set32(b, 10, offset);
        const ProcessResult verdict = check("104.bmp", b);
        EXPECT_EQ(verdict.exitCode, 1) << offset;
        EXPECT_NE(verdict.output.find("104.bmp': its pixels are said to start at byte " +
                                      std::to_string(offset) + ", inside its headers"),
                  std::string::npos)
            << verdict.output;
        EXPECT_EQ(start(platform::ResourceType::Bitmap, 104, b), 0) << offset;
        stop();
        EXPECT_EQ(platform::headless::lastMessageBox(), "Error Loading Image");
    }
}

TEST_F(GameWithPlayerFile, TheCheckNamesWhatIsWrongInPrintableWords) {
    Bytes b = wave(ramp(10));
    b[36] = 0x1B;  // an escape byte where "data" should be, then a length past the end
    b[37] = '[';
    set32(b, 40, 100000);
    const ProcessResult verdict = check("149.wav", b);
    EXPECT_EQ(verdict.exitCode, 1);
    EXPECT_NE(verdict.output.find("its '\\x1b[ta' chunk of 100000 bytes runs past the end"),
              std::string::npos)
        << verdict.output;
    EXPECT_EQ(verdict.output.find('\x1b'), std::string::npos);
}

// ------------------------------------------------------------ building with a player folder

// The resource section of the game built on its own (tests/user_assets/),
// with the real build rules and a folder of player files that changes
// between builds.
class PlayerFolderBuild : public ::testing::Test {
  protected:
    void SetUp() override {
        root = scratch("build");
        folder = root / "the player's [best] pictures";
        fs::create_directories(folder);
        const ProcessResult configured = run(
            {KORDAVAN_CMAKE_COMMAND, "-S", std::string(KORDAVAN_SOURCE_DIR) + "/tests/user_assets",
             "-B", (root / "out").string(),
             std::string("-DKORDAVAN_ASSETS_EXE=") + KORDAVAN_ASSETS_EXE,
             "-DKORDAVAN_ASSETS=" + folder.string()});
        ASSERT_EQ(configured.exitCode, 0) << configured.output;
        ASSERT_NE(configured.output.find(folder.string()), std::string::npos) << configured.output;
    }
    void TearDown() override { fs::remove_all(scratchRoot()); }

    ProcessResult build() {
        return run({KORDAVAN_CMAKE_COMMAND, "--build", (root / "out").string(), "--target",
                    "embedded-resource"});
    }
    // The bytes the built program carries as that resource.
    Bytes embedded(int id) {
        const ProcessResult dumped =
            run({(root / "out" / "embedded-resource").string(), std::to_string(id)});
        return Bytes(dumped.output.begin(), dumped.output.end());
    }
    Bytes generated(const std::string& name) {
        return readFile(root / "out" / "generated-assets" / name);
    }

    fs::path root;
    fs::path folder;
};

TEST_F(PlayerFolderBuild, EmbedsWhatTheFolderHoldsAtEachBuildWhateverTheTimeStamps) {
    ProcessResult built = build();
    ASSERT_EQ(built.exitCode, 0) << built.output;
    EXPECT_NE(built.output.find("no file of the folder is used"), std::string::npos)
        << built.output;
    EXPECT_EQ(embedded(104), generated("104.bmp"));

    // Added, with a time stamp older than anything built.
    const Bytes first = bitmap(64, 240, stripes);
    writeFile(folder / "104.bmp", first);
    fs::last_write_time(folder / "104.bmp",
                        fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
    built = build();
    ASSERT_EQ(built.exitCode, 0) << built.output;
    EXPECT_NE(built.output.find("using '" + (folder / "104.bmp").string() + "'"), std::string::npos)
        << built.output;
    EXPECT_EQ(embedded(104), first);

    // Replaced by one older still.
    const Bytes second = bitmap(64, 240, grey);
    writeFile(folder / "104.bmp", second);
    fs::last_write_time(folder / "104.bmp",
                        fs::file_time_type::clock::now() - std::chrono::hours(24 * 800));
    ASSERT_EQ(build().exitCode, 0);
    EXPECT_EQ(embedded(104), second);

    // A file the game has no use for is named and left out.
    writeFile(folder / "999.wav", wave(ramp(10)));
    built = build();
    ASSERT_EQ(built.exitCode, 0) << built.output;
    EXPECT_NE(built.output.find("999.wav': left out"), std::string::npos) << built.output;

    // Removed: the generated picture is back.
    fs::remove(folder / "104.bmp");
    ASSERT_EQ(build().exitCode, 0);
    EXPECT_EQ(embedded(104), generated("104.bmp"));
}

TEST_F(PlayerFolderBuild, AFileTheGameWouldRefuseStopsTheBuildWithItsNameAndReason) {
    writeFile(folder / "149.wav", wave(ramp(100), 2));
    writeFile(folder / "104.bmp", bitmap(10, 10, grey));
    ProcessResult built = build();
    EXPECT_NE(built.exitCode, 0);
    EXPECT_NE(built.output.find("149.wav': must have a block align of 1, has 2"), std::string::npos)
        << built.output;
    EXPECT_NE(built.output.find("104.bmp': is 10 x 10, the game needs 64 x 240"), std::string::npos)
        << built.output;

    // Mended, the build goes on with them.
    writeFile(folder / "149.wav", wave(ramp(100)));
    writeFile(folder / "104.bmp", bitmap(64, 240, grey));
    built = build();
    ASSERT_EQ(built.exitCode, 0) << built.output;
    EXPECT_EQ(embedded(149), wave(ramp(100)));
    EXPECT_EQ(embedded(104), bitmap(64, 240, grey));
}

}  // namespace
