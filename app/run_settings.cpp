// The shell cannot reach the loop or the recorder, so the application tells
// it where their settings go.

#include "app/run_settings.h"

#include "app/main_loop.h"
#include "app/record_games.h"
#include "shell/preferences.h"

void sendSettingsToTheRun() {
    sendSettingsTo(SettingUse::loop, [](const Settings& settings) {
        useLoopSettings(LoopSettings{.pauseOnFocusLoss = settings.pauseOnFocusLoss});
    });
    sendSettingsTo(SettingUse::recorder,
                   [](const Settings& settings) { recordPlayersGames(settings.recordGames); });
}
