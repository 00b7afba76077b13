// Key names both ways, letters and digits included.

#include "shell/key_names.h"

#include <iterator>

#include "platform/platform.h"
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

std::string keyNames(const std::vector<uint8_t>& codes) {
    if (codes.empty()) return "none";
    std::string text;
    for (const uint8_t code : codes) {
        if (!text.empty()) text += ", ";
        text += keyName(code);
    }
    return text;
}
