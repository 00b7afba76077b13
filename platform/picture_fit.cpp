// The picture's place in any output, in integers only, so that the same
// output always gets the same rectangle on every machine.

#include "platform/picture_fit.h"

#include <algorithm>
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

int windowScale(int requested, int availableWidth, int availableHeight) {
    if (requested > 0) return requested;
    return std::max(1, std::min(availableWidth / pictureWidth, availableHeight / pictureHeight));
}

}  // namespace platform
