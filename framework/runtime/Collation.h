#pragma once

#include <array>
#include <cstdint>

// Text orders over cp1252 bytes.
//
// The collation weight table gives every code a weight: digits 0-9, letters 10-124 (a capital,
// its small letter, then the accented forms), code 16 125, and 126-255 for blanks, punctuation
// and control characters. Weights of 126 and up are ignored when collating, and the terminating
// NUL weighs 179, so a prefix collates after the longer text.
extern const std::array<uint8_t, 256> qelCollationWeights;

constexpr int qelFirstIgnoredWeight = 126;
constexpr int qelEndOfTextWeight = 179;

// Collation of two NUL-terminated texts: weight(a) - weight(b) at the first difference.
int32_t qelCollateText(const char* a, const char* b);
// Unsigned byte-wise comparison up to the first NUL: -1, 0 or 1.
int32_t qelCompareText(const char* a, const char* b);
