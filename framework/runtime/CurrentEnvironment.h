#pragma once

// The one application object as the framework's services see it: its settings (read and stored
// through Settings.h), its event dispatcher (the window procedure hands some messages to it at
// once) and its deletion through a virtual destructor (by the program entry after the run, and by
// the fatal hook). The full environment with its main loop derives from this base.

#include "framework/runtime/Event.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelEnvironmentBase {
public:
    qelEnvironmentBase() = default;
    qelEnvironmentBase(const qelEnvironmentBase&) = delete;
    qelEnvironmentBase& operator=(const qelEnvironmentBase&) = delete;
    // Stops being the current environment when it was.
    virtual ~qelEnvironmentBase();

    // Makes this the current environment; creates the settings table (4, 100, 75) when it is nil.
    void makeCurrent();

    // Handles one event; 0 asks the loop that took it to end. The base ignores every event.
    virtual int32_t dispatch(qelEvent event);

    // Stores into the settings table (made when nil); the changed flag stays as it is.
    void setSetting(const qelValue& name, const qelValue& value);
    // setSetting with the boolean value of the int.
    void setBoolSetting(const qelValue& name, int32_t flag);
    // Stores into the settings table, and into the persistent table too when `persist` is
    // nonzero (both made when nil); sets the changed flag.
    void putSetting(const qelValue& name, const qelValue& value, int32_t persist);

    // Setting name (string) -> value.
    qelValue settings;
    // The settings stored with the persist flag.
    qelValue persistentSettings;
    // 1 once a setting has been stored through putSetting.
    int32_t settingsChanged = 0;
};

// The current environment, or null.
qelEnvironmentBase* qelCurrentEnvironment();

// Deletes the current environment, if any, after it has stopped being current (so that nothing
// its destructor calls finds it half destroyed).
void qelDeleteCurrentEnvironment();
