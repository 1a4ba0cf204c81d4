#pragma once

// Where the program's own files and the user's files live.

#include <string>

namespace platform {

// The folder that holds the running program file, without a trailing separator.
std::string programFolder();

// The environment variable that names the user folder, NAME_USER_DIR after the program's name
// (tests give every run its own).
std::string userFolderVariable();

// The folder for the user's files: the folder named by NAME_USER_DIR when it is set and not
// empty; else $XDG_DATA_HOME/NAME, or ~/.local/share/NAME without XDG_DATA_HOME, NAME being the
// program's name (ProgramName.h). Never the program's or the content's folder: those may be
// read-only, shared, or deleted with a build. The folder is created when missing. No trailing
// separator.
std::string userFolder();

} // namespace platform
