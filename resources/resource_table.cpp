// The resources the build embedded (formats/resource_ids.h names them).

#include <cstdint>

#include "platform/platform.h"

namespace {

// Laid out by the assembler file the build generates.
struct EmbeddedResource {
    int32_t type;  // 0 bitmap, 1 wave, 2 icon
    int32_t id;
    const uint8_t* begin;
    const uint8_t* end;
};

}  // namespace

extern "C" const EmbeddedResource kordavanResourceTable[];
extern "C" const uint32_t kordavanResourceCount;

namespace platform {

const Module* gameModule() {
    static const Module module = [] {
        Module built;
        for (uint32_t i = 0; i < kordavanResourceCount; ++i) {
            const EmbeddedResource& r = kordavanResourceTable[i];
            const auto type = r.type == 0   ? ResourceType::Bitmap
                              : r.type == 1 ? ResourceType::Wave
                                            : ResourceType::Icon;
            built.resources.push_back(
                Resource{type, r.id, {r.begin, static_cast<size_t>(r.end - r.begin)}});
        }
        return built;
    }();
    return &module;
}

}  // namespace platform
