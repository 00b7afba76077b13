#pragma once
// Landing, the man at the far end, the pick-up, the unloading at the base and
// the completion of a mission.

// Phase 10: while landingActive, the helicopter slides to its landing place
// and sets down.
void landingApproach();
// Phase 11: while manWaiting, the man at the far end paces, heads for a landed
// helicopter and boards it.
void updateWaitingMan();
// Phase 12: at the base with the helicopter landed, the man walks off into
// the base and the mission is complete.
void updateUnloading();
