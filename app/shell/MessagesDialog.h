#pragma once

// The yes/no question whose text lies in its resource: "Sim" answers "Sim"; "Não", "Fechar",
// Enter and Escape answer "Não", the answer that changes nothing. The object registered under a
// name is reused at every opening, so each run starts at "Não": Escape never repeats the
// previous run's answer.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class MessagesDialog : public qelMediaDialogObject {
    VELARIM_CLASS(MessagesDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    // Controls of other names do nothing.
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_result; }

private:
    qelValue m_result;
};
