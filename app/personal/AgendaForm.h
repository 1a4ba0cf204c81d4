#pragma once

// AgendaForm: the base of the agenda's day, month and week views. It holds the agenda's date
// (in the clock's year, see AgendaCalendar.h), the user's agenda table read from Agenda.DTT at
// open and written back at close, the content archive of the year, the stand-alone mode (the
// agenda started alone from the command line: the menu bar's section buttons are disabled and
// "StandAloneBar" covers the bar) and the row of month buttons "Jan" .. "Dez", of which the
// current month's is shown disabled. Its buttons "Dia", "Mês" and "Semana" go to the other
// views on the same date, "Calendário" runs the calendar dialog; a month button ("MesID" 1..12)
// moves the date into that month.
//
// A view opens with nil (today), a date table ("Day", "Month", "Day of Week", "Day of Year": ints
// or decimal text, optionally "StandAlone"), or {"Text": "Ter, 05 Mai 1998"} from the word
// search. Its history entry is such a date table, so going back returns to the same day and mode.

#include "app/personal/AgendaCalendar.h"
#include "app/shell/VLTextForm.h"

#include <string>

class AgendaForm : public VLTextForm {
    VELARIM_CLASS(AgendaForm, VLTextForm)
public:
    int32_t helpContext() override { return -1; }
    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void close() override;
    qelValue historyText() override;

    // Sets the date from the open data (see above) unless it is set already; the year is always
    // the clock's.
    void setDate(const qelValue& data);
    void markMonthButton();

    // The form property of that name, references followed (controls, pictures, tables).
    qelValue property(const std::string& name);
    // The control's "Name", or nil.
    static qelValue nameOf(const qelValue& control);
    static bool controlHas(const qelValue& control, const char* key);
    // Sets a control's "Disabled" and draws it.
    // Whether a list holds the int (the holidays' days of the year).
    static bool listHasInt(const qelValue& list, int32_t n);
    static qelValue textValue(const std::string& text);
    // An int, or decimal text; the default for anything else.
    static int32_t intOf(const qelValue& value, int32_t defaultValue = 0);
    static void setDisabled(const qelValue& control, bool disabled, bool draw = true);
    // A date table of the current date as the views pass it to each other: ints, and
    // "StandAlone".
    qelValue dateTable();
    // Element n of today's (or any day's) content record; nil when missing.
    qelValue contentElement(int32_t dayOfYear, int32_t element);

    qelValue m_agenda;
    AgendaYear m_year;
    AgendaDate m_date;
    qelValue m_agendaContent;
    int32_t m_dateSet = 0;
    int32_t m_standAlone = 0;
    qelValue m_monthButton;
    qelValue m_sliderImages;

private:
    void setMenuBarDisabled(bool disabled);
    // A link followed in the stand-alone mode: the almanac's content must be there first.
    void leaveStandAlone(const qelValue& control);
};
