#include "framework/ui/Perform.h"

#include "framework/runtime/Error.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"

qelValue qelPerform(const qelValue& target, const qelValue& action, const qelValue& data)
{
    if (target.type() == QEL_CONTROL_TYPE) {
        qelControlObject* control = qelControlOf(target);
        return control ? control->perform(action, data) : qelNil;
    }
    if (target.type() == QEL_FORM_TYPE) {
        qelFormObject* form = qelFormOf(target);
        return form ? form->perform(action, data) : qelNil;
    }
    qelArgTypeError("qelPerform(frmOrCtrl,action,data)", 1);
    return qelNil;
}

qelValue qelPerformAction(const qelValue& target, const qelValue& action)
{
    return qelPerform(target, action, qelNil);
}
