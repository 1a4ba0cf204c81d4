#include "app/shell/SobreDlg.h"

#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"

void SobreDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (name == "OKButton" || name == "Fechar")
        endDialog();
}

void SobreDlg::key(int32_t code, int32_t modifiers)
{
    if (code == QEL_KEY_ENTER) {
        endDialog();
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}
