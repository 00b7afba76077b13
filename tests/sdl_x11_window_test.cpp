// The window on a real X server (a private Xvfb) through SDL's own X11
// driver, driven by XTEST key presses as a player's keyboard would: a window
// of twice the game's size, F11 and Alt+Enter switching to full screen and
// back, the Return of Alt+Enter kept from the game; on both ways of showing
// frames (OpenGL and the bare framebuffer) the 4:3 picture in a window the
// player has resized, and a hidden window that is not drawn until it is back.
// Skipped where Xvfb or xdotool is missing.

#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "platform/backend.h"
#include "platform/headless.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "tests/sdl_test_support.h"

namespace {

using namespace platform;
using sdltest::EnvVar;

const Module noIcon{};
constexpr const char* caption = "Kordavan window test";

// The message bus library that SDL's X11 driver talks to keeps a little
// memory for the life of the process; it is the library's to keep, not a
// leak of the game's, so the leak checker leaves what these tests allocate.
void ignoreLibraryLeaks(bool ignore) {
#if defined(__SANITIZE_ADDRESS__)
    if (ignore) {
        __lsan_disable();
    } else {
        __lsan_enable();
    }
#else
    (void)ignore;
#endif
}

bool haveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// What a command prints, or empty when it fails.
std::string output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return text;
    char chunk[512];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) text.append(chunk, got);
    return pclose(pipe) == 0 ? text : std::string();
}

// An X server of its own for each test, on a display number it picks itself.
class PrivateXServer {
  public:
    explicit PrivateXServer(const std::string& screen) {
        int ends[2];
        if (pipe(ends) != 0) return;
        pid = fork();
        if (pid == 0) {
            // Goes with the tests, even when they crash.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(ends[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            const std::string fd = std::to_string(ends[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ends[1]);
        std::string number;
        pollfd wait{ends[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, 10'000) > 0 && read(ends[0], &c, 1) == 1 && c != '\n') number += c;
        close(ends[0]);
        if (!number.empty()) display = ":" + number;
    }
    ~PrivateXServer() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    std::string display;

  private:
    pid_t pid = -1;
};

// The game's window among SDL's (a probe of OpenGL may have come first).
SDL_Window* gameWindow() {
    for (Uint32 id = 1; id < 64; ++id) {
        SDL_Window* window = SDL_GetWindowFromID(id);
        if (window != nullptr && std::string(SDL_GetWindowTitle(window)) == caption) return window;
    }
    return nullptr;
}

// Threads of Mesa's software rasteriser in this process.
int rasteriserThreads() {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        count += name.rfind("llvmpipe", 0) == 0 ? 1 : 0;
    }
    return count;
}

struct Geometry {
    int width = 0;
    int height = 0;
    bool operator==(const Geometry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& g) {
    return out << g.width << "x" << g.height;
}

class SdlX11WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!haveProgram("Xvfb") || !haveProgram("xdotool") || !haveProgram("xwininfo")) {
            GTEST_SKIP() << "needs Xvfb, xdotool and xwininfo";
        }
        server = std::make_unique<PrivateXServer>("1280x1024x24");
        ASSERT_FALSE(server->display.empty()) << "Xvfb did not start";
        displayVar = std::make_unique<EnvVar>("DISPLAY", server->display.c_str());
        useSdlBackend();
        ignoreLibraryLeaks(true);
        leaksIgnored = true;
    }
    void TearDown() override {
        if (started) {
            backend().closeScreen();
            backend().closeWindow();
            backend().stopVideo();
            EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
        }
        headless::use();
        if (leaksIgnored) ignoreLibraryLeaks(false);
        displayVar.reset();
        server.reset();
    }

    void open(const DisplayOptions& options) {
        backend().setDisplayOptions(options);
        ASSERT_TRUE(backend().startVideo(&noIcon, 139)) << SDL_GetError();
        started = true;
        ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        const DesktopSize desktop = backend().desktopSize();
        ASSERT_TRUE(backend().openWindow(caption, desktop.width, desktop.height)) << SDL_GetError();
        ASSERT_TRUE(backend().openScreen(640, 480)) << SDL_GetError();
        backend().setCursorVisible(false);
        frames(300);
        // By the process id SDL stores on the window: how its name reads
        // depends on the machine's fonts and locale.
        windowId = output("xdotool search --onlyvisible --pid " + std::to_string(::getpid()) +
                          " | tail -n 1");
        while (!windowId.empty() && windowId.back() == '\n') windowId.pop_back();
        ASSERT_FALSE(windowId.empty()) << "no visible window of this process";
        ASSERT_EQ(std::system(("xdotool windowfocus --sync " + windowId).c_str()), 0);
        frames(100);
    }

    // The game's frames for a while: messages, a look at the keys, a picture.
    void frames(int milliseconds, const std::function<void(const uint8_t*)>& look = {}) {
        const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(milliseconds);
        while (SDL_GetTicks64() < end) {
            frame(look);
        }
    }
    void frame(const std::function<void(const uint8_t*)>& look = {}) {
        backend().pumpEvents(queue);
        uint8_t keys[256];
        backend().readKeys(keys);
        if (look) look(keys);
        backend().present(picture);
    }
    // Runs an X command while the game goes on showing frames, as it would.
    int whileRunning(const std::string& command,
                     const std::function<void(const uint8_t*)>& look = {}) {
        std::atomic<bool> done{false};
        int status = -1;
        std::thread worker([&] {
            status = std::system(command.c_str());
            done = true;
        });
        while (!done) frame(look);
        worker.join();
        return status;
    }
    // The window's size as the X server has it.
    Geometry xGeometry() {
        const std::string info = output("xwininfo -id " + windowId);
        Geometry g;
        const auto w = info.find("Width:");
        const auto h = info.find("Height:");
        if (w != std::string::npos) g.width = std::atoi(info.c_str() + w + 6);
        if (h != std::string::npos) g.height = std::atoi(info.c_str() + h + 7);
        return g;
    }
    // Shows frames until the display reaches the state asked for, or gives up.
    bool settlesAt(bool fullscreen, Geometry size) {
        for (int i = 0; i < 40; ++i) {
            frames(50);
            if (backend().displayOptions().fullscreen == fullscreen && xGeometry() == size) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<PrivateXServer> server;
    std::unique_ptr<EnvVar> displayVar;
    EnvVar video{"SDL_VIDEODRIVER", "x11"};
    bool started = false;
    bool leaksIgnored = false;
    std::string windowId;
    std::deque<Message> queue;
    Surface picture{640, 480, std::vector<uint16_t>(640 * 480, 0xFFFF), false, 0, {}};
};

TEST_F(SdlX11WindowTest, AWindowOfTwiceTheSizeThenF11FullScreenAndF11Back) {
    open({false, 2, false});
    EXPECT_EQ(xGeometry(), (Geometry{1280, 960}));
    const Uint32 flags = SDL_GetWindowFlags(gameWindow());
    EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    EXPECT_EQ(whileRunning("xdotool key --delay 150 F11"), 0);
    EXPECT_TRUE(settlesAt(true, {1280, 1024})) << xGeometry();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    EXPECT_EQ(whileRunning("xdotool key --delay 150 F11"), 0);
    EXPECT_TRUE(settlesAt(false, {1280, 960})) << xGeometry();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlX11WindowTest, TheLargestWindowThatFitsIsTheDefault) {
    open({false, 0, false});
    EXPECT_EQ(xGeometry(), (Geometry{1280, 960}));
}

TEST_F(SdlX11WindowTest, AltEnterSwitchesAndItsReturnNeverReachesTheGame) {
    open({false, 1, false});
    bool returnSeen = false;
    bool altSeen = false;
    const auto watch = [&](const uint8_t* keys) {
        returnSeen = returnSeen || keys[DIK_RETURN] != 0;
        altSeen = altSeen || keys[DIK_LMENU] != 0;
    };
    EXPECT_EQ(whileRunning("xdotool keydown Alt_L sleep 0.1 keydown Return sleep 0.3", watch), 0);
    frames(200, watch);
    EXPECT_EQ(whileRunning("xdotool keyup Return sleep 0.1 keyup Alt_L", watch), 0);
    frames(100, watch);
    EXPECT_TRUE(altSeen) << "the keyboard never reached the window";
    EXPECT_FALSE(returnSeen);
    EXPECT_TRUE(settlesAt(true, {1280, 1024})) << xGeometry();

    // Return alone is the game's again.
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + windowId).c_str()), 0);
    EXPECT_EQ(whileRunning("xdotool keydown Return sleep 0.3 keyup Return", watch), 0);
    EXPECT_TRUE(returnSeen);
    EXPECT_TRUE(backend().displayOptions().fullscreen);
}

TEST_F(SdlX11WindowTest, AWaitOnTheRealServerSleepsAndACloseEndsIt) {
    open({false, 1, false});
    // A window just mapped may still be told to draw itself: a wait that such
    // a message ends is tried again.
    timespec cpuStart{};
    timespec cpuEnd{};
    Uint64 waited = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        queue.clear();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
        const Uint64 start = SDL_GetTicks64();
        backend().waitForEvents(queue, 400'000);
        waited = SDL_GetTicks64() - start;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
        if (queue.empty() || queue.back().kind != MessageKind::Exposed) break;
    }
    const double cpu = static_cast<double>(cpuEnd.tv_sec - cpuStart.tv_sec) +
                       static_cast<double>(cpuEnd.tv_nsec - cpuStart.tv_nsec) * 1e-9;
    EXPECT_TRUE(queue.empty());
    EXPECT_GE(waited, 400u);
    EXPECT_LT(cpu, 0.1) << "a wait of " << waited << " ms cost " << cpu << " s";

    // The close a window manager sends ends a long wait.
    const std::string close =
        std::string("python3 ") + KORDAVAN_SOURCE_DIR + "/tests/e2e/close_window.py " + windowId;
    std::thread closer([&] { std::system(close.c_str()); });
    backend().waitForEvents(queue, 20'000'000);
    closer.join();
    ASSERT_FALSE(queue.empty());
    EXPECT_EQ(queue.back().kind, MessageKind::Close);
}

// The same window through each way of showing frames, forced as a player can.
class SdlX11PathTest : public SdlX11WindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        path = std::make_unique<EnvVar>("KORDAVAN_RENDERER", GetParam());
        SdlX11WindowTest::SetUp();
    }
    void TearDown() override {
        SdlX11WindowTest::TearDown();
        path.reset();
    }
    bool software() const { return std::string(GetParam()) == "software"; }
    // The pixel at (x, y) of the window's framebuffer, as last drawn.
    uint32_t framebufferPixel(int x, int y) {
        SDL_Surface* surface = SDL_GetWindowSurface(gameWindow());
        if (surface == nullptr) return 0;
        return static_cast<const uint32_t*>(surface->pixels)[y * surface->pitch / 4 + x];
    }

    std::unique_ptr<EnvVar> path;
};

TEST_P(SdlX11PathTest, ThePathAskedForIsTheOneTaken) {
    open({false, 1, false});
    const bool hasRenderer = SDL_GetRenderer(gameWindow()) != nullptr;
    EXPECT_EQ(hasRenderer, !software());
    if (software()) {
        EXPECT_EQ(rasteriserThreads(), 0);
    }
}

TEST_P(SdlX11PathTest, AResizedWindowKeepsThe4To3PictureWithBlackBars) {
    if (!haveProgram("import")) GTEST_SKIP() << "needs ImageMagick's import";
    open({false, 1, false});
    // Moved to the corner first, so all of it is on the screen to be seen.
    EXPECT_EQ(whileRunning("xdotool windowmove --sync " + windowId +
                           " 0 0 && xdotool windowsize --sync " + windowId + " 1000 600"),
              0);
    frames(300);
    ASSERT_EQ(xGeometry(), (Geometry{1000, 600}));
    const auto shot = std::filesystem::temp_directory_path() /
                      ("kordavan-x11-" + std::to_string(getpid()) + ".rgb");
    EXPECT_EQ(whileRunning("import -window " + windowId + " -depth 8 rgb:" + shot.string()), 0);
    std::ifstream in(shot, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(shot);
    ASSERT_EQ(bytes.size(), 1000u * 600u * 3u);
    const auto brightness = [&](int x, int y) {
        const size_t at = (static_cast<size_t>(y) * 1000 + static_cast<size_t>(x)) * 3;
        return static_cast<uint8_t>(bytes[at]) + static_cast<uint8_t>(bytes[at + 1]) +
               static_cast<uint8_t>(bytes[at + 2]);
    };
    // The white 640 x 480 picture grows to 800 x 600 between bars 100 wide.
    EXPECT_EQ(brightness(50, 300), 0);
    EXPECT_EQ(brightness(950, 300), 0);
    EXPECT_EQ(brightness(110, 300), 765);
    EXPECT_EQ(brightness(890, 300), 765);
    EXPECT_EQ(brightness(500, 5), 765);
}

TEST_P(SdlX11PathTest, AHiddenWindowIsNotDrawnAndSaysSoWhenItIsBack) {
    open({false, 1, false});
    frames(200);
    const uint32_t white = software() ? framebufferPixel(320, 240) : 0;
    if (software()) {
        ASSERT_EQ(white & 0xFFFFFF, 0xFFFFFFu);
    }

    EXPECT_EQ(whileRunning("xdotool windowunmap --sync " + windowId), 0);
    frames(100);
    ASSERT_NE(SDL_GetWindowFlags(gameWindow()) & SDL_WINDOW_HIDDEN, 0u);
    std::fill(picture.pixels.begin(), picture.pixels.end(), uint16_t{0x001F});
    for (int i = 0; i < 20; ++i) frame();
    if (software()) {
        EXPECT_EQ(framebufferPixel(320, 240), white) << "drawn while hidden";
    }

    queue.clear();
    EXPECT_EQ(whileRunning("xdotool windowmap --sync " + windowId), 0);
    frames(200);
    EXPECT_NE(std::find_if(queue.begin(), queue.end(),
                           [](const Message& m) { return m.kind == MessageKind::Exposed; }),
              queue.end());
    if (software()) {
        EXPECT_EQ(framebufferPixel(320, 240) & 0xFFFFFF, 0x0000FFu);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, SdlX11PathTest, ::testing::Values("software", "accelerated"));

// Under Xvfb OpenGL is Mesa's software rasteriser, so the choice left to the
// game is the framebuffer, and the rasteriser's threads are gone with the probe.
TEST_F(SdlX11WindowTest, OpenGlOnTheProcessorIsPassedOverForTheFramebuffer) {
    EnvVar path("KORDAVAN_RENDERER", nullptr);
    open({false, 1, false});
    EXPECT_EQ(SDL_GetRenderer(gameWindow()), nullptr);
    EXPECT_EQ(rasteriserThreads(), 0);
}

}  // namespace
