// The browser back end's page: the canvas the back buffer is shown on, the
// notes over it in place of message boxes, the tab's title and icon, the
// page's events, and the loop the browser owns.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "platform/changed_part.h"
#include "platform/pixel_widening.h"
#include "platform/web/keymap.h"
#include "platform/web/web_machine.h"
#include "platform/web_backend.h"
#include "platform/window_icon.h"

extern "C" {
int kvPageStart();
void kvPageSetTitle(const char* caption);
void kvPageSetIcon(const uint32_t* rgba, int width, int height);
void kvPageShowCursor(int visible);
int kvPageWidth();
int kvPageHeight();
void kvPageNote(const char* text);
int kvPageOpenScreen(int width, int height, int sharpPixels);
void kvPageCloseScreen();
void kvPagePresent(const uint32_t* rgba, int width, int height, int left, int top, int partWidth,
                   int partHeight);
void kvPageOfferStart(int offered);
void kvPageStarting();
void kvPageEnded(int withNote);
void kvPageRest(int pace, double dueAt);
}

namespace platform::web {

namespace {

WebBackend machine;
bool (*gameStart)() = nullptr;
bool (*gameFrame)() = nullptr;
bool startOffered = false;
bool programRunning = false;
// When the loop next has a frame due, in performance.now() milliseconds.
double nextFrameDue = 0;

// How often the browser calls the loop (page.js, kvPageRest): at every
// display frame in play, from a timer set for the next frame's time on the
// title and the end pictures, and ten times a second while paused.
constexpr int playPace = 0;
constexpr int pausedPace = 1;
constexpr int stillPace = 2;

// The window's icon (platform/window_icon.h) becomes the tab's; the page
// takes its pixels as R, G, B, A bytes.
void showIcon(const Module* module, int iconId) {
    WindowIcon icon;
    if (!loadWindowIcon(module, iconId, icon)) return;
    for (uint32_t& pixel : icon.pixels) {
        pixel = (pixel & 0xFF00FF00u) | (pixel >> 16 & 0xFFu) | (pixel & 0xFFu) << 16;
    }
    kvPageSetIcon(icon.pixels.data(), icon.width, icon.height);
}

EM_BOOL onKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    const uint8_t dik = dikFromKeyCode(event->code);
    if (dik == 0) return EM_FALSE;
    machine.keyChanged(dik, eventType == EMSCRIPTEN_EVENT_KEYDOWN);
    return keyScrollsThePage(dik) ? EM_TRUE : EM_FALSE;
}

EM_BOOL onFocus(int eventType, const EmscriptenFocusEvent*, void*) {
    machine.focusChanged(eventType == EMSCRIPTEN_EVENT_FOCUS);
    return EM_FALSE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (!event->hidden) return EM_FALSE;
    // A hidden page hears no key being let go.
    machine.focusChanged(false);
    // Nobody watches a hidden page: play pauses, and stays paused until the
    // player goes on, as after the pause key. The browser runs no frame
    // while the page is hidden, so the pause comes at the first one back.
    if (programRunning && !startOffered && !machine.isPaused()) machine.askPause();
    return EM_FALSE;
}

// Hears the page's keys, focus and visibility; with `on` false no more.
void listen(bool on) {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, on ? onKey : nullptr);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, on ? onKey : nullptr);
    emscripten_set_blur_callback(window, nullptr, EM_TRUE, on ? onFocus : nullptr);
    emscripten_set_focus_callback(window, nullptr, EM_TRUE, on ? onFocus : nullptr);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on ? onVisibility : nullptr);
}

void browserFrame();

// The program is over, by Escape or by a start-up that failed: the page offers
// to play again. A game that ran says so; a failed start-up has said why.
void programOver(bool ran) {
    kvPageRest(playPace, 0);
    emscripten_cancel_main_loop();
    finish();
    programRunning = false;
    startOffered = false;
    kvPageEnded(ran ? 1 : 0);
}

void runProgram() {
    if (programRunning) return;
    programRunning = true;
    kvPageStarting();
    if (!gameStart()) {
        programOver(false);
        return;
    }
    // Frames per second 0: the browser's own display frames drive the loop.
    emscripten_set_main_loop(browserFrame, 0, 0);
}

// The browser calls in once per display frame; the game's loop decides
// whether a frame of its own is due.
void browserFrame() {
    const bool goOn = gameFrame();
    // After the frame, so that a sound it started goes out with this batch.
    machine.feedSound();
    if (!goOn) {
        programOver(true);
        return;
    }
    kvPageRest(machine.isPaused() ? pausedPace : startOffered ? stillPace : playPace, nextFrameDue);
}

EM_BOOL onPlayAgain(int, const EmscriptenMouseEvent*, void*) {
    runProgram();
    return EM_TRUE;
}

}  // namespace

bool WebBackend::startVideo(const Module* module, int iconId) {
    if (kvPageStart() == 0) return false;
    // Keys let go after the last program stopped listening are not held now.
    std::fill(std::begin(keys), std::end(keys), uint8_t{0});
    pending.clear();
    pauseAsked = false;
    focused = true;
    showIcon(module, iconId);
    listen(true);
    return true;
}

void WebBackend::stopVideo() {
    closeWindow();
    listen(false);
}

bool WebBackend::openWindow(const char* caption, int, int) {
    if (windowOpen) return false;
    kvPageSetTitle(caption);
    windowOpen = true;
    return true;
}

void WebBackend::closeWindow() {
    closeScreen();
    windowOpen = false;
}

void WebBackend::setCursorVisible(bool visible) {
    kvPageShowCursor(visible ? 1 : 0);
}

DesktopSize WebBackend::desktopSize() {
    return {kvPageWidth(), kvPageHeight()};
}

void WebBackend::pumpEvents(std::deque<Message>& queue) {
    while (!pending.empty()) {
        queue.push_back(pending.front());
        pending.pop_front();
    }
}

void WebBackend::showMessageBox(const char* text, const char* caption) {
    const std::string note = std::string(caption) + ": " + text;
    kvPageNote(note.c_str());
}

bool WebBackend::openScreen(int width, int height) {
    if (!windowOpen || width <= 0 || height <= 0) return false;
    if (kvPageOpenScreen(width, height, display.integerScale ? 1 : 0) == 0) return false;
    screenWidth = width;
    screenHeight = height;
    rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return true;
}

void WebBackend::closeScreen() {
    if (screenWidth == 0) return;
    kvPageCloseScreen();
    screenWidth = 0;
    screenHeight = 0;
    rgba.clear();
    shown.clear();
}

void WebBackend::present(const Surface& backBuffer) {
    if (screenWidth != backBuffer.width || screenHeight != backBuffer.height ||
        backBuffer.pixels.size() != rgba.size()) {
        return;
    }
    // A picture that stands still (a pause, a held end picture) is not drawn
    // again, and one that changed in a band is drawn there only.
    const ChangedPart changed =
        takeChangedPart(shown, backBuffer.pixels, screenWidth, screenHeight);
    if (changed.empty()) return;
    // The canvas takes the whole picture's pixels and copies the changed
    // part, so only that part is widened, in its place.
    const int width = changed.right - changed.left;
    for (int y = changed.top; y < changed.bottom; ++y) {
        const size_t at = static_cast<size_t>(y) * screenWidth + changed.left;
        convertRgb565ToAbgr8888(backBuffer.pixels.data() + at, rgba.data() + at, width);
    }
    // The browser shows it when this display frame ends; the loop's beat
    // does the waiting.
    kvPagePresent(rgba.data(), screenWidth, screenHeight, changed.left, changed.top, width,
                  changed.bottom - changed.top);
}

void WebBackend::keyChanged(uint8_t dik, bool down) {
    // A key event means the page has the keyboard, whatever was said before.
    if (!focused) focusChanged(true);
    keys[dik] = down ? 0x80 : 0;
}

void WebBackend::focusChanged(bool nowFocused) {
    if (nowFocused == focused) return;
    focused = nowFocused;
    // Keys let go elsewhere never come back as key-ups.
    if (!focused) std::fill(std::begin(keys), std::end(keys), uint8_t{0});
    pending.push_back(Message{focused ? MessageKind::FocusGained : MessageKind::FocusLost, 0});
}

}  // namespace platform::web

namespace platform {

void useWebBackend() {
    useBackend(&web::machine);
}

void runBrowserGame(bool (*start)(), bool (*frame)()) {
    web::gameStart = start;
    web::gameFrame = frame;
    emscripten_set_click_callback("#again", nullptr, EM_TRUE, web::onPlayAgain);
    web::runProgram();
}

void restBeforeNextFrame(int64_t microseconds) {
    web::nextFrameDue = emscripten_get_now() + static_cast<double>(microseconds) / 1000.0;
}

void offerStartControl(bool offered) {
    if (offered == web::startOffered) return;
    web::startOffered = offered;
    kvPageOfferStart(offered ? 1 : 0);
}

}  // namespace platform

// A press on the picture, in the picture's own points (page.js, kvPoint).
extern "C" EMSCRIPTEN_KEEPALIVE void kvPagePointer(int x, int y) {
    platform::notePointerPress(platform::PicturePoint{x, y});
}
