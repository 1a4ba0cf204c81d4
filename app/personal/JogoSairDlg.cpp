#include "app/personal/JogoSairDlg.h"

#include "app/personal/QuizGame.h"
#include "app/personal/SavedGames.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

void JogoSairDlg::open(const qelValue& data)
{
    qelMediaDialogObject::open(data);
    m_savedGames = readSavedGames();
    m_code = makeResumeCode(m_savedGames);
    if (m_code.isNil())
        return;
    qelPut(m_savedGames, m_code, data);
    qelPerform(qelResolve(getProperty("Senha")), "SetText",
        "Esta ser\xE1 sua senha para retomar esta partida: " + m_code);
}

void JogoSairDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Sim") {
        // Without a code there is nothing new to keep: the file stays as it is.
        if (!m_code.isNil())
            writeSavedGames(m_savedGames);
        endDialog();
    } else if (name == quiz::no || name == "Fechar") {
        endDialog();
    }
}
