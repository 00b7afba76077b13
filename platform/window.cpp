// The window, its procedure and the message queue. Messages from the system
// (close requests, focus changes) arrive through the back end; the quit
// message waits until nothing else is queued, so a destroyed window's last
// messages are still handled before the loop ends.

#include <algorithm>
#include <deque>

#include "platform/backend.h"
#include "platform/warnings.h"

namespace platform {

struct Window {
    int serial;
};

namespace {

WindowProc windowClassProc = nullptr;
Window* theWindow = nullptr;
std::deque<Message> queue;
bool quitPosted = false;
int quitCode = 0;
int serials = 0;

}  // namespace

bool registerWindowClass(const Module* module, WindowProc proc, int iconId) {
    backend().note("registerWindowClass", 0);
    if (backend().refuses("registerWindowClass") || proc == nullptr) return false;
    if (!backend().startVideo(module, iconId)) return false;
    windowClassProc = proc;
    queue.clear();
    quitPosted = false;
    return true;
}

void unregisterWindowClass() {
    backend().note("unregisterWindowClass", 0);
    windowClassProc = nullptr;
}

Window* createWindow(const char* caption, int width, int height) {
    Window* window = nullptr;
    if (!backend().refuses("createWindow") && windowClassProc != nullptr && theWindow == nullptr &&
        backend().openWindow(caption, width, height)) {
        window = theWindow = new Window{++serials};
    }
    backend().note("createWindow", window ? window->serial : 0);
    return window;
}

void showWindow(Window* window) {
    backend().note("showWindow", window ? window->serial : 0);
}
void updateWindow(Window* window) {
    backend().note("updateWindow", window ? window->serial : 0);
}

void showCursor(bool visible) {
    backend().note(visible ? "showCursor" : "hideCursor", 0);
    backend().setCursorVisible(visible);
}

void destroyWindow(Window* window) {
    if (window == nullptr || window != theWindow) return;
    backend().note("destroyWindow", window->serial);
    // The procedure hears of it while the window still exists.
    if (windowClassProc != nullptr) windowClassProc(window, MessageKind::Destroy, 0);
    backend().closeWindow();
    theWindow = nullptr;
    delete window;
}

int64_t defWindowProc(Window* window, MessageKind kind, int64_t /*wParam*/) {
    // Closing a window, by Alt+F4 or the window manager, destroys it.
    if (kind == MessageKind::Close) destroyWindow(window);
    return 0;
}

bool peekMessage(Message& message) {
    sendWarnings();
    if (theWindow != nullptr) backend().pumpEvents(queue);
    if (!queue.empty()) {
        message = queue.front();
        queue.pop_front();
        return true;
    }
    if (quitPosted) {
        quitPosted = false;
        message = Message{MessageKind::Quit, quitCode};
        return true;
    }
    return false;
}

bool waitForMessage(int64_t timeoutMicroseconds) {
    if (!queue.empty() || quitPosted) return true;
    // Without a window no message can come but the quit message, which a
    // destroyed window has already posted.
    if (theWindow == nullptr || timeoutMicroseconds <= 0) return false;
    backend().waitForEvents(queue, timeoutMicroseconds);
    return !queue.empty();
}

bool takeCloseRequest() {
    if (theWindow != nullptr) backend().pumpEvents(queue);
    const auto close = std::find_if(queue.begin(), queue.end(), [](const Message& message) {
        return message.kind == MessageKind::Close;
    });
    if (close == queue.end()) return false;
    queue.erase(close);
    return true;
}

void translateMessage(const Message& /*message*/) {}

void dispatchMessage(const Message& message) {
    if (message.kind == MessageKind::Quit || theWindow == nullptr) return;
    if (windowClassProc != nullptr) windowClassProc(theWindow, message.kind, message.wParam);
}

void postQuitMessage(int exitCode) {
    backend().note("postQuitMessage", 0);
    quitPosted = true;
    quitCode = exitCode;
}

DesktopSize desktopSize() {
    return backend().desktopSize();
}

void setDisplayOptions(const DisplayOptions& options) {
    backend().setDisplayOptions(options);
}

DisplayOptions displayOptions() {
    return backend().displayOptions();
}

void messageBox(const char* text, const char* caption) {
    backend().note("messageBox", 0);
    backend().showMessageBox(text, caption);
}

bool queryPerformanceFrequency(int64_t& frequency) {
    return backend().performanceFrequency(frequency);
}
int64_t queryPerformanceCounter() {
    return backend().performanceCounter();
}
uint32_t timeGetTime() {
    return backend().milliseconds();
}

}  // namespace platform
