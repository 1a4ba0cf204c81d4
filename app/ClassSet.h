#pragma once

// The almanac's screens, dialogs and special controls as classes of the framework's class
// system. The classes a section has built live in that section's folder (app/shell,
// app/reference, app/atlas, app/personal) and are included here; the others are still shells
// here: they answer their class name, make new instances from a data value and give the help
// context of their screen.

#include "app/reference/BuscaDialog.h"
#include "app/shell/BarraMenuForm.h"
#include "app/shell/ShellClass.h"
#include "app/shell/VLTextDialog.h"
#include "app/shell/VLTextForm.h"
#include "framework/ui/MediaDialogObject.h"
#include "framework/ui/MediaFormObject.h"
#include "framework/ui/MenuDialog.h"

// Screens with the help file's index as their help context.
#define VELARIM_INDEX_HELP \
public:                    \
    int32_t helpContext() override { return -1; }

// ---- Bases of screens and dialogs (never registered) -------------------------------------------

// The agenda's day, month and week views.
class AgendaForm : public VLTextForm {
    VELARIM_CLASS(AgendaForm, VLTextForm)
    VELARIM_INDEX_HELP
};

// Dialogs over a database file's layout.
class DBFileStruct : public qelMediaDialogObject {
    VELARIM_CLASS(DBFileStruct, qelMediaDialogObject)
};

// ---- Screens -----------------------------------------------------------------------------------

#define VELARIM_SCREEN(Name, Base) \
    class Name : public Base {     \
        VELARIM_CLASS(Name, Base)  \
        VELARIM_INDEX_HELP         \
    };

VELARIM_SCREEN(MainForm, BarraMenuForm)
VELARIM_SCREEN(VerbHForm, BarraMenuForm)
VELARIM_SCREEN(AtlasHForm, BarraMenuForm)
VELARIM_SCREEN(JMidiaHForm, BarraMenuForm)
VELARIM_SCREEN(BDadosHForm, BarraMenuForm)
VELARIM_SCREEN(CurioHForm, BarraMenuForm)
VELARIM_SCREEN(RetrospectivaHF, BarraMenuForm)
VELARIM_SCREEN(BDadosForm, BarraMenuForm)
VELARIM_SCREEN(VerbeteForm, VLTextForm)
VELARIM_SCREEN(MidiasForm, VLTextForm)
VELARIM_SCREEN(AtlasForm, VLTextForm)
VELARIM_SCREEN(RetroForm, VLTextForm)
VELARIM_SCREEN(LinhaTempoForm, VLTextForm)
VELARIM_SCREEN(AgenDiaForm, AgendaForm)
VELARIM_SCREEN(AgenMesForm, AgendaForm)
VELARIM_SCREEN(AgenSemanaForm, AgendaForm)

#undef VELARIM_SCREEN

// The information pages and maps keep the framework's help context.
class InfosForm : public BarraMenuForm {
    VELARIM_CLASS(InfosForm, BarraMenuForm)
};

class IntroForm : public qelMediaFormObject {
    VELARIM_CLASS(IntroForm, qelMediaFormObject)
};

class JogoForm : public qelMediaFormObject {
    VELARIM_CLASS(JogoForm, qelMediaFormObject)
};

class CreditsForm : public qelMediaFormObject {
    VELARIM_CLASS(CreditsForm, qelMediaFormObject)
};

// ---- Dialogs -----------------------------------------------------------------------------------

#define VELARIM_DIALOG(Name, Base) \
    class Name : public Base {     \
        VELARIM_CLASS(Name, Base)  \
    };

VELARIM_DIALOG(CaptionDialog, VLTextDialog)
VELARIM_DIALOG(VerbLink, VLTextDialog)
VELARIM_DIALOG(RegistroDialog, VLTextDialog)
VELARIM_DIALOG(HistoryDlg, qelMediaDialogObject)
VELARIM_DIALOG(ListasDlg, qelMediaDialogObject)
VELARIM_DIALOG(ContinentesDlg, qelMediaDialogObject)
VELARIM_DIALOG(VBCRDialog, qelMediaDialogObject)
VELARIM_DIALOG(VBDialogHF, qelMediaDialogObject)
VELARIM_DIALOG(NomeRoteiroDlg, qelMediaDialogObject)
VELARIM_DIALOG(BDHFDialog, qelMediaDialogObject)
VELARIM_DIALOG(BDRBDialog, qelMediaDialogObject)
VELARIM_DIALOG(CurioHFDialog, qelMediaDialogObject)
VELARIM_DIALOG(MidiaHFDialog, qelMediaDialogObject)
VELARIM_DIALOG(AgCalendarioDialog, qelMediaDialogObject)
VELARIM_DIALOG(JogoNivelDlg, qelMediaDialogObject)
VELARIM_DIALOG(JogoScoreDlg, qelMediaDialogObject)
VELARIM_DIALOG(JogoEntrarDlg, qelMediaDialogObject)
VELARIM_DIALOG(JogoSairDlg, qelMediaDialogObject)
VELARIM_DIALOG(JogoRegrasDlg, qelMediaDialogObject)
VELARIM_DIALOG(JogoQuestionDlg, qelMediaDialogObject)

#undef VELARIM_DIALOG

class PrefsDlg : public qelMediaDialogObject {
    VELARIM_CLASS(PrefsDlg, qelMediaDialogObject)
public:
    int32_t helpContext() override { return 17; }
};

class BDMCDialog : public DBFileStruct {
    VELARIM_CLASS(BDMCDialog, DBFileStruct)
public:
    int32_t helpContext() override { return 32; }
};

// The picture menus: the pop-up menus differ from it only in their registered names.
class DisplayMenu : public MenuDialog {
    VELARIM_CLASS(DisplayMenu, MenuDialog)
};

class PopUpMenu : public DisplayMenu {
    VELARIM_CLASS(PopUpMenu, DisplayMenu)
};

class PopUpMenu1 : public DisplayMenu {
    VELARIM_CLASS(PopUpMenu1, DisplayMenu)
};

#undef VELARIM_INDEX_HELP

// Registers one prototype of each registered class, in the almanac's order, in the current
// environment's class registry.
void velarimRegisterClassPrototypes();

// How many prototypes velarimRegisterClassPrototypes registers.
extern const int velarimClassPrototypeCount;
