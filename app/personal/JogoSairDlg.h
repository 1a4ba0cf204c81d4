#pragma once

// The offer to save the game on leaving. Opened with {"Tela": int, "Score": int}, it draws a new
// resume code, shows it in "Senha", and on "Sim" writes the saved games with the new code added;
// "Não" and "Fechar" end it and drop the code.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoSairDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoSairDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;

    // The code this run offers (nil when none could be drawn).
    const qelValue& code() const { return m_code; }

private:
    qelValue m_savedGames;
    qelValue m_code;
};
