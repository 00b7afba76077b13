#pragma once
// The bladed crusher columns and their stone pillars, from the third mission.

#include <cstdint>

// The two places along the course where a crusher stands.
enum class CrusherSite : int32_t { first = 1, second = 2 };

// Phase 6: the first pillar lifts a low helicopter (level 2 and up).
void pushAboveFirstPillar();
// Phase 7: both sites drawn, tested and moved (level 2 and up; the second
// site from level 3).
void updateCrushers();

// One site's own rules, which the two phases run for the sites the level
// has: both sites share one column, so each call moves the same crusherY.
void pushAbovePillar(CrusherSite site);
void drawCrusherSite(CrusherSite site);
void crusherStep(CrusherSite site);
