#include "platform/sys/ProgramName.h"

namespace platform {

namespace {

std::string& name()
{
    static std::string value = "qel";
    return value;
}

} // namespace

void setProgramName(const std::string& next)
{
    name() = next;
}

const std::string& programName()
{
    return name();
}

std::string programVariable(const char* suffix)
{
    std::string variable;
    for (char c : name())
        variable += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    return variable + "_" + suffix;
}

} // namespace platform
