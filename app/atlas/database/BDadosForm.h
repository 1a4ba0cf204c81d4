#pragma once

// The result table of a database search: a fixed key column on the left (the search's first
// field), up to eight data columns to its right, one row per record, each column as wide as its
// heading picture and the last one cut at x 625. The horizontal scroller moves through the
// fields, the vertical one through the records (the arrow keys, Page Up/Down, Home and End do
// the same; with Shift, Home, End and the page keys move sideways). "Info" and "Fontes" show the
// notes or sources panel of the database, "Imprimir" prints the whole table in bands of columns
// and pages of rows, "Modificar" reopens the search in the criteria dialog.
//
// Open data: the table the criteria dialog answers ("DataRecs", "FieldsUsed", "Criteria List",
// "DBase2Use", "RowHeight", "Ordered Field", "Order", "Tipo", "Name", "BR Cond"); data without
// "DataRecs" steps back in the history. The table is also what the history keeps of the screen
// (with "History Text" put in), so going back to it shows the same result.
//
// A column's heading criterion and sort mark belong to its field: the shown rows of "Criteria
// List" (shown flag 1) are the columns in order, whatever hidden rows lie between them.

#include "app/atlas/database/DBTableLayout.h"
#include "app/shell/BarraMenuForm.h"

#include <array>

class BDadosForm : public BarraMenuForm {
    VELARIM_CLASS(BDadosForm, BarraMenuForm)
public:
    static constexpr int32_t columnSlots = 8;

    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    virtual void refill(const qelValue& data);
    qelValue historyText() override { return m_data; }
    void key(int32_t code, int32_t modifiers) override;
    int32_t helpContext() override { return -1; }
    // Prints the whole result (every record, every field of the search).
    virtual void print();

    void layoutColumns(int32_t topRow);
    void setupScrollers();
    void scrollHorizontal();
    void scrollVertical();

    int32_t columnField(int32_t slot) const { return m_columnField[slot]; }
    const DBTableLayout& columnLayout(int32_t slot) const { return m_columnLayouts[slot]; }
    const DBTableLayout& headerLayout() const { return m_headerLayout; }
    int32_t topRow() const { return m_topRow; }
    int32_t firstColumn() const { return m_firstColumn; }
    int32_t rowsPerPage() const { return m_rowsPerPage; }
    const qelValue& title() const { return m_title; }
    int32_t panelOpen() const { return m_panelOpen; }

    // The criterion text of the column at that position of "FieldsUsed" (nil for none), and
    // whether the result is sorted by it.
    qelValue columnCriterion(int32_t position) const;
    bool isSortedColumn(int32_t position) const;

    // "Página " + page + band letter + " de " + pages: the letter is a blank on the first band,
    // then "a" .. "z", "aa" .. for the following ones.
    static qelValue pageLabel(int32_t page, int32_t band, int32_t pages);
    // The pages of rows a printout of that many records takes: as many as the rows fill, at
    // least one (an exact fill adds no empty page).
    static int32_t rowPageCount(int32_t records, int32_t rowsPerPage);
    // The title shown: the search's name; for a region or bloc search, the region or bloc
    // ("U.E." for "União Européia") + " - " + the name.
    static qelValue resultTitle(const qelValue& kind, const qelValue& condition, const qelValue& name);

private:
    void openPanel(const char* countriesPanel, const char* statesPanel);
    void closePanel(const qelValue& button);
    void setHidden(const qelValue& control, bool hidden);
    qelValue scroller(const char* name);
    qelValue notesTable();
    void placeHeading(DBTableLayout& layout, int32_t position, const qelValue& notes);
    void printPages();
    void printHeading(const qelValue& heading, const qelValue& orderImage, int32_t x, int32_t y, const qelValue& criterion);
    // The row of "Criteria List" that gives the column at that position its criterion.
    qelValue criterionRow(int32_t position) const;

    qelValue m_records;
    qelValue m_order;
    DBTableLayout m_headerLayout;
    std::array<DBTableLayout, columnSlots> m_columnLayouts;
    std::array<int32_t, columnSlots> m_columnField {};
    std::array<int32_t, columnSlots> m_columnSlot {};
    int32_t m_topRow { 0 };
    int32_t m_firstColumn { 1 };
    int32_t m_rowsPerPage { 7 };
    int32_t m_rowHeight { 3 };
    int32_t m_keyField { 0 };
    int32_t m_orderedPosition { 0 };
    int32_t m_fieldCount { 0 };
    int32_t m_databaseKind { 0 };
    qelValue m_fields;
    qelValue m_criteriaList;
    qelValue m_openPanel;
    int32_t m_panelOpen { 0 };
    qelValue m_data;
    qelValue m_title;
    qelValue m_kind;
};
