#pragma once

// The about box ("Sobre o Velarim"): its picture, texts and buttons are its resource's.
// "OKButton", "Fechar", Enter and Escape close it; other controls do nothing. It has no result.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class SobreDlg : public qelMediaDialogObject {
    VELARIM_CLASS(SobreDlg, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
};
