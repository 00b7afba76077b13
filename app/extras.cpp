// The extras around the desktop loop.

#include "app/extras.h"

#include "app/main_loop.h"
#include "app/player_run.h"
#include "app/settings_overlay.h"
#include "app/title_and_replays.h"
#include "shell/preferences.h"

namespace {

// F11 and Alt+Enter switch at any time; the new choice is kept for the next start.
class DisplayChoiceSaver : public LoopListener {
  public:
    void heard(const LoopEvent& event) override {
        if (event.kind == LoopEventKind::frameEnded) rememberDisplayChoice();
    }
};

DisplayChoiceSaver displayChoiceSaver;

}  // namespace

bool setUpExtras(const Options& options, const SettingsFile& settings) {
    return setUpRun(options, settings);
}

int runDesktopGame(const platform::Module* instance, int showCommand) {
    // A start-up that failed is told to whatever started the game, not only
    // to the player.
    if (!startProgram(instance, showCommand)) return 1;
    beginRun(&settingsOverlay(), {&displayChoiceSaver});
    while (titleOrReplayFrame()) waitForNextFrame();
    return endProgram();
}

void finishExtras() {
    finishRun();
}
