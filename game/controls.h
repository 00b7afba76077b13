#pragma once
// What the player holds at one poll, whatever the device, and the rules that
// turn it into the helicopter's motion.

struct Controls {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool land = false;
    bool start = false;    // leaves the title for the loading sequence
    bool confirm = false;  // dismisses a won or lost picture
    bool quit = false;
    bool pause = false;       // the loop's, not the game's: play stops until it is pressed again
    bool screenshot = false;  // nor this: the frame on screen is saved as a picture
};

// The arrows and the landing key, after each game step. Quitting is the
// loop's business.
void applyGameControls(const Controls& controls);
