#pragma once

// The quiz's start: a new game ("Novo") or a saved one ("Salvo", with its code in "Senha").
// "Ok" answers nil for a new game, or {"Name": the "Nome" field, "Senha": the code in capitals}
// when "Salvo" is chosen; "Cancelar" and "Fechar" answer "Cancelar"; Escape answers nil.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoEntrarDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoEntrarDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    qelValue result() override { return m_result; }

private:
    qelValue m_result;
};
