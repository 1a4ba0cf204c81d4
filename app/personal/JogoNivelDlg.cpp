#include "app/personal/JogoNivelDlg.h"

#include "app/personal/QuizGame.h"
#include "framework/ui/ControlObject.h"

void JogoNivelDlg::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
    m_level = 1;
}

void JogoNivelDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "OKButton") {
        endDialog();
    } else if (name == "CancelButton" || name == "Fechar") {
        m_level = 0;
        endDialog();
    } else if (name == quiz::easy) {
        m_level = 1;
    } else if (name == quiz::hard) {
        m_level = 2;
    } else if (name == quiz::veryHard) {
        m_level = 3;
    } else {
        qelDialogObject::handleControl(control);
    }
}

void JogoNivelDlg::key(int32_t code, int32_t modifiers)
{
    if (!quizDialogEndsOnEnter(*this, code))
        qelMediaDialogObject::key(code, modifiers);
}

qelValue JogoNivelDlg::result()
{
    return qelMakeInt(m_level);
}
