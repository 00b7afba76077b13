// Files on a POSIX machine, for the SDL and headless back ends alike. The
// player's files are treated as an editor treats them: a settings file is
// replaced whole through a rename, never truncated in place, a file the
// player made read-only, or swapped for a link to /dev/null, is theirs, and a
// new picture never takes the place of one already there.

#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "platform/printable.h"

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

// Far beyond the desktop's list of a dozen folders.
constexpr size_t largestUserDirs = 64 * 1024;

// XDG_PICTURES_DIR="$HOME/Pictures" as xdg-user-dirs writes it: a quoted
// path, absolute or starting with $HOME. The home folder itself is how the
// desktop says it has no pictures folder.
fs::path picturesFromUserDirs(std::string_view text, const fs::path& home) {
    constexpr std::string_view key = "XDG_PICTURES_DIR=\"";
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.starts_with(key)) continue;
        const size_t close = line.find('"', key.size());
        if (close == std::string_view::npos) continue;
        std::string value(line.substr(key.size(), close - key.size()));
        // $HOME alone or before a slash: $HOMEX is some other variable.
        if (value == "$HOME" || value.starts_with("$HOME/")) {
            if (home.empty()) continue;
            value = home.string() + value.substr(5);
        }
        if (fs::path(value).is_absolute() && value != home.string() && value != home.string() + "/")
            return value;
    }
    return {};
}

// Puts the finished temporary file in place under `path` unless that name
// is taken; errno says why not. A link, unlike a rename, fails on a name
// already taken; a folder on a disk without links (a FAT memory card) gets
// a rename that refuses to replace instead.
bool linkInPlace(const fs::path& temporary, const fs::path& path) {
    if (::link(temporary.c_str(), path.c_str()) == 0) return true;
#ifdef RENAME_NOREPLACE
    if (errno == EPERM || errno == EOPNOTSUPP)
        return ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) ==
               0;
#endif
    return false;
}

// The first folder or link on `path`'s way, from the root down, that
// neither the player nor root owns; empty when there is none. The rest of a
// path that is not there yet is made by the game, for the player.
std::string ownerOnTheWay(const fs::path& path) {
    const uid_t player = ::geteuid();
    fs::path walked;
    for (const fs::path& part : path) {
        walked /= part;
        struct stat status {};
        if (::lstat(walked.c_str(), &status) != 0) return {};
        const bool link = S_ISLNK(status.st_mode);
        if (!link && !S_ISDIR(status.st_mode)) continue;
        if (status.st_uid == player || status.st_uid == 0) continue;
        return shownName(utf8Text(walked)) + " is another user's " + (link ? "link" : "folder");
    }
    return {};
}

std::function<void()> replacingHook;

}  // namespace

std::string othersOwn(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) return {};
    std::string found = ownerOnTheWay(absolute);
    if (!found.empty()) return found;
    // The folders a link leads through count as much as the ones named.
    const fs::path real = fs::weakly_canonical(absolute, error);
    return error ? std::string() : ownerOnTheWay(real);
}

void whileReplacing(std::function<void()> act) {
    replacingHook = std::move(act);
}

fs::path settingsFolder() {
    const fs::path config = configFolder();
    return config.empty() ? config : config / "kordavan";
}

fs::path picturesFolder() {
    const fs::path home = homeFolder();
    const fs::path config = configFolder();
    fs::path pictures;
    // Set in the environment, it stands above the file, as it does for every
    // program xdg-user-dirs serves.
    if (const char* set = std::getenv("XDG_PICTURES_DIR"); set != nullptr) {
        const fs::path folder(set);
        if (folder.is_absolute() && folder != home && folder != home / "") pictures = folder;
    }
    if (pictures.empty() && !config.empty()) {
        const FileText dirs = readFile(config / "user-dirs.dirs", largestUserDirs);
        if (dirs.status == FileStatus::read) pictures = picturesFromUserDirs(dirs.text, home);
    }
    if (pictures.empty() && !home.empty()) pictures = home / "Pictures";
    return pictures;
}

FileText readFile(const fs::path& path, size_t largest) {
    FileText result;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        result.reason = errorText(errno);
        if (errno != ENOENT && errno != ENOTDIR) result.status = FileStatus::failed;
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
    const std::string tooLarge = "larger than " + std::to_string(largest) + " bytes, too large";
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        result.reason = descriptor < 0 ? errorText(errno) : "not a regular file";
        if (descriptor >= 0) ::close(descriptor);
        return result;
    }
    // Refused before a byte is read; the room for the text is taken once, at
    // the file's size, and grows only for a file that grows meanwhile.
    if (static_cast<uintmax_t>(status.st_size) > largest) {
        ::close(descriptor);
        result.reason = tooLarge;
        return result;
    }
    result.text.reserve(static_cast<size_t>(status.st_size));
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) result.reason = errorText(errno);
        if (got <= 0) break;
        result.text.append(chunk, static_cast<size_t>(got));
        if (result.text.size() > largest) {
            result.reason = tooLarge;
            break;
        }
    }
    ::close(descriptor);
    if (!result.reason.empty()) {
        result.text = std::string();
        return result;
    }
    result.status = FileStatus::read;
    return result;
}

CreateStatus createFile(const fs::path& path, std::string_view bytes, std::string& reason) {
    const std::string taken = "a file of that name is there already";
    // A name already taken is found before anything is written.
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        reason = taken;
        return CreateStatus::taken;
    }
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const fs::path temporary = folder / temporaryName(path.filename().string(), ::getpid());
    // Only a killed process that had this one's number can have left it.
    ::unlink(temporary.c_str());
    const bool created = writeTemporary(temporary, bytes, nullptr) && linkInPlace(temporary, path);
    const int error = errno;
    ::unlink(temporary.c_str());
    if (!created) {
        reason = error == EEXIST ? taken : errorText(error);
        return error == EEXIST ? CreateStatus::taken : CreateStatus::failed;
    }
    syncFolder(folder);
    return CreateStatus::created;
}

bool makeFolders(const fs::path& folder, std::string& reason) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error) return true;
    reason = error.message();
    return false;
}

struct GrowingFile {
    int descriptor = -1;
    fs::path path;
    dev_t device = 0;
    ino_t inode = 0;
    bool pipe = false;
    off_t length = 0;  // of the whole lines written so far
};

GrowingFile* startFile(const fs::path& path, std::string& reason) {
    // Made here and now or not at all: O_EXCL refuses any name already
    // taken, a link included, so nothing another user planted leads the
    // game, run by root, to empty a file of theirs.
    const int flags = O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    int descriptor = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    const bool taken = descriptor < 0 && errno == EEXIST;
    struct stat status {};
    // A pipe is no file to lose; opened without waiting, so one nobody
    // reads is refused at once.
    if (taken && ::lstat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode)) {
        descriptor = ::open(path.c_str(), flags);
        if (descriptor < 0 && errno == ENXIO) {
            reason = "a pipe nobody reads";
            return nullptr;
        }
    }
    if (descriptor < 0) {
        reason = taken ? "a file of that name is there already" : errorText(errno);
        return nullptr;
    }
    if (::fstat(descriptor, &status) != 0 ||
        (!S_ISREG(status.st_mode) && !S_ISFIFO(status.st_mode))) {
        ::close(descriptor);
        reason = taken ? "a file of that name is there already" : "not a regular file";
        return nullptr;
    }
    // The descriptor stays non-blocking: a write the pipe's reader is not
    // ready for fails instead of stopping the game.
    return new GrowingFile{descriptor, path, status.st_dev, status.st_ino, S_ISFIFO(status.st_mode),
                           0};
}

bool addToFile(GrowingFile* file, std::string_view text, std::string& reason) {
    if (file == nullptr) {
        reason = "not open";
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(file->descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written == 0) errno = ENOSPC;
        if (written <= 0) break;
        done += static_cast<size_t>(written);
    }
    if (done == text.size()) {
        file->length += static_cast<off_t>(done);
        return true;
    }
    const int error = errno;
    reason =
        error == EAGAIN || error == EWOULDBLOCK ? "its reader does not keep up" : errorText(error);
    // Whatever part of the line got onto the disk is taken back, so the
    // file ends with a whole line.
    if (done > 0 && (file->pipe || ::ftruncate(file->descriptor, file->length) != 0))
        reason += ", and part of a line stays";
    return false;
}

void closeFile(GrowingFile* file) {
    if (file == nullptr) return;
    ::close(file->descriptor);
    delete file;
}

void discardFile(GrowingFile* file) {
    if (file == nullptr) return;
    struct stat status {};
    if (!file->pipe && ::lstat(file->path.c_str(), &status) == 0 && status.st_dev == file->device &&
        status.st_ino == file->inode) {
        ::unlink(file->path.c_str());
    }
    closeFile(file);
}

namespace {

// What the file holds now, up to one byte more than `wanted`, from the open
// `descriptor`'s start.
std::string readBack(int descriptor, size_t wanted) {
    std::string text(wanted + 1, '\0');
    size_t got = 0;
    while (got < text.size()) {
        const ssize_t read =
            ::pread(descriptor, text.data() + got, text.size() - got, static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) break;
        got += static_cast<size_t>(read);
    }
    text.resize(got);
    return text;
}

// Adds to the file now at `file` what was added to the replaced one, held
// open as `old`, past `kept`: the old file's text the new one holds already,
// which grows by what is carried. False, with nothing added, when the old
// file no longer begins with `kept`: another program rewrote it in place
// rather than adding to it, and a part of its version would tear ours.
bool carryOver(int old, std::string& kept, const fs::path& file) {
    struct stat status {};
    if (::fstat(old, &status) != 0) return true;
    const std::string all =
        readBack(old, std::max(static_cast<size_t>(status.st_size), kept.size()));
    if (!all.starts_with(kept)) return false;
    if (all.size() == kept.size()) return true;
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return true;
    if (writeAll(descriptor, std::string_view(all).substr(kept.size()))) ::fsync(descriptor);
    ::close(descriptor);
    kept = all;
    return true;
}

// Whether another program holds the file open to write into it, as far as
// the system tells: Linux grants a read lease only while no one has it open
// for writing, so a pager reading it costs no wait. Unknown (another owner's
// file, a network disk) counts as no.
bool othersWriteIt(int descriptor) {
#ifdef F_SETLEASE
    // A lease's break is signalled with SIGIO, which would end the game; the
    // replaced file has no name left to be opened by, so none comes.
    struct sigaction ignore {};
    struct sigaction old {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGIO, &ignore, &old);
    const bool leased = ::fcntl(descriptor, F_SETLEASE, F_RDLCK) == 0;
    const bool held = !leased && errno == EAGAIN;
    if (leased) ::fcntl(descriptor, F_SETLEASE, F_UNLCK);
    ::sigaction(SIGIO, &old, nullptr);
    return held;
#else
    (void)descriptor;
    return false;
#endif
}

// A program that opened the old file before the rename to add a line may
// write it into the replaced file afterwards: while one holds it open to
// write, what they add is carried over to the new one. A frame lasts
// 16.7 ms and an editor may hold the file open for an hour, so the wait is a
// few milliseconds, far beyond the moment a script takes to add its line.
// False when the old file was rewritten in place instead.
bool drainReplaced(int old, std::string kept, const fs::path& file) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
    while (carryOver(old, kept, file)) {
        if (!othersWriteIt(old) || std::chrono::steady_clock::now() >= until)
            return carryOver(old, kept, file);
        const timespec pause{0, 250'000};
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

// replaceFile, and with `before` replaceChangedFile.
ReplaceStatus replace(const fs::path& path, std::string_view text, std::string& reason,
                      const std::optional<std::string>* before) {
    reason = othersOwn(path);
    if (!reason.empty()) return ReplaceStatus::failed;
    const fs::path file = writtenFile(path, reason);
    if (file.empty()) return ReplaceStatus::failed;
    struct stat old {};
    const bool existed = ::stat(file.c_str(), &old) == 0;
    if (existed) {
        reason = refusal(path, file, old);
        if (!reason.empty()) return ReplaceStatus::failed;
    } else if (errno != ENOENT) {
        reason = errorText(errno);
        return ReplaceStatus::failed;
    }
    const fs::path folder = file.parent_path();
    if (!makeFolders(folder, reason)) return ReplaceStatus::failed;
    // Another user may have made a folder of the way in the meantime.
    reason = othersOwn(path);
    if (!reason.empty()) return ReplaceStatus::failed;
    const std::string name = file.filename().string();
    removeStaleTemporaries(folder, name);
    const fs::path temporary = folder / temporaryName(name, ::getpid());
    if (!writeTemporary(temporary, text, existed ? &old : nullptr)) {
        reason = errorText(errno);
        ::unlink(temporary.c_str());
        return ReplaceStatus::failed;
    }
    // The last look before the rename: what another program added while the
    // new content was being made and written must not be lost with the old
    // file.
    int current = -1;
    if (before != nullptr) {
        current = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        const bool unchanged =
            current < 0 ? errno == ENOENT && !before->has_value()
                        : before->has_value() && readBack(current, (*before)->size()) == **before;
        if (!unchanged) {
            if (current >= 0) ::close(current);
            ::unlink(temporary.c_str());
            return ReplaceStatus::changed;
        }
        if (replacingHook) replacingHook();
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        reason = errorText(errno);
        ::unlink(temporary.c_str());
        if (current >= 0) ::close(current);
        return ReplaceStatus::failed;
    }
    bool whole = true;
    if (current >= 0) {
        whole = drainReplaced(current, **before, file);
        ::close(current);
    }
    syncFolder(folder);
    return whole ? ReplaceStatus::replaced : ReplaceStatus::overrode;
}

}  // namespace

bool replaceFile(const fs::path& path, std::string_view text, std::string& reason) {
    return replace(path, text, reason, nullptr) == ReplaceStatus::replaced;
}

ReplaceStatus replaceChangedFile(const fs::path& path, const std::optional<std::string>& before,
                                 std::string_view text, std::string& reason) {
    return replace(path, text, reason, &before);
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
