// Files on a POSIX machine, for the SDL and headless back ends alike. The
// player's files are treated as an editor treats them: a settings file is
// replaced whole through a rename, never truncated in place, and a file the
// player made read-only, or swapped for a link to /dev/null, is theirs.

#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

namespace {

namespace fs = std::filesystem;

std::string errorText(int error) {
    return std::strerror(error);
}

fs::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    return home != nullptr && home[0] != '\0' ? fs::path(home) : fs::path();
}

// The XDG base folder for configuration; a relative XDG_CONFIG_HOME is
// invalid and ignored.
fs::path configFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && fs::path(config).is_absolute()) return config;
    const fs::path home = homeFolder();
    return home.empty() ? home : home / ".config";
}

bool writeAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The file a write to `path` changes: the path itself, or the file its link
// names. Empty, with the reason, for a link that leads nowhere.
fs::path writtenFile(const fs::path& path, std::string& reason) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        reason = "a link that leads nowhere (" + errorText(errno) + ")";
        return {};
    }
    fs::path target = real;
    std::free(real);
    return target;
}

// Why the existing file must be left alone; empty when it may be replaced.
std::string refusal(const fs::path& path, const fs::path& file, const struct stat& status) {
    const std::string what = path == file ? "it is" : "it links to " + file.string() + ",";
    if (!S_ISREG(status.st_mode)) return what + " not a regular file";
    if ((status.st_mode & S_IWUSR) == 0) return what + " read-only";
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0) return errorText(errno);
    return {};
}

// The temporary name of the process `pid` for `name`: hidden, in the same
// folder, so that the rename cannot cross file systems.
std::string temporaryName(const std::string& name, long pid) {
    return "." + name + "." + std::to_string(pid) + ".tmp";
}

// A process killed between writing and renaming leaves its temporary file;
// it is of no use to anyone once that process is gone.
void removeStaleTemporaries(const fs::path& folder, const std::string& name) {
    const std::string prefix = "." + name + ".";
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string found = entry->path().filename().string();
        if (!found.starts_with(prefix) || !found.ends_with(".tmp")) continue;
        const std::string digits = found.substr(prefix.size(), found.size() - prefix.size() - 4);
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long pid = std::stol(digits);
        if (pid == ::getpid() || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH))
            ::unlink(entry->path().c_str());
    }
}

// Writes `text` to `temporary` with the old file's permissions and owner,
// synced to the disk; false with errno set.
bool writeTemporary(const fs::path& temporary, std::string_view text, const struct stat* old) {
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    if (old != nullptr) {
        // The player's permissions, not the umask's. Only root can give the
        // file back to its owner; anyone else owns what they write anyway.
        if (::fchown(descriptor, old->st_uid, old->st_gid) != 0) errno = 0;
        ::fchmod(descriptor, old->st_mode & 07777);
    }
    bool written = writeAll(descriptor, text) && ::fsync(descriptor) == 0;
    const int error = errno;
    written = ::close(descriptor) == 0 && written;
    if (!written && error != 0) errno = error;
    return written;
}

// A rename is kept across a power loss only once its folder is on disk.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

fs::path settingsFolder() {
    const fs::path config = configFolder();
    return config.empty() ? config : config / "kordavan";
}

fs::path picturesFolder() {
    const fs::path home = homeFolder();
    if (home.empty()) return home;
    // The desktop's own list of folders: XDG_PICTURES_DIR="$HOME/Pictures".
    const fs::path config = configFolder();
    const FileText dirs = readFile(config / "user-dirs.dirs", 64 * 1024);
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (size_t at = 0; dirs.status == FileStatus::read && at < dirs.text.size();) {
        const size_t end = std::min(dirs.text.find('\n', at), dirs.text.size());
        const std::string line = dirs.text.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(key) || !line.ends_with("\"")) continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME/")) return home / value.substr(6);
        if (fs::path(value).is_absolute()) return value;
    }
    std::error_code error;
    if (fs::is_directory(home / "Pictures", error)) return home / "Pictures";
    return home;
}

FileText readFile(const fs::path& path, size_t largest) {
    FileText result;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return result;
        result.status = FileStatus::failed;
        result.reason = errorText(errno);
        return result;
    }
    result.status = FileStatus::failed;
    // A pipe opened for reading waits for a writer, and opening some devices
    // does something: neither is opened at all, and the non-blocking open
    // covers a file swapped for one between the two looks.
    if (!S_ISREG(status.st_mode)) {
        result.reason = "not a regular file";
        return result;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        result.reason = descriptor < 0 ? errorText(errno) : "not a regular file";
        if (descriptor >= 0) ::close(descriptor);
        return result;
    }
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) result.reason = errorText(errno);
        if (got <= 0) break;
        result.text.append(chunk, static_cast<size_t>(got));
        if (result.text.size() > largest) {
            result.reason = "larger than " + std::to_string(largest) + " bytes, too large";
            break;
        }
    }
    ::close(descriptor);
    if (!result.reason.empty()) {
        result.text.clear();
        return result;
    }
    result.status = FileStatus::read;
    return result;
}

bool makeFolders(const fs::path& folder, std::string& reason) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error) return true;
    reason = error.message();
    return false;
}

bool replaceFile(const fs::path& path, std::string_view text, std::string& reason) {
    const fs::path file = writtenFile(path, reason);
    if (file.empty()) return false;
    struct stat old {};
    const bool existed = ::stat(file.c_str(), &old) == 0;
    if (existed) {
        reason = refusal(path, file, old);
        if (!reason.empty()) return false;
    } else if (errno != ENOENT) {
        reason = errorText(errno);
        return false;
    }
    const fs::path folder = file.parent_path();
    if (!makeFolders(folder, reason)) return false;
    const std::string name = file.filename().string();
    removeStaleTemporaries(folder, name);
    const fs::path temporary = folder / temporaryName(name, ::getpid());
    if (!writeTemporary(temporary, text, existed ? &old : nullptr) ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        reason = errorText(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

void guardStandardStreams() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
        // open takes the lowest free number, which is this one.
        const int opened = ::open("/dev/null", O_RDWR);
        if (opened >= 0 && opened != descriptor) ::close(opened);
    }
    ::signal(SIGPIPE, SIG_IGN);
}

}  // namespace platform
