#pragma once

// AgenDiaForm: the agenda's day page. The day's 34 half-hour appointment rows ("Compromissos",
// a list of rows [time, text]) and its reminders ("Lembretes") are edited in place: a click on a
// row or reminder lays the field "Valor" over it; Enter, or any other control, commits the edit;
// Escape or a click outside the field cancels it. The day's record goes into the agenda table
// when the user leaves the day (Previous, Next, a month button, "Mês", "Semana", a link) or the
// page, and reaches Agenda.DTT when the page closes. The page also shows the day's content (the
// moon phase picture and text, the day's text, "VocêSabiaImg" and a further text), pictures of
// the day number and weekday, and prints the day's appointments ("Imprimir").

#include "app/personal/AgendaForm.h"

class AgenDiaForm : public AgendaForm {
    VELARIM_CLASS(AgenDiaForm, AgendaForm)
public:
    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void close() override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void key(int32_t code, int32_t modifiers) override;
    void print() override;

    void fillDayLists();
    // Puts the day's rows and reminders into the agenda table when they changed.
    void storeDay();
    // Ends the edit without keeping what was typed.
    void cancelEdit();
    // The print body: one RTF line per row.
    qelValue printBody();

    // 0 no edit; 1 a row, 2 a reminder is being edited; -1, -2 while it is committed.
    int32_t m_editMode = 0;
    // 1 while the field is being deactivated: its notification is then ignored.
    int32_t m_editGuard = 0;
    int32_t m_modified = 0;
    qelValue m_editOriginal;

private:
    void beginEdit(const qelValue& text, const qelValue& rect, int32_t mode);
    void commitEdit();
};
