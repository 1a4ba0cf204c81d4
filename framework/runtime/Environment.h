#pragma once

// qelEnvironment: the framework's base of the one application object. It owns the settings, the
// globals with the class registry, the main window, the active form and the navigation history.
// Its run is the framework's main: load the settings, build the resource-type table, create the
// main window (which posts the start event), let the application set itself up, show the window,
// run the event loop, shut down. Its dispatcher calls one virtual operation per event bit; the
// default operations hand the event on to the active form.
//
// The loop ends when the quit event is dispatched and onQuit answers nonzero, or when a modal
// loop sets the quit flag after its own dispatch answered 0.

#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/Value.h"

#include <cstdint>

class qelNamedObject;

class qelEnvironment : public qelEnvironmentBase {
public:
    // Installs the resource loader's makers (references, resource loads of the text notation).
    qelEnvironment();
    // Releases the active form and the history first (a form may still post or read settings
    // while it goes), then frees the event pool, then the window, settings and globals.
    ~qelEnvironment() override;

    virtual void run();
    int32_t dispatch(qelEvent event) override;
    // The application's set-up; empty here.
    virtual void registerClasses() { }
    virtual void onStart();
    // Nonzero ends the loop. Closes the active form; answers 1.
    virtual int32_t onQuit();
    // The application's exit work; empty here.
    virtual void shutdown() { }
    virtual void onActivate();
    virtual void onDeactivate();
    // Two operations the framework never calls.
    virtual void reserved1() { }
    virtual void reserved2() { }
    virtual void onMouseMove(int32_t x, int32_t y, int32_t modifiers);
    virtual void onMouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks);
    virtual void onMouseDrag(int32_t x, int32_t y, int32_t modifiers);
    virtual void onMouseUp(int32_t x, int32_t y, int32_t modifiers);
    virtual void onKey(int32_t keyCode, int32_t modifiers);
    virtual void onKeyUp(int32_t keyCode, int32_t modifiers);
    virtual void onTick();
    virtual void onIdle();
    virtual void onMediaNotice(const qelValue& media, const qelValue& notice);
    virtual void onNotify(int32_t parameter);
    virtual void onUserMessage(int32_t parameter, const qelValue& value) { }
    virtual void onCommand(const qelValue& value) { }

    // Stores the prototype under its class name in the registry "Classes" of the globals (both
    // made when missing). A name already there is the error "Class already registered: " + name.
    void registerClass(qelNamedObject* prototype);
    // Stores into the globals (made when nil).
    void setGlobal(const qelValue& key, const qelValue& value);

    // "Classes" -> the class registry; every other key a global resource.
    qelValue globals;
    // The window value of the main window.
    qelValue mainWindow;
    // Nil, or the form (or modal dialog) that receives the events.
    qelValue activeForm;
    // The plain list of visited forms.
    qelValue history;
};

// The current environment as a qelEnvironment (null when there is none or it is only a base).
qelEnvironment* qelCurrentEnv();

// The process-wide quit flag: 0 at the start of run; a modal loop sets it to 1 when the
// dispatcher refuses to go on, and the main loop stops when it sees it.
int32_t qelQuitFlag();
void qelSetQuitFlag(int32_t flag);

// The element at the index of a list value (used to unpack event values).
qelValue qelArgument(const qelValue& list, int32_t index);
// When there is an active form, converts the event's x and y from window to form coordinates.
void qelLocalizeEvent(qelEvent& event);
// The active form of the current environment (nil without one), and its replacement (which
// releases the old one).
qelValue qelActiveForm();
void qelSetActiveForm(const qelValue& form);
// Closes the current form and opens the one named, with the data (the form layer's navigation).
void qelGoToForm(const qelValue& name, const qelValue& data);

// Services on the main window.
uint32_t qelMainWindowHandle();
// Puts the text (cp1252) on the clipboard as plain text; the clipboard stays as it was when that
// fails.
void qelCopyTextToClipboard(const qelValue& text);
// The clipboard's plain text as a string value (cp1252), nil when there is none.
qelValue qelPasteTextFromClipboard();
// The system's sound for the type (0xFFFFFFFF: the simple beep that marks a refused edit).
void qelMessageBeep(uint32_t type);
// Help: the topic's context when the topic is 0 or more, the index when it is negative.
int32_t qelShowHelp(const qelValue& helpFile, int32_t topic);
void qelHelpQuit();
// Makes the path the current directory; answers the previous one, or nil when the change failed.
qelValue qelChangeDirectory(const qelValue& path);
