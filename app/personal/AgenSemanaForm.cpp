#include "app/personal/AgenSemanaForm.h"

#include "app/personal/AgendaFile.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

// Why 7: a week; a resource may ask for fewer cells, never for more days than a week has.
constexpr int32_t weekCells = 7;

// A content text that begins with "..." reads "Você sabia que" and the rest.
qelValue didYouKnow(const qelValue& value)
{
    if (!value.isString())
        return value;
    std::string s = qelCString(value);
    if (s.rfind("...", 0) == 0)
        s = "Voc\xea sabia que" + s.substr(3);
    return AgendaForm::textValue(s);
}

} // namespace

int32_t AgenSemanaForm::cellCount()
{
    int32_t n = getInt("NumOfSpots", weekCells);
    return n < 0 ? 0 : n > weekCells ? weekCells : n;
}

void AgenSemanaForm::open(const qelValue& data)
{
    loadResourceTable();
    m_dateSet = 0;
    m_showReminders = 0;
    setDate(data);
    fillWeekCells();
    AgendaForm::open(data);
}

void AgenSemanaForm::fillWeekCells()
{
    qelValue holidays = property("Feriados");
    int32_t firstDoy = m_date.dayOfYear - m_date.weekday;
    for (int32_t i = 1, n = cellCount(); i <= n; ++i) {
        qelControlObject* cell = qelControlOf(property("Spot" + std::to_string(i)));
        if (!cell)
            continue;
        int32_t doy = firstDoy + i - 1;
        cell->setProperty("Disabled", qelFalse);
        cell->removeProperty("Month");
        if (doy < 0 || doy >= m_year.length()) {
            cell->setProperty("Disabled", qelTrue);
            cell->setProperty("Image", qelNil);
            cell->setProperty("Mask", qelNil);
            continue;
        }
        AgendaDate shown = m_year.dateOfDay(doy);
        if (shown.month != m_date.month)
            cell->setProperty("Month", qelMakeInt(shown.month));
        std::string picture = "S" + std::to_string(shown.day);
        qelValue image = doy == m_date.dayOfYear ? property("SDaySel")
            : listHasInt(holidays, doy)          ? property("SDayHol")
                                                 : property(picture);
        cell->setProperty("Image", image);
        cell->setProperty("Mask", property(picture + "Msk"));
        cell->setProperty("Day", textValue(std::to_string(shown.day)));
    }
}

qelValue AgenSemanaForm::dayText(int32_t doy)
{
    if (!m_showReminders)
        return contentElement(doy, 3);
    qelValue record = agendaDayRecord(m_agenda, doy);
    qelValue rows = record.isNil() ? qelNil : qelGet(record, qelValue("Compromissos"));
    if (rows.type() != QEL_LIST_TYPE)
        return qelNil;
    std::string out;
    for (int32_t i = 0; i < qelCount(rows); ++i) {
        qelValue row = qelGet(rows, i);
        if (row.type() != QEL_LIST_TYPE || qelCount(row) < 2)
            continue;
        qelValue entry = qelGet(row, 1);
        if (!entry.isString() || qelCString(entry)[0] == '\0')
            continue;
        out += std::string(qelCString(agendaRtfEscape(qelValueToString(qelGet(row, 0))))) + "  "
            + qelCString(agendaRtfEscape(entry)) + "\\par ";
    }
    return textValue(out);
}

qelValue AgenSemanaForm::secondText(int32_t doy)
{
    if (!m_showReminders)
        return didYouKnow(contentElement(doy, 6));
    qelValue record = agendaDayRecord(m_agenda, doy);
    qelValue reminders = record.isNil() ? qelNil : qelGet(record, qelValue("Lembretes"));
    if (reminders.type() != QEL_LIST_TYPE)
        return qelNil;
    std::string out;
    for (int32_t i = 0; i < qelCount(reminders); ++i)
        out += std::string(qelCString(agendaRtfEscape(qelValueToString(qelGet(reminders, i))))) + "\\par ";
    return didYouKnow(textValue(out));
}

void AgenSemanaForm::draw()
{
    fillWeekCells();
    AgendaForm::draw();
    qelValue signs = property("Signos&Luas");
    bool hasSigns = signs.type() == QEL_TABLE_TYPE;
    int32_t dx = hasSigns ? intOf(qelGet(signs, qelValue("XDisp"))) : 0;
    int32_t dy = hasSigns ? intOf(qelGet(signs, qelValue("YDisp"))) : 0;
    int32_t doy = m_date.dayOfYear - m_date.weekday;
    for (int32_t i = 1, n = cellCount(); i <= n; ++i, ++doy) {
        qelValue first = property("DayText" + std::to_string(i));
        qelValue second = property("Texto" + std::to_string(i));
        if (doy < 0 || doy >= m_year.length()) {
            setDisabled(first, true);
            setDisabled(second, true);
            continue;
        }
        qelControlObject* cell = qelControlOf(property("Spot" + std::to_string(i)));
        qelValue key = textValue(std::to_string(doy));
        if (cell && hasSigns && qelContainsKey(signs, key)) {
            qelValue icon = qelResolve(qelGet(signs, key));
            if (!icon.isNil())
                qelShowImageAt(icon, intOf(cell->getProperty("X")) + dx, intOf(cell->getProperty("Y")) + dy, 0, 0, 0, 0);
        }
        for (auto [control, value] : { std::pair { first, dayText(doy) }, std::pair { second, secondText(doy) } }) {
            bool has = value.isString() && qelCString(value)[0] != '\0';
            setDisabled(control, !has, false);
            if (has)
                qelPerform(control, "SetText", value);
            qelPerformAction(control, "Draw");
        }
    }
}

void AgenSemanaForm::handleControl(const qelValue& control)
{
    qelValue name = nameOf(control);
    if (controlHas(control, "Day")) {
        int32_t day = intOf(qelControlOf(control)->getProperty("Day"));
        int32_t month = m_date.month;
        if (controlHas(control, "Month"))
            month = intOf(qelControlOf(control)->getProperty("Month"), month);
        m_date = m_year.date(month, day);
        if (qelIsTrue(qelPerformAction(control, "dblClicked")))
            goToForm(qelValue("AgenDiaForm"), dateTable());
        else
            draw();
        return;
    }
    if (name == "TabDatas" || name == "TabLembretes") {
        m_showReminders = name == "TabLembretes" ? 1 : 0;
        setDisabled(property("TabDatas"), m_showReminders == 0, false);
        setDisabled(property("TabLembretes"), m_showReminders == 1, false);
        setDisabled(property("TabDatasLembretes"), m_showReminders == 0, false);
        draw();
        return;
    }
    if (name == "Previous" || name == "Next") {
        int32_t last = m_year.length() - 1;
        int32_t doy = m_date.dayOfYear + (name == "Next" ? 7 : -7);
        // A week step stops at the year's first or last day; from there it goes round.
        if (name == "Next")
            doy = m_date.dayOfYear == last ? 0 : doy > last ? last : doy;
        else
            doy = m_date.dayOfYear == 0 ? last : doy < 0 ? 0 : doy;
        m_date = m_year.dateOfDay(doy);
        draw();
        return;
    }
    AgendaForm::handleControl(control);
}
