#include "app/personal/JogoScoreDlg.h"

#include "app/personal/QuizGame.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"

#include <string>

void JogoScoreDlg::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
    int32_t score = data.type() == QEL_INT_TYPE ? data.payload() : 0;
    qelPerform(qelResolve(getProperty("Score")), "SetText", qelStringValue(std::to_string(score).c_str()));
}

void JogoScoreDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Regras") {
        qelDoDialog("JogoRegrasDlg");
        endDialog();
    } else if (name == "Fechar") {
        endDialog();
    }
}

void JogoScoreDlg::key(int32_t code, int32_t modifiers)
{
    if (!quizDialogEndsOnEnter(*this, code))
        qelMediaDialogObject::key(code, modifiers);
}
