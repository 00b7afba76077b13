#pragma once
// The browser: the page's canvas, its keyboard, Web Audio and
// performance.now(), for the WebAssembly build of the game.

namespace platform {

// Makes the browser back end the one behind every platform call.
void useWebBackend();

// Hands the loop to the browser, which owns it: `frame` runs once per display
// frame, at most 60 times a second, until it answers false; then the page
// says that the game has ended. Returns at once.
void runBrowserFrames(bool (*frame)());

}  // namespace platform
