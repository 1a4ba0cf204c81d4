#pragma once

// The program's entry routine and the process-wide services that come with it: the application's
// four hooks, the title and program folder as values, message boxes captioned with the title,
// debugger output, and the local time.
//
// The entry, in order: installs the fatal and the error hooks; takes the title from the
// application; refuses a second copy (one copy per user folder and title: a later copy asks the
// running one to raise its window and returns 0 without reading settings or opening a window);
// starts the window layer on the back end it is given; records the program folder; joins the
// command line's words with blanks and splits them again at every blank into a list of strings; lets the application create, make current and run its application object;
// forgets the title and the program folder; deletes the current environment; returns 0.
//
// The entry knows no command-line options: the program's start-up reads them, chooses the
// window back end and hands the entry what it needs in a qelEntryParams.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Backend;
class WindowSystem;
}

struct qelAppHooks {
    qelValue (*appVersion)() = nullptr; // "1.0"
    qelValue (*appTitle)() = nullptr; // "Velarim 98"
    qelValue (*appShortName)() = nullptr; // "VL98"
    // Creates the application object, makes it current and runs it; returns when the run ends.
    void (*CreateApplication)(const qelValue& commandLine) = nullptr;
};

// What the start-up hands the entry routine.
struct qelEntryParams {
    // The program folder (UTF-8, where the settings files and the content are); empty: the
    // folder of the program file.
    std::string programFolder;
    // The words of the command line that are not the start-up's options.
    std::vector<std::string> words;
    // Builds the window back end; called after the single-instance check, so a second copy
    // opens no display. Null (or a null answer): no back end can start.
    std::function<std::unique_ptr<platform::Backend>()> makeBackend;
};

// The entry routine. Returns the process's exit status: 0, or 1 when no window back end can
// start.
int qelMain(const qelEntryParams& params, const qelAppHooks& hooks);

// The hooks the entry was given (null before it runs and after it returns).
const qelAppHooks* qelApplicationHooks();

// Copies of the application title and of the program folder (nil when unset).
qelValue qelAppTitle();
qelValue qelAppDirectory();
// Sets the program folder: the directory part of a program path, without a trailing separator
// (the empty string when the path has none). The entry calls it; tests use it too.
void qelSetAppDirectoryFromPath(const qelValue& programPath);

// The window layer of the process (null outside a run). Tests install their own.
platform::WindowSystem* qelWindowSystem();
void qelSetWindowSystem(platform::WindowSystem* system);

// A box with the text, captioned with the application title: OK only, or OK and Cancel. The
// confirm box answers 1 for OK, 0 for Cancel or a box closed without a choice. Without a window
// layer the text goes to the debugger output and the answer is 0.
void qelMessageBox(const qelValue& text);
int32_t qelConfirmBox(const qelValue& text);

// Writes a text (cp1252) to the debugger output, which is standard error.
void qelDebugOutput(const qelValue& text);

// The calendar time in seconds (32 bits: good until January 2038).
int32_t qelCurrentTime();
// A new table (9, 100, 75) of the local time: "Seconds", "Minutes", "Hours", "Day" (1-31), "Month"
// (0-11), "Year" (full), "Day of Week" (0-6, Sunday 0), "Day of Year" (0-365), and "Daylight Savings
// Time": true, false, or nil when the conversion does not know.
qelValue qelDateTime(int32_t time);

// The hooks the entry installs: the error hook writes the message to the debugger output, shows
// it in a box captioned "ERROR" and answers 1; the fatal hook deletes the current environment
// (once, even when it is called again while doing so), writes "\n[Exiting abnormally...]\n" and
// ends the process with status 255 (-1).
int qelEntryErrorHook(const qelValue& message);
[[noreturn]] void qelEntryFatalHook(int code);
