// The player's choices, from the settings file and the command line.

#include "shell/preferences.h"

#include <iostream>

#include "platform/platform.h"
#include "platform/warnings.h"
#include "shell/settings_table.h"

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

}  // namespace

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
}

Settings usePreferences(const Options& options, const SettingsFile& settings) {
    file = settings.path;
    const Settings chosen =
        chooseSettings(parseSettings(settings.text, file.string(), platform::warnings()), options);

    platform::DisplayOptions display;
    display.fullscreen = chosen.fullscreen;
    display.scale = chosen.scale;
    display.integerScale = chosen.integerScale;
    platform::setDisplayOptions(display);

    platform::SoundOptions sound;
    sound.silent = options.noSound;
    sound.volume = chosen.volume;
    platform::setSoundOptions(sound);

    current = chosen;
    commandLineSaid = options;
    shownFullscreen = chosen.fullscreen;
    remembering = !file.empty();
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
