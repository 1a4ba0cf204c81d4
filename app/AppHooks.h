#pragma once

// The velarim program's side of the program entry: its four hooks (version "1.0", title
// "Velarim 98", short name "VL98", and the creation of the application object). The start-up
// (Startup.h) installs the services and runs the entry with them.

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/ProgramEntry.h"

#include <string>

// The showcase's application object: the framework's own application environment, whose start
// opens the form named by "StartupForm".
class VelarimStartupApp : public qelAppEnvironment {
public:
    using qelAppEnvironment::qelAppEnvironment;
    // The framework's set-up, then the showcase's form and dialog classes and help pages.
    void registerClasses() override;
    void onStart() override;
};

// Gives the application object the source disk of the run, makes it current and runs it (the
// program's CreateApplication does this with the object it creates).
void velarimRunApplication(qelAppEnvironment* application);

// The program's hooks. The application object is the almanac's (VelarimApp), or the showcase's
// when the program folder's settings name a "StartupForm".
const qelAppHooks& velarimHooks();

// An installation on a content folder: the folder (UTF-8) becomes the source disk of the run.
// Empty: none.
void velarimSetDiskFolder(const std::string& folder);
