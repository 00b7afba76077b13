// The settings screen's settings: their words, their choices, and changing
// them for this run and in the file.

#include "shell/setting_changes.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <vector>

#include "platform/platform.h"
#include "shell/binding_lines.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"

namespace {

// The word `index` of a '|' list.
std::string_view wordAt(std::string_view words, int index) {
    for (int at = 0; at < index && !words.empty(); ++at) {
        const size_t bar = words.find('|');
        words.remove_prefix(bar == std::string_view::npos ? words.size() : bar + 1);
    }
    return words.substr(0, words.find('|'));
}

// After "the largest that fits", every window size up to the largest the
// desktop holds: a larger one would be cut down to that anyway.
std::vector<int> windowsThatFit(const SettingRow& row) {
    const platform::DesktopSize desktop = platform::desktopSize();
    const int fits = std::max(1, std::min(desktop.width / 640, desktop.height / 480));
    std::vector<int> values{row.byDefault};
    for (int scale = row.low; scale <= std::min(fits, row.high); ++scale) values.push_back(scale);
    return values;
}

// The values the screen offers, lowest first.
std::vector<int> choices(const SettingRow& row) {
    if (row.screenChoices == ScreenChoices::windowsThatFit) return windowsThatFit(row);
    if (row.kind != SettingKind::number) return {0, 1};
    std::vector<int> values;
    for (int value = row.low; value <= row.high; value += row.screenStep) values.push_back(value);
    return values;
}

std::string saidLine(const SettingRow& row, const std::string& value, bool commandLine, bool saved,
                     const std::string& failure) {
    const std::string head = std::string(row.screenLabel) + ": " + value;
    if (commandLine) {
        return head + " for this run only: the command line gave it, and the file keeps its own";
    }
    if (!saved) return head + " for this run only: it could not be saved\n" + failure;
    // Saved, yet with a word to say: another program's version was lost.
    return head + " (saved)" + (failure.empty() ? "" : "\n" + failure);
}

}  // namespace

std::string failureLine(const std::string& warning, const std::filesystem::path& file) {
    std::string line = warning.substr(0, warning.find('\n'));
    constexpr std::string_view prefix = "kordavan: ";
    if (line.starts_with(prefix)) line.erase(0, prefix.size());
    const std::string path = file.string();
    if (const size_t at = line.find(path); !path.empty() && at != std::string::npos) {
        line.replace(at, path.size(), file.filename().string());
    }
    return line;
}

std::string screenText(const SettingRow& row, int value) {
    switch (row.screenValue) {
        case ScreenValue::words:
            return std::string(wordAt(row.screenWords, value));
        case ScreenValue::windowSize:
            if (value == 0) return "largest that fits";
            return std::to_string(value) + "x (" + std::to_string(640 * value) + "x" +
                   std::to_string(480 * value) + ")";
        case ScreenValue::fileText:
            break;
    }
    return settingText(row, value);
}

int steppedValue(const SettingRow& row, const Settings& settings, int direction, bool wrap) {
    const int value = row.fields.read(settings);
    const std::vector<int> values = choices(row);
    if (direction > 0) {
        const auto next = std::upper_bound(values.begin(), values.end(), value);
        if (next != values.end()) return *next;
        return wrap ? values.front() : std::max(value, values.back());
    }
    const auto next = std::lower_bound(values.begin(), values.end(), value);
    if (next != values.begin()) return *(next - 1);
    return wrap ? values.back() : std::min(value, values.front());
}

std::string changeSetting(const std::filesystem::path& file, const SettingRow& row, int value,
                          std::ostream& warnings) {
    Settings settings = currentSettings();
    row.fields.write(settings, value);
    useSettings(settings);
    const bool commandLine = givenOnCommandLine(row.name);
    std::ostringstream failure;
    const bool saved = commandLine || saveSetting(file, row.name, settingText(row, value), failure);
    warnings << failure.str();
    return saidLine(row, screenText(row, value), commandLine, saved,
                    failureLine(failure.str(), file));
}

std::string restoreDefaults(const std::filesystem::path& file, std::ostream& warnings) {
    Settings settings = currentSettings();
    std::string runOnly;
    for (const SettingRow* row : screenRows()) {
        row->fields.write(settings, row->byDefault);
        if (givenOnCommandLine(row->name))
            runOnly += (runOnly.empty() ? "" : ", ") + std::string(row->screenLabel);
    }
    useSettings(settings);
    const KeyBindings defaults = defaultKeyBindings();
    useKeyBindings(defaults);
    std::ostringstream failure;
    const bool saved = saveFileChange(
        file, "the defaults",
        [&](std::string_view text) {
            std::string changed(text);
            for (const SettingRow* row : screenRows()) {
                if (!givenOnCommandLine(row->name))
                    changed = withSetting(changed, *row, row->byDefault);
            }
            for (size_t control = 0; control < controlCount; ++control) {
                changed = withBinding(changed, defaults, control, BindingKind::key);
                changed = withBinding(changed, defaults, control, BindingKind::pad);
            }
            return changed;
        },
        failure);
    warnings << failure.str();
    std::string said = saved ? "Every setting, key and button is back to the game's own (saved)" +
                                   std::string(failure.str().empty() ? "" : "\n") +
                                   failureLine(failure.str(), file)
                             : "Every setting, key and button is back to the game's own for this "
                               "run only: they could not be saved\n" +
                                   failureLine(failure.str(), file);
    if (!runOnly.empty()) said += "\nFrom the command line, for this run only: " + runOnly;
    return said;
}
