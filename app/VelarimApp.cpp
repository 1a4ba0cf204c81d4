#include "app/VelarimApp.h"

#include "app/atlas/database/SavedSearches.h"
#include "app/personal/InternetLauncher.h"
#include "app/shell/BarraMenuForm.h"
#include "app/shell/CategoryLists.h"
#include "app/ClassSet.h"
#include "app/shell/DBLists.h"
#include "app/shell/MarkList.h"
#include "app/shell/Preferences.h"
#include "app/shell/Registrations.h"
#include "app/shell/ShellHooks.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Volume.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/History.h"

#include <string>

namespace {

// The period of the timer that drives help boxes, menu cascades and the screens' own ticks.
constexpr int32_t timerPeriodMs = 250;

bool firstWordIsAgenda(const qelValue& commandLine)
{
    if (commandLine.type() != QEL_LIST_TYPE || qelCount(commandLine) < 1)
        return false;
    qelValue first = qelGet(commandLine, 0);
    // Exact case: "agenda" starts the almanac.
    return first.isString() && std::string(qelCString(first)) == "Agenda";
}

} // namespace

VelarimApp::VelarimApp(const qelValue& commandLine)
    : qelAppEnvironment(commandLine)
{
    standAloneAgenda = firstWordIsAgenda(commandLine) ? 1 : 0;
    makeCurrent();
    setBoolSetting("ShowIntro", 1);
    setBoolSetting("PlayNarrator", 1);
    setBoolSetting("RolloverHelp", 1);
    setBoolSetting("SoundEffects", 1);
    setBoolSetting("ShowFullScreen", 0);
    setBoolSetting("TestMode", 0);
    velarimRegisterClassPrototypes();
    velarimShellHooks().openInternetPage = [](const qelValue& address) { openInternetPage(address); };
    velarimShellHooks().leaveStandAloneAgenda = [] {
        if (auto* application = dynamic_cast<VelarimApp*>(qelCurrentEnv())) {
            application->standAloneAgenda = 0;
            application->registerClasses();
        }
    };
}

bool VelarimApp::waitForContent()
{
    // The agenda alone asks for nothing: its screens may come from anywhere or nowhere.
    if (standAloneAgenda)
        return true;
    // The almanac's content is known by its entry page.
    for (;;) {
        if (qelFileExists(qelLocateFile(qelValue("VrbtForm"), qelValue("etn"))))
            return true;
        qelValue text = "Por favor insira o CD ROM do " + qelAppTitle() + " e clique OK.";
        if (!qelConfirmBox(text)) {
            qelPostQuit();
            abandoned = 1;
            return false;
        }
    }
}

void VelarimApp::registerClasses()
{
    if (!waitForContent())
        return;
    qelAppEnvironment::registerClasses();
    velarimRegister(0, velarimAgendaRegistrationCount);
    qelSetPreference("NoPrintingAllowed", qelUseDefaultPrinter() == 0 ? qelTrue : qelFalse);
    if (standAloneAgenda)
        return;
    velarimRegister(velarimAgendaRegistrationCount, velarimRegistrations.size());
    if (!openDatabaseLists())
        qelError(DBLists::databaseOpenError);
}

void VelarimApp::onStart()
{
    if (abandoned)
        return;
    qelAppEnvironment::onStart();
    qelSetColor(1);
    // The agenda alone may run with no content at all: then there is no start picture.
    qelValue picture = qelLoadResource("indeo41.dib");
    if (!picture.isNil())
        qelShowImageWithPalette(picture, 0, 0, 0, 0);
    loadPreferences();
    if (standAloneAgenda) {
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, qelValue("StandAlone"), qelTrue);
        qelHistoryGoTo("AgenMesForm", data);
    } else if (qelGetBoolSetting("ShowIntro", 0)) {
        qelHistoryPush("MainForm", "Tela inicial do Velarim");
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, qelValue("NoFade"), qelTrue);
        qelHistoryGoTo("IntroForm", data);
    } else {
        qelHistoryGoTo("MainForm", qelNil);
    }
    qelStartTimer(timerPeriodMs);
}

int32_t VelarimApp::onQuit()
{
    if (standAloneAgenda || abandoned)
        return 1;
    qelValue answer = qelDoDialog("QuitDlg");
    return answer.type() == QEL_BOOLEAN_TYPE && qelIsTrue(answer) ? 1 : 0;
}

void VelarimApp::shutdown()
{
    qelAppEnvironment::shutdown();
    if (!abandoned) {
        qelHelpQuit();
        // The screen goes to colour 1 at once: the display is never palette-based here, so there
        // is no palette to fade.
        int32_t width = qelGetIntSetting("MediaWidth", 640);
        int32_t height = qelGetIntSetting("MediaHeight", 480);
        qelRectangle(0, 0, width, height, 1);
        qelRefreshWindowArea(0, 0, 0, 0);
        savePreferences();
        qelSetVolume(savedVolume);
    }
    velarimReleaseLastSearchResult();
    releaseCategoryLists();
    releaseMediaViewerState();
    releaseMarkList();
    releaseSavedSearches();
    DBLists::instance().release();
}

void VelarimApp::registerCompiledResources()
{
    qelLoadTableResource("Global", "Global");
    qelLoadTableResource("TestData", "testdata");
    qelLoadTableResource("RelyData", "relydata");
    for (const VelarimRegistration& row : velarimRegistrations)
        qelLoadEtnResource(qelValue(row.name), qelValue(row.file));
}
