#pragma once
// kordavan-trace's standard streams and files, watched for failure: a trace
// that could not be written, or a key script that could not be read, must
// never end as a success.

#include <string>

// Prepares standard output for a run: a closed pipe then fails a write
// instead of killing the program. False with a message when standard output
// is closed, so nothing could be written at all.
bool prepareStandardOutput(std::string& error);

// Reads all of standard input. False with a message on a read error.
bool readStandardInput(std::string& text, std::string& error);

// Writes one line of the trace to standard output. False, with a message,
// once a write has failed (a full disk, a closed pipe): everything written
// since then is lost.
bool writeTraceLine(const std::string& line, std::string& error);

// Flushes standard output. False with a message when that, or any write
// before it, failed.
bool finishTraceOutput(std::string& error);

// Writes a whole file. False with a message naming it when it cannot be
// written completely, its closing included.
bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error);
