#pragma once

// The program's start-up: the one place that names the program, reads its options, chooses the
// window back end and installs every layer's services, lowest layer first, before handing the
// run to the framework's entry routine. The program and the tools over the framework start here.
//
// Options (anywhere on the command line; the other words form the application's command line):
//   --headless           the headless window back end (virtual clock, nothing shown)
//   --script FILE        the input script of a headless run
//   --screens DIR        where the script's `shot` lines write their pictures
//   --disk DIR           the content folder: the program folder and the source disk of the run
//   --help               the usage text

#include "framework/runtime/ProgramEntry.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {
class Backend;
}

struct velarimOptions {
    bool headless = false;
    bool help = false;
    std::string script;
    std::string screens = ".";
    std::string disk;
    std::vector<std::string> words;
};

// Gives the program its name towards the system (user folder, environment variables, the
// single-instance socket).
void velarimNameProgram();

// Reads the options; false, after a message on standard error, when they are wrong.
bool velarimParseOptions(int argc, char** argv, velarimOptions& options);

// The window back end the options ask for: SDL, or headless with its script and its pictures'
// folder. Null, after a message on standard error, when it cannot start.
std::unique_ptr<platform::Backend> velarimMakeBackend(const velarimOptions& options);

// Each layer's services and value makers, installed into the hooks of the layers below it.
// velarimInstallServices installs them all in layer order; a tool installs the layers it needs,
// from the lowest. velarimInstallDisplayValues is the part of the display's that the value
// tools need: regions, fonts and images decode as the display's objects.
void velarimInstallDisplayValues();
void velarimInstallDisplayServices();
void velarimInstallUiServices();
void velarimInstallRichTextServices();
void velarimInstallServices();

// Runs the framework's entry with the options (the services already installed): the disk folder
// becomes the program folder and the source disk, and the back end is built after the
// single-instance check. Returns the exit status.
int velarimRun(const velarimOptions& options, const qelAppHooks& hooks);

// The whole start-up, top to bottom: name, options, services, run. Returns the exit status.
int velarimStart(int argc, char** argv, const qelAppHooks& hooks);
