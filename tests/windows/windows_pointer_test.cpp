// The Windows back end's mouse and dropped files against a real window
// (under Wine on Linux): presses at client places become picture places
// through where the picture was shown, and a dropped file list becomes UTF-8
// paths. (Real clicks and drags from the X desktop are pointer_under_wine.sh.)

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/windows/win_machine.h"
#include "platform/windows_backend.h"
// clang-format off
#include <shlobj.h>  // DROPFILES, which builds on windows.h
// clang-format on

namespace {

using Presses = std::vector<std::string>;

// A real window of the game's class with a client area of 600 x 400: the
// picture 533 x 400 from x 33, bars beside it.
class WindowsPointer : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::useWindowsBackend();
        platform::forgetPointerAndDrops();
        platform::DisplayOptions display;
        display.fullscreen = false;
        display.scale = 1;
        platform::setDisplayOptions(display);
        ASSERT_TRUE(platform::backend().startVideo(nullptr, 0));
        ASSERT_TRUE(platform::backend().openWindow("Kordavan test", 640, 480));
        window = FindWindowW(L"KordavanWindow", nullptr);
        ASSERT_NE(window, nullptr);
        RECT outer{0, 0, 600, 400};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_NOZORDER | SWP_NOMOVE);
        RECT client{};
        GetClientRect(window, &client);
        ASSERT_EQ(client.right, 600);
        ASSERT_EQ(client.bottom, 400);
        ASSERT_TRUE(platform::backend().openScreen(640, 480));
    }
    void TearDown() override {
        platform::backend().stopVideo();
        platform::forgetPointerAndDrops();
    }

    void show() {
        platform::Surface picture;
        picture.width = 640;
        picture.height = 480;
        picture.pixels.assign(640 * 480, 0x8410);
        platform::backend().present(picture);
    }
    void press(UINT message, int x, int y) {
        SendMessageW(
            window, message, MK_LBUTTON,
            static_cast<LPARAM>(static_cast<uint16_t>(x) | static_cast<uint16_t>(y) << 16));
    }
    Presses presses() {
        std::deque<platform::Message> queue;
        platform::backend().pumpEvents(queue);
        Presses taken;
        platform::PicturePoint point;
        while (platform::takePointerPress(point)) {
            taken.push_back(std::to_string(point.x) + "," + std::to_string(point.y));
        }
        return taken;
    }

    HWND window = nullptr;
};

TEST_F(WindowsPointer, TheMainButtonPressesOnThePictureAndNotOnTheBars) {
    show();
    press(WM_LBUTTONDOWN, 33, 0);
    press(WM_LBUTTONUP, 33, 0);
    press(WM_LBUTTONDOWN, 565, 399);
    press(WM_LBUTTONDOWN, 32, 200);   // the left bar
    press(WM_LBUTTONDOWN, 566, 200);  // the right bar
    press(WM_LBUTTONDOWN, -5, 10);    // left of the window, as a captured mouse says
    press(WM_RBUTTONDOWN, 300, 200);
    press(WM_MBUTTONDOWN, 300, 200);
    EXPECT_EQ(presses(), (Presses{"0,0", "639,479"}));
}

// Windows asks before it holds back a tap to see whether it becomes a
// right click; the game says no, so the tap comes as the finger lands.
TEST_F(WindowsPointer, ATapIsNotHeldBackForPressAndHold) {
    EXPECT_EQ(SendMessageW(window, WM_TABLET_QUERYSYSTEMGESTURESTATUS, 0, 0),
              TABLET_DISABLE_PRESSANDHOLD);
}

TEST_F(WindowsPointer, NothingIsPressedBeforeAPictureIsShown) {
    press(WM_LBUTTONDOWN, 300, 200);
    EXPECT_EQ(presses(), Presses{});
}

// A DROPFILES block as Explorer hands one over: the header, then the names
// one after another, each ending in a nul, and one more at the end.
template <typename Char>
HGLOBAL dropBlock(const std::basic_string<Char>& names, bool wide) {
    const size_t bytes = sizeof(DROPFILES) + (names.size() + 1) * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.c_str(),
                (names.size() + 1) * sizeof(Char));
    GlobalUnlock(block);
    return block;
}

TEST_F(WindowsPointer, DroppedFilesArriveAsUtf8PathsInOrder) {
    show();
    const std::wstring wide = std::wstring(L"C:\\Users\\pilot\\first.replay") + L'\0' +
                              L"D:\\mit Leerzeichen\\K\u00fcstenflug \u2708 \U0001F681.replay" +
                              L'\0';
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropBlock(wide, true)), 0);
    const std::string narrow = std::string("C:\\plain.replay") + '\0';
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(dropBlock(narrow, false)), 0);
    std::vector<std::string> taken;
    std::string path;
    while (platform::takeDroppedFile(path)) taken.push_back(path);
    EXPECT_EQ(taken,
              (std::vector<std::string>{
                  "C:\\Users\\pilot\\first.replay",
                  "D:\\mit Leerzeichen\\K\xC3\xBCstenflug \xE2\x9C\x88 \xF0\x9F\x9A\x81.replay",
                  "C:\\plain.replay"}));
    EXPECT_EQ(presses(), Presses{});
}

}  // namespace
