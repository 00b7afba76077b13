// A page keeps no files: the game in a browser starts from its defaults
// every time and saves nothing, so every call answers "nothing here".

#include "platform/files.h"

namespace platform {

namespace {

constexpr const char* noFiles = "a web page keeps no files";

}  // namespace

std::filesystem::path settingsFolder() {
    return {};
}

std::filesystem::path picturesFolder() {
    return {};
}

FileText readFile(const std::filesystem::path&, size_t) {
    return {};
}

bool replaceFile(const std::filesystem::path&, std::string_view, std::string& reason) {
    reason = noFiles;
    return false;
}

ReplaceStatus replaceChangedFile(const std::filesystem::path&, const std::optional<std::string>&,
                                 std::string_view, std::string& reason) {
    reason = noFiles;
    return ReplaceStatus::failed;
}

CreateStatus createFile(const std::filesystem::path&, std::string_view, std::string& reason) {
    reason = noFiles;
    return CreateStatus::failed;
}

struct GrowingFile {};

GrowingFile* startFile(const std::filesystem::path&, std::string& reason) {
    reason = noFiles;
    return nullptr;
}

bool addToFile(GrowingFile*, std::string_view, std::string& reason) {
    reason = noFiles;
    return false;
}

void closeFile(GrowingFile*) {}

void discardFile(GrowingFile*) {}

bool makeFolders(const std::filesystem::path&, std::string& reason) {
    reason = noFiles;
    return false;
}

// The page has no standard streams to guard and no pipe to break.
void guardStandardStreams() {}

}  // namespace platform
