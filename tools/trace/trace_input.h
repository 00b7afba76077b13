#pragma once
// What kordavan-trace is asked to do: its command line and its key script.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "game/state_fields.h"
#include "platform/headless.h"

struct FieldSetting {
    const StateField* field;
    double value;
};

struct TraceOptions {
    std::optional<int64_t> steps;
    std::vector<FieldSetting> settings;
    bool draws = false;
    bool sounds = false;
    std::string framesDir;
    // Frames numbered below this one (steps, or passes of the title) are not written.
    std::optional<int64_t> framesFrom;
    bool fromTitle = false;
    std::string replayFile;  // replaces the key script on standard input
};

// Reads the arguments (without the program name); false with a message for
// the user in error when they make no sense.
bool parseOptions(const std::vector<std::string>& arguments, TraceOptions& options,
                  std::string& error);

// One snapshot per line: the keys held at that poll, by name (ESCAPE RETURN L
// SPACE UP DOWN LEFT RIGHT, any case), separated by spaces or commas. False
// with a message naming the line when a name is unknown.
bool readKeyScript(std::istream& input, std::vector<platform::headless::Snapshot>& script,
                   std::string& error);

// The usage text printed with every argument error.
const char* usageText();
