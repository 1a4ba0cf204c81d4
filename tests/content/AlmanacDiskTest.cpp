// The almanac's sample disk as the build wrote it: every name the program registers has its
// screen resource, which decodes and names the class of its registration; the globals the shell
// reads; the settings file; the start picture.
//
// The registrations are written here from the program's rules (agenda rows, two-name rows whose
// name is the class, the quiz pages, the infographic pages and maps), not read from the content's
// own list, so a slip in content/almanac/screens.txt shows.

#include "ErrorRecorder.h"

#include "framework/display/DisplayMakers.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Dib.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

fs::path diskFolder()
{
    return fs::path(QEL_BUILD_DIR) / "disk";
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The media folder's files by lower-cased name, as the program finds content without regard
// to case.
std::map<std::string, fs::path> mediaFiles()
{
    std::map<std::string, fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(diskFolder() / "Media"))
        files[lower(entry.path().filename().string())] = entry.path();
    return files;
}

qelValue decodeFile(const fs::path& path)
{
    qelValue stream = qelOpenFileStream(qelStringValue(path.string().c_str()), 1, 1);
    if (stream.isNil())
        return qelNil;
    return qelDecode(stream);
}

std::string stringEntry(const qelValue& table, const char* key)
{
    qelValue value = qelTableOf(table) ? qelTableOf(table)->get(key) : qelNil;
    return value.isString() ? qelCString(value) : std::string();
}

class AlmanacDisk : public ::testing::Test {
protected:
    void SetUp() override { qelInstallDisplayMakers(); }
    ErrorRecorder errors;
};

TEST_F(AlmanacDisk, RegistrationsAreTheProgramsHundredAndEighty)
{
    std::vector<Registration> rows = registrations();
    std::set<std::string> names;
    std::set<std::string> files;
    for (const Registration& row : rows) {
        names.insert(row.name);
        files.insert(lower(row.file));
    }
    EXPECT_EQ(rows.size(), 180u);
    EXPECT_EQ(names.size(), 180u);
    EXPECT_EQ(files.size(), 180u);
}

TEST_F(AlmanacDisk, EveryRegisteredScreenDecodesAndNamesItsClass)
{
    std::map<std::string, fs::path> files = mediaFiles();
    for (const Registration& row : registrations()) {
        auto found = files.find(lower(row.file) + ".etn");
        ASSERT_NE(found, files.end()) << row.name << ": no " << row.file << ".etn";
        qelValue table = decodeFile(found->second);
        ASSERT_TRUE(qelTableOf(table)) << row.file << ".etn does not decode to a table";
        EXPECT_EQ(stringEntry(table, "Class"), row.className) << row.name;
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacDisk, GlobalsHoldWhatTheShellReads)
{
    qelValue globals = decodeFile(diskFolder() / "Media" / "global.etn");
    qelTableObject* table = qelTableOf(globals);
    ASSERT_TRUE(table);
    for (const char* key : { "GlobalTable", "FadeTime", "VelarimMenuMF", "VelarimMenu", "MarcadorMenu", "InternetMenu",
             "AjudaMenu", "Lista de Marcados", "DisabledMenuItemsTable", "ValidInfos", "Copiando", "Imprimindo" })
        EXPECT_FALSE(table->get(key).isNil()) << key;

    qelValue preferences = qelGet(table->get("GlobalTable"), qelValue("Preferences"));
    EXPECT_EQ(qelIntValue(qelGet(preferences, qelValue("Volume"))), 75);
    EXPECT_EQ(table->get("FadeTime").type(), QEL_INT_TYPE);

    // A menu without a size cannot be shown: each has its items and either a size or a picture.
    for (const char* menu : { "VelarimMenuMF", "VelarimMenu", "MarcadorMenu", "InternetMenu", "AjudaMenu" }) {
        qelValue value = table->get(menu);
        EXPECT_GT(qelCount(qelGet(value, qelValue("Items"))), 0) << menu;
        bool sized = qelGet(value, qelValue("Width")).type() == QEL_INT_TYPE
            && qelGet(value, qelValue("Height")).type() == QEL_INT_TYPE;
        EXPECT_TRUE(sized || !qelGet(value, qelValue("Background")).isNil()) << menu;
    }

    // "ValidInfos" names every infographic page the disk has, lower-cased.
    std::set<std::string> valid;
    qelValue infos = table->get("ValidInfos");
    for (int32_t i = 0; i < qelCount(infos); ++i)
        valid.insert(qelCString(qelGet(infos, i)));
    for (const Registration& row : registrations()) {
        if (row.className == "InfosForm")
            EXPECT_TRUE(valid.count(lower(row.name))) << row.name;
    }
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(AlmanacDisk, SettingsNameTheDiskAsSourceDisk)
{
    std::ifstream in(diskFolder() / "VL98.ini");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("[QELENVIRONMENT]"), std::string::npos);
    EXPECT_NE(text.find("SourceDisk=" + diskFolder().string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MediaPath=Media\n"), std::string::npos);
}

TEST_F(AlmanacDisk, StartPictureIsAnEightBitScreen)
{
    std::map<std::string, fs::path> files = mediaFiles();
    ASSERT_TRUE(files.count("indeo41.dib"));
    std::ifstream in(files["indeo41.dib"], std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    platform::gfx::Dib dib;
    ASSERT_EQ(platform::gfx::decodeBmp(bytes, dib), platform::gfx::BmpError::None);
    EXPECT_EQ(dib.width(), 640);
    EXPECT_EQ(dib.height(), 480);
    EXPECT_EQ(dib.header.bitCount, 8);
    EXPECT_GT(dib.colors.size(), 4u);
}

} // namespace
