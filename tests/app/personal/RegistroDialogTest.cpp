// The registration form opened over a headless window with a small resource of its own: which
// notifications change which choice, when the timer enables the three actions, what "Limpar"
// puts back, the record's text and the bytes of Registro.dat.

#include "app/personal/RegistroDialog.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "platform/sys/Folders.h"
#include "tests/app/personal/RegistroFile.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const textFields[] = { "Nome", "Data", "Endereco", "Cidade", "CEP", "Telefone", "Marca", "Modelo",
    "Velocidade", "Windows", "Impressora" };

// A control's property; nil for a value that holds no control.
qelValue property(const qelValue& control, const char* key)
{
    qelControlObject* object = qelControlOf(qelResolve(control));
    return object ? object->getProperty(key) : qelNil;
}

// Each control a 10 x 10 hot spot of its own along the dialog, kept in the resource under its name
// (a choice button under its group's name and its own) as the almanac's resource keeps them;
// each label names its line.
std::string resourceText()
{
    std::string entries;
    std::string list;
    int x = 0;
    auto control
        = [&](const std::string& key, const std::string& cls, const std::string& name, const std::string& extra = "") {
              entries += " (\"" + key + "\" (control (\"Class\" \"" + cls + "\") (\"Name\" \"" + name
                  + "\") (\"Hot Spot\" (rect " + std::to_string(x++ * 10) + " 0 10 10))" + extra + "))";
              list += " (reference \"" + key + "\")";
          };
    for (const char* field : textFields)
        control(field, "TextField", field);
    auto group = [&](const std::string& name, std::vector<std::string> buttons) {
        std::string members;
        for (const std::string& button : buttons) {
            control(name + "/" + button, "RadioButton", button, " (\"RadioGroup\" (reference \"" + name + "\"))");
            members += " (reference \"" + name + "/" + button + "\")";
        }
        control(name, "RadioGroup", name, " (\"List\" (list" + members + "))");
    };
    group("MascFemGroup", { "Masculino", "Feminino" });
    group("CPUGroup", { "486", "586", "Pentium", "CPU - Outros" });
    group("RAMGroup", { "8Mb", "16Mb", "24Mb", "RAM - Outros" });
    group("CDGroup", { "Dupla velocidade", "4 velocidades", "8 velocidades", "12 velocidades ou mais" });
    for (const char* button : { "Limpar", "Imprimir", "Salvar" })
        control(button, "HotSpot", button, " (\"Disabled\" true)");
    for (const char* button : { "Fechar", "Outro" })
        control(button, "HotSpot", button);
    std::string labels;
    for (const char* label : { "I_Header/Nome", "I_Data", "I_Sexo", "I_Endereco", "I_Cidade", "I_CEP", "I_Telefone",
             "I_Header/Marca", "I_Modelo", "I_Velocidade", "I_CPU", "I_RAM", "I_CD", "I_Impressora", "I_Windows" })
        labels += " (\"" + std::string(label) + "\" \"<" + std::string(label + 2) + ">\")";
    return "(table (\"Resource Table\" (table (\"Origin X\" 10) (\"Origin Y\" 10) (\"Width\" 500) (\"Height\" 40)"
        + labels + entries + " (\"Control List\" (list" + list + ")))))";
}

class RegistroDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-registro-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        dialog = new RegistroDialog(UiFixture::read(resourceText().c_str()));
        value = qelFormValue(dialog);
        qelSetActiveForm(value);
        dialog->open(qelNil);
    }
    void TearDown() override
    {
        qelSetActiveForm(qelNil);
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    qelValue control(const std::string& name) { return dialog->findControl("Name", qelValue(name.c_str())); }
    void type(const char* field, const char* text) { qelPerform(control(field), "setText", qelValue(text)); }
    void press(const std::string& name) { dialog->handleControl(control(name)); }
    bool disabled(const char* name) { return qelIsTrue(property(control(name), "Disabled")); }
    std::vector<bool> actionsDisabled() { return { disabled("Limpar"), disabled("Imprimir"), disabled("Salvar") }; }
    std::string record() { return qelCString(dialog->registrationRecord()); }
    void fillRequired()
    {
        for (const char* field :
            { "Nome", "Data", "Endereco", "Cidade", "CEP", "Telefone", "Marca", "Velocidade", "Windows" })
            type(field, "x");
    }
    std::string savedBytes()
    {
        std::ifstream in(user / "Registro.dat", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    UiFixture ui;
    fs::path user;
    RegistroDialog* dialog = nullptr;
    qelValue value;
};

TEST_F(RegistroDialogTest, TheTimerEnablesTheActionsOnlyAfterANoticeAndWithTheNineRequiredFields)
{
    const std::vector<bool> off { true, true, true }, on { false, false, false };
    fillRequired();
    // Nothing has told the form it was used: the tick looks at no field.
    dialog->tick();
    EXPECT_EQ(actionsDisabled(), off);
    // A notice from a control no list knows still counts as use; one required field empty holds
    // the actions back, the two optional ones do not.
    type("Windows", "");
    press("Outro");
    dialog->tick();
    EXPECT_EQ(actionsDisabled(), off);
    type("Windows", "98");
    dialog->tick();
    EXPECT_EQ(actionsDisabled(), on);
    // Emptying a required field later leaves them on; "Limpar" turns them off and empties the
    // fields, and the next tick finds them empty.
    type("Nome", "");
    dialog->tick();
    EXPECT_EQ(actionsDisabled(), on);
    press("Limpar");
    EXPECT_EQ(actionsDisabled(), off);
    for (const char* field : textFields)
        EXPECT_STREQ(qelCString(qelPerform(control(field), "getText", qelNil)), "") << field;
    dialog->tick();
    EXPECT_EQ(actionsDisabled(), off);
}

TEST_F(RegistroDialogTest, PressesChooseByTheButtonsNamesAndLimparPutsTheFirstChoicesBack)
{
    auto choices = [this] {
        std::string text = record();
        std::string out;
        for (const char* key : { "<Sexo>", "<CPU>", "<RAM>", "<CD>" }) {
            size_t at = text.find(key) + std::string(key).size();
            out += text.substr(at, text.find("\\par ", at) - at) + "|";
        }
        return out;
    };
    // The CD line names the double speed with a capital V until a CD button is pressed.
    EXPECT_EQ(choices(), "Masculino|486|8Mb|Dupla Velocidade|");
    for (const char* name : { "Feminino", "Pentium", "RAM - Outros", "12 velocidades ou mais", "Outro" })
        press(name);
    EXPECT_EQ(choices(), "Feminino|Pentium|RAM - Outros|12 velocidades ou mais|");
    press("Limpar");
    EXPECT_EQ(choices(), "Masculino|486|8Mb|Dupla velocidade|");
    // The groups show the first buttons chosen again.
    for (const char* name : { "MascFemGroup/Masculino", "CPUGroup/486", "RAMGroup/8Mb", "CDGroup/Dupla velocidade" })
        EXPECT_TRUE(qelIsTrue(qelPerform(qelResolve(dialog->getProperty(name)), "IsSelected", qelNil))) << name;
    EXPECT_FALSE(qelIsTrue(qelPerform(qelResolve(dialog->getProperty("MascFemGroup/Feminino")), "IsSelected", qelNil)));
}

TEST_F(RegistroDialogTest, TheRecordJoinsLabelsTextsAndLineEndsAndEscapesTypedRtf)
{
    type("Nome", "Ana {\\b}");
    type("Velocidade", "200");
    type("Impressora", "HP");
    EXPECT_EQ(record(),
        "<Header/Nome>Ana \\'7b\\'5cb\\'7d\\par <Data>\\par <Sexo>Masculino\\par <Endereco>\\par <Cidade>\\par "
        "<CEP>\\par "
        "<Telefone>\\par <Header/Marca>\\par <Modelo>\\par <Velocidade>200 MHz\\par <CPU>486\\par <RAM>8Mb\\par "
        "<CD>Dupla Velocidade\\par <Impressora>HP\\par <Windows>\\par ");
}

TEST_F(RegistroDialogTest, SavingWritesOneArchiveItemAndReplacesTheFileWhole)
{
    fillRequired();
    press("Salvar");
    type("Nome", "Bia");
    press("Salvar");
    std::string text = "{\\rtf1\\ansi " + record() + "}";
    EXPECT_EQ(savedBytes(), registrotest::registroFileBytes(text));
    EXPECT_NE(text.find("<Header/Nome>Bia\\par "), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 1) << "no temporary file left";
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(RegistroDialogTest, AFailedSaveKeepsTheOldRecordAndWarns)
{
    fillRequired();
    press("Salvar");
    std::string before = savedBytes();
    // A folder where the new record's temporary file would go: the new record cannot be written.
    fs::create_directory(user / "Registro.dat.tmp");
    ui.headless->setScript(std::get<platform::Script>(platform::Script::parse("answer 1\n")));
    type("Nome", "Outro nome");
    press("Salvar");
    EXPECT_EQ(savedBytes(), before);
    ASSERT_EQ(ui.headless->messageBoxes().size(), 1u);
    EXPECT_EQ(ui.headless->messageBoxes()[0].text, "Aviso! N\xE3o foi poss\xEDvel salvar o registro no disco!");
}

TEST_F(RegistroDialogTest, FecharEndsTheFormAndPrintingHandsTheRecordToTheTextView)
{
    press("Imprimir");
    qelValue attributes = qelResolve(dialog->getProperty("PrintAttributes"));
    ASSERT_EQ(attributes.type(), QEL_TABLE_TYPE);
    EXPECT_EQ(std::string(qelCString(qelGet(attributes, "Text"))), record());
    EXPECT_EQ(dialog->done, 0);
    press("Fechar");
    EXPECT_EQ(dialog->done, 1);
}

} // namespace
