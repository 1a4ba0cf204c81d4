#pragma once

// The name the program goes by towards the system: the folder of the user's files under the
// XDG data folder, the prefix of the single-instance socket, and (in capitals) the prefix of
// the environment variables the platform layer reads (NAME_USER_DIR, NAME_DRIVES). The
// program's start-up sets it before anything else; until then it is "qel", the framework's own.

#include <string>

namespace platform {

void setProgramName(const std::string& name);
const std::string& programName();

// The environment variable NAME_SUFFIX for the program's name in capitals: "VELARIM_USER_DIR"
// for "velarim" and "USER_DIR".
std::string programVariable(const char* suffix);

} // namespace platform
