#include "app/atlas/database/DBTableLayout.h"

#include "app/atlas/database/DBFormat.h"
#include "app/atlas/database/DBQuery.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>

namespace {

// Black to the eye: red 1, green 0, blue 0 in the framework's colour values.
constexpr int32_t cellTextColor = 1;
constexpr int32_t noBackground = -1;
// The heading band before a heading image gives its height.
constexpr int32_t defaultHeadingHeight = 53;

bool isEmptyText(const qelValue& text)
{
    return text.isNil() || (text.isString() && qelCount(text) == 0);
}

// The text in the font, in the cells' ink on no background; the port's font and colours come back.
void drawText(const qelValue& text, const qelValue& font, int32_t x, int32_t y, int32_t w, int32_t h, int32_t alignment)
{
    qelValue previousFont = qelSetFont(font);
    int32_t previousColor = qelSetColor(cellTextColor);
    int32_t previousBack = qelSetBackColor(noBackground);
    qelDrawTextInRect(text, x, y, w, h, alignment, 0);
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
}

} // namespace

void DBTableLayout::setup(
    const qelValue& records, int32_t stateDatabase, int32_t linesPerRow, int32_t stripeColor, int32_t printMode)
{
    m_records = records;
    m_stateDatabase = stateDatabase;
    m_stripeColor = stripeColor;
    m_printMode = printMode;
    m_headingImage = qelNil;
    m_headingMark = qelNil;
    m_noteTable = qelNil;
    m_note = qelNil;
    m_columnField = 0;
    m_headingHeight = defaultHeadingHeight;
    m_cellFont = qelFontValue("Verdana", printMode ? 10 : 8, 0);
    m_headingFont = qelFontValue("Verdana", printMode ? 9 : 7, 0);
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t externalLeading = 0;
    qelFontMetrics(m_cellFont, &ascent, &descent, nullptr, nullptr, &externalLeading, nullptr);
    m_rowHeight = (ascent + descent + externalLeading) * linesPerRow;
    m_recordsIsList = records.type() == QEL_LIST_TYPE ? 1 : 0;
}

void DBTableLayout::setHeading(int32_t field, const qelValue& order, const qelValue& headingText)
{
    if (field == m_columnField)
        return;
    m_columnField = field;
    int32_t last = m_stateDatabase ? DBQuery::stateFieldCount : DBQuery::countryFieldCount;
    if (field > last)
        return;
    m_headingImage = qelLoadResource(qelValue(m_stateDatabase ? "EHeading" : "PHeading") + field);
    m_headingMark = order.isString() && !(order == "None") ? qelLoadResource(order) : qelNil;
    m_headingText = headingText;
}

void DBTableLayout::setNote(const qelValue& noteTable, int32_t keyField)
{
    m_noteTable = noteTable;
    m_noteKeyField = keyField;
    if (noteTable.isNil())
        m_note = qelNil;
}

int32_t DBTableLayout::scaledWidth(int32_t n) const
{
    if (m_headingImage.isNil())
        return 0;
    return qelWidth(m_headingImage) * n / 75;
}

int32_t DBTableLayout::scaledHeight(int32_t n)
{
    if (m_headingImage.isNil())
        return m_headingHeight;
    m_headingHeight = qelHeight(m_headingImage) * n / 75;
    return m_headingHeight;
}

qelValue DBTableLayout::cellShownText(const qelValue& text, const qelValue& note)
{
    if (isEmptyText(text))
        return qelValue("n.d.");
    if (note.isNil())
        return text;
    if (text == "-")
        return note;
    return text + note;
}

void DBTableLayout::drawCell(const qelValue& text, const qelValue& cell, int32_t alignment)
{
    drawText(cellShownText(text, m_note), m_cellFont, qelLeft(cell), qelTop(cell), qelWidth(cell), qelHeight(cell),
        alignment);
}

void DBTableLayout::drawColumn()
{
    if (m_frame.isNil())
        return;
    int32_t left = qelLeft(m_frame);
    int32_t top = qelTop(m_frame);
    int32_t width = qelWidth(m_frame);
    int32_t height = qelHeight(m_frame);
    int32_t bottom = top + height;
    int32_t count = m_recordsIsList ? qelCount(m_records) : 0;
    int32_t row = m_firstRow < 0 ? 0 : m_firstRow;
    int32_t cellTop = top + m_headingHeight + 2;
    // Why: a row height of 0 (a font without metrics) would never reach the frame's bottom.
    int32_t step = m_rowHeight > 0 ? m_rowHeight : 1;
    while (cellTop < bottom && row < count) {
        if (!m_printMode)
            qelClipRect(left + 2, cellTop, width - 4, std::min(m_rowHeight, bottom - cellTop));
        qelValue cell = qelRectValue(left + 2, cellTop, width - 4, m_rowHeight);
        qelValue record = qelGet(m_records, row);
        if (row % 2 == 1)
            qelRectangle(left + 2, cellTop, width - 4, m_rowHeight, m_stripeColor);
        if (!m_noteTable.isNil()) {
            qelValue key = m_noteKeyField < qelCount(record) ? qelGet(record, m_noteKeyField) : qelNil;
            m_note = qelContainsKey(m_noteTable, key) ? qelGet(m_noteTable, key) : qelValue(" ");
        }
        DBCellText cellText = dbCellText(record, m_stateDatabase, m_columnField);
        if (dbFieldFormatter(m_stateDatabase, m_columnField) != DBFormatter::None)
            drawCell(cellText.text, cell, cellText.alignment);
        ++row;
        cellTop += step;
        if (!m_printMode)
            qelResetClip();
    }
    if (!m_printMode) {
        qelClipRect(left, top, width, height);
        if (!m_headingImage.isNil())
            qelShowImageAt(m_headingImage, left, top, 0, 0, 0, 0);
        if (m_headingText.isString() && qelCount(m_headingText) > 0) {
            int32_t w = 0;
            int32_t h = 0;
            qelMeasureString("|", m_headingFont, &w, &h);
            int32_t imageHeight = m_headingImage.isNil() ? m_headingHeight : qelHeight(m_headingImage);
            drawText(m_headingText, m_headingFont, left + 1, top + imageHeight - h - 2, width - 2, h, dbAlignLeft);
        }
        if (!m_headingMark.isNil())
            qelShowImageAt(m_headingMark, left + width - qelWidth(m_headingMark), top, 0, 0, 0, 0);
    }
    // The separator in the cells' ink, whatever colour the port was left with.
    int32_t previousColor = qelSetColor(cellTextColor);
    qelDrawLine(left + width - 1, top, left + width - 1, bottom);
    qelSetColor(previousColor);
    if (!m_printMode)
        qelResetClip();
}
