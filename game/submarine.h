#pragma once
// The submarine near the base, its rocket, and the explosion of a rocket hit.

// Phase 15: the submarine surfaces and sinks, fires, and its rocket flies.
void updateSubmarineAndRocket();
// Phase 16: while explosionActive, the explosion engulfs the helicopter.
void updateExplosion();

// The pieces of phase 15, for tests.
void updateSubmarine();
void updateRocket();
