#pragma once

// The quit confirmation: "OKButton" or Enter answers true (quit); "CancelButton", "Fechar",
// Escape or a control whose "Action" is "close" end it with false. Each run starts at false.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class QuitDlg : public qelMediaDialogObject {
    VELARIM_CLASS(QuitDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_result; }

private:
    qelValue m_result;
};
