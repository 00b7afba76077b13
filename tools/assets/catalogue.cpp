#include "catalogue.h"

const std::vector<PictureEntry>& pictureCatalogue() {
    static const std::vector<PictureEntry> entries = {
        {103, 352, 24, "energy bar fill"},
        {104, 64, 240, "crusher column"},
        {105, 640, 192, "terrain segment 1: shore and sea"},
        {106, 640, 192, "terrain segment 2: launcher field"},
        {107, 640, 192, "terrain segment 3: far landing field"},
        {108, 24, 32, "man walking right, frame 1"},
        {109, 24, 32, "man walking right, frame 2"},
        {110, 24, 32, "man walking right, frame 3"},
        {111, 24, 32, "man facing the front"},
        {112, 24, 32, "man walking left, frame 1"},
        {113, 24, 32, "man walking left, frame 2"},
        {114, 24, 32, "man walking left, frame 3"},
        {117, 640, 352, "sky, left half"},
        {118, 640, 352, "sky, right half"},
        {120, 32, 48, "rescue counter figure, lit"},
        {121, 32, 48, "rescue counter figure, dim"},
        {122, 352, 24, "energy bar frame"},
        {123, 240, 64, "helicopter facing left, frame 2"},
        {124, 32, 32, "orb"},
        {125, 240, 64, "helicopter facing left, frame 3"},
        {126, 240, 64, "helicopter facing left, frame 4"},
        {127, 240, 64, "helicopter facing left, frame 5"},
        {128, 240, 64, "helicopter facing right, frame 1"},
        {129, 240, 64, "helicopter facing right, frame 2"},
        {130, 240, 64, "helicopter facing right, frame 3"},
        {131, 240, 64, "helicopter facing right, frame 4"},
        {132, 240, 64, "helicopter facing right, frame 5"},
        {133, 128, 128, "launcher aiming straight up"},
        {134, 128, 128, "launcher aiming left"},
        {135, 128, 128, "launcher aiming right"},
        {136, 240, 64, "helicopter facing left, frame 1"},
        {137, 640, 192, "terrain segment 0: the base"},
        {139, 32, 32, "window icon"},
        {150, 64, 128, "stone pillar"},
        {151, 640, 480, "title screen"},
        {152, 640, 480, "mission briefing while loading"},
        {153, 288, 608, "credits panel"},
        {154, 640, 480, "mission failed"},
        {155, 640, 480, "mission accomplished"},
        {156, 160, 160, "moon"},
        {157, 96, 96, "explosion, frame 9"},
        {158, 96, 96, "explosion, frame 2"},
        {159, 96, 96, "explosion, frame 3"},
        {160, 96, 96, "explosion, frame 4"},
        {161, 96, 96, "explosion, frame 5"},
        {162, 96, 96, "explosion, frame 6"},
        {163, 96, 96, "explosion, frame 7"},
        {164, 96, 96, "explosion, frame 8"},
        {165, 96, 96, "explosion, frame 1"},
        {167, 160, 28, "submarine"},
        {169, 24, 60, "rocket"},
    };
    return entries;
}

const std::vector<SoundEntry>& soundCatalogue() {
    static const std::vector<SoundEntry> entries = {
        {140, 24576, false, SoundKind::effect, "orb launch"},
        {141, 330843, true, SoundKind::music, "victory music"},
        {142, 57344, true, SoundKind::engine, "rotor beat"},
        {143, 33664, true, SoundKind::music, "title music"},
        {144, 91030, false, SoundKind::music, "mission complete jingle"},
        {145, 24910, false, SoundKind::effect, "crusher slam"},
        {146, 61879, false, SoundKind::effect, "start"},
        {147, 18432, false, SoundKind::effect, "hit on the helicopter"},
        {148, 524167, true, SoundKind::music, "failure music"},
        {149, 15584, false, SoundKind::effect, "pick-up"},
        {166, 79616, false, SoundKind::effect, "explosion"},
        {168, 29644, false, SoundKind::effect, "rocket launch"},
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
