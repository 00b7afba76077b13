#pragma once
// Where the game's 640 x 480 picture goes in a window or screen of any size,
// and how large a window to open: one rule for every desktop, so the game
// looks the same wherever it runs.

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

// The window's size in multiples of 640 x 480: the one asked for, or with 0
// the largest that fits the space the desktop leaves, and never less than 1.
int windowScale(int requested, int availableWidth, int availableHeight);

}  // namespace platform
