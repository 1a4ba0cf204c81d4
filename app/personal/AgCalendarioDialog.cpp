#include "app/personal/AgCalendarioDialog.h"

#include "app/personal/AgendaCalendar.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

qelValue nameOf(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    return object ? object->getProperty("Name") : qelNil;
}

} // namespace

void AgCalendarioDialog::open(const qelValue& data)
{
    m_shownWeekday = qelNil;
    m_skipNextEntry = 0;
    loadResourceTable();
    if (data.type() == QEL_TABLE_TYPE && qelContainsKey(data, qelValue("Text"))) {
        qelValue texto = qelResolve(getProperty("Texto"));
        qelPerform(texto, "SetText", qelGet(data, qelValue("Text")));
        qelPerformAction(texto, "Draw");
    }
    qelMediaDialogObject::open(data);
}

void AgCalendarioDialog::handleControl(const qelValue& control)
{
    qelValue name = nameOf(control);
    if (name == "Fechar") {
        m_skipNextEntry = 1;
        endDialog();
        return;
    }
    if (name == "What2Find") {
        if (m_skipNextEntry) {
            m_skipNextEntry = 0;
            return;
        }
        checkDate();
        return;
    }
    qelDialogObject::handleControl(control);
}

void AgCalendarioDialog::checkDate()
{
    qelValue field = qelResolve(getProperty("What2Find"));
    qelValue typed = qelPerformAction(field, "getText");
    std::optional<int32_t> weekday = typed.isString() ? calendarWeekdayOf(qelCString(typed)) : std::nullopt;
    if (!weekday) {
        qelMessageBox(qelStringValue("Data Inv\xe1lida!!!"));
        qelPerformAction(field, "selectAll");
        return;
    }
    qelPerformAction(field, "selectAll");
    m_shownWeekday = qelResolve(getProperty(qelStringValue(("WeekDay" + std::to_string(*weekday)).c_str())));
    if (qelControlObject* picture = qelControlOf(m_shownWeekday)) {
        picture->setProperty("Disabled", qelFalse);
        qelPerformAction(m_shownWeekday, "Draw");
    }
}

void AgCalendarioDialog::key(int32_t code, int32_t modifiers)
{
    if (qelControlObject* picture = qelControlOf(m_shownWeekday)) {
        picture->setProperty("Disabled", qelTrue);
        qelPerformAction(m_shownWeekday, "Draw");
        m_shownWeekday = qelNil;
    }
    qelMediaDialogObject::key(code, modifiers);
}
