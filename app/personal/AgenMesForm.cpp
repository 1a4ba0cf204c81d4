#include "app/personal/AgenMesForm.h"

#include "app/personal/AgendaFile.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

// Why 37: six places before a month that begins on Saturday plus its 31 days.
constexpr int32_t defaultCells = 37;
// Why 42: six full weeks hold any month; more cells would only be disabled.
constexpr int32_t maxCells = 42;

} // namespace

int32_t AgenMesForm::cellCount()
{
    int32_t n = getInt("NumOfSpots", defaultCells);
    return n < 0 ? 0 : n > maxCells ? maxCells : n;
}

int32_t AgenMesForm::dayOfCell(int32_t cell) const
{
    return cell - m_year.firstWeekday[size_t(m_date.month)];
}

void AgenMesForm::open(const qelValue& data)
{
    loadResourceTable();
    m_dateSet = 0;
    setDate(data);
    fillDayCells();
    AgendaForm::open(data);
}

void AgenMesForm::fillDayCells()
{
    qelValue holidays = property("Feriados");
    int32_t length = m_year.monthLength[size_t(m_date.month)];
    int32_t doy = m_date.dayOfYear - m_date.day + 1;
    for (int32_t i = 1, n = cellCount(); i <= n; ++i) {
        qelControlObject* cell = qelControlOf(property("Spot" + std::to_string(i)));
        if (!cell)
            continue;
        int32_t day = dayOfCell(i);
        if (day < 1 || day > length) {
            cell->setProperty("Disabled", qelTrue);
            continue;
        }
        std::string picture = "M" + std::to_string(day);
        qelValue image = day == m_date.day ? property("MDaySel")
            : listHasInt(holidays, doy)    ? property("MDayHol")
                                           : property(picture);
        cell->setProperty("Image", image);
        cell->setProperty("Mask", property(picture + "Msk"));
        cell->setProperty("Day", qelStringValue(std::to_string(day).c_str()));
        cell->setProperty("Disabled", qelFalse);
        ++doy;
    }
}

void AgenMesForm::draw()
{
    fillDayCells();
    AgendaForm::draw();
    qelValue signs = property("Signos&Luas");
    bool hasSigns = signs.type() == QEL_TABLE_TYPE;
    qelValue signMask = hasSigns ? qelResolve(qelGet(signs, qelValue("Mask"))) : qelNil;
    int32_t dx = hasSigns ? intOf(qelGet(signs, qelValue("XDisp"))) : 0;
    int32_t dy = hasSigns ? intOf(qelGet(signs, qelValue("YDisp"))) : 0;
    qelValue textMark = property("TextoIco");
    qelValue userMark = property("ComprIco");
    if (!textMark.isNil())
        qelSetImageMask(textMark, property("TextoIcoMask"));
    if (!userMark.isNil())
        qelSetImageMask(userMark, property("ComprIcoMask"));
    int32_t length = m_year.monthLength[size_t(m_date.month)];
    int32_t doy = m_date.dayOfYear - m_date.day + 1;
    for (int32_t i = 1, n = cellCount(); i <= n; ++i) {
        int32_t day = dayOfCell(i);
        if (day < 1 || day > length)
            continue;
        qelControlObject* cell = qelControlOf(property("Spot" + std::to_string(i)));
        if (cell) {
            int32_t x = intOf(cell->getProperty("X"));
            int32_t y = intOf(cell->getProperty("Y"));
            qelValue key = qelStringValue(std::to_string(doy).c_str());
            if (hasSigns && qelContainsKey(signs, key)) {
                qelValue icon = qelResolve(qelGet(signs, key));
                if (!icon.isNil()) {
                    qelSetImageMask(icon, signMask);
                    qelShowImageAt(icon, x + dx, y + dy, 0, 0, 0, 0);
                }
            }
            int32_t markX = x;
            qelValue dayText = contentElement(doy, 3);
            qelValue flag = contentElement(doy, 5);
            bool hasText = (dayText.isString() && qelCString(dayText)[0] != '\0')
                || (flag.type() == QEL_INT_TYPE && (flag.payload() == 1 || flag.payload() == 2));
            if (hasText && !textMark.isNil()) {
                qelShowImageAt(textMark, x + 1, y + 1, 0, 0, 0, 0);
                markX = x + qelWidth(textMark) + 2;
            }
            if (!agendaDayRecord(m_agenda, doy).isNil() && !userMark.isNil())
                qelShowImageAt(userMark, markX + 1, y + 1, 0, 0, 0, 0);
        }
        ++doy;
    }
}

void AgenMesForm::handleControl(const qelValue& control)
{
    qelValue name = nameOf(control);
    if (controlHas(control, "Day")) {
        int32_t day = intOf(qelControlOf(control)->getProperty("Day"));
        m_date = m_year.date(m_date.month, day);
        if (qelIsTrue(qelPerformAction(control, "dblClicked")))
            goToForm(qelValue("AgenDiaForm"), dateTable());
        else
            draw();
        return;
    }
    if (name == "Previous" || name == "Next") {
        int32_t month = (m_date.month + (name == "Next" ? 1 : 11)) % 12;
        m_date = m_year.date(month, m_date.day);
        draw();
        return;
    }
    AgendaForm::handleControl(control);
}
