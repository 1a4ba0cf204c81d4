#include "app/personal/AgendaForm.h"

#include "app/personal/AgendaFile.h"
#include "app/shell/ShellHooks.h"
#include "framework/display/Cursor.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// The pop-up menu items that make no sense while the agenda runs alone.
const char* const standAloneMenuItems[] = { "Sobre o Velarim", "Cr\xe9" "ditos", "Prefer\xea" "ncias" };
const char* const menuBarButtons[] = { "MainHome", "Velarim", "Busca", "Marcador", "Internet", "Historico" };

// An int as it is, decimal text parsed; nothing otherwise.
std::optional<int32_t> intField(const qelValue& value)
{
    if (value.type() == QEL_INT_TYPE)
        return int32_t(value.payload());
    if (value.isString()) {
        const char* text = qelCString(value);
        char* end = nullptr;
        long n = std::strtol(text, &end, 10);
        // Why: a day number beyond an int32 is no date.
        if (end != text && *end == '\0' && n > -1000000 && n < 1000000)
            return int32_t(n);
    }
    return std::nullopt;
}

std::optional<int32_t> dateField(const qelValue& table, const char* key)
{
    return intField(qelGet(table, qelValue(key)));
}

} // namespace

int32_t AgendaForm::intOf(const qelValue& value, int32_t defaultValue)
{
    return intField(qelResolve(value)).value_or(defaultValue);
}

bool AgendaForm::listHasInt(const qelValue& list, int32_t n)
{
    if (list.type() != QEL_LIST_TYPE)
        return false;
    for (int32_t i = 0; i < qelCount(list); ++i) {
        if (qelGet(list, i) == qelMakeInt(n))
            return true;
    }
    return false;
}

qelValue AgendaForm::textValue(const std::string& text)
{
    return qelStringValueN(text.data(), int32_t(text.size()));
}

qelValue AgendaForm::property(const std::string& name)
{
    return qelResolve(getProperty(qelStringValueN(name.data(), int32_t(name.size()))));
}

qelValue AgendaForm::nameOf(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    return object ? object->getProperty("Name") : qelNil;
}

bool AgendaForm::controlHas(const qelValue& control, const char* key)
{
    qelControlObject* object = qelControlOf(control);
    return object && object->hasProperty(qelValue(key));
}

void AgendaForm::setDisabled(const qelValue& control, bool disabled, bool draw)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    object->setProperty("Disabled", qelMakeBoolean(disabled ? 1 : 0));
    if (draw)
        qelPerformAction(control, "Draw");
}

qelValue AgendaForm::contentElement(int32_t dayOfYear, int32_t element)
{
    return agendaContentElement(m_agendaContent, dayOfYear, element);
}

void AgendaForm::setDate(const qelValue& data)
{
    if (m_dateSet)
        return;
    qelValue clock = qelDateTime(qelCurrentTime());
    m_year = AgendaYear::fromClock(qelGetInt(clock, "Year"), qelGetInt(clock, "Day of Week"), qelGetInt(clock, "Day of Year"));
    AgendaDate today = m_year.dateOfDay(qelGetInt(clock, "Day of Year"));
    m_date = today;
    bool isTable = data.type() == QEL_TABLE_TYPE;
    if (isTable && qelContainsKey(data, qelValue("Day"))) {
        // The day and month say the date; the day of the year and the weekday follow from them
        // in the clock's year, so a date never gets two keys.
        auto day = dateField(data, "Day");
        auto month = dateField(data, "Month");
        if (day && month && *month >= 0 && *month <= 11)
            m_date = m_year.date(*month, *day);
        else if (auto dayOfYear = dateField(data, "Day of Year"))
            m_date = m_year.dateOfDay(*dayOfYear);
    } else if (isTable && qelContainsKey(data, qelValue("Text"))) {
        qelValue text = qelGet(data, qelValue("Text"));
        if (text.isString()) {
            if (auto date = agendaDateOfText(qelCString(text), m_year))
                m_date = *date;
        }
    }
    m_dateSet = 1;
}

void AgendaForm::setMenuBarDisabled(bool disabled)
{
    for (const char* name : menuBarButtons) {
        qelValue button = property(name);
        if (qelControlOf(button))
            qelControlOf(button)->setProperty("Disabled", qelMakeBoolean(disabled ? 1 : 0));
    }
}

void AgendaForm::open(const qelValue& data)
{
    loadResourceTable();
    qelValue standAlone = data.type() == QEL_TABLE_TYPE ? qelGet(data, qelValue("StandAlone")) : qelNil;
    m_standAlone = standAlone.type() == QEL_BOOLEAN_TYPE && qelIsTrue(standAlone) ? 1 : 0;
    if (m_standAlone) {
        for (const char* item : standAloneMenuItems)
            disableMenuItem("PopUpMenu", qelValue(item));
    }
    setMenuBarDisabled(m_standAlone != 0);
    setDate(data);
    m_agendaContent = openAgendaContent();
    m_agenda = readAgendaFile();
    m_monthButton = qelNil;
    VLTextForm::open(data);
}

void AgendaForm::close()
{
    m_agendaContent = qelNil;
    // Written back on every close of a view that holds a table, changed or not.
    if (!m_agenda.isNil()) {
        writeAgendaFile(m_agenda);
        m_agenda = qelNil;
    }
    VLTextForm::close();
}

void AgendaForm::draw()
{
    VLTextForm::draw();
    if (m_standAlone) {
        qelValue bar = property("StandAloneBar");
        if (!bar.isNil())
            qelShowImageAt(bar, 0, 0, 0, 0, 0, 0);
    }
    markMonthButton();
}

void AgendaForm::markMonthButton()
{
    qelValue button = property(agendaMonthAbbrev[size_t(m_date.month)]);
    if (!m_monthButton.isNil() && !(m_monthButton == button))
        setDisabled(m_monthButton, false);
    m_monthButton = button;
    if (!qelControlOf(button))
        return;
    setDisabled(button, true);
    qelValue slider = qelControlOf(button)->getProperty("SliderImage");
    if (slider.isNil())
        return;
    m_sliderImages = qelCopy(slider);
    if (m_sliderImages.type() != QEL_LIST_TYPE)
        return;
    for (int32_t i = 0; i < qelCount(m_sliderImages); ++i) {
        qelValue entry = qelGet(m_sliderImages, i);
        if (entry.type() != QEL_LIST_TYPE || qelCount(entry) < 3)
            break;
        qelValue image = qelResolve(qelGet(entry, 0));
        if (image.isNil())
            break;
        qelShowImageAt(image, intOf(qelGet(entry, 1)), intOf(qelGet(entry, 2)), 0, 0, 0, 0);
    }
}

void AgendaForm::leaveStandAlone(const qelValue& control)
{
    if (qelPerformAction(control, "GetContext").isNil())
        return;
    for (;;) {
        if (qelLocatedFileExists(qelLocateFile(qelValue("Midias"), qelValue("dat"))))
            break;
        qelValue text = "Por favor insira o CD ROM do " + qelAppTitle() + " e clique OK.";
        if (!qelConfirmBox(text))
            return;
    }
    m_standAlone = 0;
    for (const char* item : standAloneMenuItems)
        enableMenuItem("PopUpMenu", qelValue(item));
    if (auto leave = velarimShellHooks().leaveStandAloneAgenda)
        leave();
    VLTextForm::handleControl(control);
}

void AgendaForm::handleControl(const qelValue& control)
{
    qelValue name = nameOf(control);
    if (controlHas(control, "HyperLink") && m_standAlone) {
        leaveStandAlone(control);
        return;
    }
    if (controlHas(control, "MesID")) {
        int32_t id = intOf(qelControlOf(control)->getProperty("MesID"));
        // Why: the month buttons carry 1 .. 12; anything else names no month.
        if (id < 1 || id > 12)
            return;
        m_date = m_year.date(id - 1, m_date.day);
        draw();
        return;
    }
    const char* viewOf = name == "Dia" ? "AgenDiaForm"
        : name == "M\xeas"             ? "AgenMesForm"
        : name == "Semana"             ? "AgenSemanaForm"
                                       : nullptr;
    if (viewOf) {
        qelSetCursor(qelWaitCursor());
        goToForm(qelValue(viewOf), historyText());
        return;
    }
    if (name == "Calend\xe1rio") {
        qelDoDialog("AgCalendarioDialog");
        return;
    }
    VLTextForm::handleControl(control);
}

qelValue AgendaForm::historyText()
{
    qelValue table = agendaNewTable();
    auto text = [](int32_t n) { return qelStringValue(std::to_string(n).c_str()); };
    qelPut(table, qelValue("Day"), text(m_date.day));
    qelPut(table, qelValue("Day of Year"), text(m_date.dayOfYear));
    qelPut(table, qelValue("Day of Week"), text(m_date.weekday));
    qelPut(table, qelValue("Month"), text(m_date.month));
    std::string entry = "Agenda em: " + std::to_string(m_date.day) + "/" + agendaMonthAbbrev[size_t(m_date.month)];
    qelPut(table, qelValue("History Text"), qelStringValue(entry.c_str()));
    qelPut(table, qelValue("StandAlone"), qelMakeBoolean(m_standAlone));
    return table;
}

qelValue AgendaForm::dateTable()
{
    qelValue table = agendaNewTable();
    qelPut(table, qelValue("Day"), qelMakeInt(m_date.day));
    qelPut(table, qelValue("Day of Week"), qelMakeInt(m_date.weekday));
    qelPut(table, qelValue("Day of Year"), qelMakeInt(m_date.dayOfYear));
    qelPut(table, qelValue("Month"), qelMakeInt(m_date.month));
    qelPut(table, qelValue("StandAlone"), qelMakeBoolean(m_standAlone));
    return table;
}
