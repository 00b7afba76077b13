#pragma once
// The games "record my games" keeps: one replay file a game session in the
// recordings folder beside the settings, named by when it began as the
// screenshots are ("Kordavan 2026-12-08 16-50-03.replay"). Only the newest
// fifty stay; files of any other name are the player's and never touched.

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

constexpr size_t keptRecordingCount = 50;

// The settings folder's recordings folder; empty where there is none.
std::filesystem::path recordingsFolder();

// The name of a recording begun at `when`, the n-th of that second.
std::string recordingName(std::time_t when, int number = 1);
// Whether a file name is one recordingName makes.
bool isRecordingName(const std::string& name);

// The folder's recordings, newest first; none when the folder is missing.
std::vector<std::filesystem::path> keptRecordings(const std::filesystem::path& folder);

// Removes the oldest of the folder's recordings beyond `keep`, oldest by the
// time in their names, the one named `recording` (being recorded) never and
// counted among those kept; false with the reason when one could not be
// removed (the rest are still tried), or when the folder, or a folder or link
// on its way, is another user's: nothing is removed then.
bool pruneRecordings(const std::filesystem::path& folder, size_t keep, std::string& reason,
                     const std::filesystem::path& recording = {});
