// The one replay the player has asked to watch next.

#include "shell/replay_choice.h"

#include <utility>

namespace {
std::optional<std::filesystem::path> chosen;
}  // namespace

void chooseReplay(const std::filesystem::path& file) {
    chosen = file;
}

bool replayChosen() {
    return chosen.has_value();
}

std::optional<std::filesystem::path> takeChosenReplay() {
    return std::exchange(chosen, std::nullopt);
}
