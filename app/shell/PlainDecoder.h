#pragma once

// Reads the binary encoding from a file the user owns (PREFS.DAT): only the plain values such a
// file holds are accepted (nil, booleans, ints, floats, strings, lists and tables), never a form,
// a control, a picture, a sound, a reference or any other object the framework's decoder would
// make, so a damaged or planted file cannot build screens or load resources. Every count is
// checked against the bytes that are left before anything is made, nesting and table sizes are
// bounded, and the value must fill the bytes exactly.

#include "framework/runtime/Value.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The value the bytes hold; nil with the reason in `error` when they hold anything else.
qelValue decodePlainValue(const uint8_t* bytes, size_t size, std::string& error);
