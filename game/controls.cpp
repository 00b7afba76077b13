// The helicopter's controls: speeds and the landing key.

#include "game/controls.h"

#include <algorithm>
#include <cctype>

#include "game/game_state.h"

void applyGameControls(const Controls& controls) {
    // Each limit is tested before the change, so a speed can pass it by less
    // than one push. Left pushes twice as hard as Right: the helicopter leaves
    // the base faster than it comes home.
    if (controls.left && game.landingActive != 1 && game.velX < 4.0) game.velX += 0.4;
    if (controls.right && game.landingActive != 1 && game.velX > -4.0) game.velX -= 0.2;
    if (controls.up && game.landingActive != 1 && game.velY > -4.0) game.velY -= 0.2;
    // Down still works while landing: the player may hurry the descent.
    if (controls.down && game.velY < 4.0) game.velY += 0.2;

    if (controls.land && game.landingActive != 1 && game.heliY > 270.0) {
        const bool atFarEnd = game.scrollPos >= 1900.0 && game.carryingMan == 0;
        const bool atBase = game.scrollPos <= 2.0 && game.carryingMan > 0;
        if (atFarEnd || atBase) game.landingActive = 1;
    }
}

const ControlWord* findControlWord(std::string_view word) {
    const auto sameWord = [word](const ControlWord& row) {
        const std::string_view name = row.word;
        return std::equal(name.begin(), name.end(), word.begin(), word.end(), [](char a, char b) {
            return a == std::toupper(static_cast<unsigned char>(b));
        });
    };
    const auto found = std::find_if(std::begin(controlWords), std::end(controlWords), sameWord);
    return found == std::end(controlWords) ? nullptr : found;
}

const ControlWord* findControlWord(bool Controls::*member) {
    const auto found =
        std::find_if(std::begin(controlWords), std::end(controlWords),
                     [member](const ControlWord& row) { return row.member == member; });
    return found == std::end(controlWords) ? nullptr : found;
}

std::string controlWordList() {
    std::string list;
    for (const ControlWord& row : controlWords)
        list.append(list.empty() ? "" : " ").append(row.word);
    return list;
}
