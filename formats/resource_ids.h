#pragma once
// Every picture, sound and icon built into the game, each resource id
// written once. The surface catalogue, the sound buffers and the asset
// generator's catalogue name them from here, and the build embeds one file
// for each constant: cmake/resources.cmake reads the lines below, a bmp name
// a BITMAP, wav a WAVE, ico an ICON. Keep each on a line of its own, in this
// form.

namespace resource {

// The pictures, in the order the game loads them.
inline constexpr int bmpSubmarine = 167;   // the submarine
inline constexpr int bmpRocket = 169;      // its rocket
inline constexpr int bmpExplosion1 = 165;  // the explosion, frame 1
inline constexpr int bmpExplosion2 = 158;
inline constexpr int bmpExplosion3 = 159;
inline constexpr int bmpExplosion4 = 160;
inline constexpr int bmpExplosion5 = 161;
inline constexpr int bmpExplosion6 = 162;
inline constexpr int bmpExplosion7 = 163;
inline constexpr int bmpExplosion8 = 164;
inline constexpr int bmpExplosion9 = 157;  // the explosion, frame 9
inline constexpr int bmpMoon = 156;
inline constexpr int bmpWin = 155;       // the won picture
inline constexpr int bmpGameOver = 154;  // the lost picture
inline constexpr int bmpTitle = 151;
inline constexpr int bmpLoading = 152;    // the briefing shown while loading
inline constexpr int bmpCredits = 153;    // the credits panel of the title
inline constexpr int bmpCrusher = 104;    // a crusher's column
inline constexpr int bmpPillar = 150;     // the pillar under a crusher
inline constexpr int bmpManRight1 = 108;  // a man walking right
inline constexpr int bmpManRight2 = 109;
inline constexpr int bmpManRight3 = 110;
inline constexpr int bmpManFront = 111;  // a man facing the front
inline constexpr int bmpManLeft1 = 112;  // a man walking left
inline constexpr int bmpManLeft2 = 113;
inline constexpr int bmpManLeft3 = 114;
inline constexpr int bmpBarFill = 103;  // the energy bar
inline constexpr int bmpBarFrame = 122;
inline constexpr int bmpManLit = 120;     // a rescued man in the counter
inline constexpr int bmpManDim = 121;     // one still to rescue
inline constexpr int bmpTerrain0 = 137;   // the base
inline constexpr int bmpTerrain1 = 105;   // the shore and the sea
inline constexpr int bmpTerrain2 = 106;   // the launcher field
inline constexpr int bmpTerrain3 = 107;   // the far landing field
inline constexpr int bmpSkyRight = 118;   // the sky's right half
inline constexpr int bmpSkyLeft = 117;    // its left half
inline constexpr int bmpHeliLeft1 = 136;  // the helicopter facing left, rotor frames 1 to 5
inline constexpr int bmpHeliLeft2 = 123;
inline constexpr int bmpHeliLeft3 = 125;
inline constexpr int bmpHeliLeft4 = 126;
inline constexpr int bmpHeliLeft5 = 127;
inline constexpr int bmpHeliRight1 = 128;  // facing right
inline constexpr int bmpHeliRight2 = 129;
inline constexpr int bmpHeliRight3 = 130;
inline constexpr int bmpHeliRight4 = 131;
inline constexpr int bmpHeliRight5 = 132;
inline constexpr int bmpLauncherRight = 135;  // the launcher aiming right
inline constexpr int bmpLauncherLeft = 134;   // left
inline constexpr int bmpLauncherUp = 133;     // straight up
inline constexpr int bmpOrb = 124;            // the orb

// The lettering of the program's own screens, loaded by them alone, never
// with the pictures above.
inline constexpr int bmpScreenFont = 170;

// The window's icon, travelling with the pictures though it is none of them.
inline constexpr int icoWindow = 139;

// The sounds, in the order of the game's buffers.
inline constexpr int wavOrbLaunch = 140;        // an orb missile is launched
inline constexpr int wavMetalHit = 147;         // an orb or a crusher hits
inline constexpr int wavTitleMusic = 143;       // looping on the title
inline constexpr int wavMissionComplete = 144;  // a man reaches the base
inline constexpr int wavRotorLoop = 142;        // looping during play
inline constexpr int wavFailureMusic = 148;     // looping on the lost picture
inline constexpr int wavStart = 146;            // Space on the title
inline constexpr int wavCrusherSlam = 145;      // a crusher hits bottom
inline constexpr int wavVictoryMusic = 141;     // looping on the won picture
inline constexpr int wavPickUp = 149;           // a man climbs aboard
inline constexpr int wavExplosion = 166;        // a rocket hit or the crash
inline constexpr int wavRocketLaunch = 168;     // the submarine fires

}  // namespace resource
