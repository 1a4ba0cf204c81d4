#include "app/personal/JogoEntrarDlg.h"

#include "app/personal/QuizGame.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

namespace {

qelValue fieldText(const qelValue& field)
{
    qelValue text = qelPerform(qelResolve(field), "getText", qelNil);
    return text.isString() ? text : qelEmptyString();
}

} // namespace

void JogoEntrarDlg::open(const qelValue& data)
{
    // The object registered under the name serves every run: each starts as a new game.
    m_result = qelNil;
    qelMediaDialogObject::open(data);
}

void JogoEntrarDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Senha") {
        qelPerform(qelResolve(getProperty("Salvo")), "Select", qelTrue);
        qelPerform(qelResolve(getProperty("Novo")), "Select", qelFalse);
    } else if (name == "Salvo") {
        qelValue field = qelResolve(getProperty("Senha"));
        if (qelControlOf(field))
            setActiveControl(field, 1);
    } else if (name == "Ok") {
        m_result = qelNil;
        if (qelIsTrue(qelPerform(qelResolve(getProperty("Salvo")), "IsSelected", qelNil))) {
            m_result = quizTable();
            qelPut(m_result, "Name", fieldText(getProperty("Nome")));
            qelPut(m_result, "Senha", qelUpperCase(fieldText(getProperty("Senha"))));
        }
        endDialog();
    } else if (name == "Cancelar" || name == "Fechar") {
        m_result = qelValue("Cancelar");
        endDialog();
    } else {
        qelDialogObject::handleControl(control);
    }
}
