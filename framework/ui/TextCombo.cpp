#include "framework/ui/TextCombo.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"

namespace {

constexpr int32_t ENTER_CODE = 13;

} // namespace

qelValue TextCombo::combo()
{
    if (!hasProperty("ComboControl"))
        return qelNil;
    qelValue value = getProperty("ComboControl");
    if (value.isString()) {
        qelFormObject* form = qelFormOf(qelActiveForm());
        value = form ? form->findControl("Name", value) : qelNil;
    }
    return value.type() == QEL_CONTROL_TYPE ? value : qelNil;
}

void TextCombo::sendToCombo()
{
    qelValue box = combo();
    if (!box.isNil())
        qelPerform(box, "setSelectionStr", text());
}

bool TextCombo::isDuplicate()
{
    qelValue box = combo();
    if (box.isNil())
        return false;
    qelValue list = qelPerformAction(box, "getList");
    qelValue selected = qelPerformAction(box, "getSelectionStr");
    if (list.type() != QEL_LIST_TYPE || !selected.isString())
        return false;
    int32_t current = qelIntValue(qelPerformAction(box, "getSelection"));
    // Any other entry equal to the edited one is a repeat, before the selection or after it.
    bool repeated = false;
    for (int32_t i = 0, n = qelCount(list); i < n && !repeated; ++i)
        repeated = i != current && qelGet(list, i) == selected;
    if (!repeated)
        return false;
    restoreActivationText();
    // The list gets the restored text back at once, not only when the field next loses the
    // focus, so it never keeps the repeat.
    sendToCombo();
    return true;
}

qelValue TextCombo::perform(const qelValue& action, const qelValue& data)
{
    if (action == "isDuplicate")
        return qelMakeBoolean(isDuplicate());
    return TextField::perform(action, data);
}

void TextCombo::deactivate()
{
    TextField::deactivate();
    sendToCombo();
}

int32_t TextCombo::key(int32_t code, int32_t modifiers)
{
    if (code == ENTER_CODE) {
        sendToCombo();
        setSelection(textLength, 0);
    }
    return TextField::key(code, modifiers);
}
