// The browser back end's page: the canvas the back buffer is shown on, the
// notes over it in place of message boxes, the tab's title and icon, the
// page's events, and the loop the browser owns.

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

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
void kvPagePresent(const uint32_t* rgba, int width, int height);
void kvPageOfferStart(int offered);
void kvPageStarting();
void kvPageEnded(int withNote);
void kvPageRest(int resting);
}

namespace platform::web {

namespace {

WebBackend machine;
bool (*gameStart)() = nullptr;
bool (*gameFrame)() = nullptr;
bool startOffered = false;
bool programRunning = false;

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

// Whether two pictures are the same, looked at whole (no early way out), so
// that it runs as vectors: a still picture costs a few microseconds a turn.
bool samePicture(const std::vector<uint16_t>& shown, const std::vector<uint16_t>& next) {
    if (shown.size() != next.size()) return false;
    uint16_t difference = 0;
    for (size_t i = 0; i < next.size(); ++i)
        difference |= static_cast<uint16_t>(shown[i] ^ next[i]);
    return difference == 0;
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
    // A hidden page hears no key being let go.
    if (event->hidden) machine.focusChanged(false);
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
    kvPageRest(0);
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
    kvPageRest(machine.isPaused() ? 1 : 0);
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
    // again: the page then costs next to nothing.
    if (samePicture(shown, backBuffer.pixels)) return;
    shown.assign(backBuffer.pixels.begin(), backBuffer.pixels.end());
    convertRgb565ToAbgr8888(backBuffer.pixels.data(), rgba.data(), rgba.size());
    // The browser shows it when this display frame ends; the loop's beat
    // does the waiting.
    kvPagePresent(rgba.data(), screenWidth, screenHeight);
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

void offerStartControl(bool offered) {
    if (offered == web::startOffered) return;
    web::startOffered = offered;
    kvPageOfferStart(offered ? 1 : 0);
}

}  // namespace platform
