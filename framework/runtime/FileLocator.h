#pragma once

// Where content files are: an installed copy, folders named in the settings, or the source
// disk. qelLocateFile turns a name and an extension into the path to open:
//   1. the file name is name + "." + the lower-case extension (or the name as it is, with its
//      own extension, when none is given);
//   2. the setting keyed by the lower-case extension ("etn", "dat", "idx"...) names the folder,
//      or several separated by ";" (the first holding the file wins at once; with none, the
//      last); without that setting the media folder is used;
//   3. on a full install ("FullInstall" present) a file missing there is taken from the source
//      disk: "SourceDisk" joined with the media folder and the file name;
//   4. a file still missing is announced in a box when "TraceFileOpens" is true.
// The path is returned even when no file is there; the caller's open then fails.
// Names are matched ignoring case, as the platform's file layer resolves them.

#include "framework/runtime/Value.h"

#include <cstdint>

qelValue qelLocateFile(const qelValue& name, const qelValue& extension);
// 1 when both "FullInstall" and "SourceDisk" are present (whatever their values), else 0.
int32_t qelIsFullInstall();

// Typed reads of a table's, control's or form's properties.
// The stored value when the object holds the key, else the default.
qelValue qelGetOr(const qelValue& object, const qelValue& key, const qelValue& defaultValue);
// The stored int when the key holds an int; the default otherwise (a string "5" too).
int32_t qelGetIntProperty(const qelValue& object, const qelValue& key, int32_t defaultValue);
int32_t qelReadIntProperty(const qelValue& object, const qelValue& key, int32_t defaultValue);
// The truth of the stored boolean when the key holds a boolean; the default otherwise.
int32_t qelGetBoolProperty(const qelValue& object, const qelValue& key, int32_t defaultValue);
// A new empty int list (growth 100 %).
qelValue qelNewIntList(int32_t capacity);

// True when a file exists at the path (a string value), its name matched ignoring case.
bool qelLocatedFileExists(const qelValue& path);
// Opens the file at the path (a string value, its name matched ignoring case) with the
// desktop's program for it (the browser for HTML pages); 1 when that program was started (or
// the launch recorded, as tests and scripted runs do), else 0.
int32_t qelOpenWithDesktop(const qelValue& path);
