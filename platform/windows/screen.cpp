// The Windows back end's screen: the back buffer widened to 32-bit pixels
// and stretched into the window by GDI at 4:3, black bars around it.

#include <algorithm>

#include "platform/pixel_widening.h"
#include "platform/windows/win_machine.h"

namespace platform::windows {

namespace {

void fillBlack(HDC dc, int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    const RECT bar{left, top, right, bottom};
    FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace

bool WinBackend::openScreen(int width, int height) {
    if (window == nullptr || width <= 0 || height <= 0) return false;
    screenWidth = width;
    screenHeight = height;
    frame.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    return true;
}

void WinBackend::closeScreen() {
    screenWidth = 0;
    screenHeight = 0;
    frame.clear();
}

void WinBackend::present(const Surface& backBuffer) {
    switchIfAsked();
    if (window == nullptr || frame.empty()) return;
    const int width = std::min(screenWidth, backBuffer.width);
    const int height = std::min(screenHeight, backBuffer.height);
    if (width > 0 && height > 0 &&
        backBuffer.pixels.size() >= static_cast<size_t>(backBuffer.width) * height) {
        for (int y = 0; y < height; ++y) {
            convertRgb565ToArgb8888(
                backBuffer.pixels.data() + static_cast<size_t>(y) * backBuffer.width,
                frame.data() + static_cast<size_t>(y) * screenWidth, static_cast<size_t>(width));
        }
    }
    HDC dc = GetDC(window);
    paint(dc);
    ReleaseDC(window, dc);
}

void WinBackend::paint(HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const int outputWidth = client.right - client.left;
    const int outputHeight = client.bottom - client.top;
    if (frame.empty()) {
        fillBlack(dc, 0, 0, outputWidth, outputHeight);
        return;
    }
    const PictureFit fit = fitPicture(outputWidth, outputHeight, display.integerScale);
    // Only the bars are cleared, so the picture itself never flickers.
    fillBlack(dc, 0, 0, outputWidth, fit.y);
    fillBlack(dc, 0, fit.y + fit.height, outputWidth, outputHeight);
    fillBlack(dc, 0, fit.y, fit.x, fit.y + fit.height);
    fillBlack(dc, fit.x + fit.width, fit.y, outputWidth, fit.y + fit.height);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = screenWidth;
    info.bmiHeader.biHeight = -screenHeight;  // top row first, as the game draws
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // A whole-number enlargement keeps every pixel crisp; any other needs
    // smoothing, or rows and columns would come out unevenly thick.
    SetStretchBltMode(dc, fit.wholeScale ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, fit.x, fit.y, fit.width, fit.height, 0, 0, screenWidth, screenHeight,
                  frame.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace platform::windows
