#pragma once

// File names as the content spells them, found on a case-sensitive file system.
//
// Content and settings written for the original system name files with either separator and in
// any letter case ("Media\Atlas.DAT" for "media/atlas.dat"). resolvePath turns such a name into
// the path of the file that is there: it first tries the name as it stands (one stat), and only
// when that misses compares each component with the entries of its directory, ignoring case.
//
// Directory listings are read once and kept: a start-up that looks up a few hundred names in
// the same few folders reads each folder once. A kept listing is checked against the folder's
// identity and modification time before each use, so a file created or renamed later is seen.

#include <cstdint>
#include <string>

namespace platform {

// The path with every backslash turned into a slash; when no file or folder exists under that
// spelling, each missing component is replaced by the entry of its folder that equals it
// ignoring case (ASCII and the accented letters of cp1252). A name with no such entry is left as
// written, so the caller's open fails as it would have.
std::string resolvePath(const std::string& path);

// Drive letters: a name that starts with a letter and a colon ("D:\Media\Atlas.dat", as settings
// written for the original system give the source disk) is looked up in the folder mapped to that
// drive. The map starts from the environment variable NAME_DRIVES after the program's name
// (VELARIM_DRIVES="D=/media/cdrom;E=/data");
// a drive with no folder leaves the name as written, so its open fails.
void setDriveFolder(char letter, const std::string& folder);
void clearDriveFolders();

// True when a file or folder exists under the path as resolvePath finds it.
bool pathExists(const std::string& path);

// How many folder listings have been read since the start (or the last reset), and forgetting
// every kept listing. For benchmarks and tests.
uint64_t directoryReads();
void resetDirectoryCache();

} // namespace platform
