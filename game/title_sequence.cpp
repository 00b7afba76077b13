// The title pass: what it draws, and what Space and Escape do after it.

#include "game/title_sequence.h"

#include <cstdint>

#include "gfx/surfaces.h"
#include "sound/playback.h"
#include "sound/sound_buffers.h"

void keepTitleMusic() {
    playSound(sndTitleMusic, platform::DSBPLAY_LOOPING);
}

void drawTitle(const TitleSequence& title) {
    drawKeyed(surfTitle, Rect{0, 0, 640, 480}, 0, 0);
    drawOpening(surfLoading, title.openHalfWidth);
    if (title.openHalfWidth == 320) {
        drawKeyed(surfBarFrame, Rect{0, 0, 352, 24}, 144, 380);
        drawKeyed(surfBarFill, Rect{0, 0, title.loadCount / 2, 24}, 144, 380);
    }
    if (title.loadCount < 1) {
        // Once the window reaches past the panel's last row nothing is drawn,
        // and the panel stays away until the scroll starts again from 0.
        const auto top = static_cast<int32_t>(title.creditsScroll);
        const auto bottom = static_cast<int32_t>(title.creditsScroll + 135);
        drawKeyed(surfCredits, Rect{0, top, 288, bottom}, 320, 150);
    }
}

void scrollCredits(TitleSequence& title) {
    if (title.loadCount >= 1) return;
    title.creditsScroll += 0.3;
    if (title.creditsScroll > 600.0) title.creditsScroll = 0.0;
}

TitleOutcome titleAfterShow(TitleSequence& title, const Controls& controls) {
    // Space counts only while the title waits: the start sound plays once.
    if (title.loadCount < 1 && controls.start) {
        title.loadCount = 1;
        playSound(sndStart, 0);
    }
    if (controls.quit) return TitleOutcome::Quits;
    if (title.loadCount < 1) return TitleOutcome::Stays;

    title.openHalfWidth += 3;
    if (title.openHalfWidth >= 320) title.openHalfWidth = 320;
    title.loadCount += 1;
    if (title.loadCount <= 700) return TitleOutcome::Stays;

    stopLooping(sndTitleMusic);
    return TitleOutcome::GameBegins;
}
