#pragma once

// Asks for the name of a new tour in the text field "Nome". "Ok" or Enter answer the typed
// name; "Cancelar", "Fechar", Escape or any other way out answer nil (so a tour may well be
// called "Cancelar"). Opened with a string, it shows that string in its "Aviso" text (why the
// name asked before was refused).

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class NomeRoteiroDlg : public qelMediaDialogObject {
    VELARIM_CLASS(NomeRoteiroDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_result; }

    qelValue m_result;

private:
    void takeName();
};
