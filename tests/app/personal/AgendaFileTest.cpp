// The user's Agenda.DTT: its bytes for one stored day, the agenda kept across a restart, a damaged
// file set aside without losing anything, and the content archive read without trusting it.

#include "AgendaFixture.h"
#include "app/personal/AgendaFile.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

using namespace agendatest;

namespace {

class AgendaFile : public AgendaFixture {
protected:
    fs::path agendaFile() const { return user / "Agenda.DTT"; }

    // Day 124 (5 May) with a dentist at 09:00 and one reminder, as the day view stores it.
    static qelValue oneDay()
    {
        qelValue rows = agendaEmptyRows();
        qelPut(qelGet(rows, 4), 1, qelStringValue("Dentista"));
        qelValue reminders = agendaEmptyReminders();
        qelPut(reminders, 0, qelStringValue("Comprar p\xe3o"));
        qelAddItem(reminders, qelStringValue("    "));
        qelValue record = agendaNewTable();
        qelPut(record, qelValue("Compromissos"), rows);
        qelPut(record, qelValue("Lembretes"), reminders);
        qelValue agenda = agendaNewTable();
        qelPut(agenda, qelValue("124"), record);
        return agenda;
    }
};

} // namespace

TEST_F(AgendaFile, TheRowsOfADay)
{
    qelValue rows = agendaEmptyRows();
    ASSERT_EQ(qelCount(rows), agendaRowCount);
    const char* expected[] = { "07:00", "07:30", "08:00", "08:30", "09:00", "09:30", "10:00" };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(qelGet(qelGet(rows, i), 0), expected[i]);
    EXPECT_EQ(qelGet(qelGet(rows, 33), 0), "23:30");
    EXPECT_EQ(qelGet(qelGet(rows, 33), 1), "");
}

TEST_F(AgendaFile, OneDayStoredAndReadAfterARestart)
{
    EXPECT_TRUE(readAgendaFile().isNil());
    EXPECT_FALSE(fs::exists(agendaFile()));
    ASSERT_TRUE(writeAgendaFile(oneDay()));
    EXPECT_EQ(fileBytes(agendaFile()), fileBytes(fs::path(QEL_TEST_DATA) / "agenda" / "one-day.DTT"));
    // Only the file remains: nothing beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 1);

    qelValue agenda = readAgendaFile();
    qelValue record = agendaDayRecord(agenda, 124);
    ASSERT_FALSE(record.isNil());
    EXPECT_EQ(qelGet(qelGet(qelGet(record, qelValue("Compromissos")), 4), 1), "Dentista");
    EXPECT_EQ(qelGet(qelGet(record, qelValue("Lembretes")), 0), "Comprar p\xe3o");
    EXPECT_TRUE(agendaDayRecord(agenda, 125).isNil());
}

TEST_F(AgendaFile, ADamagedFileIsSetAsideAndTheAgendaStartsEmpty)
{
    for (const char* bytes : { "not an archive", "0QEL\x08\x00\x00\x00" }) {
        std::ofstream(agendaFile(), std::ios::binary) << bytes;
        Bytes damaged = fileBytes(agendaFile());
        EXPECT_TRUE(readAgendaFile().isNil()) << bytes;
        EXPECT_FALSE(fs::exists(agendaFile()));
        EXPECT_EQ(fileBytes(user / "Agenda.BAD"), damaged);
    }
    // An archive whose item is no table is no agenda either.
    {
        qelValue archive = qelCreateArchive(qelValue(agendaFile().string().c_str()), 4);
        qelArchiveOf(archive)->add(qelStringValue("texto"));
        qelArchiveOf(archive)->flush();
    }
    EXPECT_TRUE(readAgendaFile().isNil());
    EXPECT_TRUE(fs::exists(user / "Agenda.BAD"));
    // A day whose record is not a table reads as a day without one.
    qelValue agenda = agendaNewTable();
    qelPut(agenda, qelValue("3"), qelStringValue("x"));
    EXPECT_TRUE(agendaDayRecord(agenda, 3).isNil());
}

TEST_F(AgendaFile, TheContentArchiveIsReadWithoutTrustingIt)
{
    fs::create_directories(root / "Media");
    {
        qelValue archive = qelCreateArchive(qelValue((root / "Media" / "Agenda.dat").string().c_str()), 4);
        qelArchiveOf(archive)->add(qelListOf({ qelMakeInt(0), qelStringValue("Qui, 01 Jan 1998"), qelStringValue("Cheia"),
            qelStringValue("Confraterniza\xe7\xe3o Universal"), qelStringValue(""), qelMakeInt(2), qelStringValue("...x") }));
        qelArchiveOf(archive)->add(qelListOf({ qelMakeInt(1) }));
        qelArchiveOf(archive)->flush();
    }
    qelValue content = openAgendaContent();
    ASSERT_FALSE(content.isNil());
    EXPECT_EQ(agendaContentElement(content, 0, 2), "Cheia");
    EXPECT_EQ(agendaContentElement(content, 0, 5), qelMakeInt(2));
    // A short record, a day past the archive's end (a leap year's 31 December), a negative day.
    EXPECT_TRUE(agendaContentElement(content, 1, 3).isNil());
    EXPECT_TRUE(agendaContentElement(content, 365, 3).isNil());
    EXPECT_TRUE(agendaContentElement(content, -1, 3).isNil());
    EXPECT_TRUE(agendaContentElement(qelNil, 0, 3).isNil());
}

TEST(AgendaText, WhatTheUserTypedReachesTheRichTextAsTyped)
{
    EXPECT_EQ(agendaRtfEscape(qelStringValue("a\\b {c}")), "a\\\\b \\{c\\}");
    EXPECT_EQ(agendaRtfEscape(qelStringValue("Jo\xe3o")), "Jo\xe3o");
}
