#include "app/reference/CurioHForm.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/TextPage.h"
#include "app/shell/TrimBlanks.h"
#include "app/shell/TableKeys.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "recdb/index/IndexObject.h"

#include <iterator>

namespace {

// The categories by number (cp1252), as the buttons of the screen are named.
const char* const categoryNames[] = { "Artes", "Astronomia", "Ecologia", "Esportes", "Geografia", "Hist\xF3ria",
    "L\xEDnguas", "Maiores", "Misticismo", "Sa\xFA" "de" };


// The value under the key of a table; nil for anything that is not a table.
qelValue entry(const qelValue& table, const qelValue& key)
{
    return qelTableOf(table) ? qelGet(table, key) : qelNil;
}

} // namespace

qelValue CurioHForm::categoryName(int32_t category)
{
    if (category < 0 || category >= int32_t(std::size(categoryNames)))
        return qelNil;
    return qelValue(categoryNames[category]);
}

void CurioHForm::open(const qelValue& data)
{
    m_openData = data;
    BarraMenuForm::open(data);
}

void CurioHForm::reenter(const qelValue& data)
{
    m_openData = data;
    draw();
}

bool CurioHForm::lookUpTitle(const qelValue& title, int32_t& category, int32_t& record)
{
    qelValue path = qelLocateFile(qelValue("CDBIDLST"), qelValue("IDX"));
    if (!title.isString() || !qelLocatedFileExists(path))
        return false;
    ErrorCapture errors;
    qelValue index = qelOpenIndex(path, 0, 0);
    if (errors.failed() || !qelIndexObjectOf(index))
        return false;
    qelValue value = qelGet(index, title);
    if (errors.failed() || value.type() != QEL_INT_TYPE)
        return false;
    category = value.payload() / 65536;
    record = value.payload() % 65536;
    return true;
}

void CurioHForm::draw()
{
    // The screen's picture and buttons: navigation draws the screen through this operation.
    BarraMenuForm::draw();
    m_pendingIndex = -1;
    if (!qelTableOf(m_openData))
        return;
    qelValue request = m_openData;
    m_openData = qelNil;
    int32_t category = -1;
    int32_t record = -1;
    if (tableHolds(request, "SCatID")) {
        category = qelIntValue(entry(request, qelValue("SCatID")));
        qelValue index = entry(request, qelValue("Index"));
        // Without "Index" the viewer draws one at random.
        record = index.type() == QEL_INT_TYPE ? index.payload() : -1;
    } else if (tableHolds(request, "Text")) {
        // A title the index does not know leaves the home screen as it is.
        if (!lookUpTitle(entry(request, qelValue("Text")), category, record))
            return;
    } else {
        return;
    }
    qelValue button = qelResolve(getProperty(categoryName(category)));
    if (categoryName(category).isNil() || !qelControlOf(button))
        return;
    m_pendingIndex = record;
    handleControl(button);
}

void CurioHForm::handleControl(const qelValue& control)
{
    m_lastResult = qelNil;
    qelControlObject* object = qelControlOf(control);
    if (object && object->hasProperty("TypeID")) {
        runViewer(control);
        return;
    }
    BarraMenuForm::handleControl(control);
}

void CurioHForm::runViewer(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    int32_t category = qelIntValue(object->getProperty("TypeID"));
    qelValue run = entry(m_subMenus, object->getProperty("Name"));
    // A button the screen's "SubMenus" does not describe runs the viewer without pictures.
    if (!qelTableOf(run)) {
        run = qelTable(4, 100, 75);
        if (qelTableOf(m_subMenus))
            qelPut(m_subMenus, object->getProperty("Name"), run);
    }
    qelPut(run, qelValue("SCatID"), qelValue(category));
    if (m_pendingIndex >= 0) {
        qelPut(run, qelValue("Index"), qelValue(m_pendingIndex));
        m_pendingIndex = -1;
    } else {
        qelRemoveKey(run, qelValue("Index"));
    }
    m_lastResult = qelRunDialog(qelValue("CurioHFDialog"), run);
    if (!tableHolds(m_lastResult, "Jump"))
        return;
    qelValue form = entry(m_lastResult, qelValue("Form"));
    // A link to a screen the program does not have leaves the user here.
    if (!form.isString() || !textpage::isKnownForm(form))
        return;
    qelValue data;
    qelValue target = entry(m_lastResult, qelValue("Data"));
    if (target.isString()) {
        data = qelTable(2, 100, 75);
        qelPut(data, qelValue("Text"), qelLowerCase(trimBlanks(target)));
        qelPut(data, qelValue("FullList"), qelTrue);
    }
    goToForm(form, data);
}

qelValue CurioHForm::historyText()
{
    qelValue title = entry(m_lastResult, qelValue("Titulo"));
    // A run that showed no curiosity records the home screen.
    if (!title.isString())
        return qelValue("Tela de curiosidades");
    qelPut(m_lastResult, qelValue("History Text"), qelValue("Curiosidades: ") + title);
    return qelCopy(m_lastResult);
}
