#pragma once
// The SDL back end's own state, shared by its video, screen and device files.

#include <SDL.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/backend.h"
#include "platform/key_events.h"
#include "platform/picture_scaler.h"
#include "platform/sdl/screen_math.h"

namespace platform::sdl {

// How frames reach the window: OpenGL through SDL's renderer, or the
// window's own framebuffer without OpenGL. Auto picks the framebuffer when
// OpenGL is only a software rasteriser.
enum class RenderPath { Auto, Accelerated, Software };

// The player's choice from KORDAVAN_RENDERER (software, accelerated, auto;
// any case); unset or empty is Auto, anything else is reported and is Auto.
RenderPath requestedRenderPath(const char* setting);

// True for the OpenGL renderer names of drivers that draw on the processor
// (Mesa's llvmpipe, softpipe and swrast, Windows' and Apple's fallbacks).
bool isSoftwareRasteriser(const char* rendererName);

// The 32-bit layouts the widening writes directly: converting ourselves is
// many times faster than handing SDL the RGB565 picture.
inline bool isArgbLayout(Uint32 format) {
    return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
}
inline bool isAbgrLayout(Uint32 format) {
    return format == SDL_PIXELFORMAT_ABGR8888 || format == SDL_PIXELFORMAT_BGR888;
}

class SdlBackend final : public Backend {
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
    RenderPath chooseRenderPath();
    bool createRenderer();
    // Enlarges the back buffer into the window's framebuffer and hands the
    // rows that changed to the window system.
    bool drawIntoFramebuffer(const Surface& backBuffer);
    bool drawConverted(const Surface& backBuffer, SDL_Surface* target, const SDL_Rect& box);
    void uploadToScreen(const Surface& backBuffer);
    bool windowOnScreen();
    void translateEvent(const SDL_Event& event, std::deque<Message>& queue);
    // Mouse presses, taps and dropped files, into the platform's queues.
    void enableDrops();
    void takePress(const SDL_Event& event);
    void takeDrop(const SDL_Event& event);
    void notePress(double windowX, double windowY);
    // Where the frame just shown put the picture, for the presses on it.
    void noteShownPicture(const SDL_Rect& picture, int outputWidth, int outputHeight);
    // Sees every key as SDL takes it from the system, whoever reads the
    // event queue later, so the keys that belong to the machine rather than
    // the game are caught even while the game reads only snapshots.
    static int SDLCALL watchEvent(void* backend, SDL_Event* event);
    // Carries out a switch between window and full screen the player asked for.
    void switchIfAsked();
    void enterFullscreen();
    void enterWindow();
    int chosenWindowScale();
    void showCursorAsWanted();
    void openPads();
    void closePads();
    void updatePads();

    SDL_Surface* icon = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    bool watching = false;
    bool cursorWanted = true;
    // The window's size when the player last left it for full screen, to
    // come back to; 0 until then.
    int windowedWidth = 0;
    int windowedHeight = 0;

    // Told of every key by the event watch, asked by the game thread.
    MachineKeys machineKeys;

    RenderPath chosenPath = RenderPath::Auto;  // decided when video starts
    bool usingFramebuffer = false;
    PictureScaler scaler;
    // The window must be drawn whole at the next frame: it was exposed,
    // resized, shown again or switched between window and full screen.
    bool framebufferStale = true;
    // What the framebuffer holds: the surface, its size and where the picture sits.
    const SDL_Surface* framebufferShown = nullptr;
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    SDL_Rect pictureShown{};
    std::vector<SDL_Rect> changedRects;
    // Where the player last saw the picture, in output pixels; no output
    // until a frame is shown.
    SDL_Rect shownPicture{};
    int shownOutputWidth = 0;
    int shownOutputHeight = 0;
    SDL_Surface* widened =
        nullptr;  // a framebuffer of another depth: the picture before SDL converts

    SDL_Texture* screen = nullptr;
    int screenWidth = 0;
    int screenHeight = 0;
    bool screenIsAbgr = false;
    int scaleModeSet = -1;  // the SDL_ScaleMode last given to the texture

    SDL_AudioDeviceID audioDevice = 0;
    bool silentAudio = false;

    bool padsOpen = false;
    std::vector<SDL_GameController*> pads;
};

// The window icon (platform/window_icon.h) as an ARGB8888 surface; null when
// the bytes are no bitmap. Freed with SDL_FreeSurface.
SDL_Surface* decodeIcon(std::span<const uint8_t> bmpFile);

// Gives SDL back entirely once no subsystem is left open.
void quitSdlWhenIdle();

}  // namespace platform::sdl
