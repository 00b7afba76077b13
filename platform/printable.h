#pragma once
// Pieces of a player's input (a word of a key script, a file's name) shown
// in a message. The input may be megabytes long or hold control bytes that a
// terminal would obey, or a newline that would forge a second "kordavan: ..."
// line, so a message shows at most `most` characters of it, and every byte
// that is not a printable character as \xNN. Letters of
// other alphabets (well-formed UTF-8) stay as they are.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace printable_detail {

// The length of the well-formed UTF-8 sequence of a printable character at
// the start of `text` (a control character of the upper half is not one), or
// 0.
inline size_t printableSequence(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(0);
    size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i) & 0x3Fu);
    }
    const uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < shortest[length] || surrogate || code > 0x10FFFF || code < 0xA0) return 0;
    return length;
}

// `text` as it is shown, and whether all of it is. A backslash is doubled
// where \xNN must read back unmistakably, but not in a file's name, where
// it separates Windows folders.
inline std::string printableStart(std::string_view text, size_t most, bool doubleBackslash,
                                  bool& whole) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    size_t shown = 0;
    size_t at = 0;
    while (at < text.size() && shown < most) {
        const auto c = static_cast<uint8_t>(text[at]);
        if (c >= 0x20 && c < 0x7F && (c != '\\' || !doubleBackslash)) {
            out += static_cast<char>(c);
            at += 1;
        } else if (c == '\\') {
            out += "\\\\";
            at += 1;
        } else if (const size_t length = printableSequence(text.substr(at))) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 0xF];
            at += 1;
        }
        ++shown;
    }
    whole = at == text.size();
    return out;
}

}  // namespace printable_detail

// `text` in single quotes; cut after `most` characters, it ends in "..." and
// is followed by its full length in bytes.
inline std::string quotedInput(std::string_view text, size_t most = 40) {
    bool whole = true;
    const std::string shown = printable_detail::printableStart(text, most, true, whole);
    if (!whole) return "'" + shown + "...' (" + std::to_string(text.size()) + " bytes)";
    return "'" + shown + "'";
}

// A player's file as the game's messages name it: without quotes, so that
// "kordavan.conf:3:" reads as an editor expects, but escaped as above.
inline std::string shownName(std::string_view name) {
    bool whole = true;
    const std::string shown = printable_detail::printableStart(name, 300, false, whole);
    if (!whole) return shown + "... (" + std::to_string(name.size()) + " bytes)";
    return shown;
}
