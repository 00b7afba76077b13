#pragma once
// The Windows back end's own state, shared by its window, screen, sound and
// device files.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// windows.h first: the others build on its types.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <xinput.h>
#include <tpcshrd.h>  // the tablet's gesture question (press and hold)
// clang-format on

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/key_events.h"
#include "platform/picture_fit.h"
#include "platform/picture_scaler.h"

namespace platform::windows {

class WinBackend final : public Backend {
  public:
    bool startVideo(const Module* module, int iconId) override;
    void stopVideo() override;
    bool openWindow(const char* caption, int width, int height) override;
    void closeWindow() override;
    void setCursorVisible(bool visible) override;
    DesktopSize desktopSize() override;
    void pumpEvents(std::deque<Message>& queue) override;
    void setDisplayOptions(const DisplayOptions& options) override;
    void showMessageBox(const char* text, const char* caption) override;

    bool openScreen(int width, int height) override;
    void closeScreen() override;
    void present(const Surface& backBuffer) override;

    bool performanceFrequency(int64_t& frequency) override;
    int64_t performanceCounter() override;
    uint32_t milliseconds() override;

    bool openAudio(SoundDevice* device) override;
    void closeAudio() override;
    void lockAudio() override;
    void unlockAudio() override;
    void setSilentAudio(bool silent) override;

    bool hasKeyboardFocus() override;
    void readKeys(uint8_t (&state)[256]) override;
    PadState readPads() override;

  protected:
    bool sleepForEvents(std::deque<Message>& queue, int64_t microseconds) override;

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool handleKey(UINT message, WPARAM wParam, LPARAM lParam);
    // A press of the main button at the message's client place, and the
    // files of a WM_DROPFILES, into the platform's queues.
    void acceptDroppedFiles();
    void notePress(LPARAM lParam);
    void takeDroppedFiles(WPARAM wParam);
    // Runs the window's messages waiting in the thread's queue; what the
    // game must hear of lands in `pending`.
    void dispatchWaiting();
    void switchIfAsked();
    void enterFullscreen();
    void enterWindow();
    int chosenWindowScale();
    void paint(HDC dc);
    // Enlarges the picture and draws the rows that changed, or with `whole`
    // the picture and the bars around it.
    void show(HDC dc, const uint16_t* picture, bool whole);
    void mixLoop();
    void silentLoop();

    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    bool ownIcon = false;  // made from the module's picture, so ours to destroy
    bool classRegistered = false;
    bool timerPeriodSet = false;
    HWND window = nullptr;
    bool fullscreen = false;
    bool cursorWanted = true;
    RECT windowedRect{};  // where the window was when the player left it; empty until then
    std::deque<Message> pending;

    uint8_t keys[256] = {};
    MachineKeys machineKeys;

    int screenWidth = 0;
    int screenHeight = 0;
    PictureScaler scaler;
    std::vector<uint32_t> enlarged;  // the picture at the window's size, as the screen takes it
    PictureFit shownFit;             // where it was last drawn
    bool pictureShown = false;

    std::mutex audioLock;
    std::thread mixer;
    std::atomic<bool> mixing{false};
    HANDLE audioEvent = nullptr;
    HWAVEOUT waveOut = nullptr;
    SoundDevice* soundDevice = nullptr;
    bool silentAudio = false;

    uint32_t padsSeen = 0;    // a bit for each pad that answered at the last look
    DWORD padsLookedFor = 0;  // when the empty slots were last tried
};

// The window messages' scan codes as the game's keyboard snapshot names
// them; 0 for a key it has no name for.
uint8_t dikFromKeyMessage(WPARAM virtualKey, LPARAM lParam);

}  // namespace platform::windows
