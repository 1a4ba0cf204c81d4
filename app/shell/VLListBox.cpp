#include "app/shell/VLListBox.h"

#include "app/shell/DBLists.h"
#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/runtime/Builtins.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

VLListBox::VLListBox(const qelValue& data)
    : ListBox(data)
{
}

VLListBox::~VLListBox()
{
    if (m_lists)
        m_lists->clearNameList();
}

qelValue VLListBox::nameOf(const qelValue& key) const
{
    return m_lists ? m_lists->kindNameListGet(m_kind, key) : qelNil;
}

void VLListBox::setProperty(const qelValue& key, const qelValue& value)
{
    ListBox::setProperty(key, value);
    // The once-only set-up would keep the old items: a new list gets the list box's set-up.
    if (m_loaded && key == "List" && !value.isNil())
        ListBox::rebuild();
}

void VLListBox::rebuild()
{
    if (m_loaded)
        return;
    if (hasProperty("dbID"))
        m_kind = getInt("dbID", m_kind);
    ListBox::rebuild();
    m_lists = &DBLists::instance();
    m_lists->loadNameList(m_kind);
    m_loaded = 1;
}

int32_t VLListBox::key(int32_t code, int32_t modifiers)
{
    int32_t count = itemCount();
    int32_t letter = qelLowerKey(code);
    if (letter < 'a' || letter > 'z')
        return ListBox::key(letter, modifiers);
    if (count < 2)
        return 0;
    qelUiSetCursor(qelWaitCursor());
    int32_t found
        = qelFirstLetterMatch(count, selection, letter, [this](int32_t i) { return nameOf(qelGet(list, i)); });
    if (found >= 0) {
        setSelection(found, getSelectionState(found), 1, 1);
        qelUiSetCursor(qelNil);
        return getBool("SingleClickNotify", 0);
    }
    qelUiSetCursor(qelNil);
    return ListBox::key(letter, modifiers);
}

void VLListBox::drawItem(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    qelValue name = nameOf(qelGet(items, index));
    if (highlighted) {
        qelSetBackColor(selectionColor);
        qelRectangle(x - 1, y, w + 1, h + 2, selectionColor);
        qelSetColor(selectionTextColor);
    }
    // A key without a name (or a kind without a name list) leaves its row blank.
    if (name.isString())
        qelDrawTextInRect(name, x, y, 0, 0, 0, 1);
    qelSetColor(textColor);
    qelSetBackColor(backColor);
}

qelValue VLListBox::getSelectionStr()
{
    int32_t count = itemCount();
    if (count < 1 || selection < 0 || selection >= count)
        return qelNil;
    return nameOf(qelGet(list, selection));
}
