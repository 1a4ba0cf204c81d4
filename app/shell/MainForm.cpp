#include "app/shell/MainForm.h"

#include "framework/display/Cursor.h"
#include "framework/display/MovieObject.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/ControlObject.h"

namespace {

struct SectionButton {
    const char* name;
    const char* form;
};

// The section buttons (their names without blanks or accents) and the screens they open.
constexpr SectionButton sectionButtons[] = {
    { "Verbetes", "VerbHForm" },
    { "Midias", "JMidiaHForm" },
    { "Atlas", "AtlasHForm" },
    { "BancoDeDados", "BDadosHForm" },
    { "LinhaDoTempo", "LinhaTempoForm" },
    { "Retrospectiva", "RetrospectivaHF" },
    { "Agenda", "AgenDiaForm" },
    { "Curiosidades", "CurioHForm" },
    { "Jogo", "Jogo0" },
};

} // namespace

void MainForm::open(const qelValue& data)
{
    qelCloseAllMovies();
    BarraMenuForm::open(data);
}

void MainForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    for (const SectionButton& button : sectionButtons) {
        if (name == button.name) {
            qelSetCursor(qelWaitCursor());
            goToForm(button.form, qelNil);
            return;
        }
    }
    if (name == "Sair")
        qelPostQuit();
    else if (name == "AudioHelpButton")
        narrate(1);
    else
        BarraMenuForm::handleControl(control);
}

qelValue MainForm::historyText()
{
    return qelValue("Tela inicial do Velarim");
}
