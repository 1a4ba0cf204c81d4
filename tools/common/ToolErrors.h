#pragma once

// How the command-line tools end on errors. A framework error (reported through qelError, its text
// in cp1252) prints its message on stderr as UTF-8 and ends the tool with status 1; so does a
// failure of the tool's own (its text already UTF-8, as file names are). Wrong arguments print the
// usage and end with status 2.

#include <string>

// Installs the framework's error and fatal hooks. `cleanUp`, when given, runs before every exit
// with status 1 (a tool that was writing a file removes it).
void qelToolInstallErrorHooks(void (*cleanUp)() = nullptr);

[[noreturn]] void qelToolFail(const std::string& message);
[[noreturn]] void qelToolUsage(const char* usage);
