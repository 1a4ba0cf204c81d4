#pragma once

// The quiz's score: opened with the score (an int), it shows it in "Score" as decimal digits.
// "Regras" shows the rules and then ends this dialog too; "Fechar", Enter and Escape end it.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoScoreDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoScoreDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void key(int32_t code, int32_t modifiers) override;
};
