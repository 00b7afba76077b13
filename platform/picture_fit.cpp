// The picture's place in any output, in integers only, so that the same
// output always gets the same rectangle on every machine.

#include "platform/picture_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform {

PictureFit fitPicture(int outputWidth, int outputHeight, bool wholeMultiplesOnly) {
    if (outputWidth <= 0 || outputHeight <= 0) return PictureFit{};
    const int whole = std::min(outputWidth / pictureWidth, outputHeight / pictureHeight);
    PictureFit fit;
    const int64_t w = outputWidth;
    const int64_t h = outputHeight;
    if (wholeMultiplesOnly && whole >= 1) {
        fit.width = pictureWidth * whole;
        fit.height = pictureHeight * whole;
        fit.wholeScale = true;
    } else if (w * pictureHeight <= h * pictureWidth) {
        // Narrower than 4:3: full width, bars above and below. Compared in
        // integers so an exact 4:3 output never loses a pixel to rounding.
        fit.width = outputWidth;
        fit.height = static_cast<int>((w * pictureHeight + pictureWidth / 2) / pictureWidth);
        fit.wholeScale = outputWidth % pictureWidth == 0;
    } else {
        // Wider than 4:3: full height, bars left and right.
        fit.height = outputHeight;
        fit.width = static_cast<int>((h * pictureWidth + pictureHeight / 2) / pictureHeight);
        fit.wholeScale = outputHeight % pictureHeight == 0;
    }
    fit.x = (outputWidth - fit.width) / 2;
    fit.y = (outputHeight - fit.height) / 2;
    return fit;
}

bool pictureAt(const PictureFit& fit, double outputX, double outputY, PicturePoint& point) {
    if (fit.width <= 0 || fit.height <= 0) return false;
    // Measured from the picture's edge before anything is rounded: a press
    // a hair left of the picture would otherwise round to its first column.
    const double across = (outputX - fit.x) / fit.width;
    const double down = (outputY - fit.y) / fit.height;
    if (!(across >= 0 && across < 1 && down >= 0 && down < 1)) return false;
    point.x = std::min(pictureWidth - 1, static_cast<int>(std::floor(across * pictureWidth)));
    point.y = std::min(pictureHeight - 1, static_cast<int>(std::floor(down * pictureHeight)));
    return true;
}

int windowScale(int requested, int availableWidth, int availableHeight) {
    if (requested > 0) return requested;
    return std::max(1, std::min(availableWidth / pictureWidth, availableHeight / pictureHeight));
}

}  // namespace platform
