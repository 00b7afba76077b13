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
#include "app/main_loop.h"
#include "game/game_state.h"
#include "gfx/surfaces.h"
#include "platform/backend.h"
#include "platform/headless.h"
#include "sound/sound_buffers.h"

namespace {

using platform::headless::Call;

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

// The pictures in the order the teardown gives them back.
const std::vector<std::string> surfaceTeardownOrder = {
    "surfTerrain[0]",   "surfTerrain[1]",     "surfTerrain[2]",   "surfTerrain[3]",
    "surfSkyA",         "surfSkyB",           "surfHeliLeft[0]",  "surfHeliRight[0]",
    "surfHeliLeft[1]",  "surfHeliRight[1]",   "surfHeliLeft[2]",  "surfHeliRight[2]",
    "surfHeliLeft[3]",  "surfHeliRight[3]",   "surfHeliLeft[4]",  "surfHeliRight[4]",
    "surfLauncher[0]",  "surfLauncher[1]",    "surfLauncher[2]",  "surfOrbA",
    "surfOrbB",         "surfManLit",         "surfManDim",       "surfBarFill",
    "surfBarFrame",     "surfWalker[0]",      "surfWalker[1]",    "surfWalker[2]",
    "surfWalker[3]",    "surfWalker[4]",      "surfWalker[5]",    "surfWalker[6]",
    "surfCrusher",      "surfPillar",         "surfTitle",        "surfLoading",
    "surfCredits",      "surfGameOverScreen", "surfWinScreen",    "surfMoon",
    "surfExplosion[0]", "surfExplosion[1]",   "surfExplosion[2]", "surfExplosion[3]",
    "surfExplosion[4]", "surfExplosion[5]",   "surfExplosion[6]", "surfExplosion[7]",
    "surfExplosion[8]", "surfSubmarine",      "surfRocket",
};

constexpr int anySerial = -1;

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

bool contains(const std::vector<Call>& record, const std::string& name, int serial) {
    return std::any_of(record.begin(), record.end(), [&](const Call& call) {
        return call.name == name && call.serial == serial;
    });
}

// A query that was made and was not the one that failed gave its interface.
bool queryGaveInterface(const std::vector<Call>& record, const std::string& name,
                        const std::string& failing) {
    const auto count = std::count_if(record.begin(), record.end(),
                                     [&](const Call& call) { return call.name == name; });
    return count > 0 && name != failing;
}

// What the teardown must do, given what start-up made (and already gave back).
std::vector<Call> expectedTeardown(const std::vector<Call>& startup, const std::string& failing,
                                   bool withMessage) {
    std::vector<Call> expected;
    const auto releaseUnlessReleased = [&](const std::string& releaseName, int serial) {
        if (!contains(startup, releaseName, serial)) expected.push_back(Call{releaseName, serial});
    };

    const std::vector<int> surfaces = created(startup, "createSurface");
    const auto catalogue = surfaceCatalogue();
    for (const std::string& name : surfaceTeardownOrder) {
        const auto row = std::find_if(catalogue.begin(), catalogue.end(),
                                      [&](const SurfaceEntry& e) { return name == e.name; });
        const auto index = static_cast<size_t>(row - catalogue.begin());
        if (index < surfaces.size()) expected.push_back(Call{"releaseSurface", surfaces[index]});
    }
    for (int serial : created(startup, "createFlipChain")) {
        expected.push_back(Call{"releaseSurface", serial});
    }
    for (int serial : created(startup, "createDisplay")) {
        releaseUnlessReleased("releaseDisplay", serial);
    }
    if (queryGaveInterface(startup, "query3DBuffer", failing)) {
        expected.push_back(Call{"releaseBuffer3D", anySerial});
    }
    if (queryGaveInterface(startup, "queryListener", failing)) {
        expected.push_back(Call{"releaseListener", anySerial});
    }
    for (int serial : created(startup, "createSoundBuffer")) {
        expected.push_back(Call{"releaseSoundBuffer", serial});
    }
    for (int serial : created(startup, "createPrimaryBuffer")) {
        expected.push_back(Call{"releaseSoundBuffer", serial});
    }
    for (int serial : created(startup, "createSoundDevice")) {
        expected.push_back(Call{"releaseSoundDevice", serial});
    }
    for (int serial : created(startup, "createKeyboardDevice")) {
        if (contains(startup, "releaseKeyboardDevice", serial)) continue;
        expected.push_back(Call{"unacquire", serial});
        expected.push_back(Call{"releaseKeyboardDevice", serial});
    }
    for (int serial : created(startup, "createInputSystem")) {
        expected.push_back(Call{"releaseInputSystem", serial});
    }
    if (withMessage) expected.push_back(Call{"messageBox", 0});
    return expected;
}

std::string describe(const std::vector<Call>& calls) {
    std::string text;
    for (const Call& call : calls) {
        text += call.name + "#" + std::to_string(call.serial) + " ";
    }
    return text;
}

void expectSameCalls(const std::vector<Call>& actual, const std::vector<Call>& expected) {
    ASSERT_EQ(actual.size(), expected.size())
        << "actual:   " << describe(actual) << "\nexpected: " << describe(expected);
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].name, expected[i].name) << "call " << i;
        if (expected[i].serial != anySerial) {
            EXPECT_EQ(actual[i].serial, expected[i].serial)
                << "call " << i << " " << actual[i].name;
        }
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
    expectSameCalls(teardown, expectedTeardown(startup, step.call, step.message != nullptr));
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

TEST_F(StartupTest, TheTwoOrbSurfacesAreDistinctWithIdenticalPixels) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    ASSERT_NE(surfOrbA, nullptr);
    ASSERT_NE(surfOrbB, nullptr);
    EXPECT_NE(surfOrbA, surfOrbB);
    EXPECT_NE(surfOrbA->serial, surfOrbB->serial);
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

TEST_F(StartupTest, TheThreeDParametersAreSetOnce) {
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

    platform::ListenerParameters listener{};
    ASSERT_TRUE(platform::getListenerParameters(listener3D, listener));
    EXPECT_EQ(listener.rolloffFactor, 1.0f);
    EXPECT_EQ(listener.dopplerFactor, 1.0f);

    platform::Buffer3DParameters sound{};
    ASSERT_TRUE(platform::getBuffer3DParameters(buffer3D, sound));
    EXPECT_EQ(sound.minDistance, 1.0f);
    uint32_t maxBits = 0;
    std::memcpy(&maxBits, &sound.maxDistance, sizeof maxBits);
    EXPECT_EQ(maxBits, 0x4E6E6B28u);
    EXPECT_EQ(sound.mode, platform::DS3DMODE_HEADRELATIVE);
}

TEST_F(StartupTest, TeardownAfterAFullStartUpReleasesChildrenBeforeParentsAndShowsNothing) {
    ASSERT_EQ(initApplication(platform::gameModule(), 1), 1);
    const std::vector<Call> startup = platform::headless::calls();

    shutdownApp();

    const std::vector<Call> record = platform::headless::calls();
    const std::vector<Call> teardown(record.begin() + static_cast<long>(startup.size()),
                                     record.end());
    const std::vector<Call> expected = expectedTeardown(startup, "", false);
    EXPECT_EQ(expected.size(), 51u + 1 + 1 + 2 + 12 + 1 + 1 + 2 + 1);
    expectSameCalls(teardown, expected);
    expectEachObjectReleasedOnce(record);
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
    EXPECT_EQ(countCalls("postQuitMessage"), 1);
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
    EXPECT_EQ(countCalls("postQuitMessage"), 1);
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
    EXPECT_EQ(directDraw, nullptr);
    EXPECT_EQ(countCalls("postQuitMessage"), 1);
    appWindow = nullptr;
}

}  // namespace
