#include "app/atlas/database/BDadosForm.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Event.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"

#include <algorithm>

namespace {

// The table's place on the 640 x 480 screen: below the title band, above the scroller.
constexpr int32_t tableTop = 60;
constexpr int32_t tableHeight = 403;
constexpr int32_t keyLeft = 1;
// Columns end at this x (the vertical scroller is to the right of it); the sideways fit counts
// one pixel less.
constexpr int32_t tableRight = 625;
constexpr int32_t fitRight = 624;
// The text lines a row may have: 22 lines fill the table's height.
constexpr int32_t maxLinesPerRow = 22;
constexpr int32_t defaultStripeColor = 0x808080;
constexpr int32_t keyLeftArrow = 0x140000;
constexpr int32_t keyRightArrow = 0x150000;

bool isEmptyText(const qelValue& text)
{
    return !text.isString() || qelCount(text) == 0;
}

} // namespace

qelValue BDadosForm::scroller(const char* name)
{
    qelValue found = findControl("Name", name);
    return qelControlOf(found) ? found : qelNil;
}

qelValue BDadosForm::notesTable()
{
    return getProperty(m_databaseKind == 0 ? "NotasPaises" : "NotasEstados");
}

void BDadosForm::setHidden(const qelValue& control, bool hidden)
{
    if (qelControlOf(control))
        setControlHidden(control, hidden ? 1 : 0);
}

void BDadosForm::open(const qelValue& data)
{
    if (data.type() != QEL_TABLE_TYPE || !qelContainsKey(data, "DataRecs")) {
        goHistory(1);
        return;
    }
    loadResourceTable();
    m_panelOpen = 0;
    m_title = qelGet(data, "Name");
    qelValue kind = qelGet(data, "Tipo");
    setProperty("Background Image", getProperty(kind + " BkImage"));
    qelValue name = findControl("Name", "PesqName");
    if (qelControlOf(name)) {
        qelPut(name, "Foreground Color", getProperty(kind + " TxColor"));
        qelPerformAction(name, "Initialize");
    }
    BarraMenuForm::open(data);
    refill(data);
}

qelValue BDadosForm::criterionRow(int32_t position) const
{
    if (m_criteriaList.type() != QEL_LIST_TYPE)
        return qelNil;
    // The columns are the shown rows, in order; the hidden ones only filter.
    int32_t shown = 0;
    for (int32_t i = 0; i < qelCount(m_criteriaList); ++i) {
        qelValue row = qelGet(m_criteriaList, i);
        if (row.type() != QEL_LIST_TYPE)
            continue;
        if (qelCount(row) > 3 && qelIntValue(qelGet(row, 3)) == 0)
            continue;
        if (shown == position)
            return row;
        ++shown;
    }
    return qelNil;
}

qelValue BDadosForm::columnCriterion(int32_t position) const
{
    qelValue row = criterionRow(position);
    return qelCount(row) > 2 ? qelGet(row, 2) : qelNil;
}

bool BDadosForm::isSortedColumn(int32_t position) const
{
    if (m_criteriaList.type() != QEL_LIST_TYPE || m_orderedPosition < 0
        || m_orderedPosition >= qelCount(m_criteriaList))
        return false;
    qelValue row = criterionRow(position);
    return !row.isNil() && row.object() == qelGet(m_criteriaList, m_orderedPosition).object();
}

qelValue BDadosForm::resultTitle(const qelValue& kind, const qelValue& condition, const qelValue& name)
{
    if (!(kind == "Bloco econ\xF4mico" || kind == "Regi\xE3o"))
        return name;
    qelValue shown = condition == "Uni\xE3o Europ\xE9ia" ? qelValue("U.E.") : condition;
    return shown + " - " + name;
}

void BDadosForm::refill(const qelValue& data)
{
    m_data = data;
    if (!qelContainsKey(data, "History Text"))
        qelPut(data, "History Text", qelValue("Pesquisa ") + qelGet(data, "Name"));
    m_kind = qelGet(data, "Tipo");
    m_title = resultTitle(m_kind, qelGet(data, "BR Cond"), qelGet(data, "Name"));
    m_databaseKind = qelIntValue(qelGet(data, "DBase2Use"));
    m_records = qelGet(data, "DataRecs");
    m_fields = qelGet(data, "FieldsUsed");
    m_fieldCount = m_fields.type() == QEL_LIST_TYPE ? qelCount(m_fields) : 0;
    m_criteriaList = qelGet(data, "Criteria List");
    m_rowHeight = qelContainsKey(data, "RowHeight") ? qelIntValue(qelGet(data, "RowHeight")) : 3;
    // The lines of a row divide the table's 22: at least one, at most all of them.
    m_rowHeight = std::clamp(m_rowHeight, 1, maxLinesPerRow);
    m_rowsPerPage = maxLinesPerRow / m_rowHeight;
    int32_t stripe = hasProperty("BoxColor") ? getInt("BoxColor", defaultStripeColor) : defaultStripeColor;
    m_headerLayout.setup(m_records, m_databaseKind, m_rowHeight, stripe, 0);
    for (int32_t i = 0; i < columnSlots; ++i) {
        m_columnLayouts[i].setup(m_records, m_databaseKind, m_rowHeight, stripe, 0);
        m_columnSlot[i] = i;
        m_columnField[i] = 0;
    }
    m_topRow = 0;
    m_orderedPosition = qelIntValue(qelGet(data, "Ordered Field"));
    m_order = qelGet(data, "Order");
    if (isEmptyText(m_order))
        m_order = qelValue("Ascen");
    m_keyField = m_fieldCount > 0 ? qelIntAt(m_fields, 0) : 0;
    m_headerLayout.setHeading(m_keyField, isSortedColumn(0) ? m_order : qelValue("None"), qelNil);
    m_headerLayout.setRect(qelRectValue(keyLeft, tableTop, m_headerLayout.scaledWidth(75), tableHeight));
    m_headerLayout.setFirstRow(0);
    m_firstColumn = 1;
    layoutColumns(0);
    setupScrollers();
    qelValue name = findControl("Name", "PesqName");
    if (qelControlOf(name))
        qelPerformAction(name, "DiscardBK");
    draw();
}

void BDadosForm::placeHeading(DBTableLayout& layout, int32_t position, const qelValue& notes)
{
    int32_t field = qelIntAt(m_fields, position);
    layout.setHeading(field, isSortedColumn(position) ? m_order : qelValue("None"), columnCriterion(position));
    qelValue key = qelValue("") + field;
    if (notes.type() == QEL_TABLE_TYPE && qelContainsKey(notes, key))
        layout.setNote(qelGet(notes, key), m_keyField);
    else
        layout.setNote(qelNil, m_keyField);
}

void BDadosForm::layoutColumns(int32_t topRow)
{
    qelValue previous = qelRectValue(keyLeft, tableTop, m_headerLayout.scaledWidth(75), tableHeight);
    int32_t position = m_firstColumn;
    qelValue notes = notesTable();
    int32_t slots = std::min(m_fieldCount, columnSlots);
    for (int32_t i = 0; i < slots; ++i) {
        int32_t previousRight = qelLeft(previous) + qelWidth(previous);
        if (previousRight >= tableRight || position <= 0 || position >= m_fieldCount) {
            m_columnField[i] = 0;
            continue;
        }
        DBTableLayout& layout = m_columnLayouts[i];
        placeHeading(layout, position, notes);
        int32_t left = previousRight + 1;
        int32_t right = std::min(left + layout.scaledWidth(75), tableRight);
        qelValue rect = qelRectValue(left, tableTop, right - left, tableHeight);
        layout.setRect(rect);
        layout.setFirstRow(topRow);
        m_columnField[i] = qelIntAt(m_fields, position);
        previous = rect;
        ++position;
        if (position >= m_fieldCount)
            position = 0;
    }
    for (int32_t i = slots; i < columnSlots; ++i)
        m_columnField[i] = 0;
}

void BDadosForm::setupScrollers()
{
    DBTableLayout scratch;
    scratch.setup(m_records, m_databaseKind, 1, defaultStripeColor, 0);
    qelValue horizontal = scroller("HorizontalScroller");
    if (!horizontal.isNil()) {
        int32_t width = m_headerLayout.scaledWidth(75);
        int32_t fit = 0;
        for (int32_t k = m_fieldCount - 1; k >= 1 && width < fitRight; --k) {
            scratch.setHeading(qelIntAt(m_fields, k), qelValue("None"), qelNil);
            width += scratch.scaledWidth(75);
            if (width < fitRight)
                ++fit;
        }
        fit = std::max(fit, 1);
        int32_t maximum = m_fieldCount - (fit + 1);
        if (maximum > 0)
            qelPerform(horizontal, "SetPageInc", qelMakeInt(fit));
        qelPerform(horizontal, "SetValue", qelMakeInt(0));
        qelPerform(horizontal, "SetMin", qelMakeInt(0));
        qelPerform(horizontal, "SetMax", qelMakeInt(std::max(maximum, 0)));
    }
    qelValue vertical = scroller("VerticalScroller");
    if (!vertical.isNil()) {
        int32_t n = m_records.type() == QEL_LIST_TYPE ? qelCount(m_records) : 0;
        if (n > m_rowsPerPage)
            qelPerform(vertical, "SetPageInc", qelMakeInt(m_rowsPerPage));
        qelPerform(vertical, "SetValue", qelMakeInt(0));
        qelPerform(vertical, "SetMin", qelMakeInt(0));
        qelPerform(vertical, "SetMax", qelMakeInt(n > m_rowsPerPage ? n - m_rowsPerPage : 0));
    }
}

void BDadosForm::draw()
{
    qelFormObject::draw();
    qelValue name = findControl("Name", "PesqName");
    if (qelControlOf(name))
        qelPerform(name, "SetText", m_title);
    m_headerLayout.drawColumn();
    int32_t slots = std::min(m_fieldCount, columnSlots);
    for (int32_t i = 0; i < slots; ++i)
        if (m_columnField[i] != 0)
            m_columnLayouts[i].drawColumn();
}

void BDadosForm::scrollHorizontal()
{
    qelValue horizontal = scroller("HorizontalScroller");
    if (horizontal.isNil())
        return;
    qelSetCursor(qelWaitCursor());
    m_firstColumn = qelGetInt(horizontal, "Value") + 1;
    layoutColumns(m_topRow);
    qelSetCursor(qelArrowCursor());
    draw();
}

void BDadosForm::scrollVertical()
{
    qelValue vertical = scroller("VerticalScroller");
    if (vertical.isNil())
        return;
    qelSetCursor(qelWaitCursor());
    m_topRow = qelGetInt(vertical, "Value");
    m_headerLayout.setFirstRow(m_topRow);
    for (DBTableLayout& layout : m_columnLayouts)
        layout.setFirstRow(m_topRow);
    draw();
    qelSetCursor(qelArrowCursor());
}

void BDadosForm::openPanel(const char* countriesPanel, const char* statesPanel)
{
    qelValue panel = getProperty(m_databaseKind == 0 ? countriesPanel : statesPanel);
    if (!qelControlOf(panel))
        return;
    m_panelOpen = 1;
    m_openPanel = panel;
    setHidden(panel, false);
    qelPerformAction(panel, "Draw");
    qelValue close = getProperty("CloseNF");
    setHidden(close, false);
    qelPerformAction(close, "Draw");
}

void BDadosForm::closePanel(const qelValue& button)
{
    m_panelOpen = 0;
    setHidden(m_openPanel, true);
    if (qelControlOf(m_openPanel))
        qelPerformAction(m_openPanel, "Draw");
    setHidden(button, true);
    if (qelControlOf(button))
        qelPerformAction(button, "Draw");
    // What the panel covered comes back.
    draw();
}

void BDadosForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (name == "HorizontalScroller") {
        scrollHorizontal();
    } else if (name == "VerticalScroller") {
        scrollVertical();
    } else if (name == "Imprimir") {
        print();
    } else if (name == "Modificar") {
        qelValue changed = qelRunDialog("BDMCDialog", m_data);
        if (changed.type() == QEL_TABLE_TYPE && qelContainsKey(changed, "DataRecs"))
            goToForm("BDadosForm", changed);
    } else if (name == "Info") {
        openPanel("Notas Paises", "Notas Estado");
    } else if (name == "Fontes") {
        openPanel("Fontes Paises", "Fontes Estado");
    } else if (name == "CloseNF") {
        closePanel(control);
    } else if (name == "GoBack") {
        if (m_panelOpen)
            closePanel(getProperty("CloseNF"));
        BarraMenuForm::handleControl(control);
    } else {
        BarraMenuForm::handleControl(control);
    }
}

void BDadosForm::key(int32_t code, int32_t modifiers)
{
    const char* action = nullptr;
    bool sideways = modifiers & QEL_SHIFT_KEY;
    switch (code) {
    case QEL_KEY_HOME:
        action = "Home";
        break;
    case QEL_KEY_END:
        action = "End";
        break;
    case QEL_KEY_PAGE_UP:
        action = "PageUp";
        break;
    case QEL_KEY_PAGE_DOWN:
        action = "PageDown";
        break;
    case keyLeftArrow:
        action = "ScrollUp";
        sideways = true;
        break;
    case keyRightArrow:
        action = "ScrollDown";
        sideways = true;
        break;
    case QEL_KEY_UP:
        action = "ScrollUp";
        sideways = false;
        break;
    case QEL_KEY_DOWN:
        action = "ScrollDown";
        sideways = false;
        break;
    default:
        qelMediaFormObject::key(code, modifiers);
        return;
    }
    qelValue target = scroller(sideways ? "HorizontalScroller" : "VerticalScroller");
    if (target.isNil())
        return;
    qelPerformAction(target, action);
    if (sideways)
        scrollHorizontal();
    else
        scrollVertical();
}
