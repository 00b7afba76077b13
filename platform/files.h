#pragma once
// The few files the game keeps on the player's machine (its settings, the
// player's screenshots), read and written through these calls only, so that each
// machine answers for its own: POSIX systems share posix/files.cpp, the
// browser keeps them in memory and its settings in localStorage
// (web/files.cpp), Windows has windows/files.cpp.
//
// Paths are std::filesystem::path, which holds wide names where the machine
// has them. A failure comes back as a short reason fit to show the player
// ("Permission denied", "not a regular file"), never as an exception.

#include <cstddef>
#include <exception>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Where the game keeps its settings: $XDG_CONFIG_HOME/kordavan, else
// ~/.config/kordavan (%APPDATA%\Kordavan on Windows). Empty where there is
// no such place: no home folder, or a browser.
std::filesystem::path settingsFolder();

// Where pictures the player takes belong: the desktop's pictures folder as
// xdg-user-dirs names it (XDG_PICTURES_DIR in the environment, else in
// $XDG_CONFIG_HOME/user-dirs.dirs), else ~/Pictures, whether it exists yet or
// not (on Windows the Pictures known folder, wherever the player keeps it,
// else %USERPROFILE%\Pictures, else the profile folder). Empty where there is
// none: no home folder, or a browser.
std::filesystem::path picturesFolder();

// A path the player typed or the game wrote as text, which is UTF-8 on every
// machine: std::filesystem::path would read a narrow string in the ANSI code
// page on Windows and turn a name in another script into '?'.
// Bytes that are not UTF-8 are taken as they are.
inline std::filesystem::path utf8Path(std::string_view text) {
    try {
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    } catch (const std::exception&) {
        return std::filesystem::path(text);
    }
}

// The other way: a path as UTF-8 text, for a message or a name the game
// writes down, whatever the machine's own code page.
inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

enum class FileStatus { read, missing, failed };

struct FileText {
    FileStatus status = FileStatus::missing;
    std::string text;    // read: the whole file
    std::string reason;  // failed: why it could not be read
};

// The whole of a regular file of at most `largest` bytes, a link followed,
// held in memory no larger than the file. Never waits: a pipe, a device or a
// folder in its place is refused as "not a regular file" without being read.
// A missing file comes with the reason too ("No such file or directory").
FileText readFile(const std::filesystem::path& path, size_t largest);

// Replaces the file's content with `text` so that a reader sees the old
// content or the new one, never a part, even after a crash or a power loss.
// A link is followed to the regular file it names, which takes the change
// while the link stays. The file keeps its permissions. Left alone, with the
// reason: a file that is not a regular one, one its owner may not write (the
// player's way of saying "keep this as it is"), one this process may not
// write. Missing folders are made. False, with the reason, when nothing was
// written.
bool replaceFile(const std::filesystem::path& path, std::string_view text, std::string& reason);

// Why the game must not write, delete or show a file under `path`: empty when
// every folder on its way, and every link on it, belongs to the player or to
// root. A folder or a link another user owns, planted in a shared folder such
// as /tmp, could otherwise lead a game run by root to write through it into a
// file of someone else's, or to delete one; the reason names the path only,
// never what it holds. Windows and the browser have no such shared folders
// among the player's own, and answer empty.
std::string othersOwn(const std::filesystem::path& path);

// replaced: the file holds `text` and what others added to the old one
// meanwhile. overrode: the file holds `text`, but another program rewrote the
// old file in place in the moment it was being replaced, and its version is
// gone.
enum class ReplaceStatus { replaced, overrode, changed, failed };

// replaceFile for a file others may write meanwhile (a player's editor, a
// script adding lines): `text` was made from `before`, the file as the
// caller read it (none: there was no file). Just before the new content
// takes its place the file is read again; changed, with nothing written,
// when it no longer holds `before`, for the caller to read it again and
// make its change anew. What is added to the old file in the moment it is
// being replaced is added to the new one: on Linux the call waits, a few
// milliseconds at most (never a frame), while another program holds the old
// file open to write into it. A program that rewrites the old file in place
// then rather than adding to it is not mixed in: the file stays `text`
// whole, and the answer is overrode. Nobody is kept waiting: the others lock
// nothing, and neither does this.
ReplaceStatus replaceChangedFile(const std::filesystem::path& path,
                                 const std::optional<std::string>& before, std::string_view text,
                                 std::string& reason);

// For tests: called by replaceChangedFile between its last look at the file
// and the rename, where another program may act; none by default.
void whileReplacing(std::function<void()> act);

enum class CreateStatus { created, taken, failed };

// Writes `bytes` as a new file under `path`, in an existing folder, never
// over anything already there: the name taken by any file, link or folder
// comes back as taken. A reader never sees the file half written, even after
// a crash or a power loss. Taken or failed come with the reason; nothing is
// left behind then.
CreateStatus createFile(const std::filesystem::path& path, std::string_view bytes,
                        std::string& reason);

// A file written as the game goes, a line at a time (a replay being
// recorded): what has been added is the system's as soon as the call
// returns, so a program killed later loses nothing of it.
struct GrowingFile;
// Creates a new file under `path`, never over or through anything there: a
// name taken by a file, a link (even one leading nowhere) or a folder comes
// back null with the reason "a file of that name is there already", before
// anything is written. A pipe already there is the exception, being no file
// to lose: what is added goes to its reader. Null with the reason otherwise.
// Never waits, not even for a pipe nobody reads.
GrowingFile* startFile(const std::filesystem::path& path, std::string& reason);
// Adds the whole of `text` at the end or nothing of it: a write cut short
// (a full disk) is taken back. Never waits: a pipe whose reader does not
// keep up fails at once. False with the reason; the file is of no use to
// add to after that.
bool addToFile(GrowingFile* file, std::string_view text, std::string& reason);
void closeFile(GrowingFile* file);
// Closes the file and removes it again, as long as the name still leads to
// the file this process created (a pipe stays).
void discardFile(GrowingFile* file);

// Makes the folder and its missing parents; false with the reason.
bool makeFolders(const std::filesystem::path& folder, std::string& reason);

// Call first thing, before any file, socket or window is opened. Standard
// input, output or error that is closed is opened on the null device, so
// that no file or connection the game opens later takes its place and
// receives its messages; a message written to a pipe nobody reads any more
// fails quietly instead of ending the game.
void guardStandardStreams();

}  // namespace platform
