#pragma once

#include <cstdint>

class qelValue;

// The writer of the text notation. Immediates and strings print here; every other object prints
// itself through its printString operation, given its type code and the quoting flag.
//
//   nil      QEL_NIL                 boolean  true / false
//   unique   #<unique N>             int      decimal
//   float    as printf's %g (locale-free)
//   string   its characters, or with `quoted` set its quoted form ("\xe9" for é)
qelValue qelPrintValue(const qelValue& value, int32_t quoted);

// The display text of any value: the writer with quoting off. A string is its own display text.
qelValue qelValueToString(const qelValue& value);
