// The success and failure pictures. They have no step timer and handle no
// window messages: the display paces them, and only Return ends them.

#include "game/end_pictures.h"

#include <cstdint>

#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

// How far the picture on show has come in: the half-width of the success
// picture's opening, or the rows of the failure picture shown so far.
int32_t progress = 0;

}  // namespace

void beginWinPicture() {
    progress = 0;
    playSound(sndVictoryMusic, platform::DSBPLAY_LOOPING);
}

// The success picture opens from the screen centre like the title's loading
// picture, 3 pixels a pass on each side. Nothing shows for the first 27 passes.
void drawWinPicture() {
    stopLooping(sndRotorLoop);
    drawOpening(surfWinScreen, progress);
}

bool winPictureDismissed(const Controls& controls) {
    if (controls.confirm) {
        stopLooping(sndVictoryMusic);
        return true;
    }
    progress += 3;
    if (progress > 320) progress = 320;
    return false;
}

void beginFailurePicture() {
    progress = 0;
    playSound(sndFailureMusic, platform::DSBPLAY_LOOPING);
}

// The failure picture slides in from the bottom-right corner, its top-left
// part first, 5 pixels a pass.
void drawFailurePicture() {
    stopLooping(sndRotorLoop);
    drawKeyed(surfGameOverScreen, {0, 0, 640 - (480 - progress), progress}, 480 - progress,
              480 - progress);
}

bool failurePictureDismissed(const Controls& controls) {
    if (controls.confirm) {
        stopLooping(sndFailureMusic);
        return true;
    }
    progress += 5;
    if (progress > 480) progress = 480;
    return false;
}
