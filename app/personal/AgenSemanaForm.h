#pragma once

// AgenSemanaForm: the agenda's week page. Seven day cells "Spot1" (Sunday) .. "Spot7" show the
// Sunday-to-Saturday week that holds the current day; a cell of the previous or next month
// carries that month in "Month", and the cells before 1 January or after 31 December are
// disabled. Per day it shows the icon of "Signos&Luas" and two texts, "DayText<i>" and
// "Texto<i>": the almanac's (the day's text and its "você sabia" text) under the tab
// "TabDatas", or the user's (the appointments, the reminders) under "TabLembretes". A click
// selects a day, a double click opens it in the day view; "Previous" and "Next" move by a week,
// stopping at the year's first and last days before they go round.

#include "app/personal/AgendaForm.h"

class AgenSemanaForm : public AgendaForm {
    VELARIM_CLASS(AgenSemanaForm, AgendaForm)
public:
    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;

    void fillWeekCells();
    // The two texts of a day of the year for the shown tab (RTF lines).
    qelValue dayText(int32_t dayOfYear);
    qelValue secondText(int32_t dayOfYear);
    int32_t cellCount();

    // 0: the almanac's texts ("TabDatas"); 1: the user's ("TabLembretes").
    int32_t m_showReminders = 0;
};
