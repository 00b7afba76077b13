#pragma once
// The missile launcher and its three orb missiles.

// Phase 2: the launcher's head follows scrollPos and releases orb 1.
void updateLauncher();
// Phase 3: orb 1 rises straight up (wobbling from the second mission on).
void updateOrb1();
// Phase 4: orb 2 is released and rises to the right.
void updateOrb2();
// Phase 5: orb 3 is released and rises to the left.
void updateOrb3();
// Phase 18: the helicopter cannot sink onto the launcher.
void pushAboveLauncher();
