#pragma once

// A copy of the text without leading and trailing blanks (the character 32 only; tabs and inner
// blanks stay). A value that is not a string gives the empty text. Link targets, database
// values and criteria are trimmed with it.

#include "framework/runtime/Value.h"

qelValue trimBlanks(const qelValue& text);
