#include "framework/ui/FieldFormat.h"

#include "framework/runtime/NumberText.h"

#include <cstdio>
#include <cstring>

namespace {

// The formatted text's buffer holds 255 characters and the NUL.
constexpr size_t BUFFER_SIZE = 256;
// Widths and precisions of at most two digits: enough for any field, and the printed number
// stays a few hundred characters at most before the cut.
constexpr int MAX_DIGITS = 2;

struct Conversion {
    size_t start = 0; // the '%'
    size_t end = 0; // one past the "lf" or "ld"
    bool isFloat = false;
};

// Reads up to MAX_DIGITS digits at i; false when more follow.
bool skipDigits(const std::string& format, size_t& i)
{
    int count = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        if (++count > MAX_DIGITS)
            return false;
        ++i;
    }
    return true;
}

// The single conversion of the format, or nothing when it has none, more than one, or another
// kind.
std::optional<Conversion> parse(const std::string& format)
{
    std::optional<Conversion> found;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        if (found)
            return std::nullopt;
        Conversion conversion;
        conversion.start = i;
        size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ #0", format[j]))
            ++j;
        if (!skipDigits(format, j))
            return std::nullopt;
        if (j < format.size() && format[j] == '.') {
            ++j;
            if (!skipDigits(format, j))
                return std::nullopt;
        }
        if (j + 1 >= format.size() || format[j] != 'l' || (format[j + 1] != 'f' && format[j + 1] != 'd'))
            return std::nullopt;
        conversion.isFloat = format[j + 1] == 'f';
        conversion.end = j + 2;
        found = conversion;
        i = j + 1;
    }
    return found;
}

} // namespace

std::optional<std::string> qelFormatFieldNumber(const std::string& format, const char* text)
{
    // A NUL inside the format would hide the rest of it from the check.
    if (format.find('\0') != std::string::npos)
        return std::nullopt;
    std::optional<Conversion> conversion = parse(format);
    if (!conversion)
        return std::nullopt;
    char buffer[BUFFER_SIZE];
    // The format is the checked one: a single conversion of the argument's own type.
    if (conversion->isFloat) {
        double number = qelTextToFloat(text ? text : "");
        std::snprintf(buffer, sizeof buffer, format.c_str(), number);
    } else {
        long number = qelTextToInt(text ? text : "");
        std::snprintf(buffer, sizeof buffer, format.c_str(), number);
    }
    return std::string(buffer);
}
