#pragma once

// The almanac's screens, dialogs and special controls as classes of the framework's class
// system. The classes a section has built live in that section's folder (app/shell,
// app/reference, app/atlas, app/personal) and are included here; the others are still shells
// here: they answer their class name, make new instances from a data value and give the help
// context of their screen.

#include "app/atlas/AtlasForm.h"
#include "app/atlas/AtlasHForm.h"
#include "app/atlas/ContinentesDlg.h"
#include "app/atlas/database/BDHFDialog.h"
#include "app/atlas/database/BDMCDialog.h"
#include "app/atlas/database/BDRBDialog.h"
#include "app/atlas/database/BDadosForm.h"
#include "app/atlas/database/BDadosHForm.h"
#include "app/personal/AgCalendarioDialog.h"
#include "app/personal/AgenDiaForm.h"
#include "app/personal/AgenMesForm.h"
#include "app/personal/AgenSemanaForm.h"
#include "app/personal/JogoEntrarDlg.h"
#include "app/personal/JogoForm.h"
#include "app/personal/JogoNivelDlg.h"
#include "app/personal/JogoQuestionDlg.h"
#include "app/personal/JogoRegrasDlg.h"
#include "app/personal/JogoSairDlg.h"
#include "app/personal/JogoScoreDlg.h"
#include "app/personal/RegistroDialog.h"
#include "app/reference/BuscaDialog.h"
#include "app/reference/CurioHFDialog.h"
#include "app/reference/CurioHForm.h"
#include "app/reference/InfosForm.h"
#include "app/reference/JMidiaHForm.h"
#include "app/reference/LinhaTempoForm.h"
#include "app/reference/ListasDlg.h"
#include "app/reference/MidiaHFDialog.h"
#include "app/reference/MidiasForm.h"
#include "app/reference/NomeRoteiroDlg.h"
#include "app/reference/RetroForm.h"
#include "app/reference/RetroHF.h"
#include "app/reference/VBCRDialog.h"
#include "app/reference/VBDialogHF.h"
#include "app/reference/VerbHForm.h"
#include "app/reference/VerbLink.h"
#include "app/reference/VerbeteForm.h"
#include "app/shell/BarraMenuForm.h"
#include "app/shell/CaptionDialog.h"
#include "app/shell/CreditsForm.h"
#include "app/shell/DisplayMenu.h"
#include "app/shell/HistoryDlg.h"
#include "app/shell/IntroForm.h"
#include "app/shell/MainForm.h"
#include "app/shell/PrefsDlg.h"
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

// ---- Screens -----------------------------------------------------------------------------------

#define VELARIM_SCREEN(Name, Base) \
    class Name : public Base {     \
        VELARIM_CLASS(Name, Base)  \
        VELARIM_INDEX_HELP         \
    };


#undef VELARIM_SCREEN

// ---- Dialogs -----------------------------------------------------------------------------------

#define VELARIM_DIALOG(Name, Base) \
    class Name : public Base {     \
        VELARIM_CLASS(Name, Base)  \
    };


#undef VELARIM_DIALOG

#undef VELARIM_INDEX_HELP

// Registers one prototype of each registered class, in the almanac's order, in the current
// environment's class registry.
void velarimRegisterClassPrototypes();

// How many prototypes velarimRegisterClassPrototypes registers.
extern const int velarimClassPrototypeCount;
