// Where the picture is not enlarged by a whole number, the picture scaler
// shows the game's own full-screen pictures nearly as the linear smoothing
// the framebuffer path had before (SDL_SoftStretchLinear of the widened
// picture): the mean difference per colour channel, over every pixel, is
// under a level below twice the size and under two at 2.25 times, where the
// scaler's whole-factor copies keep each pixel sharper by design.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/bmp_decoder.h"
#include "platform/picture_scaler.h"
#include "platform/pixel_widening.h"
#include "platform/platform.h"

namespace {

using platform::PictureScaler;
using platform::PixelOrder;

constexpr int width = 640;
constexpr int height = 480;

// The game's pictures that fill the whole screen, as it shows them.
std::vector<std::vector<uint16_t>> fullScreenPictures() {
    std::vector<std::vector<uint16_t>> pictures;
    for (const platform::Resource& resource : platform::gameModule()->resources) {
        platform::Bitmap bitmap;
        if (resource.type == platform::ResourceType::Bitmap &&
            formats::decodeBmp(resource.bytes, bitmap) && bitmap.width == width &&
            bitmap.height == height) {
            pictures.push_back(bitmap.pixels);
        }
    }
    return pictures;
}

std::vector<uint32_t> scaled(const std::vector<uint16_t>& picture, int w, int h) {
    std::vector<uint32_t> target(static_cast<size_t>(w) * h, 0);
    PictureScaler scaler;
    scaler.scale(picture.data(), width, height, target.data(), w * 4, w, h, PixelOrder::Argb);
    return target;
}

// What SDL made of the widened picture before: its linear stretch.
std::vector<uint32_t> sdlLinear(const std::vector<uint16_t>& picture, int w, int h) {
    std::vector<uint32_t> wide(picture.size());
    platform::convertRgb565ToArgb8888(picture.data(), wide.data(), picture.size());
    std::vector<uint32_t> target(static_cast<size_t>(w) * h, 0);
    SDL_Surface* from = SDL_CreateRGBSurfaceWithFormatFrom(wide.data(), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Surface* to = SDL_CreateRGBSurfaceWithFormatFrom(target.data(), w, h, 32, w * 4,
                                                         SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(SDL_SoftStretchLinear(from, nullptr, to, nullptr), 0) << SDL_GetError();
    SDL_FreeSurface(to);
    SDL_FreeSurface(from);
    return target;
}

// The mean absolute difference per colour channel, in levels of 255.
double meanDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    uint64_t total = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            total += static_cast<uint64_t>(std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                                    static_cast<int>((b[i] >> shift) & 0xFF)));
        }
    }
    return static_cast<double>(total) / (3.0 * static_cast<double>(a.size()));
}

TEST(SdlPictureScalerTest, OtherSizesLookLikeTheLinearSmoothingOfBefore) {
    const std::vector<std::vector<uint16_t>> pictures = fullScreenPictures();
    ASSERT_FALSE(pictures.empty());
    // Full screen on 16:9 desktops, and an odd window size.
    const struct {
        int w;
        int h;
    } sizes[] = {{1440, 1080}, {1200, 900}, {1024, 768}, {1000, 750}, {800, 600}};
    for (const auto& size : sizes) {
        double worst = 0;
        for (const std::vector<uint16_t>& picture : pictures) {
            worst = std::max(worst, meanDifference(scaled(picture, size.w, size.h),
                                                   sdlLinear(picture, size.w, size.h)));
        }
        RecordProperty("mean_difference_" + std::to_string(size.w), std::to_string(worst));
        std::printf("%dx%d: at most %.3f levels apart on average over %zu pictures\n", size.w,
                    size.h, worst, pictures.size());
        // Below twice the size the filter is the same linear one, rounded to
        // quarters; above, the whole-factor copies keep the pixels sharper
        // than plain linear smoothing, which shows at every pixel edge.
        EXPECT_LT(worst, size.w >= 2 * width ? 2.0 : 1.0) << size.w << "x" << size.h;
    }
}

}  // namespace
