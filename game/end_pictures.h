#pragma once
// The full-screen pictures that end a game: the success picture after the
// climb, the failure picture after the crash. Each shows pass after pass, one
// a frame at the main loop's beat, until the player confirms with Return.

#include "game/controls.h"

enum class EndPicture { Win, Failure };

// The picture shows from its first pass on, its music looping.
void beginEndPicture(EndPicture picture);
// One pass: the rotor beat is kept quiet and the picture on show is drawn as
// far as it has come in.
void drawEndPicture();
// After the pass has been shown: Return stops the picture's music and
// dismisses it, answering true.
bool dismissEndPicture(const Controls& controls);
// A picture not dismissed comes in a little further for the next pass.
void advanceEndPicture();
