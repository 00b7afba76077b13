#pragma once
// The title: the title picture with the credits panel scrolling in its window
// and the title music looping; Space starts the loading sequence, in which the
// loading picture opens from the centre and the loading bar fills. All its
// motion is counted in passes, one pass per displayed frame.

#include "game/controls.h"

struct TitleSequence {
    int loadCount = 0;      // 0 waits for Space; 1..701 counts the loading passes
    int openHalfWidth = 0;  // of the loading picture's opening, 0..320
    double creditsScroll = 0.0;
};

// Runs every pass, so the music starts again whenever it is not playing.
void keepTitleMusic();
void drawTitle(const TitleSequence& title);
// The credits move on while the title waits for Space, and stop once loading
// begins.
void scrollCredits(TitleSequence& title);

enum class TitleOutcome { Stays, Quits, GameBegins };
// The keys of a pass, after it has been shown.
TitleOutcome titleAfterShow(TitleSequence& title, const Controls& controls);
