// The agenda run alone on fixed dates (the scripts set the clock): the month view with its
// stand-alone bar, marked month, selected day and holidays; appointments typed in the day view
// kept through the day steps and Agenda.DTT; the week view at the year's ends; the calendar.

#include "Scenario.h"

#include <fstream>
#include <iterator>

namespace fs = scenario::fs;
using scenario::Area;

namespace {

// content/style's agenda look and the agenda's own picture colours (tools/diskbuild/Agenda.cpp).
constexpr uint32_t band = 0x185848, accent = 0xF8D060, panel = 0xFAFFFC, grid = 0xECF6F0;
constexpr uint32_t selected = 0xE87018, holiday = 0xC82020, frame = 0x78A08C;

// The month view's cell of a week row and weekday column: its left edge, half way down.
constexpr int cellX(int column) { return 41 + column * 80; }
constexpr int cellY(int row) { return 153 + row * 52 + 25; }
// The week view's cell of a weekday: its left edge, half way down.
constexpr int weekCellY(int weekday) { return 124 + weekday * 50 + 25; }

// The text column of the day view's 09:00 row.
constexpr Area nineOClock { 298, 232, 200, 14 };

std::vector<uint8_t> bytesOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(AlmanacAgenda, TheMonthViewAlone)
{
    scenario::Run run("almanac_agenda.script", "disk", "Agenda");
    ASSERT_TRUE(run.exitedNormally());
    // May 1998 begins on a Friday; the 5th is selected, the 1st is a holiday.
    run.expectProbes({ { "agenda",
        { { 356, 28, band, "the stand-alone bar over the menu bar's buttons" },
            { 236, 67, accent, "the current month's button, marked" }, { 192, 67, panel, "another month's button" },
            { cellX(2), cellY(1), selected, "5 May, selected" }, { cellX(5), cellY(0), holiday, "1 May, a holiday" },
            { cellX(1), cellY(1), frame, "4 May, an ordinary day" },
            { cellX(0), cellY(0), grid, "no day before the 1st" } } } });
}

TEST(AlmanacAgenda, AppointmentsAreKeptThroughTheDaysAndTheFile)
{
    scenario::Run run("agenda_day.script", "disk", "Agenda");
    ASSERT_TRUE(run.exitedNormally());
    EXPECT_TRUE(run.differs("day", "typed", nineOClock)) << "the appointment typed";
    EXPECT_FALSE(run.differs("day", "next", nineOClock)) << "6 May has no appointment";
    EXPECT_TRUE(run.differs("day", "back", nineOClock)) << "5 May again";
    EXPECT_TRUE(run.differs("day", "cancelled", nineOClock)) << "cancelled edits keep the text";
    EXPECT_TRUE(run.differs("day", "again", nineOClock)) << "read back from the file";
    // The file holds 5 May's record: the dentist at 09:00 and one reminder; nothing of the
    // cancelled edits.
    EXPECT_EQ(bytesOf(run.shots() / "user" / "Agenda.DTT"),
        bytesOf(fs::path(QEL_TEST_DATA) / "agenda" / "one-day.DTT"));
    // "Imprimir" gives the day's page.
    EXPECT_TRUE(fs::exists(run.shots() / "user" / "agenda.pdf"));
}

TEST(AlmanacAgenda, TheWeekViewAtTheYearsEnds)
{
    scenario::Run run("agenda_week.script", "disk", "Agenda");
    ASSERT_TRUE(run.exitedNormally());
    // 2 January 1998 is a Friday: Sunday to Wednesday lie before the year.
    run.expectProbes({ { "week",
                           { { 24, weekCellY(3), grid, "Wednesday, 31 December 1997" },
                               { 24, weekCellY(4), holiday, "Thursday, 1 January, a holiday" },
                               { 24, weekCellY(5), selected, "Friday, 2 January, selected" } } },
        { "last_week", { { 24, weekCellY(3), selected, "Wednesday, 30 December" }, { 24, weekCellY(5), grid, "no 1 January" } } },
        { "last_day", { { 24, weekCellY(4), selected, "Thursday, 31 December" } } },
        { "round", { { 24, weekCellY(4), selected, "Thursday, 1 January" }, { 24, weekCellY(5), frame, "2 January" } } } });
    EXPECT_TRUE(run.differs("week", "user_tab", Area { 110, 326, 500, 46 })) << "the user's tab hides the holiday's text";
}

TEST(AlmanacAgenda, TheCalendarShowsTheWeekdayOfADate)
{
    // The impossible date's message is answered by the script: without it the run would stick.
    scenario::Run run("agenda_calendar.script", "disk", "Agenda");
    ASSERT_TRUE(run.exitedNormally());
    // The dialog lies at (160, 120); the weekday pictures at (60, 122) in it.
    run.expectProbes({ { "friday", { { 224, 246, accent, "the weekday picture" } } },
        { "hidden", { { 224, 246, panel, "no weekday after a key" } } },
        { "closed", { { 224, 246, grid, "the dialog is gone" } } } });
}

TEST(AlmanacAgenda, ALeapYearKeepsEveryDay)
{
    scenario::Run run("agenda_leap.script", "disk", "Agenda");
    ASSERT_TRUE(run.exitedNormally());
    // December 2000 begins on a Friday, February 2000 on a Tuesday; the 31st clamps to the 29th.
    run.expectProbes({ { "december", { { cellX(0), cellY(5), selected, "31 December 2000" } } },
        { "february",
            { { cellX(2), cellY(4), selected, "29 February 2000" }, { cellX(3), cellY(4), grid, "no 30 February" } } } });
    EXPECT_TRUE(run.differs("december", "last_day")) << "the day view of 31 December";
}
