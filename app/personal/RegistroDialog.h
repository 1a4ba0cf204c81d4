#pragma once

// The registration form ("Registro Eletrônico" of the internet menu): the user's personal data
// and a description of the computer, printed or saved as Registro.dat in the user folder.
//
// Its resource gives the eleven text fields ("Nome", "Data", "Endereco", "Cidade", "CEP",
// "Telefone", "Marca", "Modelo", "Velocidade", "Windows", "Impressora"), the radio groups
// "MascFemGroup", "CPUGroup", "RAMGroup" and "CDGroup" (their buttons named as the choices
// below), the buttons "Limpar", "Imprimir", "Salvar", "Cancelar"/"Fechar", the hidden text view
// "Texto" that prints, the fifteen RTF labels "I_..." of the record and "PrintAttributes".
//
// Once any control has reported to the form, the timer enables "Limpar", "Imprimir" and "Salvar"
// as soon as the nine required fields (all but "Modelo" and "Impressora") hold text; "Limpar"
// empties the form, puts every group back on its first choice and disables the three again.
// The record is fifteen lines, each a label, a value and "\par " (the speed line ends
// " MHz\par "); the typed texts are escaped for RTF. Registro.dat is an archive holding one
// string, "{\rtf1\ansi " + record + "}", replaced whole on each save.

#include "app/shell/ShellClass.h"
#include "app/shell/VLTextDialog.h"

#include <cstdint>

class RegistroDialog : public VLTextDialog {
    VELARIM_CLASS(RegistroDialog, VLTextDialog)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void tick() override;

    // The record (without the RTF wrapper) from the fields' texts and the choices now.
    qelValue registrationRecord();

private:
    qelValue control(const char* name);
    qelValue fieldText(const char* name);
    void setButtonsDisabled(bool disabled);
    void clear();
    void printRecord();
    void saveRecord();

    qelValue m_sexChoice;
    qelValue m_cpuChoice;
    qelValue m_ramChoice;
    qelValue m_cdChoice;
    int32_t m_touched = 0;
    int32_t m_buttonsEnabled = 0;
};
