// A page's files live in memory for the visit, and three places in it mean
// more. The settings file is kept in the browser's localStorage, so the
// page starts with the player's settings and keys as the desktop does; a
// picture written to the pictures folder is handed to the player as a
// download; a recording, once closed, is offered as one. A file dropped on
// the page comes in here too. The rest of the game reads and writes these
// through the same calls as on the desktop.

#include "platform/files.h"

#include <emscripten/emscripten.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/backend.h"

extern "C" {
char* kvStoreRead(int* failed);
int kvStoreWrite(const char* text);
void kvPageSay(const char* text);
void kvPageDownload(const char* name, const char* bytes, int size, const char* type);
void kvPageOfferReplay(const char* name, const char* bytes, int size);
}

namespace platform {

namespace {

namespace fs = std::filesystem;

const fs::path home = "/kordavan";
const fs::path pictures = "/pictures";
const fs::path settingsFile = home / "kordavan.conf";
const fs::path recordings = home / "recordings";

// Every file of the visit, by its path.
std::map<fs::path, std::string> files;
bool settingsRead = false;
bool storageTold = false;

constexpr const char* missing = "No such file or directory";

// Said once a visit: the game goes on with the settings it has.
void storageRefused() {
    if (storageTold) return;
    storageTold = true;
    kvPageSay(
        "This browser does not let the page keep your settings (private browsing, or its storage "
        "is full or turned off): changes last until you leave the page.");
}

// The settings come from the browser's storage the first time anyone looks.
void readSettings() {
    if (settingsRead) return;
    settingsRead = true;
    int failed = 0;
    char* text = kvStoreRead(&failed);
    if (failed != 0) storageRefused();
    if (text == nullptr) return;
    files[settingsFile] = text;
    std::free(text);
}

bool inside(const fs::path& path, const fs::path& folder) {
    return path.parent_path() == folder;
}

// In the folder or any folder within it.
bool under(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

std::string nameOf(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return {name.begin(), name.end()};
}

void keep(const fs::path& path, std::string_view text) {
    files[path] = std::string(text);
    if (path == settingsFile && kvStoreWrite(files[path].c_str()) == 0) storageRefused();
}

}  // namespace

// The page's files are its own memory and storage: no other user has a
// way into them, and no other program acts on them while they are replaced.
std::string othersOwn(const std::filesystem::path&) {
    return {};
}

void whileReplacing(std::function<void()>) {}

std::filesystem::path settingsFolder() {
    return home;
}

std::filesystem::path picturesFolder() {
    return pictures;
}

FileText readFile(const std::filesystem::path& path, size_t largest) {
    readSettings();
    const auto found = files.find(path);
    if (found == files.end()) return {FileStatus::missing, {}, missing};
    if (found->second.size() > largest) {
        return {
            FileStatus::failed, {}, "larger than " + std::to_string(largest) + " bytes, too large"};
    }
    return {FileStatus::read, found->second, {}};
}

bool replaceFile(const std::filesystem::path& path, std::string_view text, std::string&) {
    readSettings();
    keep(path, text);
    return true;
}

ReplaceStatus replaceChangedFile(const std::filesystem::path& path,
                                 const std::optional<std::string>& before, std::string_view text,
                                 std::string& reason) {
    readSettings();
    const auto found = files.find(path);
    const bool same = found == files.end() ? !before : before && *before == found->second;
    if (!same) return ReplaceStatus::changed;
    return replaceFile(path, text, reason) ? ReplaceStatus::replaced : ReplaceStatus::failed;
}

CreateStatus createFile(const std::filesystem::path& path, std::string_view bytes,
                        std::string& reason) {
    readSettings();
    if (under(path, pictures)) {
        // Nothing is kept: the picture is the player's at once.
        kvPageDownload(nameOf(path).c_str(), bytes.data(), static_cast<int>(bytes.size()),
                       "image/png");
        return CreateStatus::created;
    }
    if (files.count(path) != 0) {
        reason = "a file of that name is there already";
        return CreateStatus::taken;
    }
    keep(path, bytes);
    return CreateStatus::created;
}

struct GrowingFile {
    fs::path path;
};

GrowingFile* startFile(const std::filesystem::path& path, std::string& reason) {
    readSettings();
    if (files.count(path) != 0) {
        reason = "a file of that name is there already";
        return nullptr;
    }
    // A page offers only the last game's recording: the older ones go.
    if (inside(path, recordings)) {
        std::erase_if(files, [](const auto& file) { return inside(file.first, recordings); });
    }
    files[path];
    return new GrowingFile{path};
}

bool addToFile(GrowingFile* file, std::string_view text, std::string& reason) {
    if (file == nullptr) {
        reason = "not open";
        return false;
    }
    files[file->path] += text;
    return true;
}

void closeFile(GrowingFile* file) {
    if (file == nullptr) return;
    if (inside(file->path, recordings)) {
        const std::string& bytes = files[file->path];
        kvPageOfferReplay(nameOf(file->path).c_str(), bytes.data(), static_cast<int>(bytes.size()));
    }
    delete file;
}

void discardFile(GrowingFile* file) {
    if (file == nullptr) return;
    files.erase(file->path);
    delete file;
}

bool makeFolders(const std::filesystem::path&, std::string&) {
    return true;
}

// The page has no standard streams to guard and no pipe to break.
void guardStandardStreams() {}

}  // namespace platform

// The page hands over a file the player dropped on it or picked: kept with
// its own name, and noted for the game like a drop on a desktop window.
extern "C" EMSCRIPTEN_KEEPALIVE void kvFilesDropped(const char* name, const char* bytes, int size) {
    // By its name alone, as the player knows it.
    const std::filesystem::path path = platform::utf8Path(name).filename();
    platform::files[path] = std::string(bytes, static_cast<size_t>(size));
    platform::noteDroppedFile(path.string());
}
