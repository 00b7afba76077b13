#pragma once
// The game's emblem, the red rescue helicopter on a disc of night sky: the
// window icon and the icons a desktop shows in its menus and docks.

#include <string>

#include "canvas.h"

// The emblem drawn afresh for a square of `size` pixels: few bold shapes
// where pixels are scarce, the game's own helicopter over its landscape where
// there is room for it. Never a resized copy of another size.
Canvas emblem(int size);

// The sizes of the hicolor icon theme the game installs.
constexpr int desktopIconSizes[] = {16, 32, 48, 64, 128, 256};

// Writes icon-<size>.png with an alpha channel for every desktop icon size
// into `outDir`. Empty on success, otherwise what went wrong.
std::string writeDesktopIcons(const std::string& outDir);
