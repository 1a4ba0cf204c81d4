#pragma once

// The reformatting of a text field's number by its "Format": a printf format that content
// supplies. Only one conversion is taken, "%[flags][width][.precision]lf" (the text read as a
// floating-point number) or the same with "ld" (read as an integer), with literal text and "%%"
// around it; any other format is refused, since a content-supplied format is never handed to
// printf as it stands. The result is cut at 255 characters, the field's buffer.

#include <optional>
#include <string>

// The text printed with the format, or nothing when the format is not allowed.
std::optional<std::string> qelFormatFieldNumber(const std::string& format, const char* text);
