#pragma once
// Where the game's 640 x 480 picture goes in a window or screen of any size,
// and how large a window to open: one rule for every desktop, so the game
// looks the same wherever it runs.

#include "platform/platform.h"

namespace platform {

// The game's picture, whatever the size of the window that shows it.
constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

struct PictureFit {
    int x = 0;  // where the picture goes, in output pixels
    int y = 0;
    int width = pictureWidth;
    int height = pictureHeight;
    bool wholeScale = true;  // enlarged by a whole number, so nearest pixels stay sharp
};

// The largest 4:3 rectangle centred in the output; the rest stays black.
// With wholeMultiplesOnly the picture grows only by whole multiples, so every
// pixel stays sharp and square, unless the output is too small for even one
// and the picture must shrink. An output with no pixels gets the picture at
// its own size.
PictureFit fitPicture(int outputWidth, int outputHeight, bool wholeMultiplesOnly = false);

// The picture's pixel under a place in the output where it is shown as
// `fit`, or false on the bars around it. The place is in output pixels and
// may fall between them, as a finger's or a scaled desktop's does; the middle
// of a mouse pixel is half a pixel in.
bool pictureAt(const PictureFit& fit, double outputX, double outputY, PicturePoint& point);

// The window's size in multiples of 640 x 480: the one asked for, or with 0
// the largest that fits the space the desktop leaves, and never less than 1.
int windowScale(int requested, int availableWidth, int availableHeight);

}  // namespace platform
