#include "app/atlas/database/BDMCDialog.h"

#include "app/atlas/database/SavedSearches.h"
#include "app/shell/TrimBlanks.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int32_t enterKey = 13;
constexpr int32_t escapeKey = 27;

// The state shared by the one criteria dialog that can be open: the "Disabled" state last given
// to "Abrir", "Salvar" and "Limpar", whether "Todos" is the chosen entry of the value list, and
// whether the dialog itself is taking the focus from an editor (whose notification is then
// ignored).
bool criteriaButtonsDisabled = true;
int32_t allValuesChosen = 0;
int32_t editorFocusGuard = 0;

const char* const nullSearchMessage = "O crit\xE9rio atribuido resultar\xE1 em uma pesquisa NULA.";

bool isEmptyText(const qelValue& text)
{
    return !text.isString() || qelCount(text) == 0;
}

bool isRegionOrBloc(const qelValue& kind)
{
    return kind == "Bloco econ\xF4mico" || kind == "Regi\xE3o";
}

// A descriptor's name without its two-character prefix.
qelValue fieldName(const qelValue& descriptor)
{
    qelValue name = qelGet(descriptor, 0);
    return name.isString() && qelCount(name) > 2 ? qelMid(name, 2, qelCount(name) - 2) : qelValue("");
}

qelValue newRow(const qelValue& name, const qelValue& sort)
{
    return qelListOf({ name, sort, qelValue(""), qelMakeInt(1) });
}

} // namespace

qelValue BDMCDialog::control(const char* name)
{
    return findControl("Name", name);
}

qelValue BDMCDialog::descriptorOfRow(const qelValue& row) const
{
    if (row.type() != QEL_LIST_TYPE || !qelContainsKey(m_criteriaTable, qelGet(row, 0)))
        return qelNil;
    int32_t position = qelGetInt(m_criteriaTable, qelGet(row, 0));
    // A saved search may name a position the field list no longer has.
    if (position < 0 || position >= qelCount(m_fieldList))
        return qelNil;
    return qelGet(m_fieldList, position);
}

BDMCDialog::NumberCriterion BDMCDialog::readNumberCriterion(const qelValue& text)
{
    NumberCriterion criterion { qelValue(" "), 0, text.isString() ? text : qelValue("") };
    std::string numberText = "0";
    if (!isEmptyText(text)) {
        std::string t = qelCString(text);
        size_t p = t.find_first_of(" ,0123456789");
        if (p == std::string::npos)
            p = t.size();
        if (p > 0) {
            criterion.op = qelStringValueN(t.data(), int32_t(p));
            numberText = qelCString(trimBlanks(qelStringValue(t.substr(p).c_str())));
        } else {
            numberText = t;
            criterion.shown = qelValue("= ") + trimBlanks(text);
            criterion.op = qelValue("=");
        }
        size_t comma = numberText.find(',');
        if (comma != std::string::npos)
            numberText[comma] = '.';
    }
    criterion.number = float(qelFloatValue(qelStringValue(numberText.c_str())));
    return criterion;
}

int32_t BDMCDialog::findFieldByName(const qelValue& name) const
{
    int32_t count = qelCount(m_fieldList);
    for (int32_t i = 0; i < count; ++i) {
        qelValue descriptor = qelGet(m_fieldList, i);
        if (qelCount(descriptor) > 2 && fieldName(descriptor) == name)
            return qelIntValue(qelGet(descriptor, 2));
    }
    if (count == 0)
        return 0;
    qelValue last = qelGet(m_fieldList, count - 1);
    return qelCount(last) > 2 ? qelIntValue(qelGet(last, 2)) : 0;
}

void BDMCDialog::draw()
{
    qelValue nome = control("Nome");
    if (!nome.isNil() && m_searchName.isString())
        qelPerform(nome, "setText", m_searchName);
    qelFormObject::draw();
}

void BDMCDialog::open(const qelValue& data)
{
    loadResourceTable();
    qelValue selected = control("SelectedListBox");
    qelValue hotSpot = selected.isNil() ? qelNil : qelGet(selected, "Hot Spot");
    m_listBottom = hotSpot.isNil() ? 0 : qelTop(hotSpot) + qelHeight(hotSpot);
    m_valueEditorOpen = 0;
    m_choiceListOpen = 0;
    m_orderedField = 0;
    m_rowHeight = 0;
    criteriaButtonsDisabled = true;
    allValuesChosen = 0;
    editorFocusGuard = 0;
    m_order = qelValue("Ascen");
    m_regionCondition = qelNil;
    m_result = qelNil;
    bool isTable = data.type() == QEL_TABLE_TYPE;
    m_searchKind = isTable ? qelGet(data, "Tipo") : qelNil;
    bool countries = m_searchKind == "Pa\xEDses" || m_searchKind == "Bloco econ\xF4mico";
    m_fieldList = getProperty(countries ? "Pa\xEDses" : "Estados");
    if (m_fieldList.type() != QEL_LIST_TYPE)
        m_fieldList = qelMakeList(4, 100, QEL_GENERAL_LIST);
    m_searchName = isTable ? qelGet(data, "Name") : qelNil;
    if (m_searchName.isString() && std::strncmp(qelCString(m_searchName), "**", 2) == 0)
        m_searchName = qelMid(m_searchName, 2, qelCount(m_searchName) - 2);

    qelValue fields = control("FieldsListBox");
    qelPerform(fields, "setList", m_fieldList);
    qelPerformAction(fields, "Initialize");
    qelPerform(fields, "setSelection", qelMakeInt(0));

    qelValue caption = control("Caption");
    if (isTable && qelContainsKey(data, "Criteria Table")) {
        if (!caption.isNil())
            qelPut(caption, "Image", getProperty(qelValue("ModifyCaption ") + m_searchKind));
        m_criteriaTable = qelCopy(qelGet(data, "Criteria Table"));
        m_criteriaList = qelCopy(qelGet(data, "Criteria List"));
        if (m_criteriaTable.type() != QEL_TABLE_TYPE)
            m_criteriaTable = qelTable(70, 100, 75);
        if (m_criteriaList.type() != QEL_LIST_TYPE)
            m_criteriaList = qelMakeList(70, 100, QEL_GENERAL_LIST);
        m_orderedField = qelGetInt(data, "Ordered Field");
        m_order = qelGet(data, "Order");
        DBFileStruct::open(data);
        for (int32_t i = 0; i < qelCount(m_criteriaList); ++i) {
            qelValue row = qelGet(m_criteriaList, i);
            qelValue descriptor = descriptorOfRow(row);
            if (qelCount(descriptor) < 4)
                continue;
            int32_t field = qelIntValue(qelGet(descriptor, 2));
            addField(field);
            if (i == m_orderedField)
                setSortOrder(field, m_order);
            setFieldShown(field, qelIntValue(qelGet(row, 3)));
            int32_t kind = qelIntValue(qelGet(descriptor, 1));
            qelValue criterion = qelGet(row, 2);
            if (kind == 0) {
                addTextCriterion(field, criterion);
            } else if (kind == 1 && !isEmptyText(criterion)) {
                NumberCriterion number = readNumberCriterion(criterion);
                filterNumeric(field, number.op, number.number);
            }
            m_rowHeight = std::max(m_rowHeight, qelIntValue(qelGet(descriptor, 3)));
        }
        refreshCriteriaList();
    } else {
        if (!caption.isNil())
            qelPut(caption, "Image", getProperty(qelValue("CreateCaption ") + m_searchKind));
        newCriteria(data, true);
    }
    if (isRegionOrBloc(m_searchKind)) {
        m_regionCondition = isTable ? qelGet(data, "BR Cond") : qelNil;
        applyRegionCondition();
    }
    if (isTable && qelContainsKey(data, "Abrir") && qelGet(data, "Abrir") == qelMakeBoolean(1))
        endDialog();
}

void BDMCDialog::applyRegionCondition()
{
    // The region's or bloc's field filters without being a column.
    int32_t field = findFieldByName(m_searchKind);
    addField(field);
    setFieldShown(field, 0);
    addTextCriterion(field, m_regionCondition);
}

void BDMCDialog::newCriteria(const qelValue& data, bool openQuery)
{
    m_criteriaTable = qelTable(70, 100, 75);
    m_criteriaList = qelMakeList(70, 100, QEL_GENERAL_LIST);
    bool countries = m_searchKind == "Pa\xEDses" || m_searchKind == "Bloco econ\xF4mico";
    qelValue name = countries ? qelValue("Pa\xEDs") : qelValue("Estado");
    qelPut(m_criteriaTable, name, qelMakeInt(0));
    qelAddItem(m_criteriaList, newRow(name, qelValue("Ascen")));
    if (openQuery)
        DBFileStruct::open(data);
    refreshCriteriaList();
    addField(findFieldByName(name));
    if (openQuery) {
        qelValue fields = control("FieldsListBox");
        if (!fields.isNil())
            handleAction(fields, qelValue("FieldsListBox"));
    }
}

void BDMCDialog::refreshCriteriaList()
{
    qelValue selected = control("SelectedListBox");
    qelPerform(selected, "setList", m_criteriaList);
    qelPerformAction(selected, "gotoEnd");
    bool disabled = qelCount(m_criteriaList) == 1;
    if (disabled != criteriaButtonsDisabled) {
        for (const char* name : { "Abrir", "Salvar", "Limpar" }) {
            qelValue button = control(name);
            if (button.isNil())
                continue;
            setControlEnabled(button, disabled ? 0 : 1);
            qelPerformAction(button, "Draw");
        }
        criteriaButtonsDisabled = disabled;
    }
}

void BDMCDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    handleAction(control, object->getProperty("Name"));
}

void BDMCDialog::handleAction(const qelValue& control, const qelValue& name)
{
    // An open editor is handled before the control that notified: the number is committed, the
    // value list takes its click (committing on a double click).
    if (m_valueEditorOpen) {
        m_valueEditorOpen = 0;
        if (!editorFocusGuard)
            commitNumber();
        if (name == "Valor")
            return;
    } else if (m_choiceListOpen) {
        m_choiceListOpen = 0;
        if (!editorFocusGuard)
            chooseValues();
        if (name == "StringCriteria2")
            return;
    }
    if (name == "Cancelar" || name == "Fechar") {
        m_criteriaTable = qelTable(4, 100, 75);
        endDialog();
    } else if (name == "Abrir") {
        m_searchName = qelPerformAction(this->control("Nome"), "getText");
        endDialog();
    } else if (name == "Limpar") {
        // The rows start afresh and so does the query: no field, criterion or sort of the earlier
        // rows stays behind a row that no longer shows it; the region or bloc still filters.
        for (int32_t i = 0; i < qelCount(m_fieldSelection); ++i)
            removeCriterion(std::abs(qelIntAt(m_fieldSelection, i)));
        m_fieldSelection = qelNewIntList(4);
        setSortOrder(0, qelValue(""));
        m_orderedField = 0;
        m_order = qelValue("Ascen");
        m_rowHeight = 0;
        newCriteria(qelNil, false);
        if (isRegionOrBloc(m_searchKind))
            applyRegionCondition();
    } else if (name == "Salvar") {
        m_searchName = qelPerformAction(this->control("Nome"), "getText");
        saveSearch();
    } else if (name == "FieldsListBox") {
        pickField();
    } else if (name == "SelectedListBox") {
        editRow();
    } else if (name == "Valor" || name == "StringCriteria2") {
        // A closed editor has nothing to commit.
    } else {
        qelMediaDialogObject::handleControl(control);
    }
}

void BDMCDialog::pickField()
{
    qelValue list = control("FieldsListBox");
    qelValue selection = qelPerformAction(list, "getSelection");
    // A list reports no selection as nil or -1.
    if (selection.isNil() || qelIntValue(selection) < 0 || qelIntValue(selection) >= qelCount(m_fieldList))
        return;
    int32_t s = qelIntValue(selection);
    m_currentField = qelGet(m_fieldList, s);
    if (qelCount(m_currentField) <= 1)
        return;
    if (!qelIsTrue(qelPerformAction(list, "dblClicked")))
        return;
    qelPerformAction(list, "clearDblClick");
    addField(qelIntValue(qelGet(m_currentField, 2)));
    m_rowHeight = std::max(m_rowHeight, qelIntValue(qelGet(m_currentField, 3)));
    qelValue name = fieldName(m_currentField);
    if (qelContainsKey(m_criteriaTable, name))
        return;
    qelPut(m_criteriaTable, name, qelMakeInt(s));
    qelAddItem(m_criteriaList, newRow(name, qelValue("")));
    refreshCriteriaList();
}

void BDMCDialog::editRow()
{
    qelValue list = control("SelectedListBox");
    qelValue selection = qelPerformAction(list, "getSelection");
    if (selection.isNil() || qelIntValue(selection) < 0 || qelIntValue(selection) >= qelCount(m_criteriaList))
        return;
    m_editRow = qelIntValue(selection);
    qelValue row = qelGet(m_criteriaList, m_editRow);
    qelValue descriptor = descriptorOfRow(row);
    if (qelCount(descriptor) < 4)
        return;
    int32_t field = qelIntValue(qelGet(descriptor, 2));
    if (qelIsTrue(qelPerformAction(list, "dblClicked"))) {
        qelPerformAction(list, "clearDblClick");
        if (m_editRow == 0)
            return;
        removeField(field);
        qelRemoveKey(m_criteriaTable, qelGet(row, 0));
        qelListRemove(m_criteriaList, row);
        // The sorted row keeps its place in the shorter list; a removed sorted row gives the sort
        // back to the name row.
        if (m_editRow == m_orderedField) {
            setSortOrder(field, qelValue(""));
            m_orderedField = 0;
            m_order = qelValue("Ascen");
            qelPut(qelGet(m_criteriaList, 0), 1, m_order);
        } else if (m_editRow < m_orderedField) {
            --m_orderedField;
        }
        refreshCriteriaList();
        return;
    }
    int32_t cell = qelIntValue(qelPerformAction(list, "getSelectedCell"));
    if (cell == 1) {
        cycleSort(row, field);
        qelPerformAction(list, "Draw");
    } else if (cell == 2) {
        int32_t kind = qelIntValue(qelGet(descriptor, 1));
        if ((m_editRow == 0 && isRegionOrBloc(m_searchKind)) || kind == 2)
            return;
        openEditor(row, descriptor);
    } else if (cell == 3) {
        qelPut(row, 3, qelMakeInt(1 - qelIntValue(qelGet(row, 3))));
        setFieldShown(field, -1);
        qelPerformAction(list, "Draw");
    }
}

void BDMCDialog::cycleSort(const qelValue& row, int32_t field)
{
    qelValue current = qelGet(row, 1);
    if (current == "Ascen") {
        qelPut(row, 1, qelValue("Desc"));
    } else if (current == "Desc") {
        qelPut(row, 1, qelValue(""));
        qelPut(qelGet(m_criteriaList, 0), 1, qelValue("Ascen"));
        m_orderedField = 0;
    } else if (isEmptyText(current)) {
        // The sorted row is one at a time: the previous one loses its sort.
        if (m_orderedField >= 0 && m_orderedField < qelCount(m_criteriaList))
            qelPut(qelGet(m_criteriaList, m_orderedField), 1, qelValue(""));
        qelPut(row, 1, qelValue("Ascen"));
        m_orderedField = m_editRow;
    } else {
        return;
    }
    m_order = qelGet(row, 1);
    setSortOrder(field, m_order);
}

void BDMCDialog::openEditor(const qelValue& row, const qelValue& descriptor)
{
    qelValue list = control("SelectedListBox");
    qelValue r = qelPerformAction(list, "getSelectedCellRect");
    if (r.isNil())
        return;
    qelValue current = qelGet(row, 2);
    int32_t kind = qelIntValue(qelGet(descriptor, 1));
    qelValue editor;
    qelValue rect;
    if (kind == 1) {
        editor = control("Valor");
        if (editor.isNil())
            return;
        qelPerform(editor, "setText", current.isString() ? current : qelValue(""));
        m_valueEditorOpen = 1;
        rect = r;
    } else {
        editor = control("StringCriteria2");
        if (editor.isNil())
            return;
        int32_t height = qelHeight(r) * 5;
        int32_t top = qelTop(r) + qelHeight(r) + 1;
        if (top + height > m_listBottom)
            top = qelTop(r) - height;
        rect = qelRectValue(qelLeft(r), top, qelWidth(r), height);
        m_valueChoices = fieldValues(qelIntValue(qelGet(descriptor, 2)));
        if (m_valueChoices.type() != QEL_LIST_TYPE)
            m_valueChoices = qelListOf({ qelValue("Todos") });
        qelPerform(editor, "setList", m_valueChoices);
        m_choiceListOpen = 1;
    }
    qelPut(editor, "Hot Spot", rect);
    qelPerformAction(editor, "Initialize");
    // The row's values are chosen once the list is initialised: initialising starts the list's
    // choices afresh, so values chosen before it would not show.
    if (kind != 1 && !isEmptyText(current)) {
        qelValue parts = qelTokenize(current, qelValue(";"));
        qelValue positions = qelNewIntList(4);
        for (int32_t i = 0; i < qelCount(parts); ++i) {
            // A value the field no longer offers is left out.
            int32_t at = qelIndexOf(m_valueChoices, qelGet(parts, i));
            if (at >= 0)
                qelAddItem(positions, qelMakeInt(at));
        }
        qelPerform(editor, "setSelections", positions);
        allValuesChosen = 0;
    }
    setControlHidden(editor, 0);
    setActiveControl(editor, 1);
    if (kind != 1 && isEmptyText(current)) {
        qelPerform(editor, "setSelection", qelMakeInt(0));
        qelPerformAction(editor, "Draw");
        allValuesChosen = 1;
    }
}

void BDMCDialog::closeEditor(const char* name)
{
    qelValue editor = control(name);
    if (editor.isNil())
        return;
    setControlHidden(editor, 1);
    qelPerformAction(editor, "Draw");
    editorFocusGuard = 1;
    setActiveControl(editor, 0);
    editorFocusGuard = 0;
}

void BDMCDialog::checkQuery()
{
    qelValue found = runQuery();
    if (found.isNil() || qelCount(found) == 0)
        qelMessageBox(qelValue(nullSearchMessage));
}

void BDMCDialog::commitNumber()
{
    m_valueEditorOpen = 0;
    qelValue text = qelPerformAction(control("Valor"), "getText");
    closeEditor("Valor");
    qelValue list = control("SelectedListBox");
    int32_t at = qelIntValue(qelPerformAction(list, "getSelection"));
    if (at < 0 || at >= qelCount(m_criteriaList))
        return;
    qelValue row = qelGet(m_criteriaList, at);
    qelValue descriptor = descriptorOfRow(row);
    if (qelCount(descriptor) < 4)
        return;
    m_rowHeight = std::max(m_rowHeight, qelIntValue(qelGet(descriptor, 3)));
    NumberCriterion number = readNumberCriterion(text);
    qelPut(row, 2, isEmptyText(text) ? qelValue("") : number.shown);
    filterNumeric(qelIntValue(qelGet(descriptor, 2)), number.op, number.number);
    qelPerformAction(list, "Draw");
    checkQuery();
}

void BDMCDialog::chooseValues()
{
    qelValue list = control("StringCriteria2");
    if (list.isNil())
        return;
    if (!qelIsTrue(qelPerformAction(list, "dblClicked"))) {
        // A click: "Todos" and the values exclude each other.
        int32_t s = qelIntValue(qelPerformAction(list, "getSelection"));
        if (s == 0 && allValuesChosen == 0) {
            qelPerformAction(list, "clearAllSelections");
            allValuesChosen = 1;
        } else if (s == -1) {
            allValuesChosen = 1;
            qelPerform(list, "setSelection", qelMakeInt(0));
        } else if (allValuesChosen == 1 && s != 0) {
            allValuesChosen = 0;
            qelPerform(list, "unsetSelection", qelMakeInt(0));
        }
        qelPerformAction(list, "Draw");
        m_choiceListOpen = 1;
        return;
    }
    if (editorFocusGuard)
        return;
    qelPerformAction(list, "clearDblClick");
    commitValues();
}

void BDMCDialog::commitValues()
{
    qelValue list = control("StringCriteria2");
    qelValue selections = qelPerformAction(list, "getSelections");
    qelValue text;
    if (qelCount(selections) > 1) {
        text = qelValue("");
        for (int32_t i = 0; i < qelCount(selections); ++i) {
            int32_t at = qelIntAt(selections, i);
            if (at < 0 || at >= qelCount(m_valueChoices))
                continue;
            qelValue value = qelGet(m_valueChoices, at);
            // "Todos" with other values means those values.
            if (value == "Todos")
                continue;
            text = qelCount(text) == 0 ? value : text + ";" + value;
        }
    } else {
        text = qelPerformAction(list, "getSelectionStr");
    }
    m_choiceListOpen = 0;
    closeEditor("StringCriteria2");
    if (!text.isString() || m_editRow < 0 || m_editRow >= qelCount(m_criteriaList))
        return;
    qelValue row = qelGet(m_criteriaList, m_editRow);
    qelValue descriptor = descriptorOfRow(row);
    if (qelCount(descriptor) < 4)
        return;
    int32_t field = qelIntValue(qelGet(descriptor, 2));
    // The query holds what the row shows: the new values replace the field's earlier ones.
    removeCriterion(field);
    addTextCriterion(field, text);
    qelPut(row, 2, text == "Todos" || qelCount(text) == 0 ? qelValue("") : text);
    qelPerformAction(control("SelectedListBox"), "Draw");
    checkQuery();
}

void BDMCDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    const char* open = m_valueEditorOpen ? "Valor" : m_choiceListOpen ? "StringCriteria2" : nullptr;
    if (open) {
        qelValue hotSpot = qelGet(control(open), "Hot Spot");
        int32_t localX = x - getInt("Origin X", 0);
        int32_t localY = y - getInt("Origin Y", 0);
        bool inside = !hotSpot.isNil() && localX >= qelLeft(hotSpot) && localY >= qelTop(hotSpot)
            && localX < qelLeft(hotSpot) + qelWidth(hotSpot) && localY < qelTop(hotSpot) + qelHeight(hotSpot);
        if (!inside) {
            m_valueEditorOpen = 0;
            m_choiceListOpen = 0;
            closeEditor(open);
            return;
        }
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

void BDMCDialog::key(int32_t code, int32_t modifiers)
{
    bool editorOpen = m_valueEditorOpen || m_choiceListOpen;
    if (code == enterKey && editorOpen) {
        if (m_valueEditorOpen) {
            commitNumber();
        } else {
            // Enter takes the values chosen, as a double click does.
            commitValues();
        }
        return;
    }
    if (code == escapeKey) {
        if (editorOpen) {
            const char* open = m_valueEditorOpen ? "Valor" : "StringCriteria2";
            m_valueEditorOpen = 0;
            m_choiceListOpen = 0;
            closeEditor(open);
        } else {
            handleAction(control("Cancelar"), qelValue("Cancelar"));
        }
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}

qelValue BDMCDialog::getValue()
{
    m_result = qelNil;
    if (m_criteriaTable.type() != QEL_TABLE_TYPE || qelCount(m_criteriaTable) <= 1)
        return m_result;
    qelValue found = runQuery();
    if (found.isNil() || qelCount(found) == 0)
        return m_result;
    m_result = qelTable(4, 100, 75);
    qelPut(m_result, "Name", m_searchName);
    qelPut(m_result, "Tipo", m_searchKind);
    qelPut(m_result, "BR Cond", m_regionCondition);
    qelPut(m_result, "Criteria Table", m_criteriaTable);
    qelPut(m_result, "Criteria List", m_criteriaList);
    qelPut(m_result, "FieldsUsed", shownFields());
    qelPut(m_result, "DBase2Use", qelMakeInt(databaseKind()));
    qelPut(m_result, "DataRecs", found);
    qelPut(m_result, "RowHeight", qelMakeInt(m_rowHeight));
    qelPut(m_result, "Ordered Field", qelMakeInt(m_orderedField));
    qelPut(m_result, "Order", m_order);
    return m_result;
}

void BDMCDialog::saveSearch()
{
    qelValue contents = qelMakeList(8, 100, QEL_GENERAL_LIST);
    for (int32_t i = 0; i < qelCount(m_criteriaList); ++i) {
        qelValue row = qelGet(m_criteriaList, i);
        qelValue sort = qelGet(row, 1);
        qelAddItem(contents, isEmptyText(sort) ? qelGet(row, 0) : qelGet(row, 0) + "\t(" + sort + ")");
        qelValue criterion = qelGet(row, 2);
        if (isEmptyText(criterion))
            continue;
        qelValue parts = qelTokenize(criterion, qelValue(";"));
        for (int32_t k = 0; k < qelCount(parts); ++k)
            qelAddItem(contents, qelValue("->") + qelGet(parts, k));
    }
    qelValue search = qelTable(4, 100, 75);
    qelPut(search, "Name", m_searchName);
    qelPut(search, "Tipo", m_searchKind);
    qelPut(search, "BR Cond", m_regionCondition);
    // Copies: the rows edited after saving stay out of the saved search.
    qelPut(search, "Criteria Table", qelCopy(m_criteriaTable));
    qelPut(search, "Criteria List", qelCopy(m_criteriaList));
    qelPut(search, "Contents", contents);
    qelPut(search, "Ordered Field", qelMakeInt(m_orderedField));
    qelPut(search, "Order", m_order);
    addSavedSearch(m_searchKind, search);
}
