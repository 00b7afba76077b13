#pragma once
// The SDL back end's own state, shared by its video, screen and device files.

#include <SDL.h>

#include <cstdint>
#include <span>

#include "platform/backend.h"
#include "platform/sdl/screen_math.h"

namespace platform::sdl {

class SdlBackend final : public Backend {
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
    void lockAudio() override;
    void unlockAudio() override;

    bool hasKeyboardFocus() override;
    void readKeys(uint8_t (&state)[256]) override;

  private:
    void paceFrame();

    SDL_Surface* icon = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;

    SDL_Texture* screen = nullptr;
    int screenWidth = 0;
    int screenHeight = 0;
    bool screenIsAbgr = false;
    int scaleModeSet = -1;  // the SDL_ScaleMode last given to the texture

    // Vsync paces the frames only while the display runs at 60 Hz and the
    // driver really blocks in present; otherwise the pacer keeps the beat.
    bool vsyncTrusted = false;
    int quickPresents = 0;
    uint64_t lastPresentEnd = 0;
    FramePacer pacer;

    SDL_AudioDeviceID audioDevice = 0;
};

// Decodes the window icon, a 24-bit BMP file, into an RGBA surface in which
// pure green (0, 255, 0) is fully transparent and every other pixel fully
// opaque; null when the bytes are no bitmap. Freed with SDL_FreeSurface.
SDL_Surface* decodeIcon(std::span<const uint8_t> bmpFile);

// Gives SDL back entirely once no subsystem is left open.
void quitSdlWhenIdle();

}  // namespace platform::sdl
