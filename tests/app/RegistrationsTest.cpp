// The almanac's registrations and class set: every registered name makes a form of its class.

#include "app/ClassSet.h"
#include "app/shell/Registrations.h"
#include "app/VelarimApp.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Object.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormLayer.h"
#include "framework/ui/FormObject.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// The registrations as the rules make them (the agenda's rows, the two-name rows whose name is
// the class, the quiz pages, the infographic pages and maps), written apart from the program's
// table so that a slip in either shows.
struct Registration {
    std::string name;
    std::string className;
    std::string file;
};

std::vector<Registration> registrations()
{
    std::vector<Registration> rows = {
        { "AgenDiaForm", "AgenDiaForm", "AGDForm" },
        { "AgenMesForm", "AgenMesForm", "AGMForm" },
        { "AgenSemanaForm", "AgenSemanaForm", "AGSForm" },
        { "AgCalendarioDialog", "AgCalendarioDialog", "AgCalDlg" },
        { "PopUpMenu", "PopUpMenu", "PopUpMnu" },
        { "PopUpMenu1", "PopUpMenu1", "PUpMnu1" },
    };
    const char* twoName[][2] = { { "VerbHForm", "VerbHF" }, { "AtlasHForm", "AtlasHF" }, { "JMidiaHForm", "JMidiaHF" },
        { "BDadosHForm", "BDadosHF" }, { "LinhaTempoForm", "LTempoHF" }, { "CurioHForm", "CurioHF" },
        { "MainForm", "MainForm" }, { "RetrospectivaHF", "RetroHF" }, { "IntroForm", "IntroFrm" },
        { "VerbeteForm", "VrbtForm" }, { "MidiasForm", "MidiForm" }, { "BDadosForm", "BDadForm" },
        { "AtlasForm", "AtlasFrm" }, { "RetroForm", "RetroFrm" }, { "CreditsForm", "credform" },
        { "BDHFDialog", "BDDlgHF" }, { "CurioHFDialog", "CurDlgHF" }, { "MidiaHFDialog", "MidDlgHF" },
        { "BDMCDialog", "BDMCDlg" }, { "CaptionDialog", "captdlg" }, { "QuitDlg", "Quit" }, { "HistoryDlg", "HistDlg" },
        { "PrefsDlg", "Prefs" }, { "SobreDlg", "Sobre" }, { "RegistroDialog", "RegisDlg" }, { "JogoNivelDlg", "JogNivel" },
        { "JogoScoreDlg", "JogScore" }, { "JogoEntrarDlg", "JogEntra" }, { "JogoSairDlg", "JogSair" },
        { "JogoRegrasDlg", "JogRegra" }, { "JogoQuestionDlg", "JogoQstn" }, { "VerbLink", "VerbLink" },
        { "BuscaDialog", "Buscadlg" }, { "VBCRDialog", "VBCRDlg" }, { "VBDialogHF", "VBDlgHF" },
        { "NomeRoteiroDlg", "VBNomRot" }, { "ContinentesDlg", "ContLst" } };
    for (auto& row : twoName)
        rows.push_back({ row[0], row[0], row[1] });
    rows.insert(rows.end(),
        { { "BDBlocoDialog", "BDRBDialog", "BDBloDlg" }, { "BDRegDialog", "BDRBDialog", "BDRegDlg" },
            { "RotJEDlg", "MessagesDialog", "RotJEDlg" }, { "PsqJEDlg", "MessagesDialog", "PsqJEDlg" },
            { "VerbetesDlg", "ListasDlg", "VerbList" }, { "MidiasDlg", "ListasDlg", "MidiaLst" },
            { "AtlasDlg", "ListasDlg", "AtlasLst" }, { "RetroDlg", "ListasDlg", "RetroLst" } });
    for (int n = 0; n < 32; ++n) {
        char file[8];
        std::snprintf(file, sizeof file, "Jogo%02d", n);
        rows.push_back({ "Jogo" + std::to_string(n), "JogoForm", file });
    }
    for (const char* page : { "in0001", "in0002", "in0005", "in0007", "in0009", "in010", "in0011", "in0012", "in013",
             "in014", "in015", "in0019", "in0016", "in0020", "in0021", "in0022", "in0023", "in024", "in0025", "in0026",
             "in0027", "in028", "in029", "in0030", "in0031", "in0032", "in0033", "in034", "in0035", "in0036", "in0037",
             "in038", "in0040", "in0041", "in0042", "in0043", "in0044", "in0045", "in0046", "in0047", "in0048", "in050",
             "in050a", "in0051", "in0052", "in053", "in0054", "in0055", "in0056", "in0057", "in0058", "in0059", "in006",
             "in0060", "in0061", "in0062", "in0063", "in0064", "in0065", "in066", "in0067", "in0068", "in0069", "in071",
             "in0072", "in0073", "in0074", "in0075", "in0076", "in0077", "in0078", "in0079", "in0080", "in0082", "in0083",
             "in0084", "in0085", "in0086", "in0087", "inmus001", "inqui001" })
        rows.push_back({ page, "InfosForm", page });
    // The Brazil and continent maps' files begin with a capital; the world maps' do not.
    for (const char* map : { "mbclima", "mbhidro", "mbregio", "mbrelev", "mbveget2", "mbpolit", "mdecolo", "mdmundi",
             "mmantar", "mmeurop", "mmamnor", "mmamcen", "mmamsul", "mmafric", "mmocean", "mmasia" }) {
        std::string file = map;
        if (file.compare(0, 2, "md") != 0)
            file[0] = 'M';
        rows.push_back({ map, "InfosForm", file });
    }
    return rows;
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(Registrations, TheTableIsTheRulesHundredAndEightyInOrder)
{
    std::vector<Registration> rows = registrations();
    ASSERT_EQ(rows.size(), velarimRegistrations.size());
    std::set<std::string> names;
    std::set<std::string> files;
    int named = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const VelarimRegistration& row = velarimRegistrations[i];
        EXPECT_EQ(row.name, rows[i].name) << i;
        EXPECT_EQ(row.className, rows[i].className) << i;
        EXPECT_EQ(row.file, rows[i].file) << i;
        names.insert(row.name);
        files.insert(lower(row.file));
        named += row.named ? 1 : 0;
        // A two-name registration opens under its class's name.
        if (!row.named)
            EXPECT_STREQ(row.name, row.className);
    }
    EXPECT_EQ(names.size(), 180u);
    EXPECT_EQ(files.size(), 180u);
    EXPECT_EQ(named, 139);
}

TEST(Registrations, EveryRegisteredNameMakesAFormOfItsClass)
{
    qelInstallFormLayer();
    {
        VelarimApp app(qelNil);
        velarimRegister(0, velarimRegistrations.size());
        for (const VelarimRegistration& row : velarimRegistrations) {
            qelFormObject* form = qelFormOf(qelGet(app.globals, qelValue(row.name)));
            ASSERT_NE(form, nullptr) << row.name;
            EXPECT_STREQ(form->className(), row.className) << row.name;
            // The form opens under its registered name when it has one of its own.
            qelValue name = form->getProperty("Name");
            if (row.named)
                EXPECT_EQ(std::string(qelCString(name)), row.name);
        }
    }
    qelResetMakers();
    qelResetServices();
}

TEST(ClassSet, EachPrototypeMakesInstancesOfItsOwnClassAndHelpContext)
{
    VelarimApp app(qelNil);
    struct Case {
        const char* className;
        int32_t helpContext;
    };
    // The section screens open the help's index; the preferences and the base's structure dialog
    // their own pages; the rest the framework's first page.
    for (Case c : { Case { "MainForm", -1 }, Case { "AgenMesForm", -1 }, Case { "BuscaDialog", -1 },
             Case { "PrefsDlg", 17 }, Case { "BDMCDialog", 32 }, Case { "InfosForm", 0 }, Case { "QuitDlg", 0 },
             Case { "PopUpMenu1", 0 } }) {
        qelNamedObject* prototype = qelClassPrototype(qelValue(c.className));
        ASSERT_NE(prototype, nullptr) << c.className;
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, qelValue("Class"), qelValue(c.className));
        qelValue instance = qelMakeObjectValue(QEL_FORM_TYPE, prototype->newInstance(data));
        qelFormObject* form = qelFormOf(instance);
        ASSERT_NE(form, nullptr) << c.className;
        EXPECT_STREQ(form->className(), c.className);
        // The data is the instance's property table.
        EXPECT_EQ(std::string(qelCString(form->getProperty("Class"))), c.className);
        int32_t context = 0;
        if (auto* screen = dynamic_cast<qelMediaFormObject*>(form))
            context = screen->helpContext();
        else if (auto* dialog = dynamic_cast<qelMediaDialogObject*>(form))
            context = dialog->helpContext();
        EXPECT_EQ(context, c.helpContext) << c.className;
    }
}

TEST(ClassSet, TheAlmanacsListControlsAreRegisteredAsThemselves)
{
    VelarimApp app(qelNil);
    for (const char* name :
        { "VLListBox", "TabbedListBox", "MultiTypeListBox", "VLComboBox", "PQListBox", "PQMultiListBox" }) {
        qelNamedObject* prototype = qelClassPrototype(qelValue(name));
        ASSERT_NE(prototype, nullptr) << name;
        EXPECT_STREQ(prototype->className(), name);
    }
}

} // namespace
