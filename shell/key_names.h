#pragma once
// The names of the keys, as the settings file, the settings screen and the
// help write them: the key's place on a US keyboard, whatever the layout
// prints on it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The scan code of a key name (any case), or 0 when it names no key.
uint8_t keyByName(std::string_view name);
// The name the settings file writes for a key ("Left", "A", "F12"); empty
// for a key without one.
std::string_view keyName(uint8_t code);
// Keys as the settings file writes them: "P, Pause"; "none" for none.
std::string keyNames(const std::vector<uint8_t>& codes);
