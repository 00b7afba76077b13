// Files on Windows, for the Windows and headless back ends of the Windows
// build. A settings file is replaced whole by a rename over it, which Windows
// carries out in one step, a file the player marked read-only is theirs, and
// a new file is moved into place by a rename that never replaces.

#include "platform/files.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/windows/win_machine.h"
// After windows.h: the known folders' calls build on its types.
#include <knownfolders.h>
#include <shlobj.h>

namespace platform {

namespace {

namespace fs = std::filesystem;

// The system's own words for an error, without the line end it adds.
std::string errorText(DWORD error) {
    std::string text = std::system_category().message(static_cast<int>(error));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(error) : text;
}

fs::path environmentFolder(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    if (value == nullptr || value[0] == L'\0') return {};
    const fs::path folder(value);
    return folder.is_absolute() ? folder : fs::path();
}

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle; }

  private:
    HANDLE handle;
};

bool writeAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<size_t>(text.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

}  // namespace

fs::path settingsFolder() {
    const fs::path roaming = environmentFolder(L"APPDATA");
    return roaming.empty() ? fs::path() : roaming / "Kordavan";
}

fs::path picturesFolder() {
    // The Pictures library's own folder, wherever the player has moved it
    // (another drive, a synchronised folder).
    PWSTR known = nullptr;
    fs::path pictures;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &known))) {
        pictures = fs::path(known);
    }
    CoTaskMemFree(known);
    if (pictures.is_absolute()) return pictures;
    const fs::path home = environmentFolder(L"USERPROFILE");
    if (home.empty()) return {};
    std::error_code error;
    return fs::is_directory(home / "Pictures", error) ? home / "Pictures" : home;
}

FileText readFile(const fs::path& path, size_t largest) {
    FileText result;
    // Shared for reading and writing, so an editor holding the file open
    // does not keep the game from reading it.
    Handle file(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            result.reason = errorText(error);
            return result;
        }
        result.status = FileStatus::failed;
        // A folder in its place cannot be opened as a file at all.
        result.reason = fs::is_directory(path) ? "not a regular file" : errorText(error);
        return result;
    }
    result.status = FileStatus::failed;
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        result.reason = "not a regular file";
        return result;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        result.reason = errorText(GetLastError());
        return result;
    }
    if (static_cast<uint64_t>(size.QuadPart) > largest) {
        result.reason = "larger than " + std::to_string(largest) + " bytes, too large";
        return result;
    }
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    size_t got = 0;
    while (got < text.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), text.data() + got, static_cast<DWORD>(text.size() - got), &read,
                      nullptr)) {
            result.reason = errorText(GetLastError());
            return result;
        }
        if (read == 0) break;  // shorter than it was a moment ago
        got += read;
    }
    text.resize(got);
    result.status = FileStatus::read;
    result.text = std::move(text);
    return result;
}

bool makeFolders(const fs::path& folder, std::string& reason) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        reason = error ? error.message() : "not a folder";
        return false;
    }
    return true;
}

struct GrowingFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    fs::path path;
    LARGE_INTEGER length{};  // of the whole lines written so far
};

GrowingFile* startFile(const fs::path& path, std::string& reason) {
    // CREATE_NEW makes the file here and now or not at all: a name already
    // taken, by a file or a link, is refused. Others may read it while it
    // grows, as a player may look into a replay.
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        reason = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
                     ? "a file of that name is there already"
                     : errorText(error);
        return nullptr;
    }
    return new GrowingFile{handle, path, {}};
}

bool addToFile(GrowingFile* file, std::string_view text, std::string& reason) {
    if (file == nullptr) {
        reason = "not open";
        return false;
    }
    if (writeAll(file->handle, text)) {
        file->length.QuadPart += static_cast<LONGLONG>(text.size());
        return true;
    }
    reason = errorText(GetLastError());
    // Whatever part of the line got onto the disk is taken back, so the
    // file ends with a whole line.
    if (!SetFilePointerEx(file->handle, file->length, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(file->handle)) {
        reason += ", and part of a line stays";
    }
    return false;
}

void closeFile(GrowingFile* file) {
    if (file == nullptr) return;
    CloseHandle(file->handle);
    delete file;
}

void discardFile(GrowingFile* file) {
    if (file == nullptr) return;
    // Opened without sharing deletion, the name still leads to this file.
    const fs::path path = file->path;
    closeFile(file);
    DeleteFileW(path.c_str());
}

namespace {

std::function<void()> replacingHook;

// replaceFile, and with `before` replaceChangedFile.
ReplaceStatus replace(const fs::path& path, std::string_view text, std::string& reason,
                      const std::optional<std::string>* before) {
    // A link is followed to the file it names, which takes the change; a
    // file that is not there yet is simply made.
    std::error_code missing;
    fs::path target = path;
    if (fs::is_symlink(fs::symlink_status(path, missing))) {
        std::error_code error;
        target = fs::canonical(path, error);
        if (error) {
            reason = "a link that leads nowhere (" + error.message() + ")";
            return ReplaceStatus::failed;
        }
    }
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            reason = "not a regular file";
            return ReplaceStatus::failed;
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            reason = "the file is read-only";
            return ReplaceStatus::failed;
        }
    }
    if (!makeFolders(target.parent_path(), reason)) return ReplaceStatus::failed;
    fs::path temporary = target;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            reason = errorText(GetLastError());
            return ReplaceStatus::failed;
        }
        // On the disk before the rename, so that a power loss leaves the old
        // file or the new one.
        if (!writeAll(file.get(), text) || !FlushFileBuffers(file.get())) {
            reason = errorText(GetLastError());
            DeleteFileW(temporary.c_str());
            return ReplaceStatus::failed;
        }
    }
    // The last look before the move: what another program added while the
    // new content was being made and written must not be lost with the old
    // file.
    if (before != nullptr) {
        const FileText now = readFile(target, (*before ? (*before)->size() : 0) + 1);
        const bool unchanged =
            now.status == FileStatus::missing
                ? !before->has_value()
                : now.status == FileStatus::read && before->has_value() && now.text == **before;
        if (!unchanged) {
            DeleteFileW(temporary.c_str());
            return ReplaceStatus::changed;
        }
        if (replacingHook) replacingHook();
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        reason = errorText(GetLastError());
        DeleteFileW(temporary.c_str());
        return ReplaceStatus::failed;
    }
    return ReplaceStatus::replaced;
}

}  // namespace

// The player's folders under the profile are the player's alone: Windows
// has no shared folder like /tmp among them for another user to plant a
// link in.
std::string othersOwn(const fs::path&) {
    return {};
}

void whileReplacing(std::function<void()> act) {
    replacingHook = std::move(act);
}

bool replaceFile(const fs::path& path, std::string_view text, std::string& reason) {
    return replace(path, text, reason, nullptr) == ReplaceStatus::replaced;
}

ReplaceStatus replaceChangedFile(const fs::path& path, const std::optional<std::string>& before,
                                 std::string_view text, std::string& reason) {
    return replace(path, text, reason, &before);
}

CreateStatus createFile(const fs::path& path, std::string_view bytes, std::string& reason) {
    const std::string taken = "a file of that name is there already";
    // The attributes of a link are its own, so a link that leads nowhere
    // takes its name as well.
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        reason = taken;
        return CreateStatus::taken;
    }
    fs::path temporary = path;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    bool written = false;
    {
        Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            reason = errorText(GetLastError());
            return CreateStatus::failed;
        }
        written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
        if (!written) reason = errorText(GetLastError());
    }
    // Without MOVEFILE_REPLACE_EXISTING the move refuses a name taken
    // meanwhile. The file is closed first: an open one cannot be deleted.
    if (written && !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        written = false;
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            DeleteFileW(temporary.c_str());
            reason = taken;
            return CreateStatus::taken;
        }
        reason = errorText(error);
    }
    if (!written) {
        DeleteFileW(temporary.c_str());
        return CreateStatus::failed;
    }
    return CreateStatus::created;
}

void guardStandardStreams() {
    // Nothing can take the place of a missing standard stream on Windows: a
    // new file never gets a standard handle, and writing to a missing one,
    // or to a pipe nobody reads, fails quietly.
}

}  // namespace platform
