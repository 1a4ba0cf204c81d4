#include "app/personal/RegistroDialog.h"

#include "app/shell/UserFiles.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <algorithm>
#include <initializer_list>
#include <string>

namespace {

constexpr const char* fileName = "Registro.dat";

// The fields that must hold text before the record can be printed or saved.
constexpr const char* requiredFields[]
    = { "Nome", "Data", "Endereco", "Cidade", "CEP", "Telefone", "Marca", "Velocidade", "Windows" };
constexpr const char* actionButtons[] = { "Limpar", "Imprimir", "Salvar" };

// The choices of each group; the first is the one the form starts with after "Limpar".
constexpr const char* sexChoices[] = { "Masculino", "Feminino" };
constexpr const char* cpuChoices[] = { "486", "586", "Pentium", "CPU - Outros" };
constexpr const char* ramChoices[] = { "8Mb", "16Mb", "24Mb", "RAM - Outros" };
constexpr const char* cdChoices[] = { "Dupla velocidade", "4 velocidades", "8 velocidades", "12 velocidades ou mais" };
// Until a CD button is pressed or the form cleared, the record names the double speed so.
constexpr const char* cdChoiceAtOpen = "Dupla Velocidade";

template<size_t N> bool isOneOf(const qelValue& name, const char* const (&choices)[N])
{
    return name.isString()
        && std::any_of(std::begin(choices), std::end(choices), [&](const char* c) { return name == c; });
}

std::string bytesOf(const qelValue& text)
{
    qelStringObject* string = qelStringOf(text);
    return string ? std::string(string->chars(), size_t(string->length())) : std::string();
}

// The typed text as RTF shows it: a backslash or a brace would otherwise start a control word, a
// group or a link target and garble the rest of the record, so each is written as its character
// code.
std::string rtfEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\'5c";
        else if (c == '{')
            out += "\\'7b";
        else if (c == '}')
            out += "\\'7d";
        else
            out += c;
    }
    return out;
}

} // namespace

qelValue RegistroDialog::control(const char* name)
{
    return qelResolve(findControl(qelValue("Name"), qelValue(name)));
}

qelValue RegistroDialog::fieldText(const char* name)
{
    qelValue field = control(name);
    return qelControlOf(field) ? qelPerform(field, "getText", qelNil) : qelNil;
}

void RegistroDialog::open(const qelValue& data)
{
    m_sexChoice = sexChoices[0];
    m_cpuChoice = cpuChoices[0];
    m_ramChoice = ramChoices[0];
    m_cdChoice = cdChoiceAtOpen;
    m_touched = 0;
    m_buttonsEnabled = 0;
    VLTextDialog::open(data);
}

void RegistroDialog::handleControl(const qelValue& control)
{
    m_touched = 1;
    qelControlObject* object = qelControlOf(qelResolve(control));
    qelValue name = object ? object->getProperty("Name") : qelNil;
    if (name == "Cancelar" || name == "Fechar")
        endDialog();
    else if (name == "Limpar")
        clear();
    else if (isOneOf(name, sexChoices))
        m_sexChoice = name;
    else if (isOneOf(name, cpuChoices))
        m_cpuChoice = name;
    else if (isOneOf(name, ramChoices))
        m_ramChoice = name;
    else if (isOneOf(name, cdChoices))
        m_cdChoice = name;
    else if (name == "Imprimir")
        printRecord();
    else if (name == "Salvar")
        saveRecord();
    else
        VLTextDialog::handleControl(control);
}

void RegistroDialog::tick()
{
    VLTextDialog::tick();
    if (m_touched != 1 || m_buttonsEnabled != 0)
        return;
    for (const char* name : requiredFields) {
        qelValue text = fieldText(name);
        if (!text.isString() || qelCount(text) == 0)
            return;
    }
    setButtonsDisabled(false);
    m_buttonsEnabled = 1;
}

void RegistroDialog::setButtonsDisabled(bool disabled)
{
    for (const char* name : actionButtons) {
        qelValue button = control(name);
        if (qelControlObject* object = qelControlOf(button)) {
            object->setProperty("Disabled", qelMakeBoolean(disabled));
            qelPerform(button, "Draw", qelNil);
        }
    }
}

void RegistroDialog::clear()
{
    auto emptyFields = [this](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            qelValue field = control(name);
            if (!qelControlOf(field))
                continue;
            qelPerform(field, "setText", qelEmptyString());
            qelPerform(field, "Draw", qelNil);
        }
    };
    // Each group selects its first button by the name a press reports, so the selection shown
    // and the choice stored agree.
    auto firstChoice = [this](const char* group, const char* choice, qelValue& stored) {
        qelValue control = this->control(group);
        if (qelControlOf(control))
            qelPerform(control, "SetSelected", qelValue(choice));
        stored = choice;
    };
    emptyFields({ "Nome", "Data" });
    firstChoice("MascFemGroup", sexChoices[0], m_sexChoice);
    emptyFields({ "Endereco", "Cidade", "CEP", "Telefone", "Marca", "Modelo" });
    firstChoice("CPUGroup", cpuChoices[0], m_cpuChoice);
    firstChoice("RAMGroup", ramChoices[0], m_ramChoice);
    firstChoice("CDGroup", cdChoices[0], m_cdChoice);
    emptyFields({ "Velocidade", "Windows", "Impressora" });
    setButtonsDisabled(true);
    m_buttonsEnabled = 0;
}

qelValue RegistroDialog::registrationRecord()
{
    auto label = [this](const char* key) { return bytesOf(qelResolve(getProperty(qelValue(key)))); };
    auto typed = [this](const char* name) { return rtfEscaped(bytesOf(fieldText(name))); };
    const std::string line = "\\par ";
    std::string record;
    record += label("I_Header/Nome") + typed("Nome") + line;
    record += label("I_Data") + typed("Data") + line;
    record += label("I_Sexo") + bytesOf(m_sexChoice) + line;
    record += label("I_Endereco") + typed("Endereco") + line;
    record += label("I_Cidade") + typed("Cidade") + line;
    record += label("I_CEP") + typed("CEP") + line;
    record += label("I_Telefone") + typed("Telefone") + line;
    record += label("I_Header/Marca") + typed("Marca") + line;
    record += label("I_Modelo") + typed("Modelo") + line;
    record += label("I_Velocidade") + typed("Velocidade") + " MHz" + line;
    record += label("I_CPU") + bytesOf(m_cpuChoice) + line;
    record += label("I_RAM") + bytesOf(m_ramChoice) + line;
    record += label("I_CD") + bytesOf(m_cdChoice) + line;
    record += label("I_Impressora") + typed("Impressora") + line;
    record += label("I_Windows") + typed("Windows") + line;
    return qelStringValueN(record.data(), int32_t(record.size()));
}

void RegistroDialog::printRecord()
{
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    if (attributes.type() != QEL_TABLE_TYPE) {
        attributes = qelTable(4, 100, 75);
        setProperty("PrintAttributes", attributes);
    }
    qelPut(attributes, qelValue("Text"), registrationRecord());
    VLTextDialog::print();
}

void RegistroDialog::saveRecord()
{
    qelValue text = "{\\rtf1\\ansi " + registrationRecord() + "}";
    // A failed save keeps the record saved before; the user is told instead of the program ending.
    if (!writeUserFile(userFilePath(fileName), text))
        qelMessageBox(qelValue("Aviso! N\xE3o foi poss\xEDvel salvar o registro no disco!"));
}
