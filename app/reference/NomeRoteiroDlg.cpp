#include "app/reference/NomeRoteiroDlg.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

namespace {

constexpr int32_t enterKey = 13;

} // namespace

void NomeRoteiroDlg::open(const qelValue& data)
{
    m_result = qelNil;
    qelMediaDialogObject::open(data);
    qelValue notice = findControl("Name", qelValue("Aviso"));
    if (data.isString() && qelControlOf(notice)) {
        qelPerform(notice, "SetText", data);
        qelPerformAction(notice, "Draw");
    }
}

void NomeRoteiroDlg::takeName()
{
    qelValue field = findControl("Name", qelValue("Nome"));
    qelValue text = qelControlOf(field) ? qelPerformAction(field, "getText") : qelNil;
    m_result = text.isString() ? text : qelValue("");
    endDialog();
}

void NomeRoteiroDlg::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    m_result = qelNil;
    if (name == "Ok") {
        takeName();
        return;
    }
    if (name == "Cancelar" || name == "Fechar") {
        endDialog();
        return;
    }
    qelDialogObject::handleControl(control);
}

void NomeRoteiroDlg::key(int32_t code, int32_t modifiers)
{
    if (code == enterKey) {
        takeName();
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}
