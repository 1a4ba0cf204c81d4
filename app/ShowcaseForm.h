#pragma once

// The sample disk's showcase screens until the application's own screens exist: a form whose
// controls go to their "Target Form" through the navigation history, whose "GoBack" control
// returns through it, and whose controls with a "Dialog" run that dialog or menu modally. A link
// clicked in a text view ("jump:" and a form name) goes to that form; a control with a
// "PrintView" prints the text of the view of that name with its "PrintAttributes". A control with
// a "ShowGroup" shows the group of that name while it is selected and hides it otherwise; one
// with a "Report" shows its name and state (on, off, a click or a double click) in the static
// text of that name. A control with "ShowIn" writes its value (a slider's position, a menu's
// choice, else its "Value"), after its "ShowPrefix", into the static text of that name; a
// scroller that "Pages" a table shows that table's "PageRows" rows of its "AllRows" from the
// scroller's value on. A control with a "Video" plays the movie of the video view of that name.

#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"

class ShowcaseForm : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    const char* className() const override { return "ShowcaseForm"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new ShowcaseForm(data); }
    void handleControl(const qelValue& control) override;
    // A movie plays over the screen, not in it: its video view is stopped and closed with the form.
    void close() override;
    // The history's buttons match the history from the first screen on, however it was opened.
    void afterOpen() override;

private:
    void report(qelControlObject& control);
    void showValue(qelControlObject* control);
    void pageTable(qelControlObject* scroller);
};
