#include "app/personal/AgenDiaForm.h"

#include "app/personal/AgendaFile.h"
#include "framework/display/Cursor.h"
#include "framework/display/Geometry.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

constexpr int32_t escapeKey = 27;

bool nonEmptyText(const qelValue& value)
{
    return value.isString() && qelCString(value)[0] != '\0';
}

} // namespace

void AgenDiaForm::open(const qelValue& data)
{
    loadResourceTable();
    m_editMode = 0;
    m_modified = 0;
    m_editGuard = 0;
    m_dateSet = 0;
    setDate(data);
    fillDayLists();
    AgendaForm::open(data);
}

void AgenDiaForm::close()
{
    // Rows typed on a day without a record would otherwise be lost on leaving by the menu bar,
    // the history or the quit.
    if (m_editMode > 0)
        commitEdit();
    storeDay();
    AgendaForm::close();
}

void AgenDiaForm::fillDayLists()
{
    qelValue rows = agendaEmptyRows();
    qelValue reminders = agendaEmptyReminders();
    qelValue record = agendaDayRecord(m_agenda, m_date.dayOfYear);
    if (!record.isNil()) {
        qelValue stored = qelGet(record, qelValue("Compromissos"));
        if (stored.type() == QEL_LIST_TYPE)
            rows = stored;
        stored = qelGet(record, qelValue("Lembretes"));
        if (stored.type() == QEL_LIST_TYPE)
            reminders = stored;
    }
    qelPerform(property("Compromissos"), "setList", rows);
    qelPerform(property("Lembretes"), "setList", reminders);
    if (qelControlObject* picture = qelControlOf(property("DataImg"))) {
        std::string name = "D" + std::to_string(m_date.day);
        picture->setProperty("Image", property(name));
        picture->setProperty("Mask", property(name + "Msk"));
    }
}

void AgenDiaForm::draw()
{
    fillDayLists();
    int32_t doy = m_date.dayOfYear;
    qelValue moon = contentElement(doy, 2);
    if (qelControlObject* picture = qelControlOf(property("LuaImg")))
        picture->setProperty("Image", moon.isNil() ? qelNil : property("Lua" + std::string(qelCString(qelValueToString(moon)))));
    if (qelControlObject* picture = qelControlOf(property("DiaSemanaImg")))
        picture->setProperty("Image", property("DS" + std::to_string(m_date.weekday + 1)));
    qelValue moonText = contentElement(doy, 4);
    if (nonEmptyText(moonText))
        qelPerform(property("LuaText"), "SetText", moonText);
    else
        qelPerformAction(property("LuaText"), "ClearText");
    auto showText = [&](const char* control, const qelValue& value) {
        qelValue target = property(control);
        bool has = nonEmptyText(value);
        setDisabled(target, !has, false);
        if (has)
            qelPerform(target, "SetText", value);
    };
    showText("DayText", contentElement(doy, 3));
    qelValue flag = contentElement(doy, 5);
    setDisabled(property("Voc\xeaSabiaImg"), !(flag.type() == QEL_INT_TYPE && flag.payload() == 2), false);
    showText("Texto1", contentElement(doy, 6));
    AgendaForm::draw();
}

void AgenDiaForm::storeDay()
{
    if (!m_modified)
        return;
    qelValue rows = qelPerformAction(property("Compromissos"), "getList");
    qelValue reminders = qelPerformAction(property("Lembretes"), "getList");
    if (m_agenda.type() != QEL_TABLE_TYPE)
        m_agenda = agendaNewTable();
    qelValue record = agendaNewTable();
    qelPut(record, qelValue("Compromissos"), rows);
    qelPut(record, qelValue("Lembretes"), reminders);
    qelPut(m_agenda, textValue(std::to_string(m_date.dayOfYear)), record);
    m_modified = 0;
}

void AgenDiaForm::beginEdit(const qelValue& original, const qelValue& rect, int32_t mode)
{
    qelValue field = property("Valor");
    qelControlObject* object = qelControlOf(field);
    if (!object || rect.isNil())
        return;
    m_editOriginal = original.isString() ? original : qelEmptyString();
    qelPerform(field, "setText", m_editOriginal);
    qelPerformAction(field, "selectAll");
    object->setProperty("Hot Spot", rect);
    object->setProperty("Hidden", qelFalse);
    m_editMode = mode;
    setActiveControl(field, 1);
}

void AgenDiaForm::cancelEdit()
{
    qelValue field = property("Valor");
    if (qelControlObject* object = qelControlOf(field)) {
        object->setProperty("Hidden", qelTrue);
        qelPerformAction(field, "Draw");
    }
    qelPerformAction(property(m_editMode == 1 ? "Compromissos" : "Lembretes"), "Draw");
    m_editMode = 0;
    m_editGuard = 1;
    setActiveControl(field, 0);
    m_editGuard = 0;
}

void AgenDiaForm::commitEdit()
{
    if (m_editGuard)
        return;
    if (m_editMode > 0)
        m_editMode = -m_editMode;
    qelValue field = property("Valor");
    qelValue typed = qelPerformAction(field, "getText");
    if (!typed.isString())
        typed = qelEmptyString();
    if (qelControlObject* object = qelControlOf(field))
        object->setProperty("Hidden", qelTrue);
    m_editGuard = 1;
    setActiveControl(field, 0);
    m_editGuard = 0;
    bool changed = !(typed == m_editOriginal);
    if (m_editMode == -1 && changed) {
        qelValue rowsBox = property("Compromissos");
        int32_t index = qelIntValue(qelPerformAction(rowsBox, "getSelection"));
        qelValue rows = qelPerformAction(rowsBox, "getList");
        if (rows.type() == QEL_LIST_TYPE && index >= 0 && index < qelCount(rows)) {
            qelValue row = qelGet(rows, index);
            if (row.type() == QEL_LIST_TYPE && qelCount(row) >= 2) {
                qelPut(row, 1, typed);
                m_modified = 1;
            }
        }
        qelPerformAction(rowsBox, "Draw");
    } else if (m_editMode == -2 && changed) {
        qelValue box = property("Lembretes");
        int32_t index = qelIntValue(qelPerformAction(box, "getSelection"));
        qelValue reminders = qelPerformAction(box, "getList");
        if (reminders.type() == QEL_LIST_TYPE && index >= 0 && index < qelCount(reminders)) {
            qelPut(reminders, index, typed);
            // A new blank entry only under the last one: editing an older reminder does not
            // grow the list.
            if (index == qelCount(reminders) - 1)
                qelAddItem(reminders, qelStringValue("    "));
            m_modified = 1;
            // The box learns of the new entry through its list being set again.
            qelPerform(box, "setList", reminders);
        }
        qelPerformAction(box, "Draw");
    } else {
        // Unchanged: the list is drawn again where the field lay.
        qelPerformAction(property(m_editMode == -1 ? "Compromissos" : "Lembretes"), "Draw");
    }
    m_editMode = 0;
}

void AgenDiaForm::handleControl(const qelValue& control)
{
    qelValue name = nameOf(control);
    if (m_editMode > 0) {
        commitEdit();
        if (name == "Valor")
            return;
    }
    bool leavesDay = controlHas(control, "MesID") || controlHas(control, "HyperLink") || name == "Previous"
        || name == "Next" || name == "M\xeas" || name == "Semana";
    if (leavesDay)
        storeDay();
    if (name == "Previous" || name == "Next") {
        m_date = m_year.step(m_date, name == "Next" ? 1 : -1);
        draw();
        return;
    }
    if (name == "Compromissos") {
        qelValue row = qelPerformAction(control, "getSelectionStr");
        // Why: a click that selected no row leaves nothing to edit.
        if (row.type() != QEL_LIST_TYPE || qelCount(row) < 2)
            return;
        beginEdit(qelGet(row, 1), qelPerform(control, "getCellRect", qelMakeInt(2)), 1);
        return;
    }
    if (name == "Lembretes") {
        if (qelIntValue(qelPerformAction(control, "getSelection")) < 0)
            return;
        beginEdit(qelPerformAction(control, "getSelectionStr"), qelPerformAction(control, "getSelectedRect"), 2);
        return;
    }
    if (name == "Valor")
        return;
    if (name == "Imprimir") {
        print();
        return;
    }
    AgendaForm::handleControl(control);
}

void AgenDiaForm::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (m_editMode > 0) {
        qelValue spot = qelControlOf(property("Valor")) ? qelControlOf(property("Valor"))->getProperty("Hot Spot") : qelNil;
        int32_t lx = x;
        int32_t ly = y;
        globalToLocal(lx, ly);
        bool inside = !spot.isNil() && lx >= qelLeft(spot) && lx < qelLeft(spot) + qelWidth(spot) && ly >= qelTop(spot)
            && ly < qelTop(spot) + qelHeight(spot);
        if (!inside) {
            cancelEdit();
            return;
        }
    }
    AgendaForm::mouseDown(x, y, modifiers, clicks);
}

void AgenDiaForm::key(int32_t code, int32_t modifiers)
{
    if (m_editMode > 0 && code == QEL_KEY_ENTER) {
        commitEdit();
        return;
    }
    if (m_editMode > 0 && code == escapeKey) {
        cancelEdit();
        return;
    }
    AgendaForm::key(code, modifiers);
}

qelValue AgenDiaForm::printBody()
{
    std::string body;
    qelValue rows = qelPerformAction(property("Compromissos"), "getList");
    int32_t count = rows.type() == QEL_LIST_TYPE ? qelCount(rows) : 0;
    for (int32_t i = 0; i < count; ++i) {
        qelValue row = qelGet(rows, i);
        if (row.type() != QEL_LIST_TYPE || qelCount(row) < 2)
            continue;
        qelValue time = agendaRtfEscape(qelValueToString(qelGet(row, 0)));
        qelValue entry = agendaRtfEscape(qelValueToString(qelGet(row, 1)));
        body += std::string("\\fi-700\\tx700 ") + qelCString(time) + "\\li700\\tab " + qelCString(entry) + "\\pard\\par ";
    }
    return textValue(body);
}

void AgenDiaForm::print()
{
    qelValue attributes = property("PrintAttributes");
    if (attributes.type() != QEL_TABLE_TYPE) {
        attributes = agendaNewTable();
        setProperty("PrintAttributes", attributes);
    }
    qelPut(attributes, qelValue("Title"), textValue("AGENDA - Compromissos do Dia " + std::to_string(m_date.day)));
    qelPut(attributes, qelValue("Text"), printBody());
    AgendaForm::print();
}
