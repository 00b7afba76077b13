// The Windows back end's window: its class and icon, window or borderless
// full screen on its monitor, the messages the game hears of, and message
// boxes.

#include <algorithm>
#include <string>

#include "platform/window_icon.h"
#include "platform/windows/win_machine.h"
#include "platform/windows_backend.h"

namespace platform::windows {

namespace {

constexpr wchar_t className[] = L"KordavanWindow";
constexpr DWORD windowedStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD fullscreenStyle = WS_POPUP;

std::wstring wide(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring out(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), length);
    out.resize(static_cast<size_t>(length - 1));
    return out;
}

// The game's window icon (platform/window_icon.h) as the system takes one:
// its colours with their alpha, and an empty mask, which the alpha replaces.
HICON iconFromModule(const Module* module, int iconId) {
    WindowIcon picture;
    if (!loadWindowIcon(module, iconId, picture)) return nullptr;
    const int width = picture.width;
    const int height = picture.height;
    std::vector<uint8_t> mask(static_cast<size_t>((width + 15) / 16 * 2) * height, 0);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = CreateBitmap(width, height, 1, 32, picture.pixels.data());
    info.hbmMask = CreateBitmap(width, height, 1, 1, mask.data());
    HICON made = info.hbmColor && info.hbmMask ? CreateIconIndirect(&info) : nullptr;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return made;
}

RECT monitorArea(HWND window, bool workArea) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
        return workArea ? info.rcWork : info.rcMonitor;
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

bool WinBackend::startVideo(const Module* module, int iconId) {
    instance = GetModuleHandleW(nullptr);
    // Steps are timed to the millisecond; the system's default tick of
    // 15.6 ms would make every wait a frame too long.
    if (!timerPeriodSet) timerPeriodSet = timeBeginPeriod(1) == TIMERR_NOERROR;
    if (icon != nullptr && ownIcon) DestroyIcon(icon);
    // The game's own picture, as on the other desktops; the .exe's icon
    // (the one Explorer shows) when the module has none.
    icon = iconFromModule(module, iconId);
    ownIcon = icon != nullptr;
    if (icon == nullptr) icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!classRegistered) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon;
        windowClass.hIconSm = icon;
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = className;
        if (RegisterClassExW(&windowClass) == 0) return false;
        classRegistered = true;
    }
    std::fill(std::begin(keys), std::end(keys), uint8_t{0});
    machineKeys.reset();
    return true;
}

void WinBackend::stopVideo() {
    closeWindow();
    if (classRegistered) {
        UnregisterClassW(className, instance);
        classRegistered = false;
    }
    if (icon != nullptr && ownIcon) DestroyIcon(icon);
    icon = nullptr;
    if (timerPeriodSet) timeEndPeriod(1);
    timerPeriodSet = false;
}

bool WinBackend::openWindow(const char* caption, int /*width*/, int /*height*/) {
    if (window != nullptr || !classRegistered) return false;
    fullscreen = display.fullscreen;
    windowedRect = RECT{};
    window =
        CreateWindowExW(0, className, wide(caption).c_str(),
                        fullscreen ? fullscreenStyle : windowedStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        pictureWidth, pictureHeight, nullptr, nullptr, instance, this);
    if (window == nullptr) return false;
    acceptDroppedFiles();
    if (fullscreen) {
        const RECT area = monitorArea(window, false);
        SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left,
                     area.bottom - area.top, SWP_NOACTIVATE);
    } else {
        fullscreen = true;  // so that enterWindow sizes and centres it
        enterWindow();
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    return true;
}

void WinBackend::closeWindow() {
    closeScreen();
    if (window != nullptr) {
        HWND gone = window;
        window = nullptr;
        DestroyWindow(gone);
    }
    pending.clear();
    std::fill(std::begin(keys), std::end(keys), uint8_t{0});
}

DesktopSize WinBackend::desktopSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int WinBackend::chosenWindowScale() {
    // The space the task bar leaves, so the whole window stays in sight.
    const RECT work = monitorArea(window, true);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, windowedStyle, FALSE, 0);
    return windowScale(display.scale, (work.right - work.left) - (frame.right - frame.left),
                       (work.bottom - work.top) - (frame.bottom - frame.top));
}

void WinBackend::setDisplayOptions(const DisplayOptions& options) {
    const int oldScale = display.scale;
    display = options;
    display.scale = std::max(options.scale, 0);
    if (window == nullptr) return;
    if (options.fullscreen && !fullscreen) {
        enterFullscreen();
    } else if (!options.fullscreen && fullscreen) {
        enterWindow();
    } else if (!options.fullscreen && display.scale != oldScale) {
        windowedRect = RECT{};
        fullscreen = true;
        enterWindow();
    }
}

void WinBackend::enterFullscreen() {
    if (!fullscreen) GetWindowRect(window, &windowedRect);
    const RECT area = monitorArea(window, false);
    SetWindowLongPtrW(window, GWL_STYLE, fullscreenStyle | WS_VISIBLE);
    SetWindowPos(window, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    fullscreen = true;
    display.fullscreen = true;
}

void WinBackend::enterWindow() {
    SetWindowLongPtrW(window, GWL_STYLE, windowedStyle | WS_VISIBLE);
    RECT rect = windowedRect;
    // A game started full screen has no window to come back to: it gets the
    // chosen size, centred in the space the task bar leaves.
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        const int scale = chosenWindowScale();
        rect = RECT{0, 0, pictureWidth * scale, pictureHeight * scale};
        AdjustWindowRectEx(&rect, windowedStyle, FALSE, 0);
        const RECT work = monitorArea(window, true);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const int x = work.left + std::max<LONG>(0, (work.right - work.left - width) / 2);
        const int y = work.top + std::max<LONG>(0, (work.bottom - work.top - height) / 2);
        rect = RECT{x, y, x + width, y + height};
    }
    SetWindowPos(window, HWND_NOTOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    fullscreen = false;
    display.fullscreen = false;
}

void WinBackend::switchIfAsked() {
    if (!machineKeys.takeSwitch() || window == nullptr) return;
    if (fullscreen) {
        enterWindow();
    } else {
        enterFullscreen();
    }
}

void WinBackend::setCursorVisible(bool visible) {
    cursorWanted = visible;
}

LRESULT CALLBACK WinBackend::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<WinBackend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->window != hwnd) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT WinBackend::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            // The game decides; the window goes when it destroys it.
            pending.push_back({MessageKind::Close, 0});
            return 0;
        case WM_SETFOCUS:
            pending.push_back({MessageKind::FocusGained, 0});
            return 0;
        case WM_KILLFOCUS:
            // Nothing stays held while the player is elsewhere.
            std::fill(std::begin(keys), std::end(keys), uint8_t{0});
            machineKeys.focusLost();
            pending.push_back({MessageKind::FocusLost, 0});
            return 0;
        case WM_ERASEBKGND:
            return 1;  // present paints every pixel, bars included
        case WM_PAINT: {
            PAINTSTRUCT paintStruct;
            HDC dc = BeginPaint(window, &paintStruct);
            paint(dc);
            EndPaint(window, &paintStruct);
            return 0;
        }
        case WM_SETCURSOR:
            // In a window the pointer is the player's way to the rest of the desktop.
            if (LOWORD(lParam) == HTCLIENT && !cursorWanted && fullscreen) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            RECT least{0, 0, pictureWidth / 2, pictureHeight / 2};
            AdjustWindowRectEx(&least, windowedStyle, FALSE, 0);
            limits->ptMinTrackSize = POINT{least.right - least.left, least.bottom - least.top};
            return 0;
        }
        case WM_SYSCOMMAND:
            // Alt alone would open the window menu and swallow the next keys.
            if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
            break;
        case WM_LBUTTONDOWN:
            notePress(lParam);
            break;
        case WM_TABLET_QUERYSYSTEMGESTURESTATUS:
            // Windows waits to see whether a finger is held for a right click
            // before it sends a tap's button-down; the game has no right
            // click, so a tap presses as the finger lands.
            return TABLET_DISABLE_PRESSANDHOLD;
        case WM_DROPFILES:
            takeDroppedFiles(wParam);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
            if (handleKey(message, wParam, lParam)) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool WinBackend::handleKey(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool repeat = (lParam & (1 << 30)) != 0;  // the key was already down
    const bool alt = (lParam & (1 << 29)) != 0;
    if (down && wParam == VK_F4 && alt) return false;  // Alt+F4 closes, as everywhere
    const uint8_t dik = dikFromKeyMessage(wParam, lParam);
    machineKeys.keyChanged(dik, down, repeat, alt);
    if (dik != 0) keys[dik] = down ? 0x80 : 0;
    return true;
}

void WinBackend::dispatchWaiting() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;  // the game posts its own quit
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WinBackend::pumpEvents(std::deque<Message>& queue) {
    dispatchWaiting();
    queue.insert(queue.end(), pending.begin(), pending.end());
    pending.clear();
    switchIfAsked();
}

bool WinBackend::sleepForEvents(std::deque<Message>& /*queue*/, int64_t microseconds) {
    if (window == nullptr) return false;
    // Rounded up to the next millisecond: a wait that ends a hair late costs
    // nothing, one that ends early would only wait again.
    const auto milliseconds = static_cast<DWORD>((microseconds + 999) / 1000);
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return true;
}

void WinBackend::showMessageBox(const char* text, const char* caption) {
    // The message is read on the normal desktop, not behind our full-screen window.
    if (window != nullptr) ShowWindow(window, SW_HIDE);
    if (MessageBoxW(nullptr, wide(text).c_str(), wide(caption).c_str(),
                    MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND) == 0) {
        tellOnStandardError(text);
    }
}

}  // namespace platform::windows

namespace platform {

void useWindowsBackend() {
    static windows::WinBackend instance;
    useBackend(&instance);
}

}  // namespace platform
