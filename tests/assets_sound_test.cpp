// Guards how the generated sounds play as a set: their loudness, peaks,
// silences and the few moments that must be heard. Loudness is read with
// ffmpeg's EBU R128 meter, which also checks the generator's own meter
// behind `kordavan-assets --report`.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const int effects[] = {140, 145, 146, 147, 149, 166, 168};
const int music[] = {141, 143, 144, 148};
const int rotorBeat = 142;
const int crusherSlam = 145;
const int startSound = 146;
const int titleMusic = 143;

// Built by appending: GCC 12 warns wrongly about a literal + string + literal.
std::string quoted(const fs::path& path) {
    std::string out;
    out.append(1, '\'').append(path.string()).append(1, '\'');
    return out;
}

struct Output {
    std::string text;
    int status = -1;
};

Output run(const std::string& command) {
    Output out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.text.append(buffer, got);
    int status = pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

struct Reading {
    double loudness = NAN;  // LUFS
    double truePeak = NAN;  // dBTP
};

// The summary of ffmpeg's ebur128 filter after `filters`, if any.
Reading ffmpegMeter(const fs::path& wav, const std::string& filters = "") {
    std::string chain = filters.empty() ? "" : filters + ",";
    Output out = run("ffmpeg -nostdin -hide_banner -nostats -i " + quoted(wav) + " -af " + chain +
                     "ebur128=peak=true -f null - 2>&1");
    Reading r;
    size_t summary = out.text.rfind("Summary:");
    if (out.status != 0 || summary == std::string::npos) return r;
    size_t i = out.text.find("I:", summary);
    size_t peak = out.text.find("Peak:", summary);
    if (i != std::string::npos) r.loudness = std::strtod(out.text.c_str() + i + 2, nullptr);
    if (peak != std::string::npos) r.truePeak = std::strtod(out.text.c_str() + peak + 5, nullptr);
    return r;
}

std::vector<uint8_t> samplesOf(const fs::path& wav) {
    std::ifstream file(wav, std::ios::binary);
    std::vector<uint8_t> b{std::istreambuf_iterator<char>(file), {}};
    if (b.size() < 44) return {};
    size_t count = b[40] | (b[41] << 8) | (b[42] << 16) | (static_cast<size_t>(b[43]) << 24);
    return {b.begin() + 44, b.begin() + 44 + static_cast<long>(std::min(count, b.size() - 44))};
}

// One line of `--report`: the figures after the sound's name.
struct ReportLine {
    double loudness, target, truePeak, smallSpeaker, opening;
};

std::map<int, ReportLine> parseReport(const std::string& text) {
    std::map<int, ReportLine> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
        std::vector<std::string> words;
        std::istringstream split(line);
        for (std::string w; split >> w;) words.push_back(w);
        if (words.size() < 7) continue;
        auto number = [&](size_t fromEnd) { return std::stod(words[words.size() - fromEnd]); };
        lines[std::stoi(words[0])] = {number(5), number(4), number(3), number(2), number(1)};
    }
    return lines;
}

// The generator runs once; every test reads its files and its report.
class GeneratedSounds : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root = fs::temp_directory_path() / ("kordavan-sounds-test-" + std::to_string(getpid()));
        fs::remove_all(root);
        std::string tool = quoted(KORDAVAN_ASSETS_EXE);
        generated = run(tool + " " + quoted(root / "set") + " 2>&1").status;
        Output out = run(tool + " --report " + quoted(root / "set") + " 2>&1");
        reportStatus = out.status;
        report = out.text;
        haveFfmpeg = run("ffmpeg -version 2>&1").status == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(root); }

    void SetUp() override {
        ASSERT_EQ(generated, 0);
        ASSERT_TRUE(haveFfmpeg) << "these tests measure with ffmpeg: install the ffmpeg package";
    }

    static fs::path wav(int id) { return root / "set" / (std::to_string(id) + ".wav"); }

    // Each reading is taken once for all the tests.
    static Reading meter(int id, const std::string& filters = "") {
        std::string key = std::to_string(id) + " " + filters;
        auto known = readings.find(key);
        if (known != readings.end()) return known->second;
        return readings[key] = ffmpegMeter(wav(id), filters);
    }

    static inline fs::path root;
    static inline int generated = -1;
    static inline int reportStatus = -1;
    static inline std::string report;
    static inline bool haveFfmpeg = false;
    static inline std::map<std::string, Reading> readings;
};

TEST_F(GeneratedSounds, ReportReadsLikeTheBroadcastMeter) {
    ASSERT_EQ(reportStatus, 0) << report;
    std::map<int, ReportLine> lines = parseReport(report);
    ASSERT_EQ(lines.size(), 12u) << report;
    for (const auto& [id, line] : lines) {
        SCOPED_TRACE(id);
        Reading whole = meter(id);
        // Both print tenths; ffmpeg meters at 48 kHz and oversamples further for the peak.
        EXPECT_NEAR(line.loudness, whole.loudness, 0.25);
        EXPECT_NEAR(line.truePeak, whole.truePeak, 0.5);
        EXPECT_NEAR(line.smallSpeaker, meter(id, "highpass=f=200").loudness, 0.25);
        EXPECT_NEAR(line.opening, meter(id, "atrim=0:0.4").loudness, 0.25);
    }
    EXPECT_NE(report.find("spread"), std::string::npos);

    // A folder without the sounds is reported as such, and fails.
    fs::create_directories(root / "empty");
    Output empty = run(quoted(KORDAVAN_ASSETS_EXE) + " --report " + quoted(root / "empty"));
    EXPECT_NE(empty.status, 0);
    EXPECT_NE(empty.text.find("missing"), std::string::npos) << empty.text;
}

// Effects level with each other, the music sits under them and the rotor,
// heard all through the game, under both; nothing reaches full scale.
TEST_F(GeneratedSounds, LevelledByLoudnessUnderAPeakCeiling) {
    for (int id : effects) EXPECT_NEAR(meter(id).loudness, -15, 0.5) << id;
    EXPECT_NEAR(meter(rotorBeat).loudness, -22, 0.5);
    for (int id : music) {
        double loudness = meter(id).loudness;
        EXPECT_GE(loudness, -19.1) << id;
        EXPECT_LE(loudness, -17.9) << id;
    }
    for (int id : effects) EXPECT_LE(meter(id).truePeak, -0.5) << id;
    for (int id : music) EXPECT_LE(meter(id).truePeak, -0.5) << id;
}

// Through a 200 Hz high-pass, about what a laptop speaker plays, the crusher
// must not sink into a tick: its boom's harmonics and crunch carry it.
TEST_F(GeneratedSounds, CrusherCarriesOnASmallSpeaker) {
    double crusher = meter(crusherSlam, "highpass=f=200").loudness;
    for (int id : effects) {
        if (id == crusherSlam) continue;
        EXPECT_GE(crusher, meter(id, "highpass=f=200").loudness - 4) << id;
        EXPECT_GE(crusher, meter(id).loudness - 4) << id;
    }
}

// Space on the title: the start sound plays over the title music and must
// be heard at once, not half a second later.
TEST_F(GeneratedSounds, StartSoundIsHeardOverTheTitleMusic) {
    double opening = meter(startSound, "atrim=0:0.4").loudness;
    EXPECT_GE(opening, meter(titleMusic).loudness + 2);
    // The ignition lands within the first 20 ms.
    std::vector<uint8_t> v = samplesOf(wav(startSound));
    ASSERT_GT(v.size(), 441u);
    int loudest = 0;
    for (size_t i = 0; i < 441; ++i) loudest = std::max(loudest, std::abs(v[i] - 128));
    EXPECT_GE(loudest, 64);
}

// Silence is the byte 128, not dither: every one-shot starts on it and dies
// away into at least 10 ms of it. No sound carries a DC offset.
TEST_F(GeneratedSounds, SilenceIsSilentAndNothingIsOffCentre) {
    for (int id : effects) {
        SCOPED_TRACE(id);
        std::vector<uint8_t> v = samplesOf(wav(id));
        ASSERT_GT(v.size(), 221u);
        EXPECT_EQ(v.front(), 128);
        EXPECT_TRUE(std::all_of(v.end() - 221, v.end(), [](uint8_t b) { return b == 128; }));
    }
    for (int id : {140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 166, 168}) {
        std::vector<uint8_t> v = samplesOf(wav(id));
        ASSERT_FALSE(v.empty());
        double sum = 0;
        for (uint8_t b : v) sum += b - 128;
        EXPECT_LT(std::abs(sum / static_cast<double>(v.size())), 0.1) << id;
    }
}

}  // namespace
