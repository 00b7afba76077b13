// The keys and buttons behind each control, from the settings file.

#include "shell/key_bindings.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "platform/printable.h"
#include "shell/settings_file.h"

namespace {

using namespace platform;

KeyBindings bindings = defaultKeyBindings();

// The names of one line, each looked up; false at the first unknown one.
template <typename Code, typename Lookup>
bool readNames(std::string_view list, Lookup lookup, std::vector<Code>& codes,
               std::string& unknown) {
    codes.clear();
    while (!list.empty()) {
        const size_t comma = list.find(',');
        const std::string_view name = trim(list.substr(0, comma));
        list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
        if (name.empty()) continue;
        const std::optional<Code> code = lookup(name);
        if (!code) {
            unknown = std::string(name);
            return false;
        }
        if (std::find(codes.begin(), codes.end(), *code) == codes.end()) codes.push_back(*code);
    }
    return true;
}

// The control table's names, for a misspelt one.
std::vector<std::string> controlNameWords() {
    const auto& names = controlNames();
    return {names.begin(), names.end()};
}

std::optional<uint8_t> knownKey(std::string_view name) {
    const uint8_t code = keyByName(name);
    return code == 0 ? std::nullopt : std::optional<uint8_t>(code);
}

}  // namespace

KeyBindings defaultKeyBindings() {
    // The table's names are all known: its own test reads each back.
    KeyBindings defaults;
    std::string unknown;
    for (size_t i = 0; i < controlCount; ++i) {
        readNames<uint8_t>(controlTable[i].keys, knownKey, defaults.keys[i], unknown);
        readNames<PadButton>(controlTable[i].pads, padByName, defaults.pads[i], unknown);
    }
    return defaults;
}

KeyBindings parseKeyBindings(std::string_view text, const std::string& fileName,
                             std::ostream& warnings) {
    KeyBindings parsed = defaultKeyBindings();
    const size_t settingsControl = controlIndex("settings");
    for (const SettingLine& setting : settingLines(text)) {
        const std::string_view key = setting.key;
        // Only a file's very beginning may hold one: two files run together
        // leave one inside, where it hides the key that follows.
        if (key.starts_with("\xEF\xBB\xBF")) {
            warnings << "kordavan: " << shownName(fileName) << ":" << setting.lineNumber
                     << ": begins with a byte-order mark, which only the file's first line may; "
                        "left out\n";
            continue;
        }
        const bool isKey = key.size() >= 4 && sameWord(key.substr(0, 4), "key-");
        const bool isPad = key.size() >= 4 && sameWord(key.substr(0, 4), "pad-");
        if (!isKey && !isPad) continue;
        const size_t index = controlIndex(key.substr(4));
        if (index == controlCount) {
            const std::vector<std::string> names = controlNameWords();
            const std::string_view meant = nearestWord(key.substr(4), names);
            warnings << "kordavan: " << shownName(fileName) << ":" << setting.lineNumber
                     << ": no control called " << shownText(key.substr(4))
                     << (meant.empty() ? " (controls: " + controlNameList() + ")"
                                       : " (did you mean " + std::string(key.substr(0, 4)) +
                                             std::string(meant) + "?)")
                     << "; left out\n";
            continue;
        }
        std::string unknown;
        const bool read =
            isKey ? readNames<uint8_t>(setting.value, knownKey, parsed.keys[index], unknown)
                  : readNames<PadButton>(setting.value, padByName, parsed.pads[index], unknown);
        if (!read) {
            const KeyBindings defaults = defaultKeyBindings();
            if (isKey) {
                parsed.keys[index] = defaults.keys[index];
            } else {
                parsed.pads[index] = defaults.pads[index];
            }
            warnings << "kordavan: " << shownName(fileName) << ":" << setting.lineNumber << ": "
                     << (isKey ? "no key called " : "no pad button called ") << shownText(unknown)
                     << "; " << std::string(key) << " keeps its default\n";
        }
        // Without a key the settings screen would never open, and the
        // player could not give it one there.
        if (isKey && index == settingsControl && parsed.keys[index].empty()) {
            parsed.keys[index] = defaultKeyBindings().keys[index];
            warnings << "kordavan: " << shownName(fileName) << ":" << setting.lineNumber
                     << ": no key is left to open the settings screen; " << std::string(key)
                     << " keeps its default, " << keyNames(parsed.keys[index]) << "\n";
        }
    }
    // A game no key can quit keeps the player in a full-screen window.
    const size_t quit = controlIndex("quit");
    if (parsed.keys[quit].empty()) {
        parsed.keys[quit].push_back(DIK_ESCAPE);
        warnings << "kordavan: " << shownName(fileName)
                 << ": no key is left to quit the game; Escape still quits\n";
    }
    return parsed;
}

void useKeyBindings(const KeyBindings& newBindings) {
    bindings = newBindings;
}

const KeyBindings& keyBindings() {
    return bindings;
}

Controls boundControls(const uint8_t (&keys)[256], const PadState& pad) {
    Controls held;
    for (size_t i = 0; i < controlCount; ++i) {
        bool down = false;
        for (uint8_t code : bindings.keys[i]) down = down || (keys[code] & 0x80) != 0;
        for (PadButton button : bindings.pads[i]) down = down || padButtonHeld(pad, button);
        held.*controlTable[i].member = down;
    }
    return held;
}

bool startHeldOnlyAsConfirm(const uint8_t (&keys)[256], const PadState& pad) {
    const size_t start = controlIndex("start");
    const size_t confirm = controlIndex("confirm");
    const auto confirms = [&](const auto& list, auto input) {
        return std::find(list.begin(), list.end(), input) != list.end();
    };
    bool held = false;
    for (uint8_t code : bindings.keys[start]) {
        if ((keys[code] & 0x80) == 0) continue;
        if (!confirms(bindings.keys[confirm], code)) return false;
        held = true;
    }
    for (PadButton button : bindings.pads[start]) {
        if (!padButtonHeld(pad, button)) continue;
        if (!confirms(bindings.pads[confirm], button)) return false;
        held = true;
    }
    return held;
}
