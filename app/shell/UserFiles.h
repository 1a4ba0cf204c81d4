#pragma once

// The user's own files (the mark list, the preferences): where they live and what happens to a
// damaged one.
//
// They live in the user folder: the per-user data folder ($XDG_DATA_HOME/velarim), never the
// program's or the content's folder (VELARIM_USER_DIR names another one, for tests). Writers replace a file
// whole through a temporary file and a rename, so a failed write keeps the old file. A file that
// cannot be read back is moved aside under another name, replacing an older copy there, and the
// program goes on as if it were missing.

#include "framework/runtime/Value.h"

// The path (a cp1252 string value) of the named file in the user folder.
qelValue userFilePath(const char* name);

// Moves the file at path (as userFilePath gives it) to asideName in the same folder and tells on
// the debugger output that it did. True when the file went.
bool moveUserFileAside(const qelValue& path, const char* asideName);

// The value a user file keeps: the first item of the archive read from source (the file's path,
// or a stream open on it). Nil when it does not read back as such an archive; what the framework
// reports meanwhile is caught, never shown.
qelValue readUserFile(const qelValue& source);

// Replaces the file at path with an archive holding the one value (through a temporary file and
// a rename). A failure keeps the old file, is told on the debugger output and answers false.
bool writeUserFile(const qelValue& path, const qelValue& value);
