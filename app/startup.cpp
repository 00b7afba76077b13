// Start-up and teardown. Start-up brings the window and the three devices up
// in one fixed order and stops at the first step that fails, keeping its one
// reason; the teardown releases whatever exists, children before parents, and
// only then tells the player, so the message shows on the normal desktop.

#include "app/startup.h"

#include "app/devices.h"
#include "formats/resource_ids.h"
#include "gfx/surfaces.h"
#include "platform/warnings.h"
#include "sound/sound_buffers.h"

platform::Window* appWindow = nullptr;
platform::InputSystem* directInput = nullptr;
platform::KeyboardDevice* keyboardDevice = nullptr;

namespace {

int fail(const char* reason) {
    errorMessage = reason;
    return 0;
}

int openDisplay() {
    directDraw = platform::createDisplay();
    if (directDraw == nullptr) return fail("DirectDrawCreate FAILED");
    if (!platform::queryDisplayInterface(directDraw)) {
        platform::release(directDraw);
        directDraw = nullptr;
        return fail("QueryInterface FAILED");
    }
    if (!platform::setExclusiveFullscreen(directDraw, appWindow)) {
        return fail("SetCooperativeLevel FAILED");
    }
    if (!platform::setDisplayMode(directDraw, 640, 480, 16)) {
        return fail("Error Setting Display Mode");
    }
    primarySurface = platform::createFlipChain(directDraw);
    if (primarySurface == nullptr) return fail("CreateSurface FAILED");
    backBuffer = platform::getBackBuffer(primarySurface);
    if (backBuffer == nullptr) return fail("CreateSurface FAILED");
    return 1;
}

int openSound() {
    directSound = platform::createSoundDevice();
    if (directSound == nullptr) {
        // The message box keeps its text; a warning also says how to play
        // without a sound card.
        platform::warn(
            "kordavan: no sound device could be opened; to play without sound, start "
            "the game with --no-sound\n");
        return fail("DirectSoundCreate FAILED");
    }
    if (!platform::setSoundCooperativeLevel(directSound, appWindow)) {
        return fail("SetCooperativeLevel FAILED");
    }
    return loadSoundBuffers() && createPrimaryBuffer() && query3DBuffer() && set3DParameters();
}

int openKeyboard() {
    directInput = platform::createInputSystem(appInstance);
    if (directInput == nullptr) return fail("DirectInputCreate FAILED");
    keyboardDevice = platform::createKeyboardDevice(directInput);
    if (keyboardDevice == nullptr) return fail("CreateDevice FAILED");
    // A keyboard that cannot be set up ends the program without a word.
    if (!platform::setKeyboardDataFormat(keyboardDevice) ||
        !platform::setKeyboardCooperativeLevel(keyboardDevice, appWindow) ||
        !platform::acquire(keyboardDevice)) {
        platform::release(keyboardDevice);
        keyboardDevice = nullptr;
        return 0;
    }
    return 1;
}

}  // namespace

int initApplication(const platform::Module* instance, int /*showCommand*/) {
    appInstance = instance;
    if (!platform::registerWindowClass(instance, windowProc, resource::icoWindow)) {
        return fail("Error Registering Window Class");
    }
    // The window covers the desktop as it is before the game takes the display.
    const platform::DesktopSize desktop = platform::desktopSize();
    appWindow = platform::createWindow("Kordavan", desktop.width, desktop.height);
    if (appWindow == nullptr) return fail("Error Creating Window");
    platform::showWindow(appWindow);
    platform::updateWindow(appWindow);
    platform::showCursor(false);

    if (!openDisplay()) return 0;
    if (!loadSurfaces()) return 0;
    if (!openSound()) return 0;
    if (!openKeyboard()) return 0;
    return 1;
}

void shutdownApp() {
    releaseSurfaces();
    if (primarySurface != nullptr) {
        platform::release(primarySurface);  // its back buffer goes with it
        primarySurface = nullptr;
        backBuffer = nullptr;
    }
    if (directDraw != nullptr) {
        platform::release(directDraw);
        directDraw = nullptr;
    }
    releaseSoundBuffers();
    if (directSound != nullptr) {
        platform::release(directSound);
        directSound = nullptr;
    }
    if (keyboardDevice != nullptr) {
        platform::unacquire(keyboardDevice);
        platform::release(keyboardDevice);
        keyboardDevice = nullptr;
    }
    if (directInput != nullptr) {
        platform::release(directInput);
        directInput = nullptr;
    }
    if (errorMessage != nullptr) {
        platform::messageBox(errorMessage, "Kordavan");
        errorMessage = nullptr;
    }
}

int64_t windowProc(platform::Window* window, platform::MessageKind kind, int64_t wParam) {
    if (kind == platform::MessageKind::Destroy) {
        // The window is on its way out; nothing may reach it through the old
        // handle. Its devices went before it, in endProgram.
        appWindow = nullptr;
        return 0;
    }
    return platform::defWindowProc(window, kind, wParam);
}
