#pragma once

// Reads a colour number (0x00BBGGRR, -1 for "no background") from a value of a form or control's
// data, as content files give it: an integer (an "rgb" triple is read into one), a float, or a
// string holding a whole decimal number. Anything else (nil, a list, a table, a word, a number
// with letters after it, a number out of the 32-bit range) is no colour, and the given fallback
// is answered, so that a damaged or mistyped entry draws in the default colour rather than
// ending the program or drawing in whatever its leading digits happen to say.

#include "framework/runtime/Value.h"

#include <cstdint>

int32_t qelColourValue(const qelValue& value, int32_t fallback);
