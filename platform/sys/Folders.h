#pragma once

// Where the program's own files and the user's files live.

#include <string>

namespace platform {

// The folder that holds the running program file, without a trailing separator.
std::string programFolder();

// The environment variable that names the user folder (tests give every run its own).
constexpr const char* userFolderVariable = "VELARIM_USER_DIR";

// The folder for the user's files: the folder named by VELARIM_USER_DIR when it is set and not
// empty; else `programFolder` when the user may write there (an unpacked copy keeps its user
// files beside it); else $XDG_DATA_HOME/velarim, or ~/.local/share/velarim without
// XDG_DATA_HOME. The folder is created when missing. No trailing separator.
std::string userFolder(const std::string& programFolder);
std::string userFolder();

} // namespace platform
