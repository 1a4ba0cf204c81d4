#include "app/personal/AgendaFile.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/UserFiles.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <string>

qelValue agendaFilePath()
{
    return userFilePath(agendaFileName);
}

qelValue agendaNewTable()
{
    return qelTable(4, 100, 75);
}

qelValue readAgendaFile()
{
    qelValue path = agendaFilePath();
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue agenda = readUserFile(path);
    if (agenda.type() != QEL_TABLE_TYPE) {
        moveUserFileAside(path, agendaAsideName);
        return qelNil;
    }
    return agenda;
}

bool writeAgendaFile(const qelValue& agenda)
{
    return writeUserFile(agendaFilePath(), agenda);
}

qelValue agendaEmptyRows()
{
    qelValue rows = qelMakeList(4, 100, QEL_GENERAL_LIST);
    for (int hour = 7; hour <= 23; ++hour) {
        for (const char* minutes : { ":00", ":30" }) {
            std::string time = (hour < 10 ? "0" : "") + std::to_string(hour) + minutes;
            qelAddItem(rows, qelListOf({ qelStringValue(time.c_str()), qelEmptyString() }));
        }
    }
    return rows;
}

qelValue agendaEmptyReminders()
{
    qelValue reminders = qelMakeList(1, 100, QEL_GENERAL_LIST);
    qelAddItem(reminders, qelStringValue("   "));
    return reminders;
}

qelValue agendaDayRecord(const qelValue& agenda, int32_t dayOfYear)
{
    if (agenda.type() != QEL_TABLE_TYPE)
        return qelNil;
    qelValue key = qelStringValue(std::to_string(dayOfYear).c_str());
    if (!qelContainsKey(agenda, key))
        return qelNil;
    qelValue record = qelGet(agenda, key);
    return record.type() == QEL_TABLE_TYPE ? record : qelNil;
}

qelValue openAgendaContent()
{
    ErrorCapture errors;
    qelValue path = qelLocateFile(qelValue("Agenda"), qelValue("dat"));
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue archive = qelOpenArchive(path, 0);
    if (errors.failed() || archive.type() != QEL_ARCHIVE_TYPE)
        return qelNil;
    return archive;
}

qelValue agendaContentElement(const qelValue& content, int32_t dayOfYear, int32_t element)
{
    if (content.type() != QEL_ARCHIVE_TYPE || dayOfYear < 0 || dayOfYear >= qelCount(content))
        return qelNil;
    ErrorCapture errors;
    qelValue record = qelGet(content, dayOfYear);
    if (errors.failed() || record.type() != QEL_LIST_TYPE || element < 0 || element >= qelCount(record))
        return qelNil;
    return qelGet(record, element);
}

qelValue agendaRtfEscape(const qelValue& text)
{
    if (!text.isString())
        return text;
    std::string out;
    for (const char* c = qelCString(text); *c; ++c) {
        if (*c == '\\' || *c == '{' || *c == '}')
            out += '\\';
        out += *c;
    }
    return qelStringValueN(out.data(), int32_t(out.size()));
}
