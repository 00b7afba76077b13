// The rules of giving a control a new key or pad button.

#include "shell/rebinding.h"

#include <algorithm>
#include <string_view>

namespace {

// The pressed code becomes the control's only one; every other control that
// had it takes the control's first old code in its place (or loses it, when
// the control had none).
template <typename Code>
BindingChange giveCode(std::array<std::vector<Code>, controlCount>& lists, size_t control,
                       Code code, const std::string& shownName, std::string (*nameOf)(Code)) {
    BindingChange change;
    std::vector<Code>& own = lists[control];
    const std::string label = controlLabel(control);
    if (own.size() == 1 && own.front() == code) {
        change.said = label + " already has " + shownName + ": nothing changed";
        return change;
    }
    const std::vector<Code> old = own;
    own = {code};
    change.changed = true;
    change.controls.push_back(control);
    change.said = label + " is now " + shownName;
    for (size_t other = 0; other < controlCount; ++other) {
        std::vector<Code>& theirs = lists[other];
        const auto at = std::find(theirs.begin(), theirs.end(), code);
        if (other == control || at == theirs.end()) continue;
        const bool swap =
            !old.empty() && std::find(theirs.begin(), theirs.end(), old.front()) == theirs.end();
        if (swap) {
            *at = old.front();
        } else {
            theirs.erase(at);
        }
        change.controls.push_back(other);
        change.said += "; " + controlLabel(other) + " had it and " +
                       (swap ? "takes " + nameOf(old.front()) + " instead (swapped)"
                             : (theirs.empty() ? "has none now" : "keeps its others"));
    }
    return change;
}

std::string keyText(uint8_t code) {
    return std::string(keyName(code));
}

std::string padText(PadButton button) {
    return std::string(padButtonName(button));
}

}  // namespace

BindingChange bindKey(KeyBindings& bindings, size_t control, uint8_t code) {
    if (code == platform::DIK_F11) {
        return {false, "F11 switches between window and full screen: it cannot be given", {}};
    }
    if (keyName(code).empty()) {
        return {false, "That key has no name the settings file knows: it cannot be given", {}};
    }
    return giveCode(bindings.keys, control, code, keyText(code), keyText);
}

BindingChange bindPad(KeyBindings& bindings, size_t control, PadButton button) {
    return giveCode(bindings.pads, control, button, padText(button), padText);
}
