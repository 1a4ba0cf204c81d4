#include "app/shell/TabbedListBox.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

TabbedListBox::TabbedListBox(const qelValue& data)
    : ListBox(data)
{
}

TabbedListBox::~TabbedListBox() = default;

void TabbedListBox::rebuild()
{
    ListBox::rebuild();
    m_invade = getBool("Invade", 0);
    m_indent = getInt("Ident", 30);
    m_secondaryFont = getProperty("2aryFont");
    m_selectionImage = imageProperty("SelectionImage");
}

namespace {

bool startsWithArrow(const qelValue& text)
{
    return text.isString() && qelCount(text) >= 2 && qelCharAt(text, 0) == '-' && qelCharAt(text, 1) == '>';
}

} // namespace

void TabbedListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    qelClipRect(x - 1, y, w + 1, h + 2);
    if (highlighted) {
        if (m_selectionImage.isNil()) {
            qelSetBackColor(selectionColor);
            qelRectangle(x - 1, y, w + 1, h + 4, selectionColor);
            qelSetColor(selectionTextColor);
        } else {
            qelShowImageAt(m_selectionImage, x, y, w, h + 2, 0, 0);
        }
    }
    qelValue item = qelGet(items, index);
    qelValue text = qelValueToString(item.type() == QEL_LIST_TYPE ? qelGet(item, 0) : item);
    qelValue columns = qelTokenize(text, "\t");
    qelValue tabs = getProperty("TabList");
    int32_t columnCount = qelCount(columns);
    // Only columns with a tab stop are drawn; a box without "TabList" shows no text.
    int32_t tabCount = tabs.type() == QEL_LIST_TYPE ? qelCount(tabs) : 0;

    qelValue savedFont;
    bool fontSwitched = false;
    for (int32_t i = 0; i < columnCount && i < tabCount; ++i) {
        int32_t left = qelIntValue(qelGet(tabs, i));
        int32_t columnWidth = i + 1 < tabCount ? qelIntValue(qelGet(tabs, i + 1)) - left : w;
        if (m_invade && i == columnCount - 1)
            columnWidth = w;
        qelValue column = qelGet(columns, i);
        bool indented = startsWithArrow(column);
        if (indented) {
            column = qelRight(column, -2);
            left += m_indent;
            columnWidth -= m_indent;
        }
        qelResetClip();
        qelClipRect(left, y, columnWidth, h + 2);
        // The secondary font, once switched to, stays for the rest of the row.
        if (!fontSwitched && !m_secondaryFont.isNil() && (i > 0 || indented)) {
            savedFont = qelSetFont(m_secondaryFont);
            fontSwitched = true;
        }
        qelDrawTextInRect(column, left + 2, y, columnWidth - 4, 0, 0, 1);
    }
    if (fontSwitched)
        qelSetFont(savedFont);
    qelSetColor(textColor);
    qelSetBackColor(backColor);
    qelResetClip();
}
