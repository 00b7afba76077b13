// The success and failure pictures. They have no step timer and handle no
// window messages: the display paces them, and only Return ends them.

#include "game/end_pictures.h"

#include <algorithm>
#include <cstdint>

#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

namespace {

struct EndPictureRecord {
    Surface** picture;
    platform::SoundBuffer** music;
    int32_t perPass;  // how much further it comes in each pass
    int32_t whole;    // how far it comes in the end
    void (*draw)(Surface* picture, int32_t progress);
};

// The success picture opens from the screen centre like the title's loading
// picture, 3 pixels a pass on each side. Nothing shows for the first 27 passes.
void drawOpeningPicture(Surface* picture, int32_t halfWidth) {
    drawOpening(picture, halfWidth);
}

// The failure picture slides in from the bottom-right corner, its top-left
// part first, 5 pixels a pass.
void drawSlidingPicture(Surface* picture, int32_t rows) {
    drawKeyed(picture, {0, 0, 640 - (480 - rows), rows}, 480 - rows, 480 - rows);
}

const EndPictureRecord winPicture{&surfWinScreen, &sndVictoryMusic, 3, 320, drawOpeningPicture};
const EndPictureRecord failurePicture{&surfGameOverScreen, &sndFailureMusic, 5, 480,
                                      drawSlidingPicture};

const EndPictureRecord* onShow = &winPicture;
// How far the picture on show has come in: the half-width of the success
// picture's opening, or the rows of the failure picture shown so far.
int32_t progress = 0;

}  // namespace

void beginEndPicture(EndPicture picture) {
    onShow = picture == EndPicture::Win ? &winPicture : &failurePicture;
    progress = 0;
    playSound(*onShow->music, platform::DSBPLAY_LOOPING);
}

void drawEndPicture() {
    stopLooping(sndRotorLoop);
    onShow->draw(*onShow->picture, progress);
}

bool dismissEndPicture(const Controls& controls) {
    if (!controls.confirm) return false;
    stopLooping(*onShow->music);
    return true;
}

void advanceEndPicture() {
    progress = std::min(progress + onShow->perPass, onShow->whole);
}
