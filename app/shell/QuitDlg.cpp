#include "app/shell/QuitDlg.h"

#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"

void QuitDlg::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
    m_result = qelFalse;
}

void QuitDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "OKButton") {
        m_result = qelTrue;
        endDialog();
    } else if (name == "CancelButton" || name == "Fechar") {
        endDialog();
    } else {
        qelDialogObject::handleControl(control);
    }
}

void QuitDlg::key(int32_t code, int32_t modifiers)
{
    if (code == QEL_KEY_ENTER) {
        m_result = qelTrue;
        endDialog();
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}
