// kordavan-trace as other tools use it: whole missions from a key script, the
// ends of a game, and the tool's own contract (arguments, stopping, output).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/process_support.h"

#ifdef KORDAVAN_TRACE_EXE

namespace {

struct TraceRun {
    std::vector<std::string> lines;
    std::string errors;
    int exitCode = -1;
};

std::filesystem::path scratchDir() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kordavan-trace-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// Runs the tool with the key lines on its standard input.
TraceRun runTrace(const std::string& arguments, const std::vector<std::string>& keys) {
    const auto dir = scratchDir();
    const auto input = dir / "keys.txt";
    const auto errors = dir / "errors.txt";
    {
        std::ofstream out(input);
        for (const std::string& line : keys) out << line << "\n";
    }
    const std::string command = std::string(KORDAVAN_TRACE_EXE) + " " + arguments + " < " +
                                input.string() + " 2> " + errors.string();
    TraceRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::string line;
    char buffer[65536];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            run.lines.push_back(line);
            line.clear();
        }
    }
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errors);
    run.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

// A number from a step line: "ret", or a field of "state".
double value(const std::string& line, const std::string& name) {
    const size_t state = line.find("\"state\":{");
    const std::string key = "\"" + name + "\":";
    const size_t at = name == "ret" || name == "step" ? line.find(key) : line.find(key, state);
    if (at == std::string::npos) {
        ADD_FAILURE() << "no " << name << " in " << line.substr(0, 80);
        return -1e300;
    }
    return std::strtod(line.c_str() + at + key.size(), nullptr);
}

std::vector<std::string> repeat(const std::string& keys, int times) {
    return std::vector<std::string>(static_cast<size_t>(times), keys);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TraceMissionTest, OutLandPickUpBackLandUnload) {
    // Out at full speed holding L, so the landing starts as soon as the far
    // end allows it; wait for the man; home holding L again.
    const auto keys =
        repeat("LEFT L", 10) + repeat("L", 1190) + repeat("RIGHT,L", 25) + repeat("l", 1100);
    const TraceRun run = runTrace("", keys);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), keys.size());

    size_t landedFar = 0, pickedUp = 0, landedHome = 0, completed = 0;
    for (size_t i = 0; i < run.lines.size(); ++i) {
        const std::string& line = run.lines[i];
        EXPECT_EQ(value(line, "step"), static_cast<double>(i + 1));
        if (!landedFar && value(line, "heliLanded") == 1) landedFar = i;
        if (!pickedUp && value(line, "carryingMan") == 1) pickedUp = i;
        if (pickedUp && !landedHome && value(line, "heliLanded") == 1) landedHome = i;
        if (!completed && value(line, "level") == 1) completed = i;
    }
    ASSERT_NE(landedFar, 0u);
    ASSERT_GT(pickedUp, landedFar);
    ASSERT_GT(landedHome, pickedUp);
    ASSERT_GT(completed, landedHome);

    const std::string& far = run.lines[landedFar];
    EXPECT_GE(value(far, "scrollPos"), 1900);
    EXPECT_EQ(value(far, "heliX"), 30);
    EXPECT_EQ(value(far, "heliY"), 400);
    EXPECT_EQ(value(run.lines[pickedUp], "rescuedCount"), 1);
    EXPECT_EQ(value(run.lines[pickedUp], "manWaiting"), 0);
    const std::string& home = run.lines[landedHome];
    EXPECT_LE(value(home, "scrollPos"), 2);
    EXPECT_EQ(value(home, "heliX"), 230);
    EXPECT_EQ(value(home, "heliY"), 400);
    // The hazards took their share on the way; the completion refills it.
    EXPECT_LT(value(run.lines[completed - 1], "energy"), 352);
    const std::string& done = run.lines.back();
    EXPECT_EQ(value(done, "level"), 1);
    EXPECT_EQ(value(done, "rescuedCount"), 1);
    EXPECT_EQ(value(done, "energy"), 352);
    EXPECT_EQ(value(done, "manWaiting"), 1);
    EXPECT_EQ(value(done, "carryingMan"), 0);
    EXPECT_EQ(value(done, "landingActive"), 0);
}

TEST(TraceEndTest, LostGameEndsWithTheResetAfterReturn) {
    const TraceRun run =
        runTrace("--set energy=-1 --set heliX=300", repeat("", 100) + repeat("RETURN", 1));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 74u);  // 20 frames of fall, 54 of crash, then the picture
    const std::string& before = run.lines[72];
    EXPECT_EQ(value(before, "ret"), 1);
    EXPECT_EQ(value(before, "crashExplosionPending"), 0);
    EXPECT_EQ(value(before, "heliY"), 410);
    const std::string& last = run.lines.back();
    EXPECT_EQ(value(last, "ret"), 0);
    EXPECT_EQ(value(last, "heliX"), 300);
    EXPECT_EQ(value(last, "heliY"), 370);
    EXPECT_EQ(value(last, "energy"), 352);
    EXPECT_EQ(value(last, "crashExplosionPending"), 1);
}

TEST(TraceEndTest, WonGameEndsWithTheResetAfterReturn) {
    const TraceRun run = runTrace("--set level=7 --set heliY=20 --set rescuedCount=7",
                                  repeat("", 40) + repeat("RETURN", 1));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 10u);
    EXPECT_EQ(value(run.lines[8], "heliY"), 2);
    const std::string& last = run.lines.back();
    EXPECT_EQ(value(last, "ret"), 0);
    EXPECT_EQ(value(last, "level"), 0);
    EXPECT_EQ(value(last, "rescuedCount"), 0);
    EXPECT_EQ(value(last, "heliY"), 370);
}

TEST(TraceEndTest, EndPictureWithoutKeysLeftStopsWithExitCodeThree) {
    const TraceRun run = runTrace("--set energy=-1", repeat("", 75));
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.lines.size(), 73u);  // the step stuck in the picture is not printed
    EXPECT_NE(run.errors.find("Return"), std::string::npos);
}

TEST(TraceContractTest, StopsWhenTheInputIsUsedUp) {
    const TraceRun run = runTrace("", repeat("LEFT", 3) + repeat("", 2));
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 5u);
    EXPECT_EQ(value(run.lines[0], "velX"), 0.4);  // after the step's controls
    EXPECT_EQ(value(run.lines[0], "ret"), 1);
}

TEST(TraceContractTest, StepsGoOnWithNoKeyHeldAfterTheInput) {
    const TraceRun run = runTrace("--steps 12", repeat("LEFT", 2));
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 12u);
    EXPECT_EQ(value(run.lines[11], "step"), 12);
}

TEST(TraceContractTest, EscapeStopsAfterItsStep) {
    const TraceRun run = runTrace("--steps 50", {"", "escape", "", ""});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines.size(), 2u);
}

TEST(TraceContractTest, SettingsApplyBeforeTheFirstStepAndDoublesReadBack) {
    const TraceRun run = runTrace("--steps 1 --set heliX=0.1 --set walkerX=1e-3", {});
    ASSERT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_NE(run.lines[0].find("\"heliX\":0.1,"), std::string::npos) << run.lines[0];
    EXPECT_NE(run.lines[0].find("\"walkerX\":0.301,"), std::string::npos) << run.lines[0];
}

TEST(TraceContractTest, DrawsAndSoundsAreListedInOrder) {
    const TraceRun run = runTrace("--draws --sounds --steps 1", {});
    ASSERT_EQ(run.lines.size(), 1u);
    const std::string& line = run.lines[0];
    const size_t sky = line.find("[\"surfSkyA\",0,0,640,352,0,0]");
    const size_t ground = line.find("[\"surfTerrain[0]\",0,0,640,192,0,288]");
    const size_t heli = line.find("[\"surfHeliLeft[0]\",0,0,240,64,230,370]");
    const size_t bar = line.find("[\"surfBarFill\",0,0,352,24,10,5]]");
    EXPECT_LT(sky, ground);
    EXPECT_LT(ground, heli);
    EXPECT_LT(heli, bar);
    EXPECT_NE(bar, std::string::npos);
    EXPECT_NE(line.find("\"sounds\":[[\"play\",\"snd142\",1]]"), std::string::npos);
}

TEST(TraceContractTest, StopsOfLoopingSoundsAreListed) {
    const TraceRun run = runTrace("--sounds --set level=7 --set heliY=2", {"RETURN"});
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_NE(
        run.lines[0].find("[\"play\",\"snd141\",1],[\"stop\",\"snd142\"],[\"stop\",\"snd141\"]"),
        std::string::npos)
        << run.lines[0];
}

TEST(TraceContractTest, FramesAreWrittenAsBitmaps) {
    const auto dir = scratchDir() / "frames";
    std::filesystem::remove_all(dir);
    const TraceRun run = runTrace("--steps 2 --frames " + dir.string(), {});
    ASSERT_EQ(run.exitCode, 0);
    const auto first = dir / "step-000001.bmp";
    ASSERT_TRUE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(dir / "step-000002.bmp"));
    EXPECT_EQ(std::filesystem::file_size(first), 54u + 640u * 480u * 3u);
    std::ifstream in(first, std::ios::binary);
    char magic[2] = {};
    in.read(magic, 2);
    EXPECT_EQ(magic[0], 'B');
    EXPECT_EQ(magic[1], 'M');
}

// The names of the frames a run wrote, sorted.
std::vector<std::string> framesWritten(const std::string& arguments,
                                       const std::vector<std::string>& keys) {
    const auto dir = scratchDir() / "chosen frames";
    std::filesystem::remove_all(dir);
    const TraceRun run = runTrace(arguments + " --frames '" + dir.string() + "'", keys);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::filesystem::remove_all(dir);
    return names;
}

TEST(TraceContractTest, TitlePassesHaveFramesAndFramesFromLeavesOutTheEarlierOnes) {
    EXPECT_EQ(framesWritten("--from-title --frames-from 3", repeat("", 4)),
              (std::vector<std::string>{"title-000003.bmp", "title-000004.bmp"}));
    EXPECT_EQ(framesWritten("--steps 5 --frames-from 5", {}),
              std::vector<std::string>{"step-000005.bmp"});
    // Space in the third pass, and the loading's passes are the title's too.
    EXPECT_EQ(framesWritten("--from-title --steps 1 --frames-from 702",
                            repeat("", 2) + repeat("SPACE", 1) + repeat("", 720)),
              std::vector<std::string>{"title-000702.bmp"});
}

TEST(TraceContractTest, FromTheTitleTheGameBeginsAfterSpaceAndTheLoading) {
    const TraceRun run = runTrace(
        "--from-title", repeat("", 5) + repeat("SPACE", 1) + repeat("", 699) + repeat("LEFT", 3));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(value(run.lines[0], "step"), 1);
    EXPECT_EQ(value(run.lines[0], "velX"), 0.4);
}

TEST(TraceContractTest, BadArgumentsAreRefused) {
    const char* bad[] = {"--set nothing=1",
                         "--set heliX",
                         "--set heliX=abc",
                         "--set level=1.5",
                         "--steps",
                         "--steps -3",
                         "--steps ten",
                         "--frames",
                         "--frames-from",
                         "--frames-from -1",
                         "--what",
                         "--set rotorFrame=5",
                         "--set explosionFrame=-1"};
    for (const char* arguments : bad) {
        const TraceRun run = runTrace(arguments, {""});
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_TRUE(run.lines.empty()) << arguments;
        EXPECT_FALSE(run.errors.empty()) << arguments;
    }
}

TEST(TraceContractTest, UnknownKeyNamesAreRefused) {
    const TraceRun run = runTrace("", {"LEFT", "JUMP"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.errors.find("line 2"), std::string::npos);
}

// ------------------------------------------------------------ failures the user must hear of

// The tool as a shell runs it: these arguments, the key lines in a file on
// standard input, and standard output wherever `streams` sends it.
ProcessResult runTool(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& keys, ProcessStreams streams = {}) {
    const auto input = scratchDir() / "tool-keys.txt";
    {
        std::ofstream out(input);
        for (const std::string& line : keys) out << line << "\n";
    }
    if (streams.input == "/dev/null") streams.input = input.string();
    std::vector<std::string> command{KORDAVAN_TRACE_EXE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    ProcessResult run = runProcess(command, streams);
    std::filesystem::remove(input);
    return run;
}

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST(TraceFailureTest, AFullDiskEndsTheRunWithExitOneAndOneMessage) {
    ProcessStreams toFullDisk;
    toFullDisk.outputFile = "/dev/full";
    const ProcessResult run = runTool({"--draws", "--sounds"}, repeat("LEFT", 300), toFullDisk);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(count(run.errors, "No space left on device"), 1u) << run.errors;
    EXPECT_NE(run.errors.find("standard output"), std::string::npos) << run.errors;
}

TEST(TraceFailureTest, APipeWhoseReaderHasGoneEndsTheRunWithExitOne) {
    ProcessStreams unread;
    unread.outputUnread = true;
    const ProcessResult run = runTool({"--steps", "2000"}, {}, unread);
    EXPECT_EQ(run.exitCode, 1) << "a message and exit 1, not a silent death by SIGPIPE";
    EXPECT_EQ(count(run.errors, "Broken pipe"), 1u) << run.errors;
}

TEST(TraceFailureTest, AClosedStandardOutputEndsTheRunWithExitOne) {
    ProcessStreams closed;
    closed.outputClosed = true;
    const ProcessResult run = runTool({"--steps", "5"}, {}, closed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find("standard output is closed"), std::string::npos) << run.errors;
}

TEST(TraceFailureTest, AKeyScriptThatCannotBeReadIsNoEmptyScript) {
    ProcessStreams fromAFolder;
    fromAFolder.input = "/";
    const ProcessResult run = runTool({}, {}, fromAFolder);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.empty());
    EXPECT_NE(run.errors.find("cannot read the key script from standard input: Is a directory"),
              std::string::npos)
        << run.errors;
}

TEST(TraceFailureTest, AFrameThatCannotBeWrittenEndsTheRunWithExitOne) {
    const auto frames = scratchDir() / "unwritable frames";
    std::filesystem::remove_all(frames);
    std::filesystem::create_directories(frames / "step-000002.bmp");  // a folder in the way
    ProcessResult run = runTool({"--steps", "50", "--frames", frames.string()}, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(count(run.output, "\n"), 2u) << "the run stops at the frame it cannot write";
    EXPECT_EQ(count(run.errors, "step-000002.bmp': Is a directory"), 1u) << run.errors;

    // A frame that cannot be written out to its end: the disk fills up.
    std::filesystem::remove_all(frames);
    std::filesystem::create_directories(frames);
    std::filesystem::create_symlink("/dev/full", frames / "step-000001.bmp");
    run = runTool({"--steps", "50", "--frames", frames.string()}, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(count(run.errors, "step-000001.bmp': No space left on device"), 1u) << run.errors;
    std::filesystem::remove_all(frames);
}

TEST(TraceFailureTest, AnOptionIsNeverTakenAsTheValueOfAnother) {
    for (const char* option : {"--frames", "--steps", "--set"}) {
        const ProcessResult run = runTool({option, "--draws"}, {""});
        EXPECT_EQ(run.exitCode, 2) << option;
        EXPECT_NE(run.errors.find(std::string(option) + " needs"), std::string::npos) << run.errors;
        EXPECT_FALSE(std::filesystem::exists("--draws"));
    }
}

TEST(TraceFailureTest, ValuesTheGameCannotHoldAreRefusedWithTheRange) {
    struct Refused {
        const char* setting;
        const char* range;
    };
    const Refused refused[] = {
        {"heliX=3e9", "from -640 to 1280"},
        {"scrollPos=1e10", "from -640 to 2562"},
        {"velX=-10.5", "from -10 to 10"},
        {"energy=2147483647", "a whole number from -100000 to 352"},
        {"energy=-2147483648", "a whole number from -100000 to 352"},
        {"level=8", "a whole number from 0 to 7"},
        {"walkerStep=2147483647", "a whole number from 0 to 93"},
        {"subTimer=-2147483648", "a whole number from -199 to 100"},
        {"rotorFrame=5", "a whole number from 0 to 4"},
        {"heliFacingLeft=0.5", "a whole number from 0 to 1"},
    };
    for (const Refused& value : refused) {
        const ProcessResult run = runTool({"--steps", "1", "--set", value.setting}, {});
        EXPECT_EQ(run.exitCode, 2) << value.setting;
        EXPECT_TRUE(run.output.empty()) << value.setting;
        EXPECT_NE(run.errors.find(value.range), std::string::npos) << run.errors;
    }
    // The ends themselves are the game's.
    const ProcessResult edges =
        runTool({"--steps", "3", "--set", "heliX=-640", "--set", "scrollPos=2562", "--set",
                 "energy=-100000", "--set", "velY=10", "--set", "walkerStep=93"},
                {});
    EXPECT_EQ(edges.exitCode, 0) << edges.errors;
    EXPECT_EQ(count(edges.output, "\n"), 3u);
}

TEST(TraceFailureTest, MessagesQuoteTheInputShortAndPrintable) {
    const std::string hostile = "\x1b[2J\x07" + std::string(10'000'000, 'J');
    const ProcessResult key = runTool({}, {"LEFT", hostile});
    EXPECT_EQ(key.exitCode, 2);
    EXPECT_LT(key.errors.size(), 300u);
    EXPECT_EQ(key.errors.find('\x1b'), std::string::npos);
    EXPECT_EQ(key.errors.find('\x07'), std::string::npos);
    EXPECT_NE(key.errors.find("line 2: unknown key '\\x1b[2J\\x07JJJ"), std::string::npos)
        << key.errors.substr(0, 300);
    EXPECT_NE(key.errors.find("(10000005 bytes)"), std::string::npos) << key.errors;

    const ProcessResult field = runTool({"--set", "he\x1bliX\r=1"}, {""});
    EXPECT_EQ(field.exitCode, 2);
    EXPECT_NE(field.errors.find("unknown game state field 'he\\x1bliX\\x0d'"), std::string::npos)
        << field.errors;
    const ProcessResult argument = runTool({std::string(5000, '-')}, {""});
    EXPECT_EQ(argument.exitCode, 2);
    EXPECT_LT(argument.errors.size(), 400u);
}

}  // namespace

#endif
