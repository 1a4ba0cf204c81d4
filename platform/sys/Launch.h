#pragma once

// Opening a file or a web address with the desktop's preferred program (the browser for
// addresses and HTML pages). The program is xdg-open, started with an argument vector, never
// through a shell, so a name with blanks, quotes or semicolons reaches it as one argument.
// The launch does not wait for the opened program: a second process in between is reaped at
// once, and the program itself is left to the system.
//
// Recording replaces launching: tests and scripted runs must never start a browser. While
// recording, each launch appends its target to a list in memory and, when a record file was
// named, one line "open <target>" to that file.

#include <string>
#include <vector>

namespace platform {

// True when the opener was started (or, while recording, recorded). An empty target is refused.
bool openWithDesktop(const std::string& target);

// Launches are recorded from now on: into memory, and appended to the file when one is named.
void recordLaunches(const std::string& recordFile = {});
void stopRecordingLaunches();
bool recordingLaunches();
// The targets recorded since recording began.
std::vector<std::string> recordedLaunches();

} // namespace platform
