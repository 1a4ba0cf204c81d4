#pragma once

// Starting other programs: the desktop's preferred program for a file or a web address (the
// browser for addresses and HTML pages), or a named program with its arguments. Programs are
// started with an argument vector, never through a shell, so a name with blanks, quotes or
// semicolons reaches them as one argument. A launch does not wait for the started program: a
// second process in between is reaped at once, and the program itself is left to the system.
// It is reported as started only once the program is really running (a missing or
// non-executable program is a failure).
//
// Recording replaces launching: tests and scripted runs must never start a browser. While
// recording, each launch is kept in memory and, when a record file was named, appended to it as
// one line: "open <target>" for the desktop's program, "start" and each argument in double
// quotes (a quote or a backslash inside escaped with a backslash) for a named program. Recorded
// launches answer success unless a test asks for failures.

#include <string>
#include <vector>

namespace platform {

// True when the opener was started (or, while recording, recorded). An empty target is refused.
bool openWithDesktop(const std::string& target);

// Starts arguments[0] (a path, or a name looked for in PATH) with the arguments, in the folder
// when one is given. True once the program runs (or, while recording, recorded); an empty name,
// a program that cannot be run or a folder that cannot be entered is a failure.
bool startProgram(const std::vector<std::string>& arguments, const std::string& folder = {});

// The browser the user named for every program to use: the first entry of $BROWSER (entries are
// separated by ":"), up to its first blank. Empty when none is named.
std::string preferredBrowser();

// Launches are recorded from now on: into memory, and appended to the file when one is named.
// Every launch answers success again.
void recordLaunches(const std::string& recordFile = {});
void stopRecordingLaunches();
bool recordingLaunches();
// What recorded launches answer from now on, for tests of the callers' fallbacks: false makes
// the desktop's opener, or named programs, fail (they are still recorded).
void answerRecordedLaunches(bool desktopOpens, bool programsStart);
// The desktop opener's targets recorded since recording began.
std::vector<std::string> recordedLaunches();
// The named programs' argument vectors recorded since recording began.
std::vector<std::vector<std::string>> recordedPrograms();

} // namespace platform
