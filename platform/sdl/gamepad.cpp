// The SDL back end's gamepads, through SDL's game controller layer, which
// names the buttons by where they sit whatever the maker calls them. The game
// reads them as a snapshot, as it reads the keyboard, so pads are looked for
// and their state brought up to date at each read rather than by events.

#include <SDL.h>

#include <algorithm>
#include <iterator>

#include "platform/pad.h"
#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

// SDL's names for the pad's buttons, in the order of platform::padButtons.
constexpr SDL_GameControllerButton buttonCodes[] = {
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
    SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
};
static_assert(std::size(buttonCodes) == padButtonCount);

bool held(SDL_GameController* pad, SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(pad, button) != 0;
}

}  // namespace

void SdlBackend::openPads() {
    if (padsOpen) {
        return;
    }
    // SDL would otherwise look at the pads between every two events, which
    // turns a wait for the next event into a poll every millisecond as soon
    // as one is plugged in; readPads looks at them itself, once a frame.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        // No pads then; the keyboard still works.
        SDL_ResetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS);
        return;
    }
    // Only the state is read, so the events would just pile up unread.
    SDL_JoystickEventState(SDL_IGNORE);
    SDL_GameControllerEventState(SDL_IGNORE);
    padsOpen = true;
}

void SdlBackend::closePads() {
    for (SDL_GameController* pad : pads) {
        SDL_GameControllerClose(pad);
    }
    pads.clear();
    if (!padsOpen) {
        return;
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_ResetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS);
    padsOpen = false;
}

void SdlBackend::updatePads() {
    SDL_GameControllerUpdate();
    // A pad pulled out is closed at once, so nothing it held lingers.
    const auto gone = std::remove_if(pads.begin(), pads.end(), [](SDL_GameController* pad) {
        if (SDL_GameControllerGetAttached(pad)) {
            return false;
        }
        SDL_GameControllerClose(pad);
        return true;
    });
    pads.erase(gone, pads.end());
    bool opened = false;
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (!SDL_IsGameController(index)) {
            continue;
        }
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
        const bool known = std::any_of(pads.begin(), pads.end(), [id](SDL_GameController* pad) {
            return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) == id;
        });
        if (id < 0 || known) {
            continue;
        }
        if (SDL_GameController* pad = SDL_GameControllerOpen(index)) {
            pads.push_back(pad);
            opened = true;
        }
    }
    if (opened) {
        // Some pads report what is held only at their first update after opening.
        SDL_GameControllerUpdate();
    }
}

PadState SdlBackend::readPads() {
    PadState state;
    if (!padsOpen) {
        return state;
    }
    updatePads();
    for (SDL_GameController* pad : pads) {
        PadReading reading;
        reading.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        reading.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        for (int i = 0; i < padButtonCount; ++i) {
            reading.buttons.*padButtons[i] = held(pad, buttonCodes[i]);
        }
        state = heldOnAny(state, padHolds(reading));
    }
    return state;
}

}  // namespace platform::sdl
