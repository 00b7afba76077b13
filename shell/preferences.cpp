// The player's choices, from the settings file and the command line.

#include "shell/preferences.h"

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

}  // namespace

Settings chooseSettings(const Settings& fromFile, const Options& options) {
    Settings chosen = fromFile;
    if (options.display) chosen.fullscreen = *options.display == DisplayMode::fullscreen;
    if (options.scale) chosen.scale = *options.scale;
    if (options.volume) chosen.volume = *options.volume;
    if (options.integerScale) chosen.integerScale = true;
    if (options.pauseOnFocusLoss) chosen.pauseOnFocusLoss = true;
    return chosen;
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

    shownFullscreen = chosen.fullscreen;
    remembering = !file.empty();
    return chosen;
}

void rememberDisplayChoice() {
    if (!remembering) return;
    const bool fullscreen = platform::displayOptions().fullscreen;
    if (fullscreen == shownFullscreen) return;
    shownFullscreen = fullscreen;
    saveDisplayChoice(file, fullscreen, platform::warnings());
}
