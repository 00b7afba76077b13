#pragma once
// The rules every colour-keyed picture obeys. The game converts pictures to
// 16-bit RGB565 and treats pure green as transparent, so an opaque pixel that
// lands on the key after conversion would punch a hole in the sprite.

#include <cstdint>
#include <string>

#include "canvas.h"

bool isKey(const uint8_t* rgb);

// True for a colour that RGB565 would turn into the key.
bool nearKey(const uint8_t* rgb);

// Nudges an opaque colour off the key so it survives the conversion.
void keepClearOfKey(uint8_t* rgb);

// Empty when the picture obeys the rules, otherwise what is wrong and where.
std::string keyRuleProblem(const Image& image);
