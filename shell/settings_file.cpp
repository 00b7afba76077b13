// The settings file. Reading forgives everything: a file that is missing,
// unreadable or full of nonsense costs the player a warning and the default
// for what could not be read, never the game. Writing changes only the
// display line, so a comment, a setting of a later version of the game or a
// value the player typed in while the game ran survives.

#include "shell/settings_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace {

constexpr std::array<std::string_view, 5> knownKeys = {"display", "scale", "integer-scale",
                                                       "volume", "pause-on-focus-loss"};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The key and value this line sets: none for blank lines and comments, an
// empty key for lines that are not `key = value`.
struct KeyAndValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyAndValue> splitLine(std::string_view line) {
    const std::string_view text = trim(line);
    if (text.empty() || text.front() == '#') return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return KeyAndValue{};
    return KeyAndValue{trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
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

// The value as the player sees it take effect.
std::string shownValue(std::string_view key, const Settings& settings) {
    if (key == "scale" && settings.scale == 0) return "the largest window that fits";
    return valueOf(key, settings);
}

std::optional<std::string_view> knownKey(std::string_view key) {
    for (std::string_view known : knownKeys) {
        if (sameWord(key, known)) return known;
    }
    return std::nullopt;
}

// Some Windows editors begin a UTF-8 file with a byte-order mark.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string_view> lines(std::string_view text) {
    if (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const auto end = text.find('\n');
        out.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return out;
}

// A value that could not be read, reported once the whole file is read, so
// that the warning can name the value the game goes on with.
struct BadValue {
    int lineNumber;
    std::string_view key;
    std::string text;
};

const char* const newFileText =
    "# Kordavan's settings: display = window | fullscreen, scale = 0-16 (0: the largest\n"
    "# window that fits), integer-scale = yes | no, volume = 0-100,\n"
    "# pause-on-focus-loss = yes | no\n";

}  // namespace

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// A damaged file can hold anything; the warning shows a short, printable
// piece of it.
std::string shownText(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out += c >= ' ' && c != 127 ? c : '?';
    if (text.size() > 40) out += "...";
    return "\"" + out + "\"";
}

std::vector<SettingLine> settingLines(std::string_view text) {
    std::vector<SettingLine> out;
    int lineNumber = 0;
    for (std::string_view line : lines(text)) {
        ++lineNumber;
        const auto setting = splitLine(line);
        if (setting) out.push_back({lineNumber, setting->key, setting->value, trim(line)});
    }
    return out;
}

std::filesystem::path settingsPath() {
    const std::filesystem::path folder = platform::settingsFolder();
    return folder.empty() ? folder : folder / "kordavan.conf";
}

Settings parseSettings(std::string_view text, const std::string& fileName, std::ostream& warnings) {
    Settings settings;
    std::vector<BadValue> badValues;
    for (const SettingLine& setting : settingLines(text)) {
        if (setting.key.empty()) {
            badValues.push_back({setting.lineNumber,
                                 {},
                                 "not a setting (key = value): " + shownText(setting.text)});
            continue;
        }
        // A key this version does not know may belong to a later one, or to
        // the keys and pads.
        const auto key = knownKey(setting.key);
        if (!key) continue;
        std::string expected;
        Settings changed = settings;
        if (apply(changed, *key, setting.value, expected)) {
            settings = changed;
        } else {
            badValues.push_back(
                {setting.lineNumber, *key,
                 std::string(*key) + " must be " + expected + ", not " + shownText(setting.value)});
        }
    }
    for (const BadValue& bad : badValues) {
        warn(warnings, fileName, bad.lineNumber,
             bad.text +
                 (bad.key.empty() ? "; left out" : "; using " + shownValue(bad.key, settings)));
    }
    return settings;
}

SettingsFile readSettingsFile(const std::filesystem::path& path, std::ostream& warnings) {
    if (path.empty()) return {};
    platform::FileText file = platform::readFile(path, largestSettingsFile);
    if (file.status == platform::FileStatus::failed) {
        warnings << "Kordavan: cannot read " << path.string() << ": " << file.reason
                 << "; using the default settings\n";
    }
    return {path, std::move(file.text)};
}

Settings readSettings(const std::filesystem::path& path, std::ostream& warnings) {
    const SettingsFile file = readSettingsFile(path, warnings);
    return parseSettings(file.text, path.string(), warnings);
}

std::string withDisplayChoice(std::string_view text, bool fullscreen) {
    // The line that decides is the last one the reader takes, else the last
    // damaged one, which the player meant to be it.
    struct DisplayLine {
        std::string_view line;
        std::string_view value;
    };
    std::optional<DisplayLine> deciding;
    Settings read;
    bool readable = false;
    for (std::string_view line : lines(text)) {
        const auto setting = splitLine(line);
        if (!setting || !sameWord(setting->key, "display")) continue;
        std::string expected;
        const bool good = apply(read, "display", setting->value, expected);
        if (good || !readable) deciding = DisplayLine{line, setting->value};
        readable = readable || good;
    }
    // A file that does not say it yet does, so that the choice outlives a
    // change of the game's default.
    if (readable && read.fullscreen == fullscreen) return std::string(text);
    const std::string_view wanted = fullscreen ? "fullscreen" : "window";
    std::string out(text);
    if (deciding) {
        // Only the value's bytes change; a line whose value is empty is
        // written anew, keeping its Windows line end.
        const std::string_view line = deciding->line;
        size_t from = static_cast<size_t>(line.data() - text.data());
        size_t length = line.size() - (line.ends_with('\r') ? 1 : 0);
        std::string replacement = "display = " + std::string(wanted);
        if (!deciding->value.empty()) {
            from = static_cast<size_t>(deciding->value.data() - text.data());
            length = deciding->value.size();
            replacement = wanted;
        }
        return out.replace(from, length, replacement);
    }
    const size_t firstEnd = text.find('\n');
    const bool windowsEnds =
        firstEnd != std::string_view::npos && firstEnd > 0 && text[firstEnd - 1] == '\r';
    const std::string_view lineEnd = windowsEnds ? "\r\n" : "\n";
    if (!out.empty() && out.back() != '\n') out += lineEnd;
    return out.append("display = ").append(wanted).append(lineEnd);
}

bool saveDisplayChoice(const std::filesystem::path& path, bool fullscreen, std::ostream& warnings) {
    const std::string notSaved = "Kordavan: the display choice is not saved in ";
    if (path.empty()) {
        warnings << "Kordavan: the display choice is not saved: no home folder to keep it in\n";
        return false;
    }
    // Another program may add to the file meanwhile (a script, the player's
    // editor); what it wrote between the reading and the replacing would be
    // lost, so the change is made again from the file as it is then. Nobody
    // else locks the file, so locking it would keep no one out.
    for (int attempt = 0; attempt < 50; ++attempt) {
        const platform::FileText file = platform::readFile(path, largestSettingsFile);
        if (file.status == platform::FileStatus::failed) {
            // Its lines could not be kept.
            warnings << notSaved << path.string() << ": cannot read it: " << file.reason << "\n";
            return false;
        }
        const bool exists = file.status == platform::FileStatus::read;
        const std::string old = exists ? file.text : newFileText;
        const std::string text = withDisplayChoice(old, fullscreen);
        if (text == old) return true;
        if (text.size() > largestSettingsFile) {
            warnings << notSaved << path.string() << ": it would grow past " << largestSettingsFile
                     << " bytes\n";
            return false;
        }
        std::string reason;
        const auto before = exists ? std::optional<std::string>(file.text) : std::nullopt;
        switch (platform::replaceChangedFile(path, before, text, reason)) {
            case platform::ReplaceStatus::replaced:
                return true;
            case platform::ReplaceStatus::failed:
                warnings << notSaved << path.string() << ": " << reason << "\n";
                return false;
            case platform::ReplaceStatus::changed:
                break;
        }
    }
    warnings << notSaved << path.string() << ": another program keeps changing it\n";
    return false;
}
