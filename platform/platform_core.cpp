// The back end behind the platform calls, and the resources a module holds.

#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"

namespace platform {

namespace {
Backend* current = nullptr;
}  // namespace

void useBackend(Backend* backend) {
    current = backend;
}

Backend& backend() {
    if (current == nullptr) {
        tellOnStandardError("no platform back end was chosen");
        std::abort();
    }
    return *current;
}

void tellOnStandardError(const char* text) {
    // The program's name as typed, as every other program on the terminal says it.
    std::fprintf(stderr, "kordavan: %s\n", text);
}

const Resource* findResource(const Module* module, ResourceType type, int id) {
    if (module == nullptr) return nullptr;
    // Resource ids are 16-bit, as they are in an executable's resource table.
    const int wanted = id & 0xFFFF;
    for (const Resource& resource : module->resources) {
        if (resource.type == type && (resource.id & 0xFFFF) == wanted) return &resource;
    }
    return nullptr;
}

void finish() {
    if (current != nullptr) current->stopVideo();
}

}  // namespace platform
