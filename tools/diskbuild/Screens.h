#pragma once

// The compiled resource (".etn") of one registered screen or dialog: the screen's authored
// source when it has one, else a placeholder of the registered class in the look of its section
// that tells, in Portuguese, that the section is being prepared. Either way the resource table
// names the class under "Class", so the disk can be checked against the registrations.

#include "framework/runtime/Value.h"

class qelTableObject;

#include <string>

struct ScreenRegistration {
    std::string name;      // the resource name screens open it by
    std::string className; // the class the registration gives
    std::string look;      // the section whose look a placeholder takes (content/style)
};

// True for the classes that open as dialogs over a screen rather than as whole screens.
bool isDialogClass(const std::string& className);

// The placeholder's resource table in text notation (cp1252).
std::string placeholderSource(const ScreenRegistration& screen);

// Gives the resource table (read from `source`) the class the screen is registered with under
// "Class" when it names none; false with the reason when it names another.
bool claimScreenClass(
    qelTableObject& resources, const ScreenRegistration& screen, const std::string& source, std::string& error);

// Writes the value's binary encoding to `output` through a temporary file, so a failed step
// leaves no half-written resource; false when it cannot be written.
bool writeEncoded(const qelValue& value, const std::string& output);

// Compiles `source` (the authored text notation, UTF-8; empty for a placeholder) into `output`.
// An authored table whose "Class" names another class is an error; one without "Class" gets it.
// False with the reason on failure.
bool buildScreen(const ScreenRegistration& screen, const std::string& source, const std::string& output,
    std::string& error);
