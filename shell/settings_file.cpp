// The settings file. Reading forgives everything: a file that is missing,
// unreadable or full of nonsense costs the player a warning and the default
// for what could not be read, never the game. Writing changes only the line
// of the one setting saved (the display, when the player switches it), so a
// comment, a setting of a later version of the game or a value the player
// typed in while the game ran survives. The keys, their values and their
// defaults are the settings table's.

#include "shell/settings_file.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/printable.h"
#include "shell/control_table.h"
#include "shell/settings_table.h"

namespace {

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

void warn(std::ostream& warnings, const std::string& fileName, int lineNumber,
          const std::string& what) {
    warnings << "kordavan: " << shownName(fileName) << ":" << lineNumber << ": " << what << "\n";
}

// The value as the player sees it take effect.
std::string shownValue(const SettingRow& row, const Settings& settings) {
    const int value = row.fields.read(settings);
    if (value == row.byDefault && !row.defaultText.empty()) return std::string(row.defaultText);
    return settingText(row, value);
}

// The row of a key the file may hold; null for a key of the keys and pads,
// or of a later version of the game.
const SettingRow* fileKey(std::string_view key) {
    const SettingRow* row = findSetting(key);
    return row && (row->place & settingsFile) ? row : nullptr;
}

// Some Windows editors begin a UTF-8 file with a byte-order mark.
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A key-* or pad-* line, or one hidden behind a byte-order mark that only
// the first line may hold: key_bindings.cpp reads and reports those.
bool bindingLine(std::string_view key) {
    const std::string_view start = key.substr(0, 4);
    return sameWord(start, "key-") || sameWord(start, "pad-") || key.starts_with(byteOrderMark);
}

// A misspelt key, or a value written as a key (fullscreen = yes), is most
// often what it was meant for: the warning says which.
std::string unknownKeyText(std::string_view key) {
    std::string text = "no setting called " + shownText(key);
    std::vector<std::string> keys;
    for (const SettingRow& row : settingsTable()) {
        if (!(row.place & settingsFile)) continue;
        keys.emplace_back(row.name);
        if (row.kind != SettingKind::word) continue;
        for (int index = 0; !settingWord(row, index).empty(); ++index) {
            if (sameWord(key, settingWord(row, index))) {
                return text + " (did you mean " + std::string(row.name) + " = " +
                       std::string(settingWord(row, index)) + "?)";
            }
        }
    }
    if (findSetting(key) != nullptr) {
        return text + " (--" + std::string(findSetting(key)->name) +
               " is for the command line only)";
    }
    for (std::string_view control : controlNames()) {
        keys.push_back("key-" + std::string(control));
        keys.push_back("pad-" + std::string(control));
    }
    const std::string_view meant = nearestWord(key, keys);
    return meant.empty() ? text : text + " (did you mean " + std::string(meant) + "?)";
}

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
    const SettingRow* row;  // null for a line that is no setting
    std::string text;
};

// The head of a file the game makes, for the player who opens it.
std::string newFileText() {
    std::string text =
        "# Kordavan's settings, one key = value a line (kordavan --help tells more):\n";
    for (const SettingRow& row : settingsTable()) {
        if (row.place & settingsFile) text += "#   " + fileForm(row) + "\n";
    }
    return text;
}

// `line` added at the end of `text`, with the line ends the file already uses.
std::string withLineAdded(std::string text, std::string_view line) {
    const size_t firstEnd = text.find('\n');
    const bool windowsEnds =
        firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r';
    const std::string_view lineEnd = windowsEnds ? "\r\n" : "\n";
    if (!text.empty() && text.back() != '\n') text += lineEnd;
    return text.append(line).append(lineEnd);
}

}  // namespace

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
            badValues.push_back({setting.lineNumber, nullptr,
                                 "not a setting (key = value): " + shownText(setting.text)});
            continue;
        }
        const SettingRow* row = fileKey(setting.key);
        if (!row) {
            // The keys and pads read their own lines, and say what is wrong
            // with them.
            if (!bindingLine(setting.key)) {
                badValues.push_back({setting.lineNumber, nullptr, unknownKeyText(setting.key)});
            }
            continue;
        }
        if (const auto value = readSettingValue(*row, setting.value)) {
            row->fields.write(settings, *value);
        } else {
            badValues.push_back({setting.lineNumber, row,
                                 std::string(row->name) + " must be " + expectedText(*row) +
                                     ", not " + shownText(setting.value)});
        }
    }
    for (const BadValue& bad : badValues) {
        warn(warnings, fileName, bad.lineNumber,
             bad.text + (bad.row ? "; using " + shownValue(*bad.row, settings) : "; left out"));
    }
    return settings;
}

SettingsFile readSettingsFile(const std::filesystem::path& path, std::ostream& warnings) {
    if (path.empty()) return {};
    // Its lines would be shown in warnings: another user's link must not
    // make the game show what root's file holds.
    if (const std::string refused = platform::othersOwn(path); !refused.empty()) {
        warnings << "kordavan: cannot read " << shownName(platform::utf8Text(path)) << ": "
                 << refused << "; using the default settings\n";
        return {path, {}};
    }
    platform::FileText file = platform::readFile(path, largestSettingsFile);
    if (file.status == platform::FileStatus::failed) {
        warnings << "kordavan: cannot read " << shownName(platform::utf8Text(path)) << ": "
                 << file.reason << "; using the default settings\n";
    }
    return {path, std::move(file.text)};
}

Settings readSettings(const std::filesystem::path& path, std::ostream& warnings) {
    const SettingsFile file = readSettingsFile(path, warnings);
    return parseSettings(file.text, path.string(), warnings);
}

std::string withSetting(std::string_view text, const SettingRow& row, int value) {
    // The line that decides is the last one the reader takes, else the last
    // damaged one, which the player meant to be it.
    struct DecidingLine {
        std::string_view line;
        std::string_view value;
    };
    std::optional<DecidingLine> deciding;
    std::optional<int> read;
    for (std::string_view line : lines(text)) {
        const auto setting = splitLine(line);
        if (!setting || !sameWord(setting->key, row.name)) continue;
        const auto good = readSettingValue(row, setting->value);
        if (good || !read) deciding = DecidingLine{line, setting->value};
        if (good) read = good;
    }
    // A file that does not say it yet does, so that the choice outlives a
    // change of the game's default.
    if (read == value) return std::string(text);
    const std::string wanted = settingText(row, value);
    const std::string wholeLine = std::string(row.name) + " = " + wanted;
    std::string out(text);
    if (deciding) {
        // Only the value's bytes change; a line whose value is empty is
        // written anew, keeping its Windows line end.
        const std::string_view line = deciding->line;
        size_t from = static_cast<size_t>(line.data() - text.data());
        size_t length = line.size() - (line.ends_with('\r') ? 1 : 0);
        std::string replacement = wholeLine;
        if (!deciding->value.empty()) {
            from = static_cast<size_t>(deciding->value.data() - text.data());
            length = deciding->value.size();
            replacement = wanted;
        }
        return out.replace(from, length, replacement);
    }
    return withLineAdded(out, wholeLine);
}

std::string withLine(std::string_view text, std::string_view key, std::string_view value) {
    std::optional<std::string_view> last;
    std::string_view lastValue;
    for (std::string_view line : lines(text)) {
        const auto setting = splitLine(line);
        if (!setting || !sameWord(setting->key, key)) continue;
        last = line;
        lastValue = setting->value;
    }
    const std::string wholeLine = std::string(key) + " = " + std::string(value);
    if (!last) return withLineAdded(std::string(text), wholeLine);
    if (lastValue == value) return std::string(text);
    // As withSetting: the value's bytes, or the whole line when it has none.
    size_t from = static_cast<size_t>(last->data() - text.data());
    size_t length = last->size() - (last->ends_with('\r') ? 1 : 0);
    std::string replacement = wholeLine;
    if (!lastValue.empty()) {
        from = static_cast<size_t>(lastValue.data() - text.data());
        length = lastValue.size();
        replacement = value;
    }
    return std::string(text).replace(from, length, replacement);
}

std::string withDisplayChoice(std::string_view text, bool fullscreen) {
    return withSetting(text, *findSetting("display"), fullscreen ? 1 : 0);
}

bool saveSetting(const std::filesystem::path& path, std::string_view name, std::string_view value,
                 std::ostream& warnings) {
    const SettingRow* row = fileKey(name);
    const auto number = row ? readSettingValue(*row, value) : std::nullopt;
    if (!number) {
        warnings << "kordavan: " << shownText(name) << " = " << shownText(value)
                 << " is no setting of the file\n";
        return false;
    }
    const std::string what =
        "the " + std::string(row->name) + (row->name == "display" ? " choice" : " setting");
    return saveFileChange(
        path, what, [&](std::string_view text) { return withSetting(text, *row, *number); },
        warnings);
}

bool saveFileChange(const std::filesystem::path& path, const std::string& what,
                    const std::function<std::string(std::string_view)>& change,
                    std::ostream& warnings) {
    const std::string notSaved = "kordavan: " + what + " is not saved in ";
    if (path.empty()) {
        warnings << "kordavan: " << what << " is not saved: no home folder to keep it in\n";
        return false;
    }
    // Another program may add to the file meanwhile (a script, the player's
    // editor); what it wrote between the reading and the replacing would be
    // lost, so the change is made again from the file as it is then. Nobody
    // else locks the file, so locking it would keep no one out.
    if (const std::string refused = platform::othersOwn(path); !refused.empty()) {
        warnings << notSaved << shownName(platform::utf8Text(path)) << ": " << refused << "\n";
        return false;
    }
    for (int attempt = 0; attempt < 50; ++attempt) {
        const platform::FileText file = platform::readFile(path, largestSettingsFile);
        if (file.status == platform::FileStatus::failed) {
            // Its lines could not be kept.
            warnings << notSaved << shownName(platform::utf8Text(path))
                     << ": cannot read it: " << file.reason << "\n";
            return false;
        }
        const bool exists = file.status == platform::FileStatus::read;
        const std::string old = exists ? file.text : newFileText();
        const std::string text = change(old);
        if (text == old) return true;
        if (text.size() > largestSettingsFile) {
            warnings << notSaved << shownName(platform::utf8Text(path)) << ": it would grow past "
                     << largestSettingsFile << " bytes\n";
            return false;
        }
        std::string reason;
        const auto before = exists ? std::optional<std::string>(file.text) : std::nullopt;
        switch (platform::replaceChangedFile(path, before, text, reason)) {
            case platform::ReplaceStatus::replaced:
                return true;
            case platform::ReplaceStatus::overrode:
                // Either version whole beats a mix of both; the player
                // knows to look again at what the other program wrote.
                warnings << "kordavan: another program rewrote "
                         << shownName(platform::utf8Text(path)) << " while " << what
                         << " was saved; the game's version stands, not that program's\n";
                return true;
            case platform::ReplaceStatus::failed:
                warnings << notSaved << shownName(platform::utf8Text(path)) << ": " << reason
                         << "\n";
                return false;
            case platform::ReplaceStatus::changed:
                break;
        }
    }
    warnings << notSaved << shownName(platform::utf8Text(path))
             << ": another program keeps changing it\n";
    return false;
}

bool saveDisplayChoice(const std::filesystem::path& path, bool fullscreen, std::ostream& warnings) {
    return saveSetting(path, "display", fullscreen ? "fullscreen" : "window", warnings);
}
