#pragma once
// The names of the files the game makes for the player (pictures,
// recordings): "Kordavan 2026-12-08 16-50-03.png", by the local time they
// were made, then "... (2).png" and up within the same second.

#include <ctime>
#include <string>
#include <string_view>

std::string timeName(std::time_t when, int number, std::string_view extension);
