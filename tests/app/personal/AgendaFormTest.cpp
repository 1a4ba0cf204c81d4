// The agenda's date as a view takes it: from the clock, a date table (ints or decimal text), the
// word search's text; the history entry that carries it to the next view.

#include "AgendaFixture.h"
#include "app/personal/AgenMesForm.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <array>

using namespace agendatest;

namespace {

class AgendaOpenDate : public AgendaFixture {
protected:
    // A view's date as its open sets it.
    AgendaDate dateOf(const qelValue& data)
    {
        AgenMesForm form;
        form.setDate(data);
        year = form.m_year;
        return form.m_date;
    }

    static qelValue table(std::initializer_list<std::pair<const char*, qelValue>> entries)
    {
        qelValue t = qelTable(4, 100, 75);
        for (const auto& [key, value] : entries)
            qelPut(t, qelValue(key), value);
        return t;
    }

    AgendaYear year;
};

void expectDate(const AgendaDate& d, int32_t day, int32_t month, int32_t weekday, int32_t dayOfYear)
{
    EXPECT_EQ(d.day, day);
    EXPECT_EQ(d.month, month);
    EXPECT_EQ(d.weekday, weekday);
    EXPECT_EQ(d.dayOfYear, dayOfYear);
}

} // namespace

TEST_F(AgendaOpenDate, TodayFromTheClock)
{
    expectDate(dateOf(qelNil), 1, 0, 4, 0);
    EXPECT_EQ(year.firstWeekday, (std::array<int32_t, 12> { 4, 0, 0, 3, 5, 1, 3, 6, 2, 4, 0, 2 }));
    EXPECT_EQ(year.monthLength[1], 28);
    // A table with neither key, and anything that is not a table, is today too.
    setClock(1998, 10, 28);
    expectDate(dateOf(table({ { "Other", qelMakeInt(3) } })), 28, 9, 3, 300);
    expectDate(dateOf(qelMakeInt(7)), 28, 9, 3, 300);
    EXPECT_EQ(year.firstWeekday[0], 4);
    setClock(2000, 12, 31);
    expectDate(dateOf(qelNil), 31, 11, 0, 365);
    EXPECT_EQ(year.monthLength[1], 29);
}

TEST_F(AgendaOpenDate, FromADateTableOrTheWordSearch)
{
    // Ints, as the month view passes them; decimal text, as the history gives them back.
    expectDate(dateOf(table({ { "Day", qelMakeInt(5) }, { "Month", qelMakeInt(4) }, { "Day of Week", qelMakeInt(2) },
                   { "Day of Year", qelMakeInt(124) } })),
        5, 4, 2, 124);
    expectDate(dateOf(table({ { "Day", "25" }, { "Month", "11" }, { "Day of Week", "5" }, { "Day of Year", "358" } })),
        25, 11, 5, 358);
    expectDate(dateOf(table({ { "Text", "Ter, 05 Mai 1998" } })), 5, 4, 2, 124);
    // "Day" wins over "Text".
    expectDate(dateOf(table({ { "Text", "Ter, 05 Mai 1998" }, { "Day", qelMakeInt(1) }, { "Month", qelMakeInt(0) } })),
        1, 0, 4, 0);
    // A text that names no date, or a day the month lacks, leaves today.
    setClock(1998, 3, 2);
    expectDate(dateOf(table({ { "Text", "Ter, 05 mai 1998" } })), 2, 2, 1, 60);
    expectDate(dateOf(table({ { "Text", 42 } })), 2, 2, 1, 60);
    expectDate(dateOf(table({ { "Day", "x" }, { "Month", qelMakeInt(4) } })), 2, 2, 1, 60);
    // A stored 31 February comes back as the month's last day.
    expectDate(dateOf(table({ { "Day", qelMakeInt(31) }, { "Month", qelMakeInt(1) } })), 28, 1, 6, 58);
}

TEST_F(AgendaOpenDate, TheHistoryEntryCarriesTheDateAndTheMode)
{
    AgenMesForm form;
    form.setDate(table({ { "Text", "Ter, 05 Mai 1998" } }));
    form.m_standAlone = 1;
    qelValue entry = form.historyText();
    EXPECT_EQ(qelGet(entry, qelValue("Day")), "5");
    EXPECT_EQ(qelGet(entry, qelValue("Month")), "4");
    EXPECT_EQ(qelGet(entry, qelValue("Day of Week")), "2");
    EXPECT_EQ(qelGet(entry, qelValue("Day of Year")), "124");
    EXPECT_EQ(qelGet(entry, qelValue("History Text")), "Agenda em: 5/Mai");
    EXPECT_TRUE(qelIsTrue(qelGet(entry, qelValue("StandAlone"))));
    expectDate(dateOf(entry), 5, 4, 2, 124);
    // Once set, the date stays until the next open clears the flag.
    form.setDate(table({ { "Day", qelMakeInt(1) }, { "Month", qelMakeInt(0) } }));
    EXPECT_EQ(form.m_date.dayOfYear, 124);
}
