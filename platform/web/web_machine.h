#pragma once
// The browser back end's own state, shared by its page and device files.

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/backend.h"

namespace platform::web {

class WebBackend final : public Backend {
  public:
    bool startVideo(const Module* module, int iconId) override;
    void stopVideo() override;
    bool openWindow(const char* caption, int width, int height) override;
    void closeWindow() override;
    void setCursorVisible(bool visible) override;
    DesktopSize desktopSize() override;
    void pumpEvents(std::deque<Message>& queue) override;
    void showMessageBox(const char* text, const char* caption) override;

    bool openScreen(int width, int height) override;
    void closeScreen() override;
    void present(const Surface& backBuffer) override;

    bool performanceFrequency(int64_t& frequency) override;
    int64_t performanceCounter() override;
    uint32_t milliseconds() override;

    bool openAudio(SoundDevice* device) override;
    void closeAudio() override;

    bool hasKeyboardFocus() override;
    void readKeys(uint8_t (&state)[256]) override;
    PadState readPads() override;

    // The loop pauses play by pausing the sound; the page follows that.
    void note(const char* call, int serial) override;

    // Whether play is paused, as the loop last told the sound.
    bool isPaused() const { return paused; }
    // Mixes what the sound output needs until the next display frame.
    void feedSound();

    // From the page's events.
    void keyChanged(uint8_t dik, bool down);
    void focusChanged(bool focused);
    // Play pauses at the next reading of the controls, as if the player had
    // pressed the pause key: the page was hidden.
    void askPause() { pauseAsked = true; }

  private:
    int64_t liveNanoseconds() const;

    bool windowOpen = false;
    int screenWidth = 0;
    int screenHeight = 0;
    std::vector<uint32_t> rgba;   // the picture as the canvas takes it
    std::vector<uint16_t> shown;  // the back buffer as it was last shown

    std::deque<Message> pending;
    bool focused = true;
    uint8_t keys[256] = {};
    bool paused = false;
    bool pauseAsked = false;

    SoundDevice* audio = nullptr;
    std::vector<int16_t> mixed;
    int64_t lastFeed = 0;         // nanoseconds, at the last feedSound
    int64_t silentRemainder = 0;  // sample fractions, in sample-nanoseconds
};

}  // namespace platform::web
