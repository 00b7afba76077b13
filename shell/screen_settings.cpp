// The settings screen's settings: their words, their choices, and changing
// them for this run and in the file.

#include "shell/screen_settings.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>
#include <vector>

#include "platform/platform.h"
#include "shell/binding_lines.h"
#include "shell/key_bindings.h"
#include "shell/preferences.h"

namespace {

constexpr std::array settingsShown = {
    ScreenSetting{"display", "Display"},
    ScreenSetting{"scale", "Window size"},
    ScreenSetting{"integer-scale", "Sharp pixels (whole multiples)"},
    ScreenSetting{"volume", "Volume"},
    ScreenSetting{"pause-on-focus-loss", "Pause when the window loses focus"},
    ScreenSetting{"record-games", "Record my games"},
};

constexpr int volumeStep = 10;

// The values the screen offers, lowest first: the window sizes that fit the
// desktop after "the largest that fits", the volume in tens.
std::vector<int> choices(const SettingRow& row) {
    std::vector<int> values;
    if (row.name == "scale") {
        const platform::DesktopSize desktop = platform::desktopSize();
        const int fits = std::max(1, std::min(desktop.width / 640, desktop.height / 480));
        values.push_back(0);
        for (int scale = row.low; scale <= std::min(fits, row.high); ++scale)
            values.push_back(scale);
    } else if (row.kind == SettingKind::number) {
        for (int value = row.low; value <= row.high; value += volumeStep) values.push_back(value);
    } else {
        values = {0, 1};
    }
    return values;
}

std::string saidLine(const ScreenSetting& setting, const std::string& value, bool commandLine,
                     bool saved, const std::string& failure) {
    const std::string head = std::string(setting.label) + ": " + value;
    if (commandLine) {
        return head + " for this run only: the command line gave it, and the file keeps its own";
    }
    if (!saved) return head + " for this run only: it could not be saved\n" + failure;
    return head + " (saved)";
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

std::span<const ScreenSetting> screenSettings() {
    return settingsShown;
}

const SettingRow& tableRow(const ScreenSetting& setting) {
    return *findSetting(setting.name);
}

std::string valueText(const ScreenSetting& setting, const Settings& settings) {
    const SettingRow& row = tableRow(setting);
    const int value = row.fields.read(settings);
    if (row.name == "display") return value != 0 ? "full screen" : "window";
    if (row.name == "scale") {
        if (value == 0) return "largest that fits";
        return std::to_string(value) + "x (" + std::to_string(640 * value) + "x" +
               std::to_string(480 * value) + ")";
    }
    if (row.kind == SettingKind::flag) return value != 0 ? "on" : "off";
    return settingText(row, value);
}

int steppedValue(const ScreenSetting& setting, const Settings& settings, int direction, bool wrap) {
    const SettingRow& row = tableRow(setting);
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

void applySettings(const Settings& settings) {
    platform::DisplayOptions display;
    display.fullscreen = settings.fullscreen;
    display.scale = settings.scale;
    display.integerScale = settings.integerScale;
    const platform::DisplayOptions now = platform::displayOptions();
    if (now.fullscreen != display.fullscreen || now.scale != display.scale ||
        now.integerScale != display.integerScale) {
        platform::setDisplayOptions(display);
    }
    platform::SoundOptions sound = platform::soundOptions();
    if (sound.volume != settings.volume) {
        sound.volume = settings.volume;
        platform::setSoundOptions(sound);
    }
}

std::string changeSetting(const std::filesystem::path& file, const ScreenSetting& setting,
                          int value, std::ostream& warnings) {
    const SettingRow& row = tableRow(setting);
    Settings settings = currentSettings();
    row.fields.write(settings, value);
    useSettings(settings);
    applySettings(settings);
    const bool commandLine = givenOnCommandLine(row.name);
    std::ostringstream failure;
    const bool saved = commandLine || saveSetting(file, row.name, settingText(row, value), failure);
    warnings << failure.str();
    return saidLine(setting, valueText(setting, settings), commandLine, saved,
                    failureLine(failure.str(), file));
}

std::string restoreDefaults(const std::filesystem::path& file, std::ostream& warnings) {
    Settings settings = currentSettings();
    std::string runOnly;
    for (const ScreenSetting& setting : settingsShown) {
        const SettingRow& row = tableRow(setting);
        row.fields.write(settings, row.byDefault);
        if (givenOnCommandLine(row.name))
            runOnly += (runOnly.empty() ? "" : ", ") + std::string(setting.label);
    }
    useSettings(settings);
    applySettings(settings);
    const KeyBindings defaults = defaultKeyBindings();
    useKeyBindings(defaults);
    std::ostringstream failure;
    const bool saved = saveFileChange(
        file, "the defaults",
        [&](std::string_view text) {
            std::string changed(text);
            for (const ScreenSetting& setting : settingsShown) {
                const SettingRow& row = tableRow(setting);
                if (!givenOnCommandLine(row.name))
                    changed = withSetting(changed, row, row.byDefault);
            }
            for (size_t control = 0; control < controlCount; ++control) {
                changed = withBinding(changed, defaults, control, BindingKind::key);
                changed = withBinding(changed, defaults, control, BindingKind::pad);
            }
            return changed;
        },
        failure);
    warnings << failure.str();
    std::string said = saved ? "Every setting, key and button is back to the game's own (saved)"
                             : "Every setting, key and button is back to the game's own for this "
                               "run only: they could not be saved\n" +
                                   failureLine(failure.str(), file);
    if (!runOnly.empty()) said += "\nFrom the command line, for this run only: " + runOnly;
    return said;
}
