#pragma once

// The result table of the database drawn one column at a time: the fonts, the geometry, the
// heading image (whose size scales the columns), the sort mark and the notes with which the
// result form and its printout draw the records. Each cell is written by the field's formatter
// (DBFormat.h); odd rows of the record list are striped.

#include "framework/runtime/Value.h"

#include <cstdint>

class DBTableLayout {
public:
    DBTableLayout() = default;
    // The values are released in the reverse order of their declaration.
    virtual ~DBTableLayout() = default;
    DBTableLayout(const DBTableLayout&) = delete;
    DBTableLayout& operator=(const DBTableLayout&) = delete;

    // A new result: the records, which formatter table, the lines per row, the stripe colour and
    // whether the table goes to the printer (larger fonts, no clipping, no headings).
    void setup(const qelValue& records, int32_t stateDatabase, int32_t linesPerRow, int32_t stripeColor,
        int32_t printMode);
    // The column's field; its heading image ("EHeading"/"PHeading" + field), the sort mark named
    // by the order text (none for "None") and the heading text. The current field changes nothing.
    void setHeading(int32_t field, const qelValue& order, const qelValue& headingText);
    void setFirstRow(int32_t row) { m_firstRow = row; }
    void setRect(const qelValue& frame) { m_frame = frame; }
    // A table from the value of the record's keyField to a note appended to the cells; nil for
    // none.
    void setNote(const qelValue& noteTable, int32_t keyField);
    qelValue headingImage() const { return m_headingImage; }
    // The heading image's width or height times n / 75 (integer division); the height is kept
    // as the heading band's height.
    int32_t scaledWidth(int32_t n) const;
    int32_t scaledHeight(int32_t n);

    virtual void drawColumn();
    // One cell: an empty text reads "n.d."; a note replaces a "-" and is appended to any other.
    void drawCell(const qelValue& text, const qelValue& cell, int32_t alignment);

    int32_t rowHeight() const { return m_rowHeight; }
    int32_t headingHeight() const { return m_headingHeight; }
    int32_t firstRow() const { return m_firstRow; }
    int32_t columnField() const { return m_columnField; }
    const qelValue& headingText() const { return m_headingText; }
    const qelValue& headingMark() const { return m_headingMark; }

    // The text a cell shows once the note is applied (drawCell's rule).
    static qelValue cellShownText(const qelValue& text, const qelValue& note);

private:
    int32_t m_rowHeight { 0 };
    int32_t m_headingHeight { 0 };
    int32_t m_firstRow { 0 };
    int32_t m_noteKeyField { 0 };
    int32_t m_columnField { 0 };
    qelValue m_cellFont;
    qelValue m_headingFont;
    qelValue m_records;
    qelValue m_headingImage;
    qelValue m_headingMark;
    qelValue m_noteTable;
    qelValue m_note;
    qelValue m_headingText;
    qelValue m_frame;
    int32_t m_recordsIsList { 0 };
    int32_t m_printMode { 0 };
    int32_t m_stateDatabase { 0 };
    int32_t m_stripeColor { 0 };
};
