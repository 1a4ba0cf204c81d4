#pragma once

// AgCalendarioDialog: the agenda's perpetual calendar. The user types a date "dd/mm/yyyy" in
// "What2Find"; when the field reports it, the picture "WeekDay<w>" of its weekday (0 = Sunday)
// is shown, or "Data Inválida!!!" says the date is none. The next key hides the picture again.
// "Fechar" closes it; the agenda's own date does not change.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class AgCalendarioDialog : public qelMediaDialogObject {
    VELARIM_CLASS(AgCalendarioDialog, qelMediaDialogObject)
public:
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void key(int32_t code, int32_t modifiers) override;

    void checkDate();

    qelValue m_shownWeekday;
    // The field's notification after "Fechar" (its focus leaving) is not a date to check.
    int32_t m_skipNextEntry = 0;
};
