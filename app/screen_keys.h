#pragma once
// What the player's keys and pad buttons mean on the settings screen. The
// arrows, Return and Escape (the d-pad, A and B) always mean themselves; a
// key the player gave a control the screen knows adds that control's
// meaning, but a key means one thing only, so keys that swap Up and Down
// neither cancel a move nor make it twice. A key or button hushed (held as
// the screen opened, or just given to a control) means nothing until it is
// let go, so its new meaning never acts on the press that gave it.

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/keyboard.h"
#include "shell/pad_buttons.h"

enum class ScreenMeaning : uint8_t { none, up, down, left, right, enter, back, close, picture };

inline constexpr size_t screenMeaningCount = 9;
inline constexpr size_t padButtonCount = static_cast<size_t>(PadButton::back) + 1;

ScreenMeaning keyMeaning(uint8_t code);
ScreenMeaning padMeaning(PadButton button);

class ScreenKeys {
  public:
    // Everything held now means nothing until it is let go.
    void hush(const KeySnapshot& keys, const platform::PadState& pad);
    // One look a frame: what is held, the hushed aside.
    void look(const KeySnapshot& keys, const platform::PadState& pad);
    bool held(ScreenMeaning meaning) const { return now[static_cast<size_t>(meaning)]; }
    // A key or button that is not Return's went down at the last look.
    bool pressedOtherThanEnter() const { return otherPress; }

  private:
    KeySnapshot quietKeys;
    std::array<bool, padButtonCount> quietPad{};
    KeySnapshot lastKeys;
    platform::PadState lastPad;
    std::array<bool, screenMeaningCount> now{};
    bool otherPress = false;
};
