#pragma once

// The almanac's application object. Its set-up waits for the content, registers the class set's
// prototypes and the resource names and opens the database lists; its start draws the start
// picture, loads the preferences and opens the first screen (the month view of the agenda when
// only the agenda runs, else the intro or the main menu by "ShowIntro"); quitting asks "QuitDlg"
// and goes only on a boolean true; its exit clears the screen and saves the preferences.
//
// The command line's first word "Agenda" (exact case) runs the agenda alone: no intro, no
// question on quitting, no disc asked for, and no content needed to start.

#include "framework/runtime/AppEnvironment.h"

class VelarimApp : public qelAppEnvironment {
public:
    explicit VelarimApp(const qelValue& commandLine);

    void registerClasses() override;
    void onStart() override;
    int32_t onQuit() override;
    void shutdown() override;
    // The resource compiler: the global tables and the 180 registered forms as .etn files.
    void registerCompiledResources() override;

    // 1 while only the agenda runs; the agenda clears it when the user goes on to the almanac.
    int32_t standAloneAgenda = 0;

private:
    // Asks for the almanac's content until it is found; false when the user gave up (the quit
    // event is then posted and the set-up abandoned). The agenda alone never asks.
    bool waitForContent();
};
