#pragma once
// The player's helicopter: its picture, its motion, its bounds and its rotor.

// Phase 8: drawn where the last step left it.
void drawHelicopter();
// Phase 9: near the ends of the course the helicopter itself crosses the
// screen; between them it is held at x 200 for its facing.
void applyCourseEnds();
// Phase 13: free flight unless a landing runs, then the bounds.
void flyHelicopter();
// Phase 14: the rotor turns, slowly while landing.
void advanceRotor();
