#pragma once

// The disk's sources are UTF-8 text; the program's strings are cp1252.

#include "framework/runtime/Value.h"

#include <string>

// The value written in a text-notation file, its text turned from UTF-8 into cp1252. Nil, with
// the reason in `error`, when the file cannot be read.
qelValue readNotationFile(const std::string& path, std::string& error);
