#pragma once
// The full-screen pictures that end a game: the success picture after the
// climb, the failure picture after the crash. Each shows pass after pass,
// paced by the display alone, until the player confirms with Return.

#include "game/controls.h"

void beginWinPicture();
// One pass: the rotor beat is kept quiet and the picture opens a little more.
void drawWinPicture();
// After the pass has been shown: true once Return has dismissed the picture.
bool winPictureDismissed(const Controls& controls);

void beginFailurePicture();
void drawFailurePicture();
bool failurePictureDismissed(const Controls& controls);
