// The player's choices, from the settings file and the command line, and the
// one way every one of them reaches where it acts.

#include "shell/preferences.h"

#include <array>
#include <iostream>

#include "platform/platform.h"
#include "platform/warnings.h"

namespace {

// Only the display switched during play is saved, never this run's command
// line: the file is read again at that moment and only its display line
// changes.
std::filesystem::path file;
bool remembering = false;
bool shownFullscreen = true;
// This run's settings and what its command line said, for whoever shows them.
Settings current;
Options commandLineSaid;

// A window is made again only when something of it changed: the player
// stepping the volume must not see the window blink.
void sendToDisplay(const Settings& settings) {
    platform::DisplayOptions display;
    display.fullscreen = settings.fullscreen;
    display.scale = settings.scale;
    display.integerScale = settings.integerScale;
    const platform::DisplayOptions now = platform::displayOptions();
    if (now.fullscreen != display.fullscreen || now.scale != display.scale ||
        now.integerScale != display.integerScale) {
        platform::setDisplayOptions(display);
    }
}

void sendToSound(const Settings& settings) {
    platform::SoundOptions sound = platform::soundOptions();
    if (sound.silent == settings.noSound && sound.volume == settings.volume) return;
    sound.silent = settings.noSound;
    sound.volume = settings.volume;
    platform::setSoundOptions(sound);
}

std::array<SettingsReceiver, settingUseCount> receivers = [] {
    std::array<SettingsReceiver, settingUseCount> all{};
    all[static_cast<size_t>(SettingUse::display)] = sendToDisplay;
    all[static_cast<size_t>(SettingUse::sound)] = sendToSound;
    return all;
}();

// Every use some row of the table names, each once, in the table's order.
void sendEverywhere(const Settings& settings) {
    std::array<bool, settingUseCount> sent{};
    for (const SettingRow& row : settingsTable()) {
        const auto use = static_cast<size_t>(row.use);
        if (sent[use]) continue;
        sent[use] = true;
        if (receivers[use] != nullptr) receivers[use](settings);
    }
}

}  // namespace

void sendSettingsTo(SettingUse use, SettingsReceiver receiver) {
    receivers[static_cast<size_t>(use)] = receiver;
}

Settings chooseSettings(const Settings& fromFile, const Options& options) {
    Settings chosen = fromFile;
    for (const SettingRow& row : settingsTable()) {
        if (!row.fields.write || !row.fields.said) continue;
        if (const auto said = row.fields.said(options)) row.fields.write(chosen, *said);
    }
    return chosen;
}

const Settings& currentSettings() {
    return current;
}

bool givenOnCommandLine(std::string_view name) {
    const SettingRow* row = findSetting(name);
    return row && row->fields.said && row->fields.said(commandLineSaid).has_value();
}

void useSettings(const Settings& settings) {
    current = settings;
    shownFullscreen = settings.fullscreen;
    sendEverywhere(settings);
}

Settings usePreferences(const Options& options, const SettingsFile& settings) {
    file = settings.path;
    const Settings chosen =
        chooseSettings(parseSettings(settings.text, file.string(), platform::warnings()), options);
    commandLineSaid = options;
    remembering = !file.empty();
    useSettings(chosen);
    return chosen;
}

void rememberDisplayChoice() {
    if (!remembering) return;
    const bool fullscreen = platform::displayOptions().fullscreen;
    if (fullscreen == shownFullscreen) return;
    shownFullscreen = fullscreen;
    current.fullscreen = fullscreen;
    saveDisplayChoice(file, fullscreen, platform::warnings());
}
