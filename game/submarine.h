#pragma once
// The submarine near the base, its rocket, and the explosion of a rocket hit.

// Phase 15: the submarine surfaces and sinks, fires, and its rocket flies.
void updateSubmarineAndRocket();
// Phase 16: while explosionActive, the explosion engulfs the helicopter.
void updateExplosion();

// The boat and its rocket each have their own rules; phase 15 runs the boat
// first, so a rocket fired in a step also flies in it.
void updateSubmarine();
void updateRocket();
