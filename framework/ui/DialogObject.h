#pragma once

// qelDialogObject: a form shown over the current screen in a rectangle of its own, run modally.
// While it runs it is the environment's active form and has its own event loop (qelRunDialog);
// when it ends it puts back the screen it covered and hands its result to the caller.
//
// Resources it reads while it is the current form:
//   "Control List"           its controls
//   "Background Image"       gives its size when present; else "Width" and "Height"
//   "Origin X", "Origin Y"   its top-left corner on the screen
//   "Drag Rect"              where a press starts dragging it (dialog coordinates); none: fixed
//   "Dialog Beep Sound"      played when the user presses outside it
// and the controls' "Action": "close" makes a control end the dialog. Escape ends it too.
//
// While it is open the port's drawing origin is the dialog's corner, so the dialog and its
// controls draw in dialog coordinates.

#include "framework/ui/FormObject.h"

class qelDialogObject : public qelFormObject {
public:
    explicit qelDialogObject(const qelValue& data = qelNil);
    ~qelDialogObject() override;

    const char* className() const override { return "qelDialogObject"; }
    qelNamedObject* newInstance(const qelValue& data) override;

    // A control whose "Action" is "close" ends the dialog; nothing else happens.
    void handleControl(const qelValue& control) override;
    // Builds, sizes and places the dialog, keeps the screen under it and the port's origin,
    // discards queued mouse events, draws and activates it. The data is not read here.
    void open(const qelValue& data) override;
    // Puts back the screen and the port's origin, and releases the resources.
    void close() override;
    // Outside the dialog (its right and bottom edges count as inside): only the beep sound.
    // In "Drag Rect": dragging. Elsewhere: the form's handling.
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // Escape ends the dialog before any control sees it.
    void key(int32_t code, int32_t modifiers) override;

    virtual qelValue result() { return qelNil; }
    virtual void endDialog() { done = 1; }
    // Moves the dialog with the mouse from the press at (x, y), window coordinates, until the
    // button is released. The held point stays 10 pixels inside the media area.
    virtual void drag(int32_t x, int32_t y);

    // Runs on after a result that keeps the dialog open (a sub-menu handing back control).
    void resume() { done = 0; }

    qelValue savedBackground;
    int32_t savedOriginX = 0;
    int32_t savedOriginY = 0;
    int32_t done = 0;
    // Set by the modal run while the dialog runs: a dialog is never run inside itself.
    int32_t running = 0;

protected:
    struct DragStyle {
        // The pointer's lowest y is the media height less this.
        int32_t bottomMargin = 10;
        // The picture comes straight from the screen when the dialog is wholly inside the media
        // area, and the background image is drawn under a picture built off-place.
        bool pictureFromScreen = false;
        // Queued drag events are discarded first.
        bool flushDrags = true;
        // Each step copies the screen into the kept picture instead of taking a new one.
        bool copyIntoSaved = false;
    };
    // The drag itself: the dialog is deactivated, follows the pointer until the release, and is
    // left with the port's origin at its new corner; the caller activates it again.
    void dragWith(int32_t x, int32_t y, const DragStyle& style);
    // The picture drawn under the dialog when it is rebuilt off-place (none here).
    virtual qelValue dragBackdrop() { return qelNil; }

private:
    // The integer of a resource; a missing one is a type error of qelIntValue.
    static int32_t intResource(const char* name);
};

// The dialog object of a form value, or null.
qelDialogObject* qelDialogOf(const qelValue& value);

// Shows the dialog (a form value, or a resource name loaded as one) modally with the data and
// answers its result. The previous active form is deactivated before and activated after.
qelValue qelRunDialog(const qelValue& dialog, const qelValue& data);
qelValue qelDoDialog(const qelValue& dialog);
