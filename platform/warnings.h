#pragma once
// Warnings the player must see while the game goes on: a damaged settings
// line, a choice that could not be saved, a replay that could not be written.
// They go to standard error, where a player who started the game from a
// terminal reads them. A program nobody started from a console (a Windows
// player double-clicking the .exe) has no standard error to read: it keeps
// them instead and shows them in one box once its window has closed, so the
// game is not interrupted and the box stands on the normal desktop.

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace platform {

// Tells the player `text`, one or more whole lines.
void warn(std::string_view text);

// The same for code that writes its warnings to a stream as it goes: every
// line written becomes one warning.
std::ostream& warnings();

// From now on warnings are kept, not written. They will also be written to
// `logFile` (none when empty), so the player can read them again once the
// box is gone.
void collectWarnings(const std::filesystem::path& logFile);
// Back to standard error; warnings kept so far are dropped.
void writeWarnings();

// The warnings kept so far, in order.
const std::string& keptWarnings();

// Writes the kept warnings to the log file and shows them in one box, with
// `advice` (what the player can do about them) below; once, and only when
// something was kept.
void showWarnings(std::string_view advice);

}  // namespace platform
