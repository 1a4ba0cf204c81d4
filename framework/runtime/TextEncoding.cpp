#include "framework/runtime/TextEncoding.h"

std::string qelToUtf8(std::string_view cp1252)
{
    return platform::cp1252::toUtf8(cp1252);
}

std::string qelFromUtf8(std::string_view utf8)
{
    return platform::cp1252::fromUtf8(utf8);
}
