// The settings file. Reading forgives everything: a file that is missing,
// unreadable or full of nonsense costs the player a warning and the default
// for what could not be read, never the game. Writing changes only the lines
// of the keys it knows, so a comment or a setting of a later version of the
// game survives.

#include "app/settings_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>
#include <vector>

namespace {

// Far beyond any real settings file; anything larger is not one.
constexpr size_t largestFile = 64 * 1024;

constexpr std::array<std::string_view, 5> knownKeys = {"display", "scale", "integer-scale",
                                                       "volume", "pause-on-focus-loss"};

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// The key this line sets, or none for blank lines, comments and lines that
// are not `key = value`.
struct SettingLine {
    std::string_view key;
    std::string_view value;
};

std::optional<SettingLine> splitLine(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == '#') return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return SettingLine{};
    return SettingLine{trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

std::optional<bool> yesOrNo(std::string_view value) {
    for (std::string_view yes : {"yes", "true", "on", "1"}) {
        if (sameWord(value, yes)) return true;
    }
    for (std::string_view no : {"no", "false", "off", "0"}) {
        if (sameWord(value, no)) return false;
    }
    return std::nullopt;
}

std::optional<int> wholeNumber(std::string_view value, int lowest, int highest) {
    int number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc{} || end != value.data() + value.size()) return std::nullopt;
    if (number < lowest || number > highest) return std::nullopt;
    return number;
}

// A damaged file can hold anything; the warning shows a short, printable
// piece of it.
std::string shown(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out += c >= ' ' && c != 127 ? c : '?';
    if (text.size() > 40) out += "...";
    return "\"" + out + "\"";
}

void warn(std::ostream& warnings, const std::string& fileName, int lineNumber,
          const std::string& what) {
    warnings << "Kordavan: " << fileName << ":" << lineNumber << ": " << what << "\n";
}

// Applies one known key; false when its value cannot be read.
bool apply(Settings& settings, std::string_view key, std::string_view value,
           std::string& expected) {
    if (sameWord(key, "display")) {
        expected = "window or fullscreen";
        if (sameWord(value, "window"))
            settings.fullscreen = false;
        else if (sameWord(value, "fullscreen"))
            settings.fullscreen = true;
        else
            return false;
    } else if (sameWord(key, "scale")) {
        expected = "a whole number from 0 to " + std::to_string(maxSettingsScale);
        const auto scale = wholeNumber(value, 0, maxSettingsScale);
        if (!scale) return false;
        settings.scale = *scale;
    } else if (sameWord(key, "volume")) {
        expected = "a whole number from 0 to 100";
        const auto volume = wholeNumber(value, 0, 100);
        if (!volume) return false;
        settings.volume = *volume;
    } else {
        expected = "yes or no";
        const auto flag = yesOrNo(value);
        if (!flag) return false;
        (sameWord(key, "integer-scale") ? settings.integerScale : settings.pauseOnFocusLoss) =
            *flag;
    }
    return true;
}

std::string valueOf(std::string_view key, const Settings& settings) {
    if (key == "display") return settings.fullscreen ? "fullscreen" : "window";
    if (key == "scale") return std::to_string(std::clamp(settings.scale, 0, maxSettingsScale));
    if (key == "integer-scale") return settings.integerScale ? "yes" : "no";
    if (key == "volume") return std::to_string(std::clamp(settings.volume, 0, 100));
    return settings.pauseOnFocusLoss ? "yes" : "no";
}

std::optional<std::string_view> knownKey(std::string_view key) {
    for (std::string_view known : knownKeys) {
        if (sameWord(key, known)) return known;
    }
    return std::nullopt;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto end = text.find('\n');
        out.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// The whole file, or the reason it cannot be had (errno's text).
std::optional<std::string> slurp(const std::filesystem::path& path, std::string& reason) {
#ifdef _WIN32
    FILE* file = _wfopen(path.c_str(), L"rb");
#else
    FILE* file = std::fopen(path.c_str(), "rb");
#endif
    if (file == nullptr) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && text.size() <= largestFile) {
        text.append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        reason = std::strerror(error);
        return std::nullopt;
    }
    if (text.size() > largestFile) {
        reason = "too large for a settings file";
        return std::nullopt;
    }
    return text;
}

#ifndef _WIN32
bool writeAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}
#endif

}  // namespace

#ifdef _WIN32
// Windows keeps a player's settings in the roaming application data folder.
std::filesystem::path settingsPath() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || appData[0] == L'\0') return {};
    return std::filesystem::path(appData) / "Kordavan" / "kordavan.conf";
}
#else
std::filesystem::path settingsPath() {
    const std::filesystem::path place = "kordavan/kordavan.conf";
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && std::filesystem::path(config).is_absolute()) return config / place;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] == '\0') return {};
    return std::filesystem::path(home) / ".config" / place;
}
#endif

Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& warnings) {
    Settings settings;
    int lineNumber = 0;
    for (std::string_view line : lines(text)) {
        ++lineNumber;
        const auto setting = splitLine(line);
        if (!setting) continue;
        if (setting->key.empty()) {
            warn(warnings, fileName, lineNumber,
                 "not a setting (key = value): " + shown(trim(line)) + "; left out");
            continue;
        }
        // A key this version does not know may belong to a later one.
        if (!knownKey(setting->key)) continue;
        std::string expected;
        Settings changed = settings;
        if (apply(changed, setting->key, setting->value, expected)) {
            settings = changed;
        } else {
            warn(warnings, fileName, lineNumber,
                 std::string(setting->key) + " must be " + expected + ", not " +
                     shown(setting->value) + "; using " +
                     valueOf(*knownKey(setting->key), Settings{}));
        }
    }
    return settings;
}

std::string updateSettingsText(std::string_view text, const Settings& settings) {
    std::string out;
    std::vector<std::string_view> written;
    for (std::string_view line : lines(text)) {
        const auto setting = splitLine(line);
        const auto key = setting ? knownKey(setting->key) : std::nullopt;
        if (!key) {
            out.append(line).append("\n");
            continue;
        }
        if (std::find(written.begin(), written.end(), *key) != written.end()) continue;
        out.append(*key).append(" = ").append(valueOf(*key, settings)).append("\n");
        written.push_back(*key);
    }
    for (std::string_view key : knownKeys) {
        if (std::find(written.begin(), written.end(), key) != written.end()) continue;
        out.append(key).append(" = ").append(valueOf(key, settings)).append("\n");
    }
    return out;
}

Settings readSettings(const std::filesystem::path& path, std::ostream& warnings) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error)) return Settings{};
    std::string reason;
    const auto text = slurp(path, reason);
    if (!text) {
        warnings << "Kordavan: cannot read " << path.string() << ": " << reason
                 << "; using the default settings\n";
        return Settings{};
    }
    return parseSettings(*text, path.string(), warnings);
}

bool writeSettings(const std::filesystem::path& path, const Settings& settings,
                   std::ostream& warnings) {
    if (path.empty()) {
        warnings << "Kordavan: no home folder to keep the settings in\n";
        return false;
    }
    std::error_code error;
    // A settings file linked from elsewhere (a folder of dotfiles) stays a
    // link; the file it points to takes the change.
    const bool linked = std::filesystem::is_symlink(std::filesystem::symlink_status(path, error));
    const std::filesystem::path target = linked ? std::filesystem::canonical(path, error) : path;
    if (linked && error) {
        warnings << "Kordavan: cannot follow " << path.string() << ": " << error.message() << "\n";
        return false;
    }
#ifdef _WIN32
    std::string old;
    std::error_code missing;
    const bool existed = std::filesystem::exists(target, missing);
    if (existed) {
        std::string reason;
        const auto text = slurp(target, reason);
        if (!text) {
            warnings << "Kordavan: cannot read " << target.string() << ": " << reason
                     << "; the settings are not saved\n";
            return false;
        }
        old = *text;
    } else {
        old =
            "# Kordavan's settings: display = window | fullscreen, scale = 0-16 (0: the largest\n"
            "# window that fits), integer-scale = yes | no, volume = 0-100,\n"
            "# pause-on-focus-loss = yes | no\n";
    }
    std::filesystem::create_directories(target.parent_path(), error);
    // In the same folder, so that the rename replaces the file in one step.
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << updateSettingsText(old, settings);
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            warnings << "Kordavan: cannot write " << temporary.string()
                     << "; the settings are not saved\n";
            return false;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        warnings << "Kordavan: cannot write " << target.string() << ": " << error.message()
                 << "; the settings are not saved\n";
        return false;
    }
#else
    std::string old;
    mode_t mode = 0666;  // less the umask, for a new file
    struct stat status {};
    const bool existed = ::stat(target.c_str(), &status) == 0;
    if (existed) {
        std::string reason;
        const auto text = slurp(target, reason);
        if (!text) {
            warnings << "Kordavan: cannot read " << target.string() << ": " << reason
                     << "; the settings are not saved\n";
            return false;
        }
        old = *text;
        mode = status.st_mode & 07777;
    } else {
        old =
            "# Kordavan's settings: display = window | fullscreen, scale = 0-16 (0: the largest\n"
            "# window that fits), integer-scale = yes | no, volume = 0-100,\n"
            "# pause-on-focus-loss = yes | no\n";
    }
    std::filesystem::create_directories(target.parent_path(), error);
    // Hidden, in the same folder so the rename cannot cross file systems,
    // and of this process alone.
    std::string temporaryName = target.filename().string();
    temporaryName.insert(0, 1, '.');
    temporaryName.append(".").append(std::to_string(getpid())).append(".tmp");
    const std::filesystem::path temporary = target.parent_path() / temporaryName;
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (descriptor < 0) {
        warnings << "Kordavan: cannot write " << temporary.string() << ": " << std::strerror(errno)
                 << "; the settings are not saved\n";
        return false;
    }
    // The old file's permissions, not the umask's, if the player chose some.
    if (existed) ::fchmod(descriptor, mode);
    const bool written =
        writeAll(descriptor, updateSettingsText(old, settings)) && ::fsync(descriptor) == 0;
    const int writeError = errno;
    ::close(descriptor);
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int failure = written ? errno : writeError;
        ::unlink(temporary.c_str());
        warnings << "Kordavan: cannot write " << target.string() << ": " << std::strerror(failure)
                 << "; the settings are not saved\n";
        return false;
    }
#endif
    return true;
}
