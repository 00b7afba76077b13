// JSON lines and BMP frames for kordavan-trace.

#include "tools/trace/trace_output.h"

#include <charconv>

#include "formats/picture_files.h"
#include "game/decimal_text.h"
#include "game/state_fields.h"
#include "tools/trace/trace_io.h"

namespace {

// The shortest text that reads back as the same double.
void appendNumber(std::string& out, double value) {
    out += shortestText(value);
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
    const std::vector<uint8_t> file =
        formats::encodeBmp(screen.width, screen.height, formats::surfaceRgb(screen));
    return writeWholeFile(path, std::string(file.begin(), file.end()), error);
}
