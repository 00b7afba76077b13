// kordavan-e2e-ending: the real game in a real window, started at the very
// end of a won or lost game, so that the real-window tests reach the end
// pictures in a second instead of a whole game.
//
//   kordavan-e2e-ending won|lost [--pad | --record FILE]
//
// With --pad a virtual gamepad is plugged in: 90 passes into the picture it
// presses Start (back to the title) and holds it for 30 title passes, as a
// player's slow press, and 90 title passes later Back (quit). Exit code 3
// says that the title did not wait for Space then.
// With --record the game is recorded as a replay, for a replay that reaches
// its end picture at once.

#include <SDL.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/devices.h"
#include "app/keyboard.h"
#include "app/main_loop.h"
#include "app/startup.h"
#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "platform/sdl_backend.h"
#include "replay/recorder.h"
#include "tests/game_ending.h"

namespace {

SDL_Joystick* pad = nullptr;
int picturePasses = 0;
int titlePasses = 0;
bool titleLeft = false;

void press(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(pad, button, 1);
}

// Every pass draws, so the draws count the passes.
void countPasses(const Surface* source, const Rect&, int, int) {
    if (source == surfWinScreen || source == surfGameOverScreen) {
        if (++picturePasses == 90) press(SDL_CONTROLLER_BUTTON_START);
    } else if (source == surfTitle) {
        ++titlePasses;
        if (titlePasses == 30) SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 0);
        if (titlePasses == 90) {
            titleLeft = !titleWaiting();
            press(SDL_CONTROLLER_BUTTON_BACK);
        }
    }
}

bool plugInPad() {
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    description.name = "Kordavan window test pad";
    const int index = SDL_JoystickAttachVirtualEx(&description);
    if (index < 0) return false;
    pad = SDL_JoystickOpen(index);
    return pad != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::strcmp(argv[1], "won") != 0 && std::strcmp(argv[1], "lost") != 0)) {
        SDL_Log("usage: kordavan-e2e-ending won|lost [--pad | --record FILE]");
        return 2;
    }
    platform::useSdlBackend();
    if (initApplication(platform::gameModule(), 1) == 0) {
        shutdownApp();
        return 1;
    }
    if (argc > 2 && std::strcmp(argv[2], "--pad") == 0) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0 || !plugInPad()) {
            SDL_Log("no virtual gamepad: %s", SDL_GetError());
            platform::destroyWindow(appWindow);
            return 1;
        }
        setDrawObserver(countPasses);
    }
    setUpGameEnding(std::strcmp(argv[1], "won") == 0);
    ReplayRecorder recorder;
    std::vector<LoopListener*> listeners;
    if (argc > 3 && std::strcmp(argv[2], "--record") == 0) {
        std::string error;
        if (!recorder.start(argv[3], error)) {
            SDL_Log("%s", error.c_str());
            platform::destroyWindow(appWindow);
            return 1;
        }
        listeners.push_back(&recorder);
    }
    const int exitCode = runMainLoop(LoopStart::game(), deviceControls(), listeners);
    recorder.stop();
    if (pad != nullptr) {
        SDL_JoystickClose(pad);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    platform::finish();
    if (titleLeft) {
        SDL_Log("the Start that dismissed the picture started a game");
        return 3;
    }
    return exitCode;
}
