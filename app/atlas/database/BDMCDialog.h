#pragma once

// The criteria dialog of the country and state database: the user picks the fields the result
// table shows (double click in "FieldsListBox"), the sorted field (the sort cell of a row cycles
// "" -> "Ascen" -> "Desc" -> ""), a criterion per field (a number typed in "Valor" over the
// cell, ">= 1,5" with the decimal comma, or values chosen in the multi-selection list
// "StringCriteria2") and whether a field is a column or only filters. The dialog is the query
// itself (DBFileStruct): every edit reaches the query at once, and after each committed
// criterion the query is run so that a search that finds nothing is told at once.
//
// Opened with a search table: a new one ("Name", "Tipo", and "BR Cond" for a region or bloc),
// or a saved or current one ("Criteria Table", "Criteria List", "Ordered Field", "Order"), which
// is re-applied row by row; "Abrir" true runs it without showing the editor. The answer is the
// result table (the search and its "DataRecs") or nil when cancelled, when only the name row is
// there or when the search finds nothing.
//
// Criterion rows are lists [field name, sort text, criterion text, shown flag]; row 0 is always
// the name field ("País" or "Estado"). Field descriptors (the resource's "Países" and "Estados")
// are [two-character prefix + name, kind (0 text, 1 number, 2 none), field number, row height];
// a descriptor of one element is a heading line.

#include "app/atlas/database/DBFileStruct.h"

class BDMCDialog : public DBFileStruct {
    VELARIM_CLASS(BDMCDialog, DBFileStruct)
public:
    void draw() override;
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return getValue(); }
    int32_t helpContext() override { return 32; }

    // The result table, or nil.
    qelValue getValue();

    // A number criterion as typed: the operator, the number and the text the row shows.
    struct NumberCriterion {
        qelValue op;
        float number { 0 };
        qelValue shown;
    };
    static NumberCriterion readNumberCriterion(const qelValue& text);

    const qelValue& criteriaList() const { return m_criteriaList; }
    int32_t orderedField() const { return m_orderedField; }
    const qelValue& order() const { return m_order; }

private:
    void handleAction(const qelValue& control, const qelValue& name);
    void newCriteria(const qelValue& data, bool openQuery);
    void refreshCriteriaList();
    int32_t findFieldByName(const qelValue& name) const;
    void applyRegionCondition();
    void pickField();
    void editRow();
    void cycleSort(const qelValue& row, int32_t field);
    void openEditor(const qelValue& row, const qelValue& descriptor);
    void commitNumber();
    void chooseValues();
    void commitValues();
    void closeEditor(const char* name);
    void checkQuery();
    void saveSearch();
    qelValue descriptorOfRow(const qelValue& row) const;
    qelValue control(const char* name);

    qelValue m_fieldList;
    qelValue m_criteriaTable;
    qelValue m_criteriaList;
    qelValue m_currentField;
    qelValue m_result;
    int32_t m_valueEditorOpen { 0 };
    int32_t m_choiceListOpen { 0 };
    qelValue m_valueChoices;
    int32_t m_rowHeight { 0 };
    int32_t m_listBottom { 0 };
    qelValue m_searchKind;
    qelValue m_regionCondition;
    qelValue m_searchName;
    int32_t m_orderedField { 0 };
    qelValue m_order;
    int32_t m_editRow { 0 };
};
