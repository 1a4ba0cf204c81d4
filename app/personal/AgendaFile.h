#pragma once

// The user's agenda file, Agenda.DTT in the user folder: an archive of one item, the agenda
// table. Its keys are days of the year as decimal text ("0" for 1 January); each value is a day
// record, a table holding "Compromissos" (the 34 half-hour rows [time, text] from 07:00 to
// 23:30) and "Lembretes" (the reminder texts). The file is replaced whole through a temporary
// file, so a failed write keeps the old one; a file that does not read back as an agenda is moved
// aside as Agenda.BAD and the agenda starts empty.
//
// Also the content archive "Agenda.dat": item n is the almanac's record of day of the year n.

#include "framework/runtime/Value.h"

#include <cstdint>

constexpr const char* agendaFileName = "Agenda.DTT";
constexpr const char* agendaAsideName = "Agenda.BAD";
// The rows of a day: every half hour from 07:00 to 23:30.
constexpr int32_t agendaRowCount = 34;

qelValue agendaFilePath();
// The stored agenda table; nil when there is no file or it was damaged (and moved aside).
qelValue readAgendaFile();
// Replaces the file with one holding the table; false when it could not be written (the old
// file stays and the debugger output says why).
bool writeAgendaFile(const qelValue& agenda);

// A new table (capacity 4, growth 100 %, fill 75 %), as the agenda's tables are made.
qelValue agendaNewTable();
// The 34 empty rows of a day without a record: [time, ""] with the time "07:00" .. "23:30".
qelValue agendaEmptyRows();
// The reminders of a day without a record: one entry of three blanks.
qelValue agendaEmptyReminders();
// The day record of a day in the agenda table: a table, or nil (none, or not a table).
qelValue agendaDayRecord(const qelValue& agenda, int32_t dayOfYear);

// The content archive, opened read-only; nil when it cannot be found or opened.
qelValue openAgendaContent();
// Element `element` of the content record of a day; nil when the archive, the record or the
// element is missing.
qelValue agendaContentElement(const qelValue& content, int32_t dayOfYear, int32_t element);

// Text for the rich text controls: backslashes and braces escaped, so what the user typed is
// shown and printed as typed.
qelValue agendaRtfEscape(const qelValue& text);
