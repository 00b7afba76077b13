// The lettering of the program's own screens, read from the picture the
// build embeds and drawn onto surfaces in memory.

#include "gfx/screen_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/headless.h"
#include "platform/platform.h"

namespace {

using platform::Surface;

constexpr uint16_t white = 0xFFFF;
constexpr uint16_t red = 0xF800;
constexpr uint16_t blue = 0x001F;
constexpr uint16_t panel = 0x2104;

Surface surfaceOf(int width, int height, uint16_t colour) {
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.pixels.assign(static_cast<size_t>(width) * height, colour);
    return surface;
}

uint16_t at(const Surface& surface, int x, int y) {
    return surface.pixels[static_cast<size_t>(y) * surface.width + x];
}

// The smallest box holding every pixel that is no longer `background`.
struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // inclusive
    int changed = 0;
};

Box inkOf(const Surface& surface, uint16_t background) {
    Box box;
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            if (at(surface, x, y) == background) continue;
            ++box.changed;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

std::string printable() {
    std::string all;
    for (int c = 32; c <= 126; ++c) all += static_cast<char>(c);
    return all;
}

class ScreenText : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::headless::use();
        releaseScreenFont();
        ASSERT_TRUE(loadScreenFont());
    }
    void TearDown() override { releaseScreenFont(); }
};

TEST_F(ScreenText, TheLetteringIsReadFromTheGameOnce) {
    EXPECT_TRUE(loadScreenFont());
    const auto& calls = platform::headless::calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const auto& call) { return call.name == "loadBitmap"; }),
              1);
}

TEST_F(ScreenText, RowsAreAbout18PixelsHighAndTheHeadingTwiceThat) {
    EXPECT_GE(textHeight(), 16);
    EXPECT_LE(textHeight(), 20);
    EXPECT_GE(textHeight(TextSize::large), 28);
    EXPECT_LE(textHeight(TextSize::large), 36);
}

TEST_F(ScreenText, WidthsAddUpLetterByLetterAndTheHeadingIsWider) {
    for (TextSize size : {TextSize::normal, TextSize::large}) {
        EXPECT_EQ(textWidth("ab", size), textWidth("a", size) + textWidth("b", size));
        EXPECT_EQ(textWidth("", size), 0);
        int sum = 0;
        for (char c : printable()) {
            const int width = textWidth(std::string(1, c), size);
            EXPECT_GT(width, 0) << c;
            sum += width;
        }
        EXPECT_EQ(textWidth(printable(), size), sum);
    }
    EXPECT_GT(textWidth("Settings", TextSize::large), textWidth("Settings") * 3 / 2);
    EXPECT_GT(textWidth("W"), textWidth("i"));  // the letters keep their own widths
}

TEST_F(ScreenText, InkStaysInsideTheBoxOfTheTextsWidthAndHeight) {
    for (TextSize size : {TextSize::normal, TextSize::large}) {
        for (const std::string& text : {printable(), std::string("jJ_|gypq@W"), std::string("j")}) {
            Surface surface = surfaceOf(textWidth(text, size) + 80, 120, panel);
            drawText(surface, 40, 30, text, white, size);
            const Box ink = inkOf(surface, panel);
            SCOPED_TRACE(text);
            ASSERT_GT(ink.changed, 0);
            EXPECT_GE(ink.left, 40);
            EXPECT_LT(ink.right, 40 + textWidth(text, size));
            EXPECT_GE(ink.top, 30);
            EXPECT_LT(ink.bottom, 30 + textHeight(size));
        }
    }
    // The whole set, less the space, fills its box nearly to every side: no
    // letter is lost or cut.
    const std::string letters = printable().substr(1);
    Surface surface = surfaceOf(textWidth(letters) + 80, 60, panel);
    drawText(surface, 40, 20, letters, white);
    const Box ink = inkOf(surface, panel);
    EXPECT_LE(ink.top, 20 + 2);
    EXPECT_GE(ink.bottom, 20 + textHeight() - 3);
    EXPECT_LE(ink.left, 40 + 4);
    EXPECT_GE(ink.right, 40 + textWidth(letters) - 5);
}

TEST_F(ScreenText, LettersAreAntialiasedInTheirColourOverWhatIsThere) {
    Surface surface = surfaceOf(200, 60, blue);
    drawText(surface, 10, 10, "Kordavan 42", red);
    int solid = 0;
    int edges = 0;
    for (uint16_t pixel : surface.pixels) {
        const int r = pixel >> 11;
        const int g = (pixel >> 5) & 63;
        const int b = pixel & 31;
        EXPECT_EQ(g, 0);
        // Every pixel is the panel's blue and the letters' red in some proportion.
        EXPECT_NEAR(r + b, 31, 1) << std::hex << pixel;
        solid += pixel == red;
        edges += pixel != red && pixel != blue;
    }
    EXPECT_GT(solid, 50);
    EXPECT_GT(edges, 50);
}

TEST_F(ScreenText, BytesOutsidePrintableAsciiDrawAsQuestionMarks) {
    Surface question = surfaceOf(100, 40, panel);
    drawText(question, 5, 5, "a?b?c?", white);
    for (const std::string& odd :
         {std::string("a\x01") + "b\x7f" + "c\xe9", std::string("a\n") + "b\t" + "c\xff"}) {
        Surface surface = surfaceOf(100, 40, panel);
        drawText(surface, 5, 5, odd, white);
        EXPECT_EQ(surface.pixels, question.pixels);
        EXPECT_EQ(textWidth(odd), textWidth("a?b?c?"));
    }
}

// A line drawn across an edge shows exactly the part of the same line, drawn
// whole, that lies on the surface.
TEST_F(ScreenText, ALineAcrossAnyEdgeShowsJustItsPartOnTheSurface) {
    const std::string text = "Watch a replay: Wj|_@";
    for (TextSize size : {TextSize::normal, TextSize::large}) {
        const int width = textWidth(text, size);
        const int height = textHeight(size);
        const int margin = width + height;
        Surface whole = surfaceOf(60 + 2 * margin, 40 + 2 * margin, panel);
        for (int x : {-width - 3, -width + 1, -width / 2, -1, 0, 17, 60 - width / 2, 59, 60, 75}) {
            for (int y : {-height - 2, -height + 1, -height / 2, -1, 0, 11, 39, 40, 50}) {
                Surface small = surfaceOf(60, 40, panel);
                drawText(small, x, y, text, white, size);
                std::fill(whole.pixels.begin(), whole.pixels.end(), panel);
                drawText(whole, x + margin, y + margin, text, white, size);
                for (int sy = 0; sy < small.height; ++sy)
                    for (int sx = 0; sx < small.width; ++sx)
                        ASSERT_EQ(at(small, sx, sy), at(whole, sx + margin, sy + margin))
                            << "text at " << x << ", " << y << "; pixel " << sx << ", " << sy;
            }
        }
    }
}

TEST_F(ScreenText, FarOffOrOnNoSurfaceAtAllNothingIsDrawn) {
    Surface surface = surfaceOf(30, 20, panel);
    for (int x : {INT_MIN, INT_MIN + 5, -100000, 30, INT_MAX - 5, INT_MAX})
        drawText(surface, x, 2, "MMMMMMMMMMMMMMMMMMMM", white, TextSize::large);
    for (int y : {INT_MIN, -40, 20, INT_MAX}) drawText(surface, 0, y, "MMMM", white);
    EXPECT_EQ(inkOf(surface, panel).changed, 0);
    Surface none = surfaceOf(0, 0, panel);
    drawText(none, 0, 0, "M", white);
    fillRect(none, 0, 0, 5, 5, white);
    shadeRect(none, 0, 0, 5, 5, white, 100);
    EXPECT_TRUE(none.pixels.empty());
}

TEST_F(ScreenText, RectanglesAreClippedToTheSurface) {
    Surface surface = surfaceOf(20, 10, panel);
    fillRect(surface, -5, 7, 10, 100, white);
    const Box box = inkOf(surface, panel);
    EXPECT_EQ(box.changed, 5 * 3);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 7);
    fillRect(surface, INT_MAX - 2, INT_MAX - 2, INT_MAX, INT_MAX, red);
    fillRect(surface, INT_MIN, INT_MIN, INT_MAX, INT_MAX, red);
    fillRect(surface, 5, 5, -3, 4, red);
    shadeRect(surface, 18, -1, 100, 3, red, 200);
    const Box after = inkOf(surface, panel);
    EXPECT_EQ(after.changed, 5 * 3 + 2 * 2);
}

TEST_F(ScreenText, ShadingAtNothingLeavesThePixelsAndAtFullIsAPlainFill) {
    Surface picture = surfaceOf(64, 32, panel);
    for (int i = 0; i < 64 * 32; ++i) picture.pixels[i] = static_cast<uint16_t>(i * 2654435761u);
    Surface shaded = picture;
    shadeRect(shaded, 3, 4, 50, 20, red, 0);
    EXPECT_EQ(shaded.pixels, picture.pixels);
    shadeRect(shaded, 3, 4, 50, 20, red, -20);
    EXPECT_EQ(shaded.pixels, picture.pixels);

    Surface filled = picture;
    fillRect(filled, 3, 4, 50, 20, red);
    shadeRect(shaded, 3, 4, 50, 20, red, 255);
    EXPECT_EQ(shaded.pixels, filled.pixels);

    // Half way, each channel lies half way between the two.
    Surface half = surfaceOf(4, 4, white);
    shadeRect(half, 0, 0, 4, 4, 0x0000, 128);
    EXPECT_EQ(at(half, 2, 2), (15 << 11) | (31 << 5) | 15);
    // A quarter of the way, three quarters of what was there remain.
    Surface quarter = surfaceOf(4, 4, white);
    shadeRect(quarter, 0, 0, 4, 4, 0x0000, 64);
    EXPECT_EQ(at(quarter, 1, 1), (23 << 11) | (47 << 5) | 23);
}

TEST(ScreenTextMissing, WarnsOnceAndDrawsNothingUntilLoaded) {
    platform::headless::use();
    releaseScreenFont();
    platform::headless::failCall("loadBitmap");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadScreenFont());
    Surface surface = surfaceOf(40, 30, panel);
    drawText(surface, 0, 0, "Settings", white);
    EXPECT_EQ(textWidth("Settings"), 0);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("lettering"), std::string::npos) << told;
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_EQ(inkOf(surface, panel).changed, 0);

    EXPECT_TRUE(loadScreenFont());
    drawText(surface, 0, 0, "Settings", white);
    EXPECT_GT(inkOf(surface, panel).changed, 0);
    releaseScreenFont();
}

}  // namespace
