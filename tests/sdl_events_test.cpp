// Waiting for messages and taking close requests on SDL's stand-in video
// driver: a wait sleeps rather than spins, ends as soon as a message comes,
// and a termination signal reaches even a program that handles no messages.

#include <SDL.h>
#include <gtest/gtest.h>
#include <time.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using namespace std::chrono_literals;
using sdltest::EnvVar;
using sdltest::runInChild;

const Module noIcon{};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class SdlWaitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        useSdlBackend();
        ASSERT_TRUE(backend().startVideo(&noIcon, 139)) << SDL_GetError();
        ASSERT_TRUE(backend().openWindow("Kordavan", 640, 480)) << SDL_GetError();
        // Whatever the new window said about itself is not what is tested.
        backend().pumpEvents(queue);
        queue.clear();
    }
    void TearDown() override {
        backend().closeWindow();
        backend().stopVideo();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
        headless::use();
    }

    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
    std::deque<Message> queue;
};

TEST_F(SdlWaitTest, AQuietWaitLastsItsTimeAndSleepsMeanwhile) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    backend().waitForEvents(queue, 300'000);
    const double cpu = threadCpuSeconds() - cpuStart;
    const double wall = secondsSince(start);
    EXPECT_TRUE(queue.empty());
    EXPECT_GE(wall, 0.3);
    // Spinning would cost the whole 0.3 s of processor time.
    EXPECT_LT(cpu, wall / 3) << "cpu " << cpu << " s of " << wall << " s";
}

TEST_F(SdlWaitTest, AMessageFromElsewhereEndsTheWaitAtOnce) {
    std::thread closer([] {
        std::this_thread::sleep_for(50ms);
        SDL_Event event{};
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
    });
    const auto start = std::chrono::steady_clock::now();
    backend().waitForEvents(queue, 20'000'000);
    const double wall = secondsSince(start);
    closer.join();
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().kind, MessageKind::Close);
    EXPECT_LT(wall, 10.0);
}

TEST_F(SdlWaitTest, EventsThatAreNoMessagesDoNotEndTheWait) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_MOVED;
    event.window.windowID = SDL_GetWindowID(SDL_GetWindowFromID(1));
    SDL_PushEvent(&event);
    const auto start = std::chrono::steady_clock::now();
    backend().waitForEvents(queue, 100'000);
    EXPECT_TRUE(queue.empty());
    EXPECT_GE(secondsSince(start), 0.1);
}

TEST_F(SdlWaitTest, AMessageAlreadyThereMeansNoWait) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    event.window.windowID = SDL_GetWindowID(SDL_GetWindowFromID(1));
    SDL_PushEvent(&event);
    const auto start = std::chrono::steady_clock::now();
    backend().waitForEvents(queue, 20'000'000);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().kind, MessageKind::FocusLost);
    EXPECT_LT(secondsSince(start), 10.0);
}

// ---------------------------------------------------------------- close requests

int64_t ignoreAll(Window*, MessageKind, int64_t) {
    return 0;
}

// Runs in a child: a whole window through the platform calls, then a signal.
int closeRequestFromSignal(int signal) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    useSdlBackend();
    if (!registerWindowClass(&noIcon, ignoreAll, 139)) return 10;
    Window* window = createWindow("Kordavan", 640, 480);
    if (window == nullptr) return 11;
    Message message;
    while (peekMessage(message)) {
    }
    if (takeCloseRequest()) return 12;
    std::raise(signal);
    if (!takeCloseRequest()) return 13;
    // Taken, so the message loop never sees it.
    while (peekMessage(message)) {
        if (message.kind == MessageKind::Close) return 14;
    }
    destroyWindow(window);
    finish();
    return 0;
}

TEST(SdlCloseRequest, TerminationAndInterruptionReachAPictureThatHandlesNoMessages) {
    EXPECT_EQ(runInChild([] { return closeRequestFromSignal(SIGTERM); }), 0);
    EXPECT_EQ(runInChild([] { return closeRequestFromSignal(SIGINT); }), 0);
}

TEST(SdlCloseRequest, TheWindowsCloseButtonIsACloseRequestAndFocusMessagesStay) {
    const int code = runInChild([] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        useSdlBackend();
        if (!registerWindowClass(&noIcon, ignoreAll, 139)) return 10;
        Window* window = createWindow("Kordavan", 640, 480);
        if (window == nullptr) return 11;
        Message message;
        while (peekMessage(message)) {
        }
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(SDL_GetWindowFromID(1));
        event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&event);
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
        if (!takeCloseRequest()) return 12;
        if (!peekMessage(message) || message.kind != MessageKind::FocusLost) return 13;
        if (peekMessage(message)) return 14;
        destroyWindow(window);
        finish();
        return 0;
    });
    EXPECT_EQ(code, 0);
}

}  // namespace
