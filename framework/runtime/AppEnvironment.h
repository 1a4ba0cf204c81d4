#pragma once

// qelAppEnvironment: the framework's ready-made application base. Its constructor stores the
// framework's default settings, registers one prototype of every framework control class and
// keeps the hand and key cursors as globals; its set-up saves the audio volume, points
// "ResourcePath" at the installed media on a full install and copies the entries of
// "global.etn" into the globals. It closes the active form and restores the volume at shut-down,
// quits on Alt+F4, and lets the quit event end the loop at once. The application derives from it.

#include "framework/runtime/Environment.h"

#include <cstdint>

// The F4 key's code in key events.
constexpr int32_t QEL_KEY_F4 = 0x40000;

class qelAppEnvironment : public qelEnvironment {
public:
    // The command-line list is the application's to read.
    explicit qelAppEnvironment(const qelValue& commandLine);

    void registerClasses() override;
    // The wait cursor, unless the set-up was abandoned; opens no form (the application does).
    void onStart() override;
    // 1: the quit event always ends the loop.
    int32_t onQuit() override;
    void shutdown() override;
    void onMouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // Alt+F4 posts the quit event; every key then goes to the active form.
    void onKey(int32_t keyCode, int32_t modifiers) override;
    // The application's own operation; empty here.
    virtual void registerCompiledResources() { }

    // The navigation history table (nil until first used).
    qelValue historyTable;
    // A value the framework does not use.
    qelValue spare;
    // The audio volume read at set-up.
    int32_t savedVolume = 0;
    // 1 once the application gave up during its set-up (after posting the quit event): start
    // and shut-down then skip their work.
    int32_t abandoned = 0;
};

// The names of the framework control classes, in the order their prototypes are registered.
extern const char* const qelFrameworkControlClasses[21];

// Makes the prototype of a framework control class (constructed with nil data). The control
// layers install one per class; a class without one (a runtime with no control layer) is not
// registered, and content naming it finds no class.
using qelPrototypeMaker = qelNamedObject* (*)();
void qelSetControlPrototypeMaker(const char* className, qelPrototypeMaker maker);
qelNamedObject* qelMakeControlPrototype(const char* className);
