#pragma once
// The game's 640 x 480 RGB565 picture enlarged to the size it is shown at,
// in the 32-bit pixels a screen takes, by the processor: the desktop back
// ends without a graphics chip to do it hand the finished picture to the
// window system one to one.
//
// The picture grows by the largest whole factor with plain copies, so its
// pixels stay square and sharp; what is left of the size (2.25 times is
// twice, then 1.125 times) is made up by blending only the two neighbours
// across each pixel edge, with weights worked out once per column and row
// and rounded to quarters, which cost one or two byte means each.
// At a whole-number size every pixel is a copy, exactly as a nearest
// filter shows it. Rows whose picture rows did not change since the last
// call are left as they are, so a still picture costs only the comparison.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

enum class PixelOrder { Argb, Abgr };

// For each target pixel along one side: the source pixel it starts from and
// how many quarters of the next one are blended in (0 to 3; 0 is a copy).
struct ScaleTaps {
    std::vector<int32_t> first;
    std::vector<uint8_t> quarters;
};

// The taps that enlarge sourceSize pixels to targetSize: whole-factor copies,
// then linear between the copies' centres. Below the source's size the
// factor is 1 and this is a plain linear filter.
ScaleTaps sharpLinearTaps(int sourceSize, int targetSize);

// Rows [top, bottom) of the target.
struct RowBand {
    int top = 0;
    int bottom = 0;
};

class PictureScaler {
  public:
    // Draws the source (width x height RGB565, rows width apart) into the
    // target (targetWidth x targetHeight 32-bit pixels, rows pitchBytes
    // apart). Only rows whose source rows changed since the last call are
    // drawn, unless the sizes, the order or the target changed or
    // redrawAll() was called since.
    void scale(const uint16_t* source, int width, int height, uint32_t* target,
               ptrdiff_t pitchBytes, int targetWidth, int targetHeight, PixelOrder order);
    // The next call draws every row: what it drew before has been lost.
    void redrawAll() { wholeStale = true; }
    // The target rows the last call drew, top to bottom.
    const std::vector<RowBand>& drawnRows() const { return drawn; }
    // The picture the last call was given; empty before the first.
    const std::vector<uint16_t>& lastPicture() const { return last; }

  private:
    void prepare(int width, int height, int targetWidth, int targetHeight, PixelOrder order);
    // Marks the source rows that differ from the last picture and keeps them.
    void compareRows(const uint16_t* source);
    // Source row `row` widened and stretched across, made in `into` unless
    // it is at hand already.
    const uint32_t* enlargedRow(const uint16_t* source, int row, uint32_t* into);
    void drawRow(const uint16_t* source, int row, uint32_t* target, ptrdiff_t pitchBytes);

    int sourceWidth = 0;
    int sourceHeight = 0;
    int outWidth = 0;
    int outHeight = 0;
    PixelOrder pixelOrder = PixelOrder::Argb;
    const uint32_t* lastTarget = nullptr;
    ptrdiff_t lastPitch = 0;
    bool wholeStale = true;

    ScaleTaps across;
    ScaleTaps down;
    int wholeAcross = 0;  // the whole factor when every column is a copy, else 0
    // For each source row, the first target row that is a plain copy of it,
    // or -1: the row is made there, and blends read it from there.
    std::vector<int> firstCopy;

    std::vector<uint16_t> last;
    std::vector<uint8_t> rowChanged;
    std::vector<RowBand> drawn;

    // One source row widened (and a spare pixel), then the blends a quarter,
    // half and three quarters of the way to each right neighbour, each part
    // poolStride pixels long; every target column is one of them.
    std::vector<uint32_t> pool;
    size_t poolStride = 0;
    std::vector<int32_t> poolIndex;
    bool quartersUsed[4] = {};
    std::vector<uint32_t> rows[2];  // enlarged source rows, by parity
    int rowHeld[2] = {-1, -1};
    const uint32_t* rowAt[2] = {};
};

}  // namespace platform
