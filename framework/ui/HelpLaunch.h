#pragma once

// Help on this platform: the help file that forms and dialogs ask for (the application's short
// name + ".hlp") stands for the HTML page of the same name beside it ("VL98.html"), which is
// opened through the desktop's browser. The topic number is not passed on: the page is one
// document. Installed as the environment's help service.

#include "framework/runtime/Value.h"

#include <cstdint>

// The page that stands for the help file: its name with ".html" in place of its extension.
qelValue qelHelpPage(const qelValue& helpFile);
// Whether the help file or its page exists (names matched ignoring case).
bool qelHelpFileExists(const qelValue& helpFile);
// Opens the page of the help file; 1 when the browser was started (or the launch recorded).
int32_t qelLaunchHelp(const qelValue& helpFile, int32_t topic);
// Makes qelShowHelp open help pages.
void qelInstallHelpLaunch();
