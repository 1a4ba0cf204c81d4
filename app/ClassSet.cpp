#include "app/ClassSet.h"

#include "app/shell/MessagesDialog.h"
#include "app/shell/MultiTypeListBox.h"
#include "app/shell/PQListBox.h"
#include "app/shell/QuitDlg.h"
#include "app/shell/SobreDlg.h"
#include "app/shell/TabbedListBox.h"
#include "app/shell/VLComboBox.h"
#include "app/shell/VLListBox.h"
#include "framework/runtime/Environment.h"

#include <iterator>

namespace {

// One prototype of each registered class, in the almanac's order.
qelNamedObject* (*const prototypeMakers[])() = {
    [] () -> qelNamedObject* { return new VerbHForm; },
    [] () -> qelNamedObject* { return new AtlasHForm; },
    [] () -> qelNamedObject* { return new JMidiaHForm; },
    [] () -> qelNamedObject* { return new BDadosHForm; },
    [] () -> qelNamedObject* { return new LinhaTempoForm; },
    [] () -> qelNamedObject* { return new CurioHForm; },
    [] () -> qelNamedObject* { return new MainForm; },
    [] () -> qelNamedObject* { return new AgenDiaForm; },
    [] () -> qelNamedObject* { return new AgenMesForm; },
    [] () -> qelNamedObject* { return new AgenSemanaForm; },
    [] () -> qelNamedObject* { return new RetrospectivaHF; },
    [] () -> qelNamedObject* { return new IntroForm; },
    [] () -> qelNamedObject* { return new VerbeteForm; },
    [] () -> qelNamedObject* { return new MidiasForm; },
    [] () -> qelNamedObject* { return new BDadosForm; },
    [] () -> qelNamedObject* { return new AtlasForm; },
    [] () -> qelNamedObject* { return new RetroForm; },
    [] () -> qelNamedObject* { return new JogoForm; },
    [] () -> qelNamedObject* { return new CreditsForm; },
    [] () -> qelNamedObject* { return new BDHFDialog; },
    [] () -> qelNamedObject* { return new BDRBDialog; },
    [] () -> qelNamedObject* { return new CurioHFDialog; },
    [] () -> qelNamedObject* { return new MidiaHFDialog; },
    [] () -> qelNamedObject* { return new BDMCDialog; },
    [] () -> qelNamedObject* { return new ListasDlg; },
    [] () -> qelNamedObject* { return new CaptionDialog; },
    [] () -> qelNamedObject* { return new QuitDlg; },
    [] () -> qelNamedObject* { return new HistoryDlg; },
    [] () -> qelNamedObject* { return new PrefsDlg; },
    [] () -> qelNamedObject* { return new AgCalendarioDialog; },
    [] () -> qelNamedObject* { return new SobreDlg; },
    [] () -> qelNamedObject* { return new RegistroDialog; },
    [] () -> qelNamedObject* { return new JogoNivelDlg; },
    [] () -> qelNamedObject* { return new JogoScoreDlg; },
    [] () -> qelNamedObject* { return new JogoEntrarDlg; },
    [] () -> qelNamedObject* { return new JogoSairDlg; },
    [] () -> qelNamedObject* { return new JogoRegrasDlg; },
    [] () -> qelNamedObject* { return new JogoQuestionDlg; },
    [] () -> qelNamedObject* { return new VerbLink; },
    [] () -> qelNamedObject* { return new BuscaDialog; },
    [] () -> qelNamedObject* { return new VBCRDialog; },
    [] () -> qelNamedObject* { return new VBDialogHF; },
    [] () -> qelNamedObject* { return new NomeRoteiroDlg; },
    [] () -> qelNamedObject* { return new InfosForm; },
    [] () -> qelNamedObject* { return new MessagesDialog; },
    [] () -> qelNamedObject* { return new ContinentesDlg; },
    [] () -> qelNamedObject* { return new MenuDialog; },
    [] () -> qelNamedObject* { return new DisplayMenu; },
    [] () -> qelNamedObject* { return new PopUpMenu; },
    [] () -> qelNamedObject* { return new PopUpMenu1; },
    [] () -> qelNamedObject* { return new VLListBox(qelNil); },
    [] () -> qelNamedObject* { return new TabbedListBox(qelNil); },
    [] () -> qelNamedObject* { return new MultiTypeListBox(qelNil); },
    [] () -> qelNamedObject* { return new VLComboBox(qelNil); },
    [] () -> qelNamedObject* { return new PQListBox(qelNil); },
    [] () -> qelNamedObject* { return new PQMultiListBox(qelNil); },
};

} // namespace

void velarimRegisterClassPrototypes()
{
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment)
        return;
    for (auto make : prototypeMakers)
        environment->registerClass(make());
}

const int velarimClassPrototypeCount = int(std::size(prototypeMakers));
