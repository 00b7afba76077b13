#include "catalogue.h"

#include "formats/resource_ids.h"

const std::vector<PictureEntry>& pictureCatalogue() {
    static const std::vector<PictureEntry> entries = {
        {resource::bmpBarFill, 352, 24, "energy bar fill"},
        {resource::bmpCrusher, 64, 240, "crusher column"},
        {resource::bmpTerrain1, 640, 192, "terrain segment 1: shore and sea"},
        {resource::bmpTerrain2, 640, 192, "terrain segment 2: launcher field"},
        {resource::bmpTerrain3, 640, 192, "terrain segment 3: far landing field"},
        {resource::bmpManRight1, 24, 32, "man walking right, frame 1"},
        {resource::bmpManRight2, 24, 32, "man walking right, frame 2"},
        {resource::bmpManRight3, 24, 32, "man walking right, frame 3"},
        {resource::bmpManFront, 24, 32, "man facing the front"},
        {resource::bmpManLeft1, 24, 32, "man walking left, frame 1"},
        {resource::bmpManLeft2, 24, 32, "man walking left, frame 2"},
        {resource::bmpManLeft3, 24, 32, "man walking left, frame 3"},
        {resource::bmpSkyLeft, 640, 352, "sky, left half"},
        {resource::bmpSkyRight, 640, 352, "sky, right half"},
        {resource::bmpManLit, 32, 48, "rescue counter figure, lit"},
        {resource::bmpManDim, 32, 48, "rescue counter figure, dim"},
        {resource::bmpBarFrame, 352, 24, "energy bar frame"},
        {resource::bmpHeliLeft2, 240, 64, "helicopter facing left, frame 2"},
        {resource::bmpOrb, 32, 32, "orb"},
        {resource::bmpHeliLeft3, 240, 64, "helicopter facing left, frame 3"},
        {resource::bmpHeliLeft4, 240, 64, "helicopter facing left, frame 4"},
        {resource::bmpHeliLeft5, 240, 64, "helicopter facing left, frame 5"},
        {resource::bmpHeliRight1, 240, 64, "helicopter facing right, frame 1"},
        {resource::bmpHeliRight2, 240, 64, "helicopter facing right, frame 2"},
        {resource::bmpHeliRight3, 240, 64, "helicopter facing right, frame 3"},
        {resource::bmpHeliRight4, 240, 64, "helicopter facing right, frame 4"},
        {resource::bmpHeliRight5, 240, 64, "helicopter facing right, frame 5"},
        {resource::bmpLauncherUp, 128, 128, "launcher aiming straight up"},
        {resource::bmpLauncherLeft, 128, 128, "launcher aiming left"},
        {resource::bmpLauncherRight, 128, 128, "launcher aiming right"},
        {resource::bmpHeliLeft1, 240, 64, "helicopter facing left, frame 1"},
        {resource::bmpTerrain0, 640, 192, "terrain segment 0: the base"},
        {resource::icoWindow, 32, 32, "window icon"},
        {resource::bmpPillar, 64, 128, "stone pillar"},
        {resource::bmpTitle, 640, 480, "title screen"},
        {resource::bmpLoading, 640, 480, "mission briefing while loading"},
        {resource::bmpCredits, 288, 608, "credits panel"},
        {resource::bmpGameOver, 640, 480, "mission failed"},
        {resource::bmpWin, 640, 480, "mission accomplished"},
        {resource::bmpMoon, 160, 160, "moon"},
        {resource::bmpExplosion9, 96, 96, "explosion, frame 9"},
        {resource::bmpExplosion2, 96, 96, "explosion, frame 2"},
        {resource::bmpExplosion3, 96, 96, "explosion, frame 3"},
        {resource::bmpExplosion4, 96, 96, "explosion, frame 4"},
        {resource::bmpExplosion5, 96, 96, "explosion, frame 5"},
        {resource::bmpExplosion6, 96, 96, "explosion, frame 6"},
        {resource::bmpExplosion7, 96, 96, "explosion, frame 7"},
        {resource::bmpExplosion8, 96, 96, "explosion, frame 8"},
        {resource::bmpExplosion1, 96, 96, "explosion, frame 1"},
        {resource::bmpSubmarine, 160, 28, "submarine"},
        {resource::bmpRocket, 24, 60, "rocket"},
        {resource::bmpScreenFont, 576, 312, "lettering of the settings screen"},
    };
    return entries;
}

const std::vector<SoundEntry>& soundCatalogue() {
    static const std::vector<SoundEntry> entries = {
        {resource::wavOrbLaunch, 24576, false, SoundKind::effect, "orb launch"},
        {resource::wavVictoryMusic, 330843, true, SoundKind::music, "victory music"},
        {resource::wavRotorLoop, 57344, true, SoundKind::engine, "rotor beat"},
        {resource::wavTitleMusic, 33664, true, SoundKind::music, "title music"},
        {resource::wavMissionComplete, 91030, false, SoundKind::music, "mission complete jingle"},
        {resource::wavCrusherSlam, 24910, false, SoundKind::effect, "crusher slam"},
        {resource::wavStart, 61879, false, SoundKind::effect, "start"},
        {resource::wavMetalHit, 18432, false, SoundKind::effect, "hit on the helicopter"},
        {resource::wavFailureMusic, 524167, true, SoundKind::music, "failure music"},
        {resource::wavPickUp, 15584, false, SoundKind::effect, "pick-up"},
        {resource::wavExplosion, 79616, false, SoundKind::effect, "explosion"},
        {resource::wavRocketLaunch, 29644, false, SoundKind::effect, "rocket launch"},
    };
    return entries;
}

double targetLoudness(SoundKind kind) {
    switch (kind) {
        case SoundKind::effect:
            return -15.0;
        case SoundKind::engine:
            return -22.0;
        case SoundKind::music:
            return -18.5;
    }
    return -18.5;
}

const PictureEntry* findPicture(int id) {
    for (const PictureEntry& e : pictureCatalogue())
        if (e.id == id) return &e;
    return nullptr;
}

const SoundEntry* findSound(int id) {
    for (const SoundEntry& e : soundCatalogue())
        if (e.id == id) return &e;
    return nullptr;
}
