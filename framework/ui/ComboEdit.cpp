#include "framework/ui/ComboEdit.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"

ComboEdit::ComboEdit(const qelValue& data)
    : ComboBox(data)
{
}

ComboEdit::~ComboEdit() = default;

void ComboEdit::setUp()
{
    ComboBox::setUp();
    editControl = getProperty("EditControl");
    if (editControl.isString()) {
        qelFormObject* form = qelFormOf(qelActiveForm());
        editControl = form ? form->findControl("Name", editControl) : qelNil;
    }
    if (editControl.type() != QEL_CONTROL_TYPE)
        editControl = qelNil;
}

void ComboEdit::drawField()
{
    if (editControl.isNil()) {
        ComboBox::drawField();
        return;
    }
    qelPerform(editControl, "Draw", qelNil);
}

void ComboEdit::setSelection(int32_t index, int32_t refresh)
{
    ComboBox::setSelection(index, refresh);
    if (editControl.isNil())
        return;
    qelValue text = qelEmptyString();
    if (selection >= 0 && selection < itemCount())
        text = qelValueToString(qelGet(list, selection));
    qelPerform(editControl, "selectAll", qelNil);
    qelPerform(editControl, "replaceSel", text);
    qelPerform(editControl, "selectAll", qelNil);
}

void ComboEdit::markDown()
{
    isDown = 1;
    if (editControl.isNil() || selection < 0 || selection >= itemCount())
        return;
    qelValue typed = qelPerform(editControl, "stringValue", qelNil);
    if (!typed.isNil())
        qelPut(list, selection, typed);
}

void ComboEdit::markUp()
{
    isDown = 0;
    if (editControl.isNil())
        return;
    if (qelFormObject* form = qelFormOf(qelActiveForm()))
        form->setActiveControl(editControl, 1);
}
