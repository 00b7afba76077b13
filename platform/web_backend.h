#pragma once
// The browser: the page's canvas, its keyboard, touch controls and gamepads,
// Web Audio and performance.now(), for the WebAssembly build of the game.

#include <cstdint>

namespace platform {

// Makes the browser back end the one behind every platform call.
void useWebBackend();

// Hands the program to the browser, which owns the loop. `start` brings the
// game up as a fresh program would, answering false when that failed (its
// teardown has shown why); `frame` then runs once per display frame, at most
// 60 times a second, until it answers false. After either end the page offers
// to play again, which runs `start` once more. Returns at once.
void runBrowserGame(bool (*start)(), bool (*frame)());

// How long the loop has nothing to do after the frame just run, in
// microseconds: on the title and the end pictures the browser calls the
// next frame only then.
void restBeforeNextFrame(int64_t microseconds);

// Whether the start control means something now (on the title and the won
// and lost pictures): the touch controls then offer it, and a tap on the
// picture presses it.
void offerStartControl(bool offered);

}  // namespace platform
