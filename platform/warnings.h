#pragma once
// Warnings the player must see while the game goes on: a damaged settings
// line, a choice that could not be saved, a replay that could not be written.
// They go to standard error, where a player who started the game from a
// terminal reads them, and never keep the game waiting there: what standard
// error cannot take at once waits for the next chance, and what it can never
// take is counted and the count told once it takes text again. A program
// nobody started from a console (a Windows player double-clicking the .exe)
// has no standard error to read: it keeps them instead and shows them in one
// box once its window has closed, so the game is not interrupted and the box
// stands on the normal desktop.

#include <ctime>
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

// Writes what standard error could not take before, as far as it takes it
// now, without waiting; the window's messages are read with it every frame.
void sendWarnings();

// From now on warnings are kept, not written. They will also be written to
// `logFile` (none when empty) under `heading`, so the player can read them
// again once the box is gone.
void collectWarnings(const std::filesystem::path& logFile, std::string_view heading = {});
// Back to standard error; warnings kept so far are dropped.
void writeWarnings();

// The warnings kept so far, in order.
const std::string& keptWarnings();

// Writes the kept warnings to the log file and shows them in one box, with
// `advice` (what the player can do about them) below; once, and only when
// something was kept. A run with nothing to tell removes the log file, so
// an old run's warnings never stand in it as this one's.
void showWarnings(std::string_view advice);

// The line that heads a run's warnings in the log, from the version as
// --version prints it ("kordavan 1.2.0\n"): "Kordavan 1.2.0, 2026-12-10
// 14:35:02", by the local time.
std::string runHeading(std::string_view versionLine, std::time_t when);

// `text` with every line ended by `lineEnd`: Notepad on older Windows shows
// a file of bare line feeds as one long line.
std::string withLineEnds(std::string_view text, std::string_view lineEnd);

}  // namespace platform
