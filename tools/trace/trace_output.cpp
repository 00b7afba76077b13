// JSON lines and BMP frames for kordavan-trace.

#include "tools/trace/trace_output.h"

#include <charconv>

#include "game/state_fields.h"
#include "tools/trace/decimal_text.h"
#include "tools/trace/trace_io.h"

namespace {

// The shortest text that reads back as the same double.
void appendNumber(std::string& out, double value) {
#if defined(__cpp_lib_to_chars)
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
#else
    out += shortestDecimal(value);
#endif
}

void appendNumber(std::string& out, int64_t value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// Names are catalogue names and sound names, so only quotes and backslashes
// could ever need escaping.
void appendString(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

void appendDraws(std::string& out, const std::vector<DrawRecord>& draws) {
    out += ",\"draws\":[";
    for (size_t i = 0; i < draws.size(); ++i) {
        const DrawRecord& draw = draws[i];
        out += i == 0 ? "[" : ",[";
        appendString(out, draw.surface);
        for (int64_t value : {draw.source.left, draw.source.top, draw.source.right,
                              draw.source.bottom, draw.x, draw.y}) {
            out += ',';
            appendNumber(out, value);
        }
        out += ']';
    }
    out += ']';
}

void appendSounds(std::string& out, const std::vector<SoundRecord>& sounds) {
    out += ",\"sounds\":[";
    for (size_t i = 0; i < sounds.size(); ++i) {
        const SoundRecord& sound = sounds[i];
        out += i == 0 ? "[" : ",[";
        out += sound.play ? "\"play\"," : "\"stop\",";
        appendString(out, sound.sound);
        if (sound.play) {
            out += ',';
            appendNumber(out, static_cast<int64_t>(sound.flags));
        }
        out += ']';
    }
    out += ']';
}

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// 5 or 6 bits widened to 8 by repeating their top bits.
uint8_t widen(uint32_t value, int bits) {
    return static_cast<uint8_t>((value << (8 - bits)) | (value >> (2 * bits - 8)));
}

}  // namespace

std::string stateJson(const GameState& state) {
    std::string out = "{";
    bool first = true;
    for (const StateField& field : stateFields()) {
        if (!first) {
            out += ',';
        }
        first = false;
        appendString(out, field.name);
        out += ':';
        if (field.intMember != nullptr) {
            appendNumber(out, static_cast<int64_t>(state.*field.intMember));
        } else {
            appendNumber(out, state.*field.doubleMember);
        }
    }
    out += '}';
    return out;
}

std::string stepJson(int64_t step, int result, const GameState& state,
                     const std::vector<DrawRecord>* draws, const std::vector<SoundRecord>* sounds) {
    std::string out = "{\"step\":";
    appendNumber(out, step);
    out += ",\"ret\":";
    appendNumber(out, static_cast<int64_t>(result));
    out += ",\"state\":";
    out += stateJson(state);
    if (draws != nullptr) {
        appendDraws(out, *draws);
    }
    if (sounds != nullptr) {
        appendSounds(out, *sounds);
    }
    out += '}';
    return out;
}

bool writeScreenBmp(const std::string& path, const platform::Surface& screen, std::string& error) {
    const uint32_t width = static_cast<uint32_t>(screen.width);
    const uint32_t height = static_cast<uint32_t>(screen.height);
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowBytes * height;
    std::string file;
    file += "BM";
    putLittleEndian(file, 54 + pixelBytes, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, 54, 4);
    putLittleEndian(file, 40, 4);  // BITMAPINFOHEADER
    putLittleEndian(file, width, 4);
    putLittleEndian(file, height, 4);  // positive: rows bottom to top
    putLittleEndian(file, 1, 2);
    putLittleEndian(file, 24, 2);
    putLittleEndian(file, 0, 4);  // no compression
    putLittleEndian(file, pixelBytes, 4);
    putLittleEndian(file, 2835, 4);  // 72 dpi
    putLittleEndian(file, 2835, 4);
    putLittleEndian(file, 0, 4);
    putLittleEndian(file, 0, 4);
    for (uint32_t row = height; row-- > 0;) {
        const size_t rowStart = file.size();
        for (uint32_t column = 0; column < width; ++column) {
            const size_t index = static_cast<size_t>(row) * width + column;
            const uint32_t pixel = index < screen.pixels.size() ? screen.pixels[index] : 0;
            file += static_cast<char>(widen(pixel & 0x1F, 5));
            file += static_cast<char>(widen((pixel >> 5) & 0x3F, 6));
            file += static_cast<char>(widen((pixel >> 11) & 0x1F, 5));
        }
        file.append(rowBytes - (file.size() - rowStart), '\0');
    }
    return writeWholeFile(path, file, error);
}
