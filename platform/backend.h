#pragma once
// What a back end supplies under the platform calls. The shared code in
// platform/ keeps surfaces, sound buffers, the message queue and the key
// snapshot in memory; a back end only opens the real window, shows the back
// buffer, plays the mixed sound, reads the keys and tells the time.

#include <cstdint>
#include <deque>

#include "platform/platform.h"

namespace platform {

class Backend {
  public:
    virtual ~Backend() = default;

    // Fault injection: a back end may refuse any creation call by name
    // ("createWindow", "lockBuffer", ...). The real one never does.
    virtual bool refuses(const char* call) { return call == nullptr; }
    // Every platform call is reported here, for the headless call record.
    virtual void note(const char* call, int serial) { (void)call, (void)serial; }

    virtual bool startVideo(const Module* module, int iconId) = 0;
    virtual void stopVideo() = 0;
    virtual bool openWindow(const char* caption, int width, int height) = 0;
    virtual void closeWindow() = 0;
    virtual void setCursorVisible(bool visible) = 0;
    virtual DesktopSize desktopSize() = 0;
    // Turns pending system events into messages at the end of the queue and
    // updates the keyboard focus.
    virtual void pumpEvents(std::deque<Message>& queue) = 0;
    // Pumps as pumpEvents does, sleeping (sleepForEvents) until an event
    // brings a message or the time is up, by the performance counter.
    virtual void waitForEvents(std::deque<Message>& queue, int64_t timeoutMicroseconds);
    // The player's display choice, for the window opened next or the one
    // open now. A machine that cannot switch keeps it as it was given.
    virtual void setDisplayOptions(const DisplayOptions& options) { display = options; }
    virtual DisplayOptions displayOptions() { return display; }
    virtual void showMessageBox(const char* text, const char* caption) = 0;

    virtual bool openScreen(int width, int height) = 0;
    virtual void closeScreen() = 0;
    // Shows the 640 x 480 back buffer at once. It never waits: the loop's
    // one beat paces the frames.
    virtual void present(const Surface& backBuffer) = 0;

    virtual bool performanceFrequency(int64_t& frequency) = 0;
    virtual int64_t performanceCounter() = 0;
    virtual uint32_t milliseconds() = 0;

    // The sound device mixes the live buffers through mixSoundBuffers();
    // lockAudio keeps it out while the game thread changes them.
    virtual bool openAudio(SoundDevice* device) = 0;
    virtual void closeAudio() = 0;
    virtual void lockAudio() {}
    virtual void unlockAudio() {}
    // Asks for a device that plays nowhere at the next openAudio.
    virtual void setSilentAudio(bool silent) { (void)silent; }

    virtual bool hasKeyboardFocus() = 0;
    // The keys held right now, by scan code (bit 7 = down).
    virtual void readKeys(uint8_t (&state)[256]) = 0;
    // What is held on all gamepads together right now.
    virtual PadState readPads() { return {}; }

  protected:
    // Sleeps until the system has an event for the window or `microseconds`
    // are over, whichever comes first; may take events into the queue on the
    // way. False, at once, where there is nothing to wait for: no window, or
    // a machine whose clock moves only when told.
    virtual bool sleepForEvents(std::deque<Message>& queue, int64_t microseconds) {
        (void)queue, (void)microseconds;
        return false;
    }

    DisplayOptions display;
};

void useBackend(Backend* backend);
Backend& backend();

// Tells the player on standard error, where a message box cannot show or a
// terminal is the only place they look: "kordavan: " and the text.
void tellOnStandardError(const char* text);

// Mixes `frames` samples of every playing buffer of the device into `out`
// (signed 16-bit mono at 22050 Hz; null to advance without output) and moves
// their play positions on. Callers hold the audio lock.
void mixSoundBuffers(SoundDevice* device, int16_t* out, int frames);

// What the back ends saw the player do with the mouse, a finger or a file,
// kept until the game takes it (platform.h's takePointerPress and
// takeDroppedFile). A point outside the picture is left out.
void notePointerPress(PicturePoint point);
void noteDroppedFile(std::string path);
// Forgets whatever is waiting, for a machine made afresh.
void forgetPointerAndDrops();

// Finds anew, row by row, where a keyed surface's key colour lies; called
// whenever its pixels or its key change.
void mapKeyColumns(Surface& surface);

}  // namespace platform
