#pragma once

// TextCombo: a text field that edits the selected entry of a combo box on the same form, named
// by "ComboControl" (the control, a reference to it, or its "Name"). Enter and the loss of the
// focus write the field's text into the combo box's selected entry; Enter then selects the whole
// text. The verb "isDuplicate" answers whether the edited entry now repeats another entry of the
// list, and when it does, puts back the text the field had when it was activated.

#include "framework/ui/TextField.h"

class TextCombo : public TextField {
public:
    using TextField::TextField;

    const char* className() const override { return "TextCombo"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new TextCombo(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void deactivate() override;
    int32_t key(int32_t code, int32_t modifiers) override;

    void sendToCombo();
    bool isDuplicate();

private:
    // The combo box, looked up at each use: a kept value would hold the combo box while an
    // editing combo box holds this field, and neither would ever be freed.
    qelValue combo();
};
