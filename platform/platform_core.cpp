// The back end behind the platform calls, and the resources a module holds.

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <utility>

#include "platform/backend.h"

namespace platform {

namespace {
Backend* current = nullptr;

// Enough for a player's quick taps between two frames; anything older has
// lost its meaning by the time it would be read.
constexpr size_t keptPresses = 8;
std::deque<PicturePoint> presses;
std::deque<std::string> droppedFiles;
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

void notePointerPress(PicturePoint point) {
    if (point.x < 0 || point.y < 0 || point.x >= 640 || point.y >= 480) return;
    if (presses.size() == keptPresses) presses.pop_front();
    presses.push_back(point);
}

void noteDroppedFile(std::string path) {
    droppedFiles.push_back(std::move(path));
}

void forgetPointerAndDrops() {
    presses.clear();
    droppedFiles.clear();
}

bool takePointerPress(PicturePoint& point) {
    if (presses.empty()) return false;
    point = presses.front();
    presses.pop_front();
    return true;
}

bool takeDroppedFile(std::string& path) {
    if (droppedFiles.empty()) return false;
    path = std::move(droppedFiles.front());
    droppedFiles.pop_front();
    return true;
}

void finish() {
    if (current != nullptr) current->stopVideo();
}

}  // namespace platform
