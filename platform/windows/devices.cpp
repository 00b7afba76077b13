// The Windows back end's clocks, keyboard snapshot and XInput gamepads.

#include <cstring>
#include <iterator>
#include <mutex>
#include <thread>

#include "platform/pad.h"
#include "platform/windows/win_machine.h"

namespace platform::windows {

namespace {

constexpr DWORD padSlots = 4;
// Asking after a pad that is not there takes the system a while, so the
// empty slots are tried only this often (milliseconds).
constexpr DWORD emptySlotInterval = 1000;

using GetStateFunction = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

// XInput's names for the pad's buttons, in the order of platform::padButtons.
constexpr WORD buttonCodes[] = {
    XINPUT_GAMEPAD_DPAD_LEFT,
    XINPUT_GAMEPAD_DPAD_RIGHT,
    XINPUT_GAMEPAD_DPAD_UP,
    XINPUT_GAMEPAD_DPAD_DOWN,
    XINPUT_GAMEPAD_A,
    XINPUT_GAMEPAD_B,
    XINPUT_GAMEPAD_X,
    XINPUT_GAMEPAD_Y,
    XINPUT_GAMEPAD_START,
    XINPUT_GAMEPAD_BACK,
    XINPUT_GAMEPAD_LEFT_SHOULDER,
    XINPUT_GAMEPAD_RIGHT_SHOULDER,
};
static_assert(std::size(buttonCodes) == padButtonCount);

bool held(const XINPUT_GAMEPAD& pad, WORD button) {
    return (pad.wButtons & button) != 0;
}

// Set once XInput is loaded and has answered its first question.
std::atomic<GetStateFunction> padReader{nullptr};

// Loading XInput and its first look for pads can take the system seconds
// (Wine starts its device services then), so it happens beside the game,
// once per process; until it is done no pad is held. The library stays
// loaded for the rest of the process.
void startLookingForPads() {
    static std::once_flag started;
    std::call_once(started, [] {
        std::thread([] {
            // Windows 8 and later have 1.4; Windows 7 has 9.1.0 in the system.
            for (const wchar_t* name : {L"xinput1_4.dll", L"xinput9_1_0.dll", L"xinput1_3.dll"}) {
                HMODULE library = LoadLibraryW(name);
                if (library == nullptr) continue;
                // Through void*, the one way to a function's real type that
                // the compiler does not warn about.
                const auto getState = reinterpret_cast<GetStateFunction>(
                    reinterpret_cast<void*>(GetProcAddress(library, "XInputGetState")));
                if (getState == nullptr) continue;
                XINPUT_STATE first{};
                getState(0, &first);
                padReader = getState;
                return;
            }
        }).detach();
    });
}

}  // namespace

// ---------------------------------------------------------------- clocks

bool WinBackend::performanceFrequency(int64_t& frequency) {
    LARGE_INTEGER value;
    if (!QueryPerformanceFrequency(&value)) return false;
    frequency = value.QuadPart;
    return frequency != 0;
}

int64_t WinBackend::performanceCounter() {
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

uint32_t WinBackend::milliseconds() {
    // The system's, not the platform call of the same name that leads here.
    return ::timeGetTime();
}

// ---------------------------------------------------------------- keyboard

bool WinBackend::hasKeyboardFocus() {
    // The end screens read keys without handling messages; the focus is the
    // system's own record, brought up to date by the messages run here.
    dispatchWaiting();
    return window != nullptr && GetFocus() == window;
}

void WinBackend::readKeys(uint8_t (&state)[256]) {
    // The end screens wait for a key without handling messages; running the
    // window's messages here keeps the snapshot fresh, and what the game
    // must hear of waits for pumpEvents.
    dispatchWaiting();
    switchIfAsked();
    std::memcpy(state, keys, sizeof state);
    machineKeys.adjustSnapshot(state);
}

// ---------------------------------------------------------------- gamepads

PadState WinBackend::readPads() {
    PadState state;
    // As with the keyboard, a press made in another window does not count.
    if (window == nullptr || GetFocus() != window) return state;
    startLookingForPads();
    const GetStateFunction getState = padReader;
    if (getState == nullptr) return state;
    const DWORD now = ::timeGetTime();
    const bool tryEmpty = now - padsLookedFor >= emptySlotInterval;
    if (tryEmpty) padsLookedFor = now;
    for (DWORD slot = 0; slot < padSlots; ++slot) {
        const uint32_t bit = 1u << slot;
        if ((padsSeen & bit) == 0 && !tryEmpty) continue;
        XINPUT_STATE read{};
        if (getState(slot, &read) != ERROR_SUCCESS) {
            // A pad pulled out holds nothing from now on.
            padsSeen &= ~bit;
            continue;
        }
        padsSeen |= bit;
        const XINPUT_GAMEPAD& pad = read.Gamepad;
        PadReading reading;
        reading.stickX = pad.sThumbLX;
        // XInput's stick grows upwards; in an int, its lowest reading turns
        // round without overflowing.
        reading.stickY = -static_cast<int>(pad.sThumbLY);
        for (int i = 0; i < padButtonCount; ++i) {
            reading.buttons.*padButtons[i] = held(pad, buttonCodes[i]);
        }
        state = heldOnAny(state, padHolds(reading));
    }
    return state;
}

}  // namespace platform::windows
