#pragma once

// The text notation of values: the parenthesised form in which forms, tables and lists of the
// content are written by hand ("frm", "tbl", "lst" and "txt" resources).
//
//   value    := blank* ( comment | string | "(" keyword body | "(" values ")" | atom )
//   comment  := ";" up to the end of the line
//   string   := '"' characters with \" \\ \n \r \t \xHH '"'
//   atom     := a constant of the constants table (case does not matter), a decimal float with a
//               point (1.5, -2., 1.e3), or a decimal int
//   keyword  := table list intlist point rect rgb region form control font reference image
//               textfile file sound soundfile date    (case does not matter)
//   table    := "(" key value ... ")" entries, extra items before an entry's ")" ignored
//
// Tokens are at most 63 characters; a longer run of characters is read as several tokens. A "("
// directly followed by a delimiter (blank, parenthesis, quote, ";") is dropped, so a parenthesis
// that begins with a quoted string reads as that string alone: lists of strings take "list".
//
// The reader never reads past the text's end (its first NUL), never recurses without bound and
// never loops: after any error it stops and the whole reading gives nil.

#include "framework/runtime/Value.h"

#include <cstdint>

// The first value written in a string or a buffer, with the standard constants table.
qelValue qelDecodeText(const qelValue& stringOrBuf);
// The same with a given constants table. Any other argument reports the argument type error.
qelValue qelDecodeString(const qelValue& stringOrBuf, const qelValue& constants);
// Reads one value from the NUL-terminated text at `position` and moves it past what was read.
qelValue qelReadValue(const char*& position, const qelValue& constants);
// The standard constants table (nil, true, false, the style bits and the colours), built once.
const qelValue& qelTextConstants();

// The deepest nesting of parentheses the reader follows.
constexpr int32_t qelMaximumTextDepth = 200;
