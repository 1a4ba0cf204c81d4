#pragma once

// AgenMesForm: the agenda's month page, and the page the agenda alone starts on. Its day cells
// "Spot1" .. "Spot<NumOfSpots>" (37 by default: six leading places and 31 days) lie in rows of
// seven from Sunday; cell i shows day i - (weekday of the month's 1st), the others are disabled.
// A cell shows "MDaySel" for the selected day, "MDayHol" for a day of the year in "Feriados",
// else "M<day>", each with the mask "M<day>Msk"; over it the day's icon from "Signos&Luas" and
// the marks "TextoIco" (the almanac has a text for the day) and "ComprIco" (the user has an
// entry). A click selects a day, a double click opens it in the day view; "Previous" and "Next"
// change the month round the year.

#include "app/personal/AgendaForm.h"

class AgenMesForm : public AgendaForm {
    VELARIM_CLASS(AgenMesForm, AgendaForm)
public:
    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;

    void fillDayCells();
    // The day shown by cell i (from 1) in the current month; outside 1 .. month length for the
    // disabled cells.
    int32_t dayOfCell(int32_t cell) const;
    int32_t cellCount();
};
