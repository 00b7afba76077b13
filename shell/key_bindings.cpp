// The keys and buttons behind each control, from the settings file.

#include "shell/key_bindings.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <ostream>

#include "shell/settings_file.h"

namespace {

using namespace platform;

struct KeyName {
    const char* name;
    uint8_t code;
};

// The names a player writes, as a US keyboard labels the keys (the first of a
// code's names is the one shown); letters and digits are added below.
constexpr KeyName namedKeys[] = {
    {"Escape", DIK_ESCAPE},
    {"Esc", DIK_ESCAPE},
    {"Return", DIK_RETURN},
    {"Enter", DIK_RETURN},
    {"Space", DIK_SPACE},
    {"Tab", DIK_TAB},
    {"Backspace", DIK_BACK},
    {"Minus", DIK_MINUS},
    {"Equals", DIK_EQUALS},
    {"LeftBracket", DIK_LBRACKET},
    {"RightBracket", DIK_RBRACKET},
    {"Semicolon", DIK_SEMICOLON},
    {"Apostrophe", DIK_APOSTROPHE},
    {"Grave", DIK_GRAVE},
    {"Backslash", DIK_BACKSLASH},
    {"Comma", DIK_COMMA},
    {"Period", DIK_PERIOD},
    {"Slash", DIK_SLASH},
    {"LeftShift", DIK_LSHIFT},
    {"RightShift", DIK_RSHIFT},
    {"LeftCtrl", DIK_LCONTROL},
    {"RightCtrl", DIK_RCONTROL},
    {"LeftAlt", DIK_LMENU},
    {"RightAlt", DIK_RMENU},
    {"CapsLock", DIK_CAPITAL},
    {"NumLock", DIK_NUMLOCK},
    {"ScrollLock", DIK_SCROLL},
    {"Pause", DIK_PAUSE},
    {"Up", DIK_UP},
    {"Down", DIK_DOWN},
    {"Left", DIK_LEFT},
    {"Right", DIK_RIGHT},
    {"Home", DIK_HOME},
    {"End", DIK_END},
    {"PageUp", DIK_PRIOR},
    {"PageDown", DIK_NEXT},
    {"Insert", DIK_INSERT},
    {"Delete", DIK_DELETE},
    {"F1", DIK_F1},
    {"F2", DIK_F2},
    {"F3", DIK_F3},
    {"F4", DIK_F4},
    {"F5", DIK_F5},
    {"F6", DIK_F6},
    {"F7", DIK_F7},
    {"F8", DIK_F8},
    {"F9", DIK_F9},
    {"F10", DIK_F10},
    {"F12", DIK_F12},
    {"Keypad0", DIK_NUMPAD0},
    {"Keypad1", DIK_NUMPAD1},
    {"Keypad2", DIK_NUMPAD2},
    {"Keypad3", DIK_NUMPAD3},
    {"Keypad4", DIK_NUMPAD4},
    {"Keypad5", DIK_NUMPAD5},
    {"Keypad6", DIK_NUMPAD6},
    {"Keypad7", DIK_NUMPAD7},
    {"Keypad8", DIK_NUMPAD8},
    {"Keypad9", DIK_NUMPAD9},
    {"KeypadPeriod", DIK_DECIMAL},
    {"KeypadEnter", DIK_NUMPADENTER},
    {"KeypadPlus", DIK_ADD},
    {"KeypadMinus", DIK_SUBTRACT},
    {"KeypadMultiply", DIK_MULTIPLY},
    {"KeypadDivide", DIK_DIVIDE},
};

// Letters and digits by their scan codes, in keyboard order.
constexpr std::string_view letterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr uint8_t letterRowStarts[] = {DIK_Q, DIK_A, DIK_Z};
constexpr std::string_view digits = "1234567890";

struct PadName {
    const char* name;
    PadButton button;
};

// The d-pad's directions take the left stick's with them.
constexpr PadName padNames[] = {
    {"Left", PadButton::left},
    {"Right", PadButton::right},
    {"Up", PadButton::up},
    {"Down", PadButton::down},
    {"A", PadButton::south},
    {"South", PadButton::south},
    {"Cross", PadButton::south},
    {"B", PadButton::east},
    {"East", PadButton::east},
    {"Circle", PadButton::east},
    {"X", PadButton::west},
    {"West", PadButton::west},
    {"Square", PadButton::west},
    {"Y", PadButton::north},
    {"North", PadButton::north},
    {"Triangle", PadButton::north},
    {"LB", PadButton::leftShoulder},
    {"LeftShoulder", PadButton::leftShoulder},
    {"RB", PadButton::rightShoulder},
    {"RightShoulder", PadButton::rightShoulder},
    {"Start", PadButton::start},
    {"Back", PadButton::back},
    {"Select", PadButton::back},
};

constexpr std::array<std::string_view, controlCount> names = {
    "left",  "right",   "up",   "down",       "land",    "pause",
    "start", "confirm", "quit", "screenshot", "settings"};

constexpr bool Controls::*controlMembers[controlCount] = {
    &Controls::left, &Controls::right,      &Controls::up,       &Controls::down,
    &Controls::land, &Controls::pause,      &Controls::start,    &Controls::confirm,
    &Controls::quit, &Controls::screenshot, &Controls::settings,
};

constexpr size_t controlIndex(std::string_view name) {
    return static_cast<size_t>(std::find(names.begin(), names.end(), name) - names.begin());
}

KeyBindings bindings = defaultKeyBindings();

std::optional<PadButton> padByName(std::string_view name) {
    for (const PadName& pad : padNames) {
        if (sameWord(name, pad.name)) return pad.button;
    }
    return std::nullopt;
}

bool padHeld(const PadState& pad, PadButton button) {
    switch (button) {
        case PadButton::left:
            return pad.left;
        case PadButton::right:
            return pad.right;
        case PadButton::up:
            return pad.up;
        case PadButton::down:
            return pad.down;
        case PadButton::south:
            return pad.south;
        case PadButton::east:
            return pad.east;
        case PadButton::west:
            return pad.west;
        case PadButton::north:
            return pad.north;
        case PadButton::leftShoulder:
            return pad.leftShoulder;
        case PadButton::rightShoulder:
            return pad.rightShoulder;
        case PadButton::start:
            return pad.start;
        case PadButton::back:
            return pad.back;
    }
    return false;
}

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

}  // namespace

uint8_t keyByName(std::string_view name) {
    for (const KeyName& key : namedKeys) {
        if (sameWord(name, key.name)) return key.code;
    }
    if (name.size() != 1) return 0;
    const char c =
        static_cast<char>(name[0] >= 'a' && name[0] <= 'z' ? name[0] - 'a' + 'A' : name[0]);
    for (size_t row = 0; row < std::size(letterRows); ++row) {
        const size_t at = letterRows[row].find(c);
        if (at != std::string_view::npos) return static_cast<uint8_t>(letterRowStarts[row] + at);
    }
    const size_t digit = digits.find(c);
    return digit == std::string_view::npos ? 0 : static_cast<uint8_t>(DIK_1 + digit);
}

std::string_view keyName(uint8_t code) {
    for (const KeyName& key : namedKeys) {
        if (key.code == code) return key.name;
    }
    for (size_t row = 0; row < std::size(letterRows); ++row) {
        if (code >= letterRowStarts[row] && code < letterRowStarts[row] + letterRows[row].size()) {
            return letterRows[row].substr(code - letterRowStarts[row], 1);
        }
    }
    if (code >= DIK_1 && code < DIK_1 + digits.size()) return digits.substr(code - DIK_1, 1);
    return {};
}

std::string_view padButtonName(PadButton button) {
    for (const PadName& pad : padNames) {
        if (pad.button == button) return pad.name;
    }
    return {};
}

const std::array<std::string_view, controlCount>& controlNames() {
    return names;
}

KeyBindings defaultKeyBindings() {
    KeyBindings defaults;
    // The game's own keys, where the game has the control; P or Pause for
    // the pause, F12 for the screenshot.
    for (size_t i = 0; i < controlCount; ++i) {
        if (const ControlWord* control = findControlWord(controlMembers[i])) {
            defaults.keys[i] = {control->key};
        }
    }
    defaults.keys[controlIndex("pause")] = {DIK_P, DIK_PAUSE};
    defaults.keys[controlIndex("screenshot")] = {DIK_F12};
    defaults.keys[controlIndex("settings")] = {DIK_O};
    // Start stands for Space on the title and for Return on the end
    // pictures, Back for Escape; Y is free for the screenshot, and the
    // right shoulder for the settings screen (B closes it again).
    defaults.pads = {{{PadButton::left},
                      {PadButton::right},
                      {PadButton::up},
                      {PadButton::down},
                      {PadButton::south},
                      {PadButton::west},
                      {PadButton::start},
                      {PadButton::start},
                      {PadButton::back},
                      {PadButton::north},
                      {PadButton::rightShoulder}}};
    return defaults;
}

KeyBindings parseKeyBindings(std::string_view text, const std::string& fileName,
                             std::ostream& warnings) {
    KeyBindings parsed = defaultKeyBindings();
    for (const SettingLine& setting : settingLines(text)) {
        const std::string_view key = setting.key;
        // Only a file's very beginning may hold one: two files run together
        // leave one inside, where it hides the key that follows.
        if (key.starts_with("\xEF\xBB\xBF")) {
            warnings << "kordavan: " << fileName << ":" << setting.lineNumber
                     << ": begins with a byte-order mark, which only the file's first line may; "
                        "left out\n";
            continue;
        }
        const bool isKey = key.size() >= 4 && sameWord(key.substr(0, 4), "key-");
        const bool isPad = key.size() >= 4 && sameWord(key.substr(0, 4), "pad-");
        if (!isKey && !isPad) continue;
        const auto control = std::find_if(names.begin(), names.end(), [&](std::string_view name) {
            return sameWord(key.substr(4), name);
        });
        if (control == names.end()) {
            warnings << "kordavan: " << fileName << ":" << setting.lineNumber
                     << ": no control called " << shownText(key.substr(4))
                     << " (controls: left right up down land pause start "
                     << "confirm quit screenshot settings); left out\n";
            continue;
        }
        const auto index = static_cast<size_t>(control - names.begin());
        std::string unknown;
        const bool read =
            isKey ? readNames<uint8_t>(
                        setting.value,
                        [](std::string_view name) -> std::optional<uint8_t> {
                            const uint8_t code = keyByName(name);
                            return code == 0 ? std::nullopt : std::optional<uint8_t>(code);
                        },
                        parsed.keys[index], unknown)
                  : readNames<PadButton>(setting.value, padByName, parsed.pads[index], unknown);
        if (!read) {
            const KeyBindings defaults = defaultKeyBindings();
            if (isKey) {
                parsed.keys[index] = defaults.keys[index];
            } else {
                parsed.pads[index] = defaults.pads[index];
            }
            warnings << "kordavan: " << fileName << ":" << setting.lineNumber << ": "
                     << (isKey ? "no key called " : "no pad button called ") << shownText(unknown)
                     << "; " << std::string(key) << " keeps its default\n";
        }
    }
    // A game no key can quit keeps the player in a full-screen window.
    const auto quit =
        static_cast<size_t>(std::find(names.begin(), names.end(), "quit") - names.begin());
    if (parsed.keys[quit].empty()) {
        parsed.keys[quit].push_back(DIK_ESCAPE);
        warnings << "kordavan: " << fileName
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
        for (PadButton button : bindings.pads[i]) down = down || padHeld(pad, button);
        held.*controlMembers[i] = down;
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
        if (!padHeld(pad, button)) continue;
        if (!confirms(bindings.pads[confirm], button)) return false;
        held = true;
    }
    return held;
}
