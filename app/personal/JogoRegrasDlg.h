#pragma once

// The quiz's rules, a page of text in its resource: "Fechar", "Ok", Enter and Escape end it.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class JogoRegrasDlg : public qelMediaDialogObject {
    VELARIM_CLASS(JogoRegrasDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
};
