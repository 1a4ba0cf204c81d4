#pragma once

// What the shell asks of the sections that stand on it. The shell cannot include them (they
// derive from its bases), so the program fills these hooks when it creates the application
// object; a hook left empty does nothing.

#include "framework/runtime/Value.h"

struct VelarimShellHooks {
    // Opens an address in the user's web browser (the menu bar's internet menu).
    void (*openInternetPage)(const qelValue& address) = nullptr;
    // The agenda that ran alone goes on to the whole almanac: the application leaves its
    // stand-alone mode and registers every section's screens.
    void (*leaveStandAloneAgenda)() = nullptr;
};

VelarimShellHooks& velarimShellHooks();
