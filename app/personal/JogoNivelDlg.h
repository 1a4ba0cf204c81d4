#pragma once

// The quiz's level choice: "Fácil", "Difícil" and "Muito Difícil" choose 1, 2 or 3 and keep the
// dialog open; "OKButton", Enter and Escape end it with the level chosen (1 when none was);
// "CancelButton" and "Fechar" end it with 0.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoNivelDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoNivelDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override;

private:
    int32_t m_level = 1;
};
