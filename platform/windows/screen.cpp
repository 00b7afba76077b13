// The Windows back end's screen: the back buffer enlarged to the window's
// 4:3 picture by the shared picture scaler and handed to GDI one to one,
// the rows that changed only; the black bars around it are drawn when the
// window is painted afresh or the picture moves.

#include <algorithm>

#include "platform/picture_scaler.h"
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
    enlarged.clear();
    pictureShown = false;
    return true;
}

void WinBackend::closeScreen() {
    screenWidth = 0;
    screenHeight = 0;
    enlarged.clear();
    pictureShown = false;
}

void WinBackend::present(const Surface& backBuffer) {
    switchIfAsked();
    if (window == nullptr || screenWidth == 0) return;
    if (backBuffer.width != screenWidth || backBuffer.height != screenHeight ||
        backBuffer.pixels.size() < static_cast<size_t>(screenWidth) * screenHeight) {
        return;
    }
    HDC dc = GetDC(window);
    show(dc, backBuffer.pixels.data(), false);
    ReleaseDC(window, dc);
}

void WinBackend::paint(HDC dc) {
    if (!pictureShown) {
        RECT client{};
        GetClientRect(window, &client);
        fillBlack(dc, 0, 0, client.right - client.left, client.bottom - client.top);
        return;
    }
    // The scaler's own copy of the last picture is what it compares the next
    // one with, so it is drawn from a copy of its own.
    const std::vector<uint16_t> picture = scaler.lastPicture();
    show(dc, picture.data(), true);
}

void WinBackend::show(HDC dc, const uint16_t* picture, bool whole) {
    RECT client{};
    GetClientRect(window, &client);
    const int outputWidth = client.right - client.left;
    const int outputHeight = client.bottom - client.top;
    const PictureFit fit = fitPicture(outputWidth, outputHeight, display.integerScale);
    if (fit.width <= 0 || fit.height <= 0) return;
    // The bars stay where GDI put them until the window is painted afresh
    // or the picture moves; only then are they drawn again.
    whole = whole || !pictureShown || fit.x != shownFit.x || fit.y != shownFit.y ||
            fit.width != shownFit.width || fit.height != shownFit.height;
    if (whole) {
        fillBlack(dc, 0, 0, outputWidth, fit.y);
        fillBlack(dc, 0, fit.y + fit.height, outputWidth, outputHeight);
        fillBlack(dc, 0, fit.y, fit.x, fit.y + fit.height);
        fillBlack(dc, fit.x + fit.width, fit.y, outputWidth, fit.y + fit.height);
        scaler.redrawAll();
    }
    enlarged.resize(static_cast<size_t>(fit.width) * static_cast<size_t>(fit.height));
    scaler.scale(picture, screenWidth, screenHeight, enlarged.data(), fit.width * 4, fit.width,
                 fit.height, PixelOrder::Argb);
    shownFit = fit;
    pictureShown = true;

    // The finished picture goes to the window one to one, only the rows
    // that changed: no stretching by GDI, which smooths far more slowly.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = fit.width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (const RowBand& band : scaler.drawnRows()) {
        const int rows = band.bottom - band.top;
        info.bmiHeader.biHeight = -rows;  // top row first, as the game draws
        SetDIBitsToDevice(dc, fit.x, fit.y + band.top, static_cast<DWORD>(fit.width),
                          static_cast<DWORD>(rows), 0, 0, 0, static_cast<UINT>(rows),
                          enlarged.data() + static_cast<size_t>(band.top) * fit.width, &info,
                          DIB_RGB_COLORS);
    }
}

}  // namespace platform::windows
