#include "app/personal/JogoRegrasDlg.h"

#include "app/personal/QuizGame.h"
#include "framework/ui/ControlObject.h"

void JogoRegrasDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Fechar" || name == "Ok")
        endDialog();
    else
        qelDialogObject::handleControl(control);
}

void JogoRegrasDlg::key(int32_t code, int32_t modifiers)
{
    if (!quizDialogEndsOnEnter(*this, code))
        qelMediaDialogObject::key(code, modifiers);
}
