// Each resource id is written once, in formats/resource_ids.h; the build
// embeds what it names and the game's catalogues and the generator's name
// the same ids. These check that all of them still describe one set.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "formats/resource_ids.h"
#include "gfx/surfaces.h"
#include "platform/platform.h"
#include "sound/sound_buffers.h"
#include "tools/assets/catalogue.h"

namespace {

using platform::ResourceType;

std::set<int> embedded(ResourceType type) {
    std::set<int> ids;
    for (const platform::Resource& resource : platform::gameModule()->resources) {
        if (resource.type == type) ids.insert(resource.id);
    }
    return ids;
}

TEST(ResourceTables, TheBuildEmbedsEachResourceOnce) {
    std::map<std::pair<ResourceType, int>, int> seen;
    for (const platform::Resource& resource : platform::gameModule()->resources) {
        const int times = ++seen[{resource.type, resource.id}];
        EXPECT_EQ(times, 1) << "id " << resource.id;
        EXPECT_FALSE(resource.bytes.empty()) << "id " << resource.id;
    }
    EXPECT_EQ(embedded(ResourceType::Icon), std::set<int>{resource::icoWindow});
}

TEST(ResourceTables, EverySurfaceLoadsAnEmbeddedPictureAndEveryPictureIsLoaded) {
    std::set<int> loaded;
    for (const SurfaceEntry& entry : surfaceCatalogue()) loaded.insert(entry.bitmapId);
    // Both orb surfaces come from the one picture.
    EXPECT_EQ(surfaceCatalogue().size(), loaded.size() + 1);
    // The settings screen's lettering is loaded by that screen alone, never
    // with the game's pictures.
    EXPECT_EQ(loaded.count(resource::bmpScreenFont), 0u);
    loaded.insert(resource::bmpScreenFont);
    EXPECT_EQ(loaded, embedded(ResourceType::Bitmap));
}

TEST(ResourceTables, EveryBufferPlaysAnEmbeddedSoundAndEverySoundHasABuffer) {
    const std::set<int> buffered(std::begin(soundOrder), std::end(soundOrder));
    EXPECT_EQ(buffered.size(), static_cast<size_t>(soundCount));
    EXPECT_EQ(buffered, embedded(ResourceType::Wave));
}

TEST(ResourceTables, TheGeneratorMakesExactlyTheEmbeddedResources) {
    std::set<int> pictures;
    for (const PictureEntry& entry : pictureCatalogue()) {
        EXPECT_TRUE(pictures.insert(entry.id).second) << "picture " << entry.id << " twice";
    }
    std::set<int> wanted = embedded(ResourceType::Bitmap);
    wanted.insert(resource::icoWindow);
    EXPECT_EQ(pictures, wanted);

    std::set<int> sounds;
    for (const SoundEntry& entry : soundCatalogue()) {
        EXPECT_TRUE(sounds.insert(entry.id).second) << "sound " << entry.id << " twice";
    }
    EXPECT_EQ(sounds, embedded(ResourceType::Wave));
}

TEST(ResourceTables, TheGeneratorDrawsEachPictureAtTheSizeTheGameShowsIt) {
    // The won and lost pictures and the title fill the screen.
    for (int id : {resource::bmpWin, resource::bmpGameOver, resource::bmpTitle}) {
        const PictureEntry* entry = findPicture(id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->width, 640);
        EXPECT_EQ(entry->height, 480);
    }
}

}  // namespace
