// Start-up and teardown: every failing step, a full start-up, and the ways the
// window goes away.

#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "sound/sound_buffers.h"

namespace {

using platform::headless::Call;

// The program from the title with the keyboard and the pads, started and
// torn down as the desktop does it; its exit code (1 when start-up failed).
int winMain(const platform::Module* instance, int showCommand) {
    if (!startProgram(instance, showCommand)) return 1;
    return runMainLoop(LoopStart::title(), deviceControls());
}

// The headless machine with the caption of every message box kept as well.
class CaptionRecorder final : public platform::Backend {
  public:
    explicit CaptionRecorder(platform::Backend& inner) : inner(inner) {}

    std::vector<std::string> captions;

    bool refuses(const char* call) override { return inner.refuses(call); }
    void note(const char* call, int serial) override { inner.note(call, serial); }
    bool startVideo(const platform::Module* module, int iconId) override {
        return inner.startVideo(module, iconId);
    }
    void stopVideo() override { inner.stopVideo(); }
    bool openWindow(const char* caption, int width, int height) override {
        return inner.openWindow(caption, width, height);
    }
    void closeWindow() override { inner.closeWindow(); }
    void setCursorVisible(bool visible) override { inner.setCursorVisible(visible); }
    platform::DesktopSize desktopSize() override { return inner.desktopSize(); }
    void pumpEvents(std::deque<platform::Message>& queue) override { inner.pumpEvents(queue); }
    void showMessageBox(const char* text, const char* caption) override {
        captions.emplace_back(caption);
        inner.showMessageBox(text, caption);
    }
    bool openScreen(int width, int height) override { return inner.openScreen(width, height); }
    void closeScreen() override { inner.closeScreen(); }
    void present(const platform::Surface& backBuffer) override { inner.present(backBuffer); }
    bool performanceFrequency(int64_t& frequency) override {
        return inner.performanceFrequency(frequency);
    }
    int64_t performanceCounter() override { return inner.performanceCounter(); }
    uint32_t milliseconds() override { return inner.milliseconds(); }
    bool openAudio(platform::SoundDevice* device) override { return inner.openAudio(device); }
    void closeAudio() override { inner.closeAudio(); }
    bool hasKeyboardFocus() override { return inner.hasKeyboardFocus(); }
    void readKeys(uint8_t (&state)[256]) override { inner.readKeys(state); }

  private:
    platform::Backend& inner;
};

bool isRelease(const std::string& name) {
    return name.rfind("release", 0) == 0 || name == "unacquire";
}

// Serials of the objects a creation call of that name made, in creation order.
std::vector<int> created(const std::vector<Call>& record, const std::string& name) {
    std::vector<int> serials;
    for (const Call& call : record) {
        if (call.name == name && call.serial != 0) serials.push_back(call.serial);
    }
    return serials;
}

// Where in the record the first call of that name on that object comes (any
// object for serial 0); -1 when there is none.
long firstAt(const std::vector<Call>& record, const std::string& name, int serial = 0) {
    const auto found = std::find_if(record.begin(), record.end(), [&](const Call& call) {
        return call.name == name && (serial == 0 || call.serial == serial);
    });
    return found == record.end() ? -1 : static_cast<long>(found - record.begin());
}

// The teardown gives back children before their parents: every picture and
// the flip chain before the display, the 3D interfaces before the buffers
// they belong to, every buffer before the sound device, the keyboard
// (unacquired first) before the input system; and the message, if any, comes
// after everything has been given back.
void expectChildrenBeforeParents(const std::vector<Call>& teardown) {
    const auto before = [&](const std::string& child, int childSerial, const std::string& parent,
                            int parentSerial) {
        const long c = firstAt(teardown, child, childSerial);
        const long p = firstAt(teardown, parent, parentSerial);
        if (c >= 0 && p >= 0) {
            EXPECT_LT(c, p) << child << "#" << childSerial << " after " << parent;
        }
    };
    for (const Call& call : teardown) {
        if (call.name == "releaseSurface")
            before("releaseSurface", call.serial, "releaseDisplay", 0);
        if (call.name == "releaseSoundBuffer") {
            before("releaseBuffer3D", 0, "releaseSoundBuffer", call.serial);
            before("releaseListener", 0, "releaseSoundBuffer", call.serial);
            before("releaseSoundBuffer", call.serial, "releaseSoundDevice", 0);
        }
        if (call.name == "releaseKeyboardDevice") {
            before("unacquire", call.serial, "releaseKeyboardDevice", call.serial);
            before("releaseKeyboardDevice", call.serial, "releaseInputSystem", 0);
        }
    }
    const long box = firstAt(teardown, "messageBox");
    if (box >= 0) {
        EXPECT_EQ(box, static_cast<long>(teardown.size()) - 1) << "the message comes last";
    }
    for (const Call& call : teardown) {
        EXPECT_TRUE(isRelease(call.name) || call.name == "messageBox")
            << "the teardown only gives back: " << call.name;
    }
}

// Every object made during the run is given back exactly once.
void expectEachObjectReleasedOnce(const std::vector<Call>& record) {
    const std::vector<std::pair<std::string, std::string>> kinds = {
        {"createSurface", "releaseSurface"},
        {"createFlipChain", "releaseSurface"},
        {"createDisplay", "releaseDisplay"},
        {"createSoundBuffer", "releaseSoundBuffer"},
        {"createPrimaryBuffer", "releaseSoundBuffer"},
        {"createSoundDevice", "releaseSoundDevice"},
        {"createKeyboardDevice", "releaseKeyboardDevice"},
        {"createInputSystem", "releaseInputSystem"},
    };
    std::map<std::pair<std::string, int>, int> releases;
    for (const Call& call : record) {
        if (isRelease(call.name)) ++releases[{call.name, call.serial}];
    }
    for (const auto& [create, release] : kinds) {
        for (int serial : created(record, create)) {
            EXPECT_EQ((releases[{release, serial}]), 1)
                << release << " of " << create << "#" << serial;
        }
    }
    const auto count = [&](const std::string& name) {
        return std::count_if(record.begin(), record.end(),
                             [&](const Call& call) { return call.name == name; });
    };
    EXPECT_LE(count("releaseListener"), 1);
    EXPECT_LE(count("releaseBuffer3D"), 1);
}

int loadedSurfaces() {
    int count = 0;
    for (const SurfaceEntry& entry : surfaceCatalogue()) count += *entry.slot != nullptr;
    return count;
}

int existingSoundBuffers() {
    return static_cast<int>(std::count_if(std::begin(soundBuffers), std::end(soundBuffers),
                                          [](SoundBuffer* b) { return b != nullptr; }));
}

uint32_t bufferBytes(SoundBuffer* buffer) {
    uint8_t* region = nullptr;
    uint32_t length = 0;
    if (!platform::lockBuffer(buffer, 0, UINT32_MAX, &region, &length)) return 0;
    platform::unlockBuffer(buffer, region, 0);
    return length;
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        recorder = std::make_unique<CaptionRecorder>(platform::backend());
        platform::useBackend(recorder.get());
        appWindow = nullptr;
        errorMessage = nullptr;
        game = GameState{};
    }
    void TearDown() override {
        shutdownApp();
        platform::destroyWindow(appWindow);
        appWindow = nullptr;
        platform::headless::use();
    }

    std::unique_ptr<CaptionRecorder> recorder;
};

// ------------------------------------------------------------ failing steps

struct FailingStep {
    const char* call;
    int nth;
    const char* message;  // null: the program ends without a word
    int surfaces;         // pictures loaded when start-up stops
    int soundBuffers;     // sound buffers that exist when start-up stops
};

void PrintTo(const FailingStep& step, std::ostream* out) {
    *out << step.call << " #" << step.nth;
}

std::string stepName(const ::testing::TestParamInfo<FailingStep>& info) {
    return std::string(info.param.call) + "_" + std::to_string(info.param.nth);
}

class FailingStartupTest : public StartupTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStartupTest, StopsThereAndTearsDownWhatExistsWithOneMessage) {
    const FailingStep& step = GetParam();
    platform::headless::failCall(step.call, step.nth);

    EXPECT_EQ(initApplication(platform::gameModule(), 1), 0);

    const std::vector<Call> startup = platform::headless::calls();
    ASSERT_FALSE(startup.empty());
    const auto lastStep = std::find_if(startup.rbegin(), startup.rend(),
                                       [](const Call& call) { return !isRelease(call.name); });
    ASSERT_NE(lastStep, startup.rend());
    EXPECT_EQ(lastStep->name, step.call) << "nothing runs after the failing step";
    EXPECT_EQ(std::count_if(startup.begin(), startup.end(),
                            [&](const Call& call) { return call.name == step.call; }),
              step.nth);
    EXPECT_EQ(loadedSurfaces(), step.surfaces);
    EXPECT_EQ(existingSoundBuffers(), step.soundBuffers);
    EXPECT_EQ(platform::headless::messageBoxCount(), 0) << "nothing is shown before the teardown";

    shutdownApp();

    const std::vector<Call> record = platform::headless::calls();
    const std::vector<Call> teardown(record.begin() + static_cast<long>(startup.size()),
                                     record.end());
    expectChildrenBeforeParents(teardown);
    expectEachObjectReleasedOnce(record);

    if (step.message != nullptr) {
        EXPECT_EQ(platform::headless::messageBoxCount(), 1);
        EXPECT_EQ(platform::headless::lastMessageBox(), step.message);
        EXPECT_EQ(recorder->captions, std::vector<std::string>{"Kordavan"});
    } else {
        EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    }
    EXPECT_EQ(errorMessage, nullptr);
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(primarySurface, nullptr);
    EXPECT_EQ(directSound, nullptr);
    EXPECT_EQ(keyboardDevice, nullptr);
    EXPECT_EQ(directInput, nullptr);
    EXPECT_EQ(loadedSurfaces(), 0);
    EXPECT_EQ(existingSoundBuffers(), 0);

    const size_t before = platform::headless::calls().size();
    const int boxes = platform::headless::messageBoxCount();
    shutdownApp();
    EXPECT_EQ(platform::headless::calls().size(), before) << "a second teardown does nothing";
    EXPECT_EQ(platform::headless::messageBoxCount(), boxes);
}

INSTANTIATE_TEST_SUITE_P(
    WindowAndDisplay, FailingStartupTest,
    ::testing::Values(FailingStep{"registerWindowClass", 1, "Error Registering Window Class", 0, 0},
                      FailingStep{"createWindow", 1, "Error Creating Window", 0, 0},
                      FailingStep{"createDisplay", 1, "DirectDrawCreate FAILED", 0, 0},
                      FailingStep{"queryDisplayInterface", 1, "QueryInterface FAILED", 0, 0},
                      FailingStep{"setExclusiveFullscreen", 1, "SetCooperativeLevel FAILED", 0, 0},
                      FailingStep{"setDisplayMode", 1, "Error Setting Display Mode", 0, 0},
                      FailingStep{"createFlipChain", 1, "CreateSurface FAILED", 0, 0},
                      FailingStep{"getBackBuffer", 1, "CreateSurface FAILED", 0, 0}),
    stepName);

INSTANTIATE_TEST_SUITE_P(
    Pictures, FailingStartupTest,
    ::testing::Values(FailingStep{"loadBitmap", 1, "Error Loading Image", 0, 0},
                      FailingStep{"loadBitmap", 20, "Error Loading Image", 19, 0},
                      FailingStep{"loadBitmap", 51, "Error Loading Image", 50, 0},
                      FailingStep{"createSurface", 1, "Error Loading Image", 0, 0},
                      FailingStep{"createSurface", 37, "Error Loading Image", 36, 0},
                      FailingStep{"createSurface", 51, "Error Loading Image", 50, 0}),
    stepName);

INSTANTIATE_TEST_SUITE_P(
    Sound, FailingStartupTest,
    ::testing::Values(
        FailingStep{"createSoundDevice", 1, "DirectSoundCreate FAILED", 51, 0},
        FailingStep{"setSoundCooperativeLevel", 1, "SetCooperativeLevel FAILED", 51, 0},
        FailingStep{"createSoundBuffer", 1, "CreateBuffer FAILED", 51, 0},
        FailingStep{"createSoundBuffer", 6, "CreateBuffer FAILED", 51, 5},
        FailingStep{"createSoundBuffer", 12, "CreateBuffer FAILED", 51, 11},
        FailingStep{"lockBuffer", 1, "Error Loading Sound", 51, 1},
        FailingStep{"lockBuffer", 9, "Error Loading Sound", 51, 9},
        FailingStep{"unlockBuffer", 1, "Error Loading Sound", 51, 1},
        FailingStep{"unlockBuffer", 12, "Error Loading Sound", 51, 12},
        FailingStep{"createPrimaryBuffer", 1, "CreateBuffer FAILED", 51, 12},
        FailingStep{"queryListener", 1, "3D Listener query FAILED", 51, 12},
        FailingStep{"query3DBuffer", 1, "3D Buffer query FAILED", 51, 12},
        FailingStep{"getListenerParameters", 1, "3D Listener parameter get/set FAILED", 51, 12},
        FailingStep{"setListenerParameters", 1, "3D Listener query FAILED", 51, 12},
        FailingStep{"getBuffer3DParameters", 1, "3D Listener parameter get/set FAILED", 51, 12},
        FailingStep{"setBuffer3DParameters", 1, "3D Buffer query FAILED", 51, 12}),
    stepName);

INSTANTIATE_TEST_SUITE_P(
    Keyboard, FailingStartupTest,
    ::testing::Values(FailingStep{"createInputSystem", 1, "DirectInputCreate FAILED", 51, 12},
                      FailingStep{"createKeyboardDevice", 1, "CreateDevice FAILED", 51, 12},
                      FailingStep{"setKeyboardDataFormat", 1, nullptr, 51, 12},
                      FailingStep{"setKeyboardCooperativeLevel", 1, nullptr, 51, 12},
                      FailingStep{"acquire", 1, nullptr, 51, 12}),
    stepName);

TEST_F(StartupTest, KeyboardFailureEndsWithoutAMessageBox) {
    platform::headless::failCall("acquire");
    EXPECT_EQ(winMain(platform::gameModule(), 1), 1) << "a failure, even a silent one";
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_EQ(platform::headless::flipCount(), 0) << "the title never shows";
    EXPECT_EQ(directInput, nullptr);
}

TEST_F(StartupTest, AFailedStartUpEndsTheProgramWithOneAfterTheMessage) {
    platform::headless::failCall("setDisplayMode");
    EXPECT_EQ(winMain(platform::gameModule(), 1), 1);
    EXPECT_EQ(platform::headless::messageBoxCount(), 1);
    EXPECT_EQ(platform::headless::lastMessageBox(), "Error Setting Display Mode");
    EXPECT_EQ(platform::headless::calls().back().name, "messageBox")
        << "the message comes after everything has been given back";
}

// ------------------------------------------------------------ full start-up

TEST_F(StartupTest, AFullStartUpMakesEveryPictureAndSound) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    EXPECT_EQ(errorMessage, nullptr);
    EXPECT_NE(appWindow, nullptr);
    EXPECT_NE(directDraw, nullptr);
    EXPECT_NE(primarySurface, nullptr);
    EXPECT_NE(backBuffer, nullptr);
    EXPECT_NE(directSound, nullptr);
    EXPECT_NE(directInput, nullptr);
    EXPECT_NE(keyboardDevice, nullptr);

    std::vector<Surface*> surfaces;
    for (const SurfaceEntry& entry : surfaceCatalogue()) {
        ASSERT_NE(*entry.slot, nullptr) << entry.name;
        surfaces.push_back(*entry.slot);
        EXPECT_TRUE((*entry.slot)->keyed) << entry.name;
        EXPECT_EQ((*entry.slot)->colorKey, 0x07E0) << entry.name;
    }
    EXPECT_EQ(surfaces.size(), 51u);
    std::sort(surfaces.begin(), surfaces.end());
    EXPECT_EQ(std::adjacent_find(surfaces.begin(), surfaces.end()), surfaces.end())
        << "every picture has a surface of its own";
    EXPECT_EQ(created(platform::headless::calls(), "createSurface").size(), 51u);

    EXPECT_EQ(surfTitle->width, 640);
    EXPECT_EQ(surfTitle->height, 480);
    EXPECT_EQ(surfCredits->width, 288);
    EXPECT_EQ(surfCredits->height, 608);
    EXPECT_EQ(surfHeliLeft[0]->width, 240);
    EXPECT_EQ(surfHeliLeft[0]->height, 64);
}

// The teardown goes by topic, not in load order: the landscape and the
// helicopter first, the submarine and its rocket last.
TEST_F(StartupTest, TheTeardownReleasesTheSurfacesByTopic) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    std::map<std::string, int> serialOf;
    const std::vector<int> serials = created(platform::headless::calls(), "createSurface");
    ASSERT_EQ(serials.size(), surfaceCatalogue().size());
    for (size_t row = 0; row < serials.size(); ++row) {
        serialOf[surfaceCatalogue()[row].name] = serials[row];
    }
    std::vector<std::string> order = {"surfTerrain[0]", "surfTerrain[1]", "surfTerrain[2]",
                                      "surfTerrain[3]", "surfSkyA",       "surfSkyB"};
    for (int frame = 0; frame < 5; ++frame) {
        order.push_back("surfHeliLeft[" + std::to_string(frame) + "]");
        order.push_back("surfHeliRight[" + std::to_string(frame) + "]");
    }
    for (const char* name :
         {"surfLauncher[0]", "surfLauncher[1]", "surfLauncher[2]", "surfOrbA", "surfOrbB",
          "surfManLit", "surfManDim", "surfBarFill", "surfBarFrame"}) {
        order.emplace_back(name);
    }
    for (int frame = 0; frame < 7; ++frame) {
        order.push_back("surfWalker[" + std::to_string(frame) + "]");
    }
    for (const char* name : {"surfCrusher", "surfPillar", "surfTitle", "surfLoading", "surfCredits",
                             "surfGameOverScreen", "surfWinScreen", "surfMoon"}) {
        order.emplace_back(name);
    }
    for (int frame = 0; frame < 9; ++frame) {
        order.push_back("surfExplosion[" + std::to_string(frame) + "]");
    }
    order.emplace_back("surfSubmarine");
    order.emplace_back("surfRocket");
    std::vector<int> expected;
    for (const std::string& name : order) expected.push_back(serialOf.at(name));

    platform::headless::clearCalls();
    releaseSurfaces();
    EXPECT_EQ(created(platform::headless::calls(), "releaseSurface"), expected);
    EXPECT_EQ(loadedSurfaces(), 0);
}

TEST_F(StartupTest, TheTwoOrbSurfacesAreDistinctWithIdenticalPixels) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    ASSERT_NE(surfOrbA, nullptr);
    ASSERT_NE(surfOrbB, nullptr);
    EXPECT_NE(surfOrbA, surfOrbB);
    EXPECT_EQ(surfOrbA->width, 32);
    EXPECT_EQ(surfOrbA->height, 32);
    EXPECT_EQ(surfOrbA->pixels, surfOrbB->pixels);
    surfOrbA->pixels[0] ^= 0xFFFF;
    EXPECT_NE(surfOrbA->pixels, surfOrbB->pixels) << "changing one leaves the other";
}

TEST_F(StartupTest, TheTwelveSoundBuffersHoldEachSoundsLength) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    const uint32_t sizes[soundCount] = {24576, 18432, 33664,  91030, 57344, 524167,
                                        61879, 24910, 330843, 15584, 79616, 29644};
    for (int i = 0; i < soundCount; ++i) {
        ASSERT_NE(soundBuffers[i], nullptr) << i;
        EXPECT_EQ(bufferBytes(soundBuffers[i]), sizes[i]) << "snd" << soundOrder[i];
    }
    EXPECT_EQ(soundName(soundBuffers[8]), std::string("snd141"));
    EXPECT_NE(primaryBuffer, nullptr);
}

TEST_F(StartupTest, TheThreeDSetUpIsMadeOnceOnTheLaunchSound) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    ASSERT_NE(listener3D, nullptr);
    ASSERT_NE(buffer3D, nullptr);
    const auto& record = platform::headless::calls();
    const auto count = [&](const char* name) {
        return std::count_if(record.begin(), record.end(),
                             [&](const Call& call) { return call.name == name; });
    };
    EXPECT_EQ(count("setListenerParameters"), 1);
    EXPECT_EQ(count("setBuffer3DParameters"), 1);
    EXPECT_EQ(count("query3DBuffer"), 1);
    const auto query = std::find_if(record.begin(), record.end(),
                                    [](const Call& call) { return call.name == "query3DBuffer"; });
    EXPECT_EQ(query->serial, created(record, "createSoundBuffer").front())
        << "only the launch sound has a 3D interface";
}

TEST_F(StartupTest, TeardownAfterAFullStartUpReleasesChildrenBeforeParentsAndShowsNothing) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    const std::vector<Call> startup = platform::headless::calls();

    shutdownApp();

    const std::vector<Call> record = platform::headless::calls();
    const std::vector<Call> teardown(record.begin() + static_cast<long>(startup.size()),
                                     record.end());
    expectChildrenBeforeParents(teardown);
    expectEachObjectReleasedOnce(record);
    EXPECT_GE(firstAt(teardown, "releaseBuffer3D"), 0) << "the launch sound's 3D interface goes";
    EXPECT_GE(firstAt(teardown, "releaseListener"), 0) << "and the listener";
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);

    const size_t before = record.size();
    shutdownApp();
    EXPECT_EQ(platform::headless::calls().size(), before);
}

// ------------------------------------------------------------ the window goes away

int countCalls(const std::string& name) {
    const auto& record = platform::headless::calls();
    return static_cast<int>(std::count_if(record.begin(), record.end(),
                                          [&](const Call& call) { return call.name == name; }));
}

TEST_F(StartupTest, ClosingTheWindowTearsDownOnceAndEndsTheProgramWithZero) {
    platform::headless::postSystemMessage(platform::MessageKind::Close);
    EXPECT_EQ(winMain(platform::gameModule(), 1), 0);
    EXPECT_EQ(countCalls("destroyWindow"), 1);
    EXPECT_EQ(countCalls("releaseDisplay"), 1);
    EXPECT_EQ(countCalls("releaseInputSystem"), 1);
    EXPECT_EQ(countCalls("postQuitMessage"), 0) << "the loop has ended; nobody reads a quit";
    EXPECT_LT(firstAt(platform::headless::calls(), "releaseDisplay"),
              firstAt(platform::headless::calls(), "destroyWindow"))
        << "the devices go before the window they were made for";
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    EXPECT_EQ(platform::headless::flipCount(), 0) << "the close came before the first pass";
    expectEachObjectReleasedOnce(platform::headless::calls());
    appWindow = nullptr;
}

TEST_F(StartupTest, EscapeOnTheTitleTearsDownOnceAndEndsTheProgramWithZero) {
    platform::headless::setKeys({platform::DIK_ESCAPE});
    EXPECT_EQ(winMain(platform::gameModule(), 1), 0);
    EXPECT_EQ(platform::headless::flipCount(), 1) << "Escape is seen in the first pass";
    EXPECT_EQ(countCalls("destroyWindow"), 1);
    EXPECT_EQ(countCalls("releaseDisplay"), 1);
    EXPECT_EQ(countCalls("postQuitMessage"), 0);
    EXPECT_EQ(platform::headless::messageBoxCount(), 0);
    expectEachObjectReleasedOnce(platform::headless::calls());
    const auto& record = platform::headless::calls();
    const auto destroyed = std::find_if(record.begin(), record.end(), [](const Call& call) {
        return call.name == "destroyWindow";
    });
    EXPECT_TRUE(std::none_of(destroyed, record.end(), [](const Call& call) {
        return call.name == "flip";
    })) << "nothing is drawn after the teardown";
    appWindow = nullptr;
}

TEST_F(StartupTest, TheWindowProcedureLeavesOtherMessagesToTheDefault) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    EXPECT_EQ(windowProc(appWindow, platform::MessageKind::FocusLost, 0), 0);
    EXPECT_EQ(windowProc(appWindow, platform::MessageKind::Other, 7), 0);
    EXPECT_EQ(countCalls("destroyWindow"), 0);
    EXPECT_NE(directDraw, nullptr) << "only the window's destruction tears down";

    windowProc(appWindow, platform::MessageKind::Close, 0);
    EXPECT_EQ(countCalls("destroyWindow"), 1) << "closing destroys the window";
    EXPECT_EQ(appWindow, nullptr) << "and nothing reaches it through the old handle";
    EXPECT_NE(directDraw, nullptr) << "the devices go in the one teardown, after the loop";
    EXPECT_EQ(countCalls("postQuitMessage"), 0);
    shutdownApp();
    EXPECT_EQ(directDraw, nullptr);
}

}  // namespace
