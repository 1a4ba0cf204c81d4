#include "framework/ui/Table.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

namespace {

constexpr int32_t defaultColour = 1;
constexpr int32_t defaultDownColour = 255;

qelListObject* listOf(const qelValue& value)
{
    return value.type() == QEL_LIST_TYPE ? qelListObjectOf(value) : nullptr;
}

bool has(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t && t->find(key) >= 0;
}

qelValue field(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->get(key) : qelNil;
}

// An int field, else the default.
int32_t intField(const qelValue& table, const char* key, int32_t defaultValue)
{
    qelValue v = field(table, key);
    return v.type() == QEL_INT_TYPE ? v.payload() : defaultValue;
}

void putField(const qelValue& table, const char* key, const qelValue& value)
{
    if (qelTableObject* t = qelTableOf(table))
        t->put(key, value);
}

} // namespace

Table::Table(const qelValue& data)
    : qelMediaControlObject(data)
{
}

Table::~Table() = default;

int32_t Table::alignmentOf(const qelValue& table, int32_t defaultValue)
{
    if (!has(table, "Align"))
        return defaultValue;
    qelValue align = field(table, "Align");
    if (align == "Center")
        return 1;
    if (align == "Right")
        return 2;
    // "setAlign" stores numbers: 1 and 2 keep their meaning.
    if (align.type() == QEL_INT_TYPE && (align.payload() == 1 || align.payload() == 2))
        return align.payload();
    return 0;
}

qelValue Table::rowsList()
{
    qelValue rows = getProperty("Rows");
    return listOf(rows) ? rows : qelNil;
}

qelValue Table::ensureRows()
{
    qelValue rows = rowsList();
    if (rows.isNil()) {
        rows = qelMakeList(4, 100, QEL_GENERAL_LIST);
        setProperty("Rows", rows);
    }
    return rows;
}

qelValue Table::controlFont()
{
    qelValue font = getProperty("Font");
    return font.isNil() ? qelDefaultFont() : font;
}

void Table::layoutRows(const qelValue& rows, int32_t count)
{
    qelValue spot = hotSpot();
    int32_t left = spot.isNil() ? 0 : qelLeft(spot);
    int32_t top = spot.isNil() ? 0 : qelTop(spot);
    int32_t width = spot.isNil() ? 0 : qelWidth(spot);
    int32_t height = spot.isNil() ? 0 : qelHeight(spot);
    if (savedScreen.type() == QEL_IMAGE_TYPE)
        qelShowImageAt(savedScreen, left, top, 0, 0, 0, 0);
    savedScreen = qelNil;
    qelValue font = controlFont();
    qelListObject* list = listOf(rows);
    int64_t y = top;
    for (int32_t i = 0; list && i < count && i < list->count; ++i) {
        qelValue row = list->elementAt(i);
        int32_t w = intField(row, "Width", width);
        int32_t h = intField(row, "Height", height);
        qelValue rowFont = field(row, "Font");
        if (rowFont.isNil())
            rowFont = font;
        qelValue text = field(row, "Value");
        qelValue noWrap = field(row, "NoWrap");
        if (noWrap.type() == QEL_BOOLEAN_TYPE && noWrap.payload()) {
            int32_t measuredWidth = 0;
            qelMeasureString(text, rowFont, &measuredWidth, &h);
        } else {
            int32_t measuredWidth = w;
            qelDrawTextMeasure(text, rowFont, &measuredWidth, &h);
        }
        putField(row, "Rect", qelRectValue(left, qelClampInt(y, INT32_MIN, INT32_MAX), w, h));
        y += h;
    }
    int64_t total = y - top;
    if (total > 0) {
        setBool("Disabled", 0);
        setProperty("Hot Spot", qelRectValue(left, top, width, qelClampInt(total, 0, INT32_MAX)));
    } else {
        setBool("Disabled", 1);
    }
    needsLayout = 0;
}

void Table::drawRow(const qelValue& row, const qelValue& font, int32_t colour, int32_t alignment, bool pressed)
{
    qelValue rect = field(row, "Rect");
    if (rect.type() != QEL_REGION_TYPE)
        return;
    qelValue rowFont = field(row, "Font");
    qelSetFont(rowFont.isNil() ? font : rowFont);
    int32_t c = pressed ? getInt("DownColor", defaultDownColour) : intField(row, "Color", colour);
    qelSetColor(c);
    // A row measured as one line is drawn as one line: wrapped, its text would run over the rows
    // below it.
    qelValue noWrap = field(row, "NoWrap");
    int32_t wrap = noWrap.type() == QEL_BOOLEAN_TYPE && noWrap.payload() ? 0 : 1;
    qelDrawTextInRect(field(row, "Value"), qelLeft(rect), qelTop(rect), qelWidth(rect), qelHeight(rect),
        alignmentOf(row, alignment), wrap);
}

void Table::draw()
{
    qelValue rows = rowsList();
    if (rows.isNil())
        return;
    int32_t count = listOf(rows)->count;
    if (count == 0) {
        if (needsLayout)
            layoutRows(rows, 0);
        return;
    }
    if (needsLayout)
        layoutRows(rows, count);
    qelValue spot = hotSpot();
    if (spot.isNil())
        return;
    if (savedScreen.type() != QEL_IMAGE_TYPE)
        savedScreen = qelGrabWindowImage(qelLeft(spot), qelTop(spot), qelWidth(spot), qelHeight(spot));
    else
        qelShowImageAt(savedScreen, qelLeft(spot), qelTop(spot), 0, 0, 0, 0);
    qelValue font = controlFont();
    int32_t colour = getInt("Color", defaultColour);
    int32_t alignment = alignmentOf(properties, 0);
    qelValue previousFont = qelSetFont(font);
    int32_t previousColour = qelSetColor(colour);
    int32_t previousBack = qelSetBackColor(-1);
    qelListObject* list = listOf(rows);
    for (int32_t i = 0; i < list->count; ++i)
        drawRow(list->elementAt(i), font, colour, alignment, i == pressedRow);
    qelSetFont(previousFont);
    qelSetColor(previousColour);
    qelSetBackColor(previousBack);
}

int32_t Table::rowAt(int32_t x, int32_t y)
{
    qelListObject* list = listOf(rowsList());
    for (int32_t i = 0; list && i < list->count; ++i) {
        if (qelRegionHolds(field(list->elementAt(i), "Rect"), x, y))
            return i;
    }
    return -1;
}

void Table::refresh()
{
    draw();
    qelUiUpdateWindow();
}

int32_t Table::track(int32_t x, int32_t y, int32_t, int32_t)
{
    if (!isEnabled())
        return 0;
    int32_t first = rowAt(x, y);
    pressedRow = first;
    refresh();
    if (first == -1)
        return 0;
    int32_t last = first;
    trackStart();
    qelFollowDrags([&](int32_t px, int32_t py) {
        last = rowAt(px, py);
        pressedRow = last == first ? first : -1;
        refresh();
        trackChanged();
    });
    // The rows may have changed under the press (a form's handler); only a row still there counts.
    qelListObject* rows = listOf(rowsList());
    if (pressedRow != -1 && rows && pressedRow < rows->count)
        action = field(rows->elementAt(pressedRow), "Action");
    pressedRow = -1;
    refresh();
    trackEnd();
    return last == first ? 1 : 0;
}

qelValue Table::perform(const qelValue& verb, const qelValue& data)
{
    // The row index of the row-level set verbs counts only as an int; -1 means the control.
    auto rowIndex = [&] { return intField(data, "Row", -1); };
    auto rowAtIndex = [&](int32_t n) { return qelGet(rowsList(), n); };
    if (verb == "addRow") {
        qelAddItem(ensureRows(), data);
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "deleteRow") {
        qelValue rows = rowsList();
        if (!rows.isNil()) {
            qelValue row = qelGet(rows, qelIntValue(data));
            // Every occurrence of that same row goes.
            if (!row.isNil())
                listOf(rows)->remove(row);
        }
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "removeAllRows") {
        setProperty("Rows", qelMakeList(4, 100, QEL_GENERAL_LIST));
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "setRow") {
        qelValue rows = ensureRows();
        int32_t n = qelIntValue(field(data, "Row"));
        if (n == -1)
            qelAddItem(rows, field(data, "Value"));
        else
            qelPut(rows, n, field(data, "Value"));
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "setRows") {
        setProperty("Rows", data);
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "getRow")
        return rowAtIndex(qelIntValue(data));
    if (verb == "setValue") {
        putField(rowAtIndex(qelIntValue(field(data, "Row"))), "Value", field(data, "Value"));
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "setWidth" || verb == "setHeight") {
        bool isWidth = verb == "setWidth";
        int32_t n = rowIndex();
        int32_t size = intField(data, isWidth ? "Width" : "Height", 0);
        if (n == -1) {
            qelValue spot = hotSpot();
            if (!spot.isNil())
                setProperty("Hot Spot",
                    qelRectValue(qelLeft(spot), qelTop(spot), isWidth ? size : qelWidth(spot),
                        isWidth ? qelHeight(spot) : size));
        } else {
            putField(rowAtIndex(n), isWidth ? "Width" : "Height", qelValue(size));
        }
        needsLayout = 1;
        return qelNil;
    }
    if (verb == "setFont" || verb == "setColor" || verb == "setAlign") {
        const char* key = verb == "setFont" ? "Font" : verb == "setColor" ? "Color" : "Align";
        qelValue value = field(data, key);
        if (verb == "setColor")
            value = qelValue(intField(data, "Color", defaultColour));
        else if (verb == "setAlign")
            value = qelValue(intField(data, "Align", 0));
        int32_t n = rowIndex();
        if (n == -1)
            setProperty(key, value);
        else
            putField(rowAtIndex(n), key, value);
        // Colour and alignment do not move rows.
        if (verb == "setFont")
            needsLayout = 1;
        return qelNil;
    }
    if (verb == "getAction")
        return action;
    return qelMediaControlObject::perform(verb, data);
}
