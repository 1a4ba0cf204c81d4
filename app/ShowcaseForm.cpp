#include "app/ShowcaseForm.h"

#include "framework/runtime/Builtins.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/History.h"

void ShowcaseForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    if (object->getProperty("Name") == "GoBack") {
        qelHistoryGo(1, 1);
        return;
    }
    qelValue dialog = object->getProperty("Dialog");
    if (!dialog.isNil()) {
        qelRunDialog(dialog, qelNil);
        return;
    }
    qelValue target = object->getProperty("Target Form");
    if (!target.isNil())
        qelHistoryGoTo(target, qelNil);
}

void ShowcaseForm::afterOpen()
{
    qelHistoryUpdateButtons();
}
