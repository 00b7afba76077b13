#pragma once
// A machine in memory, for tests and tools: surfaces hold their pixels, flip
// counts frames without waiting, the clock moves only when told, the keyboard
// plays a script, sound buffers advance by one display frame of samples
// (22050 / 60) at every flip, every call is recorded, and any creation call
// can be told to fail.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform::headless {

// Makes a fresh headless machine the one behind every platform call.
void use();

struct Call {
    std::string name;
    int serial;  // of the object the call was made on or created, 0 for none
};
const std::vector<Call>& calls();
void clearCalls();

// The next call of that name (the names of the platform functions, e.g.
// "createWindow", "lockBuffer", "acquire") fails, or the nth one from now.
void failCall(const std::string& name, int nth = 1);

// The clock: both the performance counter (1 MHz) and the millisecond clock
// follow it. With auto-advance every read of the performance counter moves
// time on by that many microseconds, so a spinning loop never stalls.
void setMicroseconds(int64_t now);
void advanceMicroseconds(int64_t delta);
void setAutoAdvance(int64_t microsecondsPerRead);
void setPerformanceCounterAvailable(bool available);

// The keyboard: the keys held from now on, until changed.
void setKeys(const std::vector<uint8_t>& scanCodesDown);
void setFocus(bool focused);
// Or a script: every read of the device takes the next snapshot (scan codes
// held). A read that finds the script used up gives no keys and calls
// onExhausted, if set.
using Snapshot = std::vector<uint8_t>;
void setKeyScript(std::vector<Snapshot> script, void (*onExhausted)() = nullptr);
size_t keyScriptRemaining();

// Gamepads: what all pads together hold from now on, until changed.
void setPad(const PadState& pad);

// The player clicks or taps the picture at (x, y), or drops a file onto the
// window, as a window system would report it.
void pressPointer(int x, int y);
void dropFile(const std::string& path);

// The player switches between window and full screen, as F11 does.
void switchDisplay();

// The waits for a message the program asked for: how many, and how long the
// last one was to be. The clock does not move while it waits.
int waitCount();
int64_t lastWaitMicroseconds();

// What was last shown by flip, and how many flips there were.
const Surface& screen();
int flipCount();
int messageBoxCount();
const std::string& lastMessageBox();

// Posts a message as the window system would (e.g. Close).
void postSystemMessage(MessageKind kind);

}  // namespace platform::headless
