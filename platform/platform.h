#pragma once
// The machine as the game sees it: resources built into the executable, a
// window with its message queue, clocks, the display with its flip chain and
// off-screen pictures, sound buffers, and the keyboard.
//
// One back end implements it, chosen when the program starts: SDL on Linux
// (platform/sdl_backend.h), the Win32 API on Windows, the page in a browser,
// and a headless one for tests and tools (platform/headless.h). The rules
// they share (the picture's fit, the machine's keys, the pad, the icon, the
// wait for events) sit once in platform/ above them. Nothing here includes
// SDL, and game code never knows which back end runs.
//
// Creation calls answer null or false on failure; the start-up code decides
// what that means. Calls made during play are never checked by the game.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "formats/bmp_decoder.h"

namespace platform {

// ---------------------------------------------------------------- resources

enum class ResourceType { Bitmap, Wave, Icon };

struct Resource {
    ResourceType type;
    int id;
    std::span<const uint8_t> bytes;
};

// The resources a program carries, like the resource section of an executable.
struct Module {
    std::vector<Resource> resources;
};

// The pictures, sounds and icon built into this program.
const Module* gameModule();

// The resource of that type and id (only the low 16 bits of the id count), or
// null when the module has none.
const Resource* findResource(const Module* module, ResourceType type, int id);

// ---------------------------------------------------------------- window

struct Window;

enum class MessageKind {
    Destroy,      // the window is being destroyed
    Close,        // the player or the window manager asks the window to close
    Quit,         // posted by postQuitMessage; ends the main loop
    FocusLost,    // another window took the keyboard
    FocusGained,  // the keyboard is ours again
    Exposed,      // the window lost its picture (uncovered, restored, resized): show it again
    Other,
};

struct Message {
    MessageKind kind = MessageKind::Other;
    int64_t wParam = 0;
};

using WindowProc = int64_t (*)(Window* window, MessageKind kind, int64_t wParam);

// Makes windows possible at all and names the procedure that receives their
// messages; the icon is the module's Icon resource of that id.
bool registerWindowClass(const Module* module, WindowProc proc, int iconId);
void unregisterWindowClass();
// A borderless window covering the desktop; null on failure.
Window* createWindow(const char* caption, int width, int height);
void showWindow(Window* window);
void updateWindow(Window* window);
void showCursor(bool visible);
// Sends Destroy to the window procedure, then removes the window.
void destroyWindow(Window* window);
// What a window does with a message its procedure leaves alone: Close
// destroys the window, everything else is ignored.
int64_t defWindowProc(Window* window, MessageKind kind, int64_t wParam);

// Takes the next message off the queue. The quit message comes only once no
// other message is waiting.
bool peekMessage(Message& message);
// Sleeps until a message arrives or the time is up, whichever comes first,
// so a loop with nothing to do gives the processor back; returns at once when
// a message is already waiting. True when one waits. Keys and other events
// the game reads as snapshots may end the wait early without a message.
bool waitForMessage(int64_t timeoutMicroseconds);
// Takes a pending close request (the window's close button, or the system
// asking the program to end) off the queue and reports it; every other
// message stays queued in its order. For the pictures that wait for a key
// without handling messages.
bool takeCloseRequest();
void translateMessage(const Message& message);
void dispatchMessage(const Message& message);
void postQuitMessage(int exitCode);

struct DesktopSize {
    int width;
    int height;
};
DesktopSize desktopSize();

// One box with a single OK button; on standard error where none can be shown.
void messageBox(const char* text, const char* caption);

// How the player wants to see the game. The window takes the choice when it
// is created; F11 and Alt+Enter switch between window and full screen at any
// time, which displayOptions() then reports.
struct DisplayOptions {
    bool fullscreen = true;
    // The window's size in whole multiples of 640 x 480; 0 for the largest
    // that fits the desktop.
    int scale = 0;
    // Enlarges the picture by whole multiples only, so every pixel stays sharp
    // and of one size; the rest of the window stays black.
    bool integerScale = false;
};
// Before the window exists, for the window to come; afterwards it switches
// the window at once.
void setDisplayOptions(const DisplayOptions& options);
DisplayOptions displayOptions();

// ---------------------------------------------------------------- clocks

bool queryPerformanceFrequency(int64_t& frequency);
int64_t queryPerformanceCounter();
uint32_t timeGetTime();  // milliseconds, wraps after 2^32

// ---------------------------------------------------------------- display

struct Rect {
    int32_t left;
    int32_t top;
    int32_t right;   // exclusive
    int32_t bottom;  // exclusive
};

struct PixelFormat {
    uint32_t bitsPerPixel;
    uint32_t redMask;
    uint32_t greenMask;
    uint32_t blueMask;
};

// Every picture is RGB565 in memory, rows top to bottom.
constexpr PixelFormat displayFormat{16, 0xF800, 0x07E0, 0x001F};

// The columns of one row of a keyed picture from its first to its last
// key-coloured pixel; first > last when the row has none.
struct KeyColumns {
    int32_t first = 0;
    int32_t last = -1;
};

struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint16_t> pixels;  // width * height
    bool keyed = false;
    uint16_t colorKey = 0;
    // Per row, where the key colour lies, found once when the key is set
    // (and again when a bitmap is copied in): a copy that misses it is a
    // plain row copy, so full pictures such as the sky skip the key test.
    std::vector<KeyColumns> keyColumns;
};

struct Display;

Display* createDisplay();
bool queryDisplayInterface(Display* display);
bool setExclusiveFullscreen(Display* display, Window* window);
bool setDisplayMode(Display* display, int width, int height, int bitsPerPixel);
// The primary surface of a flip chain with one back buffer.
Surface* createFlipChain(Display* display);
Surface* getBackBuffer(Surface* primary);
Surface* createSurface(Display* display, int width, int height);
PixelFormat getPixelFormat(Surface* surface);
void setColorKey(Surface* surface, uint32_t key);
// Copies a source rectangle to (x, y), leaving out pixels equal to the
// source's colour key. Draws nothing, and answers false, when the rectangle
// is empty or inverted, does not lie inside the source, or would not land
// wholly inside the target.
bool bltFast(Surface* target, int x, int y, Surface* source, const Rect& sourceRect);
// Shows the back buffer and returns at once: the main loop's one beat paces
// the frames, never the display.
void flip(Surface* primary);
void release(Surface* surface);  // the primary takes its back buffer with it
void release(Display* display);

// A decoded bitmap resource, already in the display format.
using Bitmap = formats::Bitmap;

// Null when the module has no such bitmap or its bytes are not a bitmap.
Bitmap* loadBitmap(const Module* module, int resourceId);
void copyBitmap(const Bitmap* bitmap, Surface* target);
void deleteBitmap(Bitmap* bitmap);

// ---------------------------------------------------------------- sound

struct WaveFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t cbSize;
};

struct Vector3 {
    float x, y, z;
};

struct ListenerParameters {
    Vector3 position, velocity, orientFront, orientTop;
    float distanceFactor, rolloffFactor, dopplerFactor;
};

struct Buffer3DParameters {
    Vector3 position, velocity;
    uint32_t insideConeAngle, outsideConeAngle;
    Vector3 coneOrientation;
    int32_t coneOutsideVolume;
    float minDistance, maxDistance;
    uint32_t mode;
};

constexpr uint32_t DSBSTATUS_PLAYING = 1;
constexpr uint32_t DSBSTATUS_LOOPING = 4;
constexpr uint32_t DSBPLAY_LOOPING = 1;
constexpr int32_t DSBPAN_CENTER = 0;
constexpr uint32_t DS3DMODE_HEADRELATIVE = 1;

struct SoundDevice;
struct SoundBuffer;
struct Listener3D;
struct Buffer3D;

SoundDevice* createSoundDevice();
bool setSoundCooperativeLevel(SoundDevice* device, Window* window);
// The most sample bytes a sound buffer holds: some 50 minutes at 22050 Hz.
constexpr uint32_t maxSoundBufferBytes = 64u << 20;
// A static buffer of 8-bit mono samples at 22050 Hz; null for 0 bytes, more
// than maxSoundBufferBytes or any other format.
SoundBuffer* createSoundBuffer(SoundDevice* device, const WaveFormat& format, uint32_t bytes);
SoundBuffer* createPrimaryBuffer(SoundDevice* device);
bool lockBuffer(SoundBuffer* buffer, uint32_t offset, uint32_t length, uint8_t** region,
                uint32_t* regionLength);
bool unlockBuffer(SoundBuffer* buffer, uint8_t* region, uint32_t written);
Listener3D* queryListener(SoundBuffer* primary);
Buffer3D* query3DBuffer(SoundBuffer* buffer);
bool getListenerParameters(Listener3D* listener, ListenerParameters& parameters);
bool setListenerParameters(Listener3D* listener, const ListenerParameters& parameters);
bool getBuffer3DParameters(Buffer3D* buffer, Buffer3DParameters& parameters);
bool setBuffer3DParameters(Buffer3D* buffer, const Buffer3DParameters& parameters);

uint32_t getStatus(SoundBuffer* buffer);
void setPan(SoundBuffer* buffer, int32_t pan);
// Plays from the current position; a one-shot that ran to its end stands at
// its start again.
void play(SoundBuffer* buffer, uint32_t flags);
// Stops and keeps the position, so the next play resumes there.
void stop(SoundBuffer* buffer);
uint32_t playPosition(SoundBuffer* buffer);
// Holds every sound of the device where it is: nothing plays and no play
// position moves until it is resumed, and then each goes on from its place.
void pauseSound(SoundDevice* device, bool paused);

struct SoundOptions {
    // A device that plays nowhere but keeps time as a real one does, so the
    // game runs the same on a machine without a sound card.
    bool silent = false;
    int volume = 100;  // percent of full loudness, 0 to 100
};
// Silence counts for the next sound device; the volume at once.
void setSoundOptions(const SoundOptions& options);
SoundOptions soundOptions();

void release(SoundBuffer* buffer);
void release(Listener3D* listener);
void release(Buffer3D* buffer);
void release(SoundDevice* device);

// ---------------------------------------------------------------- keyboard

enum class InputResult { Ok, InputLost, NotAcquired };

struct InputSystem;
struct KeyboardDevice;

InputSystem* createInputSystem(const Module* module);
KeyboardDevice* createKeyboardDevice(InputSystem* input);
bool setKeyboardDataFormat(KeyboardDevice* keyboard);
bool setKeyboardCooperativeLevel(KeyboardDevice* keyboard, Window* window);
// Succeeds only while our window has the keyboard focus.
bool acquire(KeyboardDevice* keyboard);
void unacquire(KeyboardDevice* keyboard);
// Fills one byte per scan code, bit 7 set while the key is down. While the
// device is unacquired after a focus loss every read reports InputLost and
// gives all keys up, so no key stays held while the player is elsewhere.
InputResult getDeviceState(KeyboardDevice* keyboard, uint8_t (&state)[256]);
void release(KeyboardDevice* keyboard);
void release(InputSystem* input);

// ---------------------------------------------------------------- gamepads

// What the player holds on the gamepads plugged in right now, all of them
// together: a direction or button counts when any pad has it. The d-pad and
// the left stick give the directions; south is the lower face button (A or
// Cross), back is Back or Select; east, west and north are the other face
// buttons, and the two shoulder buttons. Pads come and go at any time; a pad
// pulled out holds nothing. As with the keyboard, a press made while another
// window has the focus does not count.
struct PadState {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool south = false;
    bool start = false;
    bool back = false;
    bool east = false;
    bool west = false;
    bool north = false;
    bool leftShoulder = false;
    bool rightShoulder = false;
};
PadState readPad();

// ---------------------------------------------------------------- pointer and dropped files

// A place on the 640 x 480 picture, whatever size the window shows it at.
struct PicturePoint {
    int x = 0;
    int y = 0;
};
// The oldest press of the mouse's main button, or tap, on the picture that no
// one has taken yet; false when there is none. A press on the black bars
// around the picture is none, and only the last few presses are kept.
bool takePointerPress(PicturePoint& point);
// The oldest file the player dropped onto the window that no one has taken
// yet (its path, UTF-8); false when there is none.
bool takeDroppedFile(std::string& path);

// Scan codes of the main keyboard.
// clang-format off
enum : uint8_t {
    DIK_ESCAPE = 0x01, DIK_1 = 0x02, DIK_2 = 0x03, DIK_3 = 0x04, DIK_4 = 0x05, DIK_5 = 0x06,
    DIK_6 = 0x07, DIK_7 = 0x08, DIK_8 = 0x09, DIK_9 = 0x0A, DIK_0 = 0x0B, DIK_MINUS = 0x0C,
    DIK_EQUALS = 0x0D, DIK_BACK = 0x0E, DIK_TAB = 0x0F, DIK_Q = 0x10, DIK_W = 0x11, DIK_E = 0x12,
    DIK_R = 0x13, DIK_T = 0x14, DIK_Y = 0x15, DIK_U = 0x16, DIK_I = 0x17, DIK_O = 0x18,
    DIK_P = 0x19, DIK_LBRACKET = 0x1A, DIK_RBRACKET = 0x1B, DIK_RETURN = 0x1C,
    DIK_LCONTROL = 0x1D, DIK_A = 0x1E, DIK_S = 0x1F, DIK_D = 0x20, DIK_F = 0x21, DIK_G = 0x22,
    DIK_H = 0x23, DIK_J = 0x24, DIK_K = 0x25, DIK_L = 0x26, DIK_SEMICOLON = 0x27,
    DIK_APOSTROPHE = 0x28, DIK_GRAVE = 0x29, DIK_LSHIFT = 0x2A, DIK_BACKSLASH = 0x2B,
    DIK_Z = 0x2C, DIK_X = 0x2D, DIK_C = 0x2E, DIK_V = 0x2F, DIK_B = 0x30, DIK_N = 0x31,
    DIK_M = 0x32, DIK_COMMA = 0x33, DIK_PERIOD = 0x34, DIK_SLASH = 0x35, DIK_RSHIFT = 0x36,
    DIK_MULTIPLY = 0x37, DIK_LMENU = 0x38, DIK_SPACE = 0x39, DIK_CAPITAL = 0x3A, DIK_F1 = 0x3B,
    DIK_F2 = 0x3C, DIK_F3 = 0x3D, DIK_F4 = 0x3E, DIK_F5 = 0x3F, DIK_F6 = 0x40, DIK_F7 = 0x41,
    DIK_F8 = 0x42, DIK_F9 = 0x43, DIK_F10 = 0x44, DIK_NUMLOCK = 0x45, DIK_SCROLL = 0x46,
    DIK_NUMPAD7 = 0x47, DIK_NUMPAD8 = 0x48, DIK_NUMPAD9 = 0x49, DIK_SUBTRACT = 0x4A,
    DIK_NUMPAD4 = 0x4B, DIK_NUMPAD5 = 0x4C, DIK_NUMPAD6 = 0x4D, DIK_ADD = 0x4E,
    DIK_NUMPAD1 = 0x4F, DIK_NUMPAD2 = 0x50, DIK_NUMPAD3 = 0x51, DIK_NUMPAD0 = 0x52,
    DIK_DECIMAL = 0x53, DIK_F11 = 0x57, DIK_F12 = 0x58, DIK_NUMPADENTER = 0x9C,
    DIK_RCONTROL = 0x9D, DIK_DIVIDE = 0xB5, DIK_RMENU = 0xB8, DIK_PAUSE = 0xC5, DIK_HOME = 0xC7,
    DIK_UP = 0xC8, DIK_PRIOR = 0xC9, DIK_LEFT = 0xCB, DIK_RIGHT = 0xCD, DIK_END = 0xCF,
    DIK_DOWN = 0xD0, DIK_NEXT = 0xD1, DIK_INSERT = 0xD2, DIK_DELETE = 0xD3, DIK_LWIN = 0xDB,
    DIK_RWIN = 0xDC,
};
// clang-format on

// ---------------------------------------------------------------- process

// Gives everything back to the system once the program is done.
void finish();

}  // namespace platform
