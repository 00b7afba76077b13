// The Windows back end against a real window (under Wine on Linux): the
// keys as window messages bring them and the messages the game hears of.
// The picture's place is the desktops' shared rule (picture_fit_test.cpp).

#include "platform/windows_backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/platform.h"
#include "platform/window_icon.h"
#include "platform/windows/win_machine.h"

namespace {

using platform::windows::dikFromKeyMessage;

LPARAM keyParam(unsigned scanCode, bool extended) {
    return static_cast<LPARAM>(1 | scanCode << 16 | (extended ? 1u << 24 : 0u));
}

TEST(WindowsKeys, ScanCodesAreTheGamesWithExtendedKeysAbove0x80) {
    EXPECT_EQ(dikFromKeyMessage('L', keyParam(0x26, false)), platform::DIK_L);
    EXPECT_EQ(dikFromKeyMessage(VK_SPACE, keyParam(0x39, false)), platform::DIK_SPACE);
    EXPECT_EQ(dikFromKeyMessage(VK_RETURN, keyParam(0x1C, false)), platform::DIK_RETURN);
    EXPECT_EQ(dikFromKeyMessage(VK_RETURN, keyParam(0x1C, true)), platform::DIK_NUMPADENTER);
    // The arrows share their scan codes with the keypad; only the prefix tells them apart.
    EXPECT_EQ(dikFromKeyMessage(VK_LEFT, keyParam(0x4B, true)), platform::DIK_LEFT);
    EXPECT_EQ(dikFromKeyMessage(VK_NUMPAD4, keyParam(0x4B, false)), platform::DIK_NUMPAD4);
    EXPECT_EQ(dikFromKeyMessage(VK_CONTROL, keyParam(0x1D, true)), platform::DIK_RCONTROL);
}

TEST(WindowsKeys, PauseAndNumLockAreNotSwapped) {
    EXPECT_EQ(dikFromKeyMessage(VK_PAUSE, keyParam(0x45, false)), platform::DIK_PAUSE);
    EXPECT_EQ(dikFromKeyMessage(VK_NUMLOCK, keyParam(0x45, true)), platform::DIK_NUMLOCK);
}

TEST(WindowsKeys, AKeyWithoutAScanCodeGetsTheOneItWouldHave) {
    EXPECT_EQ(dikFromKeyMessage(VK_ESCAPE, 1), platform::DIK_ESCAPE);
    EXPECT_EQ(dikFromKeyMessage(VK_SPACE, 1), platform::DIK_SPACE);
}

// A real window of the game's class, driven by posted messages as the
// system would send them.
class WindowsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::useWindowsBackend();
        platform::DisplayOptions display;
        display.fullscreen = false;
        display.scale = 1;
        platform::setDisplayOptions(display);
        ASSERT_TRUE(platform::backend().startVideo(nullptr, 0));
        ASSERT_TRUE(platform::backend().openWindow("Kordavan test", 640, 480));
        window = FindWindowW(L"KordavanWindow", nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { platform::backend().stopVideo(); }

    uint8_t key(uint8_t dik) {
        uint8_t keys[256];
        platform::backend().readKeys(keys);
        return keys[dik];
    }

    HWND window = nullptr;
};

TEST_F(WindowsWindow, KeysAreHeldFromDownToUp) {
    PostMessageW(window, WM_KEYDOWN, VK_LEFT, keyParam(0x4B, true));
    EXPECT_EQ(key(platform::DIK_LEFT), 0x80);
    EXPECT_EQ(key(platform::DIK_LEFT), 0x80);
    PostMessageW(window, WM_KEYUP, VK_LEFT, keyParam(0x4B, true) | 3 << 30);
    EXPECT_EQ(key(platform::DIK_LEFT), 0);
}

TEST_F(WindowsWindow, AltEnterSwitchesAndTheGameNeverSeesItsReturn) {
    ASSERT_FALSE(platform::backend().displayOptions().fullscreen);
    PostMessageW(window, WM_SYSKEYDOWN, VK_RETURN, keyParam(0x1C, false) | 1 << 29);
    EXPECT_EQ(key(platform::DIK_RETURN), 0);
    EXPECT_TRUE(platform::backend().displayOptions().fullscreen);
    PostMessageW(window, WM_KEYUP, VK_RETURN, keyParam(0x1C, false) | 3 << 30);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, keyParam(0x1C, false));
    EXPECT_EQ(key(platform::DIK_RETURN), 0x80);
}

TEST_F(WindowsWindow, ClosingIsARequestTheGameAnswers) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    std::deque<platform::Message> queue;
    platform::backend().pumpEvents(queue);
    const auto closes = std::count_if(queue.begin(), queue.end(), [](const platform::Message& m) {
        return m.kind == platform::MessageKind::Close;
    });
    EXPECT_EQ(closes, 1);
    // The window stays until the game destroys it.
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowsWindow, APressSeenOnceEvenWhenReleasedAtOnce) {
    PostMessageW(window, WM_KEYDOWN, VK_PAUSE, keyParam(0x45, false));
    PostMessageW(window, WM_KEYUP, VK_PAUSE, keyParam(0x45, false) | 3 << 30);
    EXPECT_EQ(key(platform::DIK_PAUSE), 0x80);
    EXPECT_EQ(key(platform::DIK_PAUSE), 0);
}

// The picture goes to the window enlarged to its 4:3 place, bars black
// around it, and a changed picture replaces the one shown.
TEST_F(WindowsWindow, ThePictureFillsItsPlaceBetweenBlackBars) {
    // Wide for its height, and small enough for the test's 640x480 screen.
    RECT outer{0, 0, 600, 400};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    std::deque<platform::Message> queue;
    platform::backend().pumpEvents(queue);
    RECT client{};
    GetClientRect(window, &client);
    const auto fit = platform::fitPicture(client.right, client.bottom, false);
    ASSERT_GT(fit.x, 8) << "the client area is " << client.right << "x" << client.bottom;

    ASSERT_TRUE(platform::backend().openScreen(640, 480));
    platform::Surface picture;
    picture.width = 640;
    picture.height = 480;
    picture.pixels.resize(640 * 480);
    for (int y = 0; y < 480; ++y) {
        std::fill_n(picture.pixels.begin() + y * 640, 320, uint16_t{0xF800});        // red
        std::fill_n(picture.pixels.begin() + y * 640 + 320, 320, uint16_t{0x001F});  // blue
    }
    platform::backend().present(picture);
    platform::backend().present(picture);  // unchanged: nothing drawn again
    HDC dc = GetDC(window);
    const int middle = fit.y + fit.height / 2;
    EXPECT_EQ(GetPixel(dc, fit.x + fit.width / 4, middle), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, fit.x + fit.width * 3 / 4, middle), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, fit.x / 2, middle), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, fit.x + fit.width + fit.x / 2, middle), RGB(0, 0, 0));
    std::fill(picture.pixels.begin(), picture.pixels.end(), uint16_t{0x07E0});  // green
    platform::backend().present(picture);
    EXPECT_EQ(GetPixel(dc, fit.x + fit.width / 4, middle), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, fit.x + fit.width * 3 / 4, fit.y + 1), RGB(0, 255, 0));
    ReleaseDC(window, dc);
    platform::backend().closeScreen();
}

// The window's icon is the game's own, its see-through green included,
// pixel for pixel as every desktop shows it.
TEST(WindowsIcon, TheWindowCarriesTheGamesIconWithItsSeeThroughEdge) {
    constexpr int gameIconId = 139;
    platform::WindowIcon expected;
    ASSERT_TRUE(platform::loadWindowIcon(platform::gameModule(), gameIconId, expected));
    platform::useWindowsBackend();
    ASSERT_TRUE(platform::backend().startVideo(platform::gameModule(), gameIconId));
    ASSERT_TRUE(platform::backend().openWindow("Kordavan test", 640, 480));
    HWND window = FindWindowW(L"KordavanWindow", nullptr);
    ASSERT_NE(window, nullptr);
    auto* icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    ICONINFO info{};
    ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = expected.width;
    format.bmiHeader.biHeight = -expected.height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> shown(expected.pixels.size());
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(expected.height),
                               shown.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    platform::backend().stopVideo();
    EXPECT_EQ(rows, expected.height);
    EXPECT_EQ(shown, expected.pixels);
}

}  // namespace
