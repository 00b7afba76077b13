#pragma once
// Where the game's 640 x 480 picture goes in a window of any size, and how
// large a window to open: the same choices as on the other desktops.

namespace platform::windows {

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

struct PictureFit {
    int x = 0;
    int y = 0;
    int width = pictureWidth;
    int height = pictureHeight;
    bool wholeScale = true;  // enlarged by a whole number, so nearest pixels stay sharp
};

// The largest 4:3 rectangle centred in the output; the rest stays black.
// With wholeMultiplesOnly the picture grows by whole multiples only, unless
// the output is too small for even one and the picture must shrink.
PictureFit fitPicture(int outputWidth, int outputHeight, bool wholeMultiplesOnly);

// The window's size in multiples of 640 x 480: the one asked for, or with 0
// the largest that fits the space the desktop leaves, and never less than 1.
int windowScale(int requested, int availableWidth, int availableHeight);

}  // namespace platform::windows
