// The choice between OpenGL and the bare framebuffer: the renderer names
// that are the processor pretending to be a graphics chip, and the player's
// KORDAVAN_RENDERER.

#include <gtest/gtest.h>

#include <string>

#include "platform/sdl/sdl_machine.h"
#include "tests/sdl_test_support.h"

namespace {

using platform::sdl::isSoftwareRasteriser;
using platform::sdl::RenderPath;
using platform::sdl::requestedRenderPath;

TEST(SdlRenderPath, SoftwareRasterisersAreKnownByTheirRendererNames) {
    EXPECT_TRUE(isSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasteriser("softpipe"));
    EXPECT_TRUE(isSoftwareRasteriser("Software Rasterizer"));
    EXPECT_TRUE(isSoftwareRasteriser("zink (llvmpipe (LLVM 15.0.6, 256 bits))"));
    EXPECT_TRUE(isSoftwareRasteriser("GDI Generic"));
    EXPECT_TRUE(isSoftwareRasteriser("Apple Software Renderer"));
    EXPECT_FALSE(isSoftwareRasteriser("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(isSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(isSoftwareRasteriser("NVIDIA GeForce GTX 1060/PCIe/SSE2"));
    EXPECT_FALSE(isSoftwareRasteriser(""));
}

TEST(SdlRenderPath, ThePlayersChoiceInAnyCaseAndAutoOtherwise) {
    EXPECT_EQ(requestedRenderPath(nullptr), RenderPath::Auto);
    EXPECT_EQ(requestedRenderPath(""), RenderPath::Auto);
    EXPECT_EQ(requestedRenderPath("auto"), RenderPath::Auto);
    EXPECT_EQ(requestedRenderPath("software"), RenderPath::Software);
    EXPECT_EQ(requestedRenderPath("Software"), RenderPath::Software);
    EXPECT_EQ(requestedRenderPath("ACCELERATED"), RenderPath::Accelerated);
}

TEST(SdlRenderPath, AnUnknownChoiceIsReportedAndLeftToTheDriver) {
    const std::string said = sdltest::childStderr([] { requestedRenderPath("opengl"); });
    EXPECT_NE(said.find("KORDAVAN_RENDERER=opengl"), std::string::npos) << said;
    EXPECT_EQ(requestedRenderPath("opengl"), RenderPath::Auto);
}

}  // namespace
