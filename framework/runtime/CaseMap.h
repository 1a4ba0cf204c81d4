#pragma once

#include <array>
#include <cstdint>

// Byte maps over cp1252.
//
// Upper case: a-z and the small accented letters to their capitals (š Š, œ Œ, ÿ Ÿ included);
// every other code, ß µ ð þ among them, maps to itself. Lower case is its exact inverse.
// Fold (for searching): control codes to a blank, accents dropped keeping the case, a few
// typographic signs to their plain ASCII forms, every other high code to a blank.
extern const std::array<uint8_t, 256> qelUpperCaseMap;
extern const std::array<uint8_t, 256> qelLowerCaseMap;
extern const std::array<uint8_t, 256> qelFoldMap;
