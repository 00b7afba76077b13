// The keyboard device. It can be read only while acquired, and acquiring
// works only while our window has the keyboard focus. When the focus goes,
// the device loses its acquisition and says "input lost" at every read, with
// all keys up, until the game acquires it again: so a player coming back from
// another window always gets the keyboard back, and no key stays held while
// they are away.

#include <cstring>

#include "platform/backend.h"

namespace platform {

struct InputSystem {
    int serial;
};

struct KeyboardDevice {
    int serial;
    bool formatSet = false;
    bool acquired = false;
    bool lost = false;  // acquisition went with the focus
    bool everAcquired = false;
};

namespace {
int serials = 0;
}  // namespace

InputSystem* createInputSystem(const Module* module) {
    InputSystem* input = nullptr;
    if (module != nullptr && !backend().refuses("createInputSystem")) {
        input = new InputSystem{++serials};
    }
    backend().note("createInputSystem", input ? input->serial : 0);
    return input;
}

KeyboardDevice* createKeyboardDevice(InputSystem* input) {
    KeyboardDevice* keyboard = nullptr;
    if (input != nullptr && !backend().refuses("createKeyboardDevice")) {
        keyboard = new KeyboardDevice{++serials};
    }
    backend().note("createKeyboardDevice", keyboard ? keyboard->serial : 0);
    return keyboard;
}

bool setKeyboardDataFormat(KeyboardDevice* keyboard) {
    backend().note("setKeyboardDataFormat", keyboard ? keyboard->serial : 0);
    if (keyboard == nullptr || backend().refuses("setKeyboardDataFormat")) return false;
    keyboard->formatSet = true;
    return true;
}

bool setKeyboardCooperativeLevel(KeyboardDevice* keyboard, Window* window) {
    backend().note("setKeyboardCooperativeLevel", keyboard ? keyboard->serial : 0);
    return keyboard != nullptr && window != nullptr &&
           !backend().refuses("setKeyboardCooperativeLevel");
}

bool acquire(KeyboardDevice* keyboard) {
    backend().note("acquire", keyboard ? keyboard->serial : 0);
    if (keyboard == nullptr || !keyboard->formatSet || backend().refuses("acquire")) return false;
    // The window manager hands a new window the focus a moment after it
    // appears, so the first acquisition at start-up does not wait for it; a
    // read without focus then reports input lost like any later focus loss.
    if (!backend().hasKeyboardFocus() && keyboard->everAcquired) return false;
    keyboard->everAcquired = true;
    keyboard->acquired = true;
    keyboard->lost = false;
    return true;
}

void unacquire(KeyboardDevice* keyboard) {
    if (keyboard == nullptr) return;
    backend().note("unacquire", keyboard->serial);
    keyboard->acquired = false;
    keyboard->lost = false;
}

InputResult getDeviceState(KeyboardDevice* keyboard, uint8_t (&state)[256]) {
    if (keyboard == nullptr) return InputResult::NotAcquired;
    if (keyboard->acquired && !backend().hasKeyboardFocus()) {
        keyboard->acquired = false;
        keyboard->lost = true;
    }
    if (!keyboard->acquired) {
        if (!keyboard->lost) return InputResult::NotAcquired;
        std::memset(state, 0, sizeof state);
        return InputResult::InputLost;
    }
    backend().readKeys(state);
    return InputResult::Ok;
}

PadState readPad() {
    return backend().readPads();
}

void release(KeyboardDevice* keyboard) {
    if (keyboard == nullptr) return;
    backend().note("releaseKeyboardDevice", keyboard->serial);
    delete keyboard;
}

void release(InputSystem* input) {
    if (input == nullptr) return;
    backend().note("releaseInputSystem", input->serial);
    delete input;
}

}  // namespace platform
