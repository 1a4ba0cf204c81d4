#pragma once

// The velarim program's side of the program entry: its four hooks (version "1.0", title
// "Velarim 98", short name "VL98", and the creation of the application object). The start-up
// (Startup.h) installs the services and runs the entry with them.

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/ProgramEntry.h"

#include <string>

// The program's application object until the application shell exists: the framework's own
// application environment, whose start then opens the form named by "StartupForm".
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

// The program's hooks. Until the application shell exists, the application object is the
// framework's own application environment, whose start opens the form named by "StartupForm".
const qelAppHooks& velarimHooks();

// An installation on a content folder: the folder (UTF-8) becomes the source disk of the run.
// Empty: none.
void velarimSetDiskFolder(const std::string& folder);
