// The Windows back end's mouse and dropped files: a press of the main
// button (a tap on a touch screen comes as one too) becomes a place on the
// picture, found through where the window last showed it; files dropped
// from Explorer become their paths in UTF-8. The game never moves by the
// mouse; nothing here touches the pointer itself.

#include <string>

#include "platform/windows/win_machine.h"

namespace platform::windows {

namespace {

std::string utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes,
                        nullptr, nullptr);
    return out;
}

}  // namespace

void WinBackend::acceptDroppedFiles() {
    // Files dragged from Explorer onto the window then come as WM_DROPFILES.
    DragAcceptFiles(window, TRUE);
}

void WinBackend::notePress(LPARAM lParam) {
    if (!pictureShown) return;
    // Client pixels, signed: a captured mouse may report places left of or
    // above the window.
    const auto x = static_cast<short>(LOWORD(lParam));
    const auto y = static_cast<short>(HIWORD(lParam));
    PicturePoint point;
    if (pictureAt(shownFit, x + 0.5, y + 0.5, point)) notePointerPress(point);
}

void WinBackend::takeDroppedFiles(WPARAM wParam) {
    auto* drop = reinterpret_cast<HDROP>(wParam);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        noteDroppedFile(utf8(path));
    }
    DragFinish(drop);
}

}  // namespace platform::windows
