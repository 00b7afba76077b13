#pragma once
// Phase 1: the sky panorama, the moon and the ground.

// Paints the whole back buffer for the current scrollPos; changes no state.
void drawBackdrop();
