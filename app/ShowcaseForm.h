#pragma once

// The sample disk's showcase screens until the application's own screens exist: a form whose
// controls go to their "Target Form" through the navigation history, whose "GoBack" control
// returns through it, and whose controls with a "Dialog" run that dialog or menu modally. A link
// clicked in a text view ("jump:" and a form name) goes to that form; a control with a
// "PrintView" prints the text of the view of that name with its "PrintAttributes"; a control with
// a "Video" plays the movie of the video view of that name.

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
};
