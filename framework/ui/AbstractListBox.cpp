#include "framework/ui/AbstractListBox.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

AbstractListBox::AbstractListBox(const qelValue& data)
    : qelMediaControlObject(data)
{
}

AbstractListBox::~AbstractListBox() = default;

int32_t AbstractListBox::itemCount() const
{
    return list.type() == QEL_LIST_TYPE ? qelCount(list) : 0;
}

int32_t AbstractListBox::visibleRows() const
{
    return qelVisibleRows(height, itemHeight);
}

int32_t AbstractListBox::rowAt(int32_t y)
{
    int64_t offset = int64_t(y) - top - getInt("TextTopMargin", 0);
    return qelClampInt(int64_t(qelDivide(offset, itemHeight)) + topIndex, INT32_MIN, INT32_MAX);
}

void AbstractListBox::refreshWindow()
{
    qelUiUpdateWindow();
}

void AbstractListBox::rebuild()
{
    qelValue spot = hotSpot();
    left = spot.isNil() ? 0 : qelLeft(spot);
    top = spot.isNil() ? 0 : qelTop(spot);
    width = spot.isNil() ? 0 : qelWidth(spot);
    height = spot.isNil() ? 0 : qelHeight(spot);
    font = getProperty("Font");
    selection = -1;
    topIndex = 0;

    backColor = getInt("BackgroundColor", -1);
    borderFillColor = getInt("BackgroundColor", 0xFFFFFF);
    textColor = getInt("TextColor", 1);
    selectionColor = getInt("SelectionColor", 0xFFFF00);
    selectionTextColor = getInt("SelectionTextColor", 0xFFFFFF);
    outlineColor = getInt("OutlineColor", 0x808080);
    borderColor = getInt("BorderColor", 1);
    drawBorder = getBool("DrawBorder", 0);
    moveableSelection = getBool("MoveableSelection", 0);
    singleClickNotify = getBool("SingleClickNotify", 0);
    doubleClickNotify = getBool("DoubleClickNotify", 1);

    itemHeight = qelListRowHeight(*this, font);

    if (backgroundImage.isNil()) {
        thumbImage = imageProperty("ThumbImage");
        if (!thumbImage.isNil()) {
            scrollBarWidth = qelWidth(thumbImage);
            setInt("ScrollBarWidth", scrollBarWidth);
        }
        thumbHighlight = imageProperty("ThumbHighlight");
        backgroundImage = imageProperty("BackgroundImage");
        scrollBarImage = imageProperty("ScrollBarImage");
        if (!scrollBarImage.isNil()) {
            scrollBarWidth = qelWidth(scrollBarImage);
            setInt("ScrollBarWidth", scrollBarWidth);
        }
    }

    int32_t barLeft = left + width - scrollBarWidth;
    upArrowRegion = regionProperty("UpArrowRegion");
    if (upArrowRegion.isNil()) {
        upArrowImage = imageProperty("UpArrowImage");
        if (!upArrowImage.isNil())
            upArrowRegion = qelRectValue(barLeft, top, qelWidth(upArrowImage), qelHeight(upArrowImage));
    }
    downArrowRegion = regionProperty("DownArrowRegion");
    if (downArrowRegion.isNil()) {
        downArrowImage = imageProperty("DownArrowImage");
        if (!downArrowImage.isNil()) {
            int32_t h = qelHeight(downArrowImage);
            downArrowRegion = qelRectValue(barLeft, top + height - h, qelWidth(downArrowImage), h);
        }
    }
    scrollBarRegion = qelScrollBarArea(*this, barLeft, top, scrollBarWidth, height);
    if (scrollBarImage.isNil())
        scrollBarImage = qelScrollBarStrip(*this, scrollBarRegion);

    borderRect = qelRectValue(left - 1, top - 1, width + 1, height + 1);
    selection = getInt("SelectionIndex", -1);
    list = getProperty("List");
    if (list.type() != QEL_LIST_TYPE || !list.object())
        list = qelMakeList(4, 100, QEL_GENERAL_LIST);
    initialized = 1;
}

void AbstractListBox::setProperty(const qelValue& key, const qelValue& value)
{
    qelMediaControlObject::setProperty(key, value);
    if (key == "List" && !value.isNil() && initialized)
        rebuild();
}

int32_t AbstractListBox::canActivate()
{
    return itemCount() > 0;
}

void AbstractListBox::activate()
{
    qelMediaControlObject::activate();
    active = 1;
    if (itemCount() > 0)
        draw();
}

void AbstractListBox::deactivate()
{
    qelMediaControlObject::deactivate();
    active = 0;
    draw();
}

qelValue AbstractListBox::getCursor()
{
    return itemCount() > 0 ? qelMediaControlObject::getCursor() : qelNil;
}

void AbstractListBox::setSelectionState(int32_t index, int32_t, int32_t redraw, int32_t refresh)
{
    if (selection == index)
        return;
    selection = index;
    if (index >= 0 && index < itemCount())
        topIndex = qelScrollIntoView(index, topIndex, visibleRows());
    if (redraw) {
        draw();
        if (refresh)
            refreshWindow();
    }
}

void AbstractListBox::unsetSelection(int32_t index, int32_t redraw, int32_t refresh)
{
    setSelectionState(index, 0, redraw, refresh);
}

qelValue AbstractListBox::getSelectionStr()
{
    if (selection < 0 || selection >= itemCount())
        return qelNil;
    return qelGet(list, selection);
}

void AbstractListBox::selectValue(const qelValue& value, int32_t state, int32_t redraw, int32_t refresh)
{
    int32_t count = itemCount();
    for (int32_t i = 0; i < count; ++i) {
        if (qelGet(list, i) == value) {
            setSelection(i, state, redraw, refresh);
            return;
        }
    }
}

void AbstractListBox::setSelection(int32_t index, int32_t state, int32_t redraw, int32_t refresh)
{
    setSelectionState(index, state, redraw, refresh);
}

void AbstractListBox::setList(const qelValue& value)
{
    setProperty("List", value);
}

void AbstractListBox::selectAndShow(int32_t index, int32_t state)
{
    setSelection(index, state, 1, 1);
}

int32_t AbstractListBox::keyboardSelectionResult(int32_t hasAction)
{
    if (hasAction) {
        doubleClicked = 1;
        return 1;
    }
    return getBool("SingleClickNotify", 0);
}

int32_t AbstractListBox::key(int32_t code, int32_t modifiers)
{
    code = qelLowerKey(code);
    int32_t hasAction = !getProperty("SelectionAction").isNil();
    int32_t count = itemCount();

    if (code == 'c' && (modifiers & QEL_CONTROL_KEY)) {
        // A non-string item goes out as its display text; no selection copies nothing.
        qelValue item = getSelectionStr();
        if (!item.isNil())
            qelCopyTextToClipboard(qelValueToString(item));
        return 0;
    }
    if (code >= 'a' && code <= 'z') {
        if (count < 2)
            return 0;
        qelUiSetCursor(qelWaitCursor());
        int32_t found = qelFirstLetterMatch(
            count, selection, code, [this](int32_t i) { return qelValueToString(qelGet(list, i)); });
        if (found >= 0)
            setSelection(found, getSelectionState(found), 1, 1);
        qelUiSetCursor(qelNil);
        if (found >= 0)
            return keyboardSelectionResult(hasAction);
        if (hasAction) {
            doubleClicked = 1;
            return 1;
        }
        return 0;
    }
    if (code == QEL_KEY_ENTER) {
        if (selection < 0)
            return 0;
        doubleClicked = 1;
        return 1;
    }
    if (list.isNil())
        return 0;
    int32_t visible = visibleRows();
    int32_t target = 0;
    bool possible = false;
    switch (code) {
    case QEL_KEY_HOME:
        target = 0;
        possible = count > 0;
        break;
    case QEL_KEY_END:
        target = count - 1;
        possible = count > 0;
        break;
    // The page keys, too, need an item to land on.
    case QEL_KEY_PAGE_UP:
        target = std::max<int64_t>(0, int64_t(selection) - visible + 1);
        possible = count > 0;
        break;
    case QEL_KEY_PAGE_DOWN:
        target = int32_t(std::min<int64_t>(count - 1, int64_t(selection) + visible - 1));
        possible = count > 0;
        break;
    case QEL_KEY_UP:
        target = selection - 1;
        possible = selection > 0;
        break;
    case QEL_KEY_DOWN:
        target = selection + 1;
        possible = int64_t(selection) + 1 < count;
        break;
    default:
        return 0;
    }
    if (!possible)
        return 0;
    setSelection(target, getSelectionState(target), 1, 1);
    return keyboardSelectionResult(hasAction);
}

void AbstractListBox::deleteItem(const qelValue& data)
{
    int32_t count = itemCount();
    if (count == 0)
        return;
    qelValue item;
    bool chosen = false;
    if (data.type() == QEL_INT_TYPE && data.payload() >= 0 && data.payload() < count) {
        item = qelGet(list, data.payload());
        chosen = true;
    } else if (data.type() != QEL_INT_TYPE && selection >= 0 && selection < count) {
        item = qelGet(list, selection);
        chosen = true;
    }
    if (chosen) {
        std::vector<int32_t> removed;
        for (int32_t i = 0; i < count; ++i) {
            if (qelGet(list, i) == item)
                removed.push_back(i);
        }
        qelListRemove(list, item);
        itemsRemoved(removed);
    }
    int32_t n = itemCount();
    int32_t visible = visibleRows();
    if (int64_t(n) < int64_t(visible) + topIndex)
        topIndex = n - visible;
    if (topIndex < 0)
        topIndex = 0;
    if (selection > n - 1)
        setSelection(n - 1, 1, 1, 1);
}

qelValue AbstractListBox::perform(const qelValue& action, const qelValue& data)
{
    if (action == "getSelectionStr") {
        if (data.isNil())
            return getSelectionStr();
        return list.isNil() ? qelNil : qelGet(list, qelIntValue(data));
    }
    if (action == "canActivate")
        return qelMakeBoolean(canActivate());
    if (action == "getSelectedRect")
        return selectedRect;
    if (action == "setSelection") {
        setSelection(qelIntValue(data), 1, 0, 0);
        return qelNil;
    }
    if (action == "unsetSelection") {
        unsetSelection(qelIntValue(data), 0, 0);
        return qelNil;
    }
    if (action == "getSelection")
        return qelMakeInt(getSelection());
    if (action == "getSelectionState")
        return qelMakeBoolean(getSelectionState(qelIntValue(data)));
    if (action == "setList") {
        setList(data);
        return qelNil;
    }
    if (action == "getList")
        return list;
    if (action == "getItem")
        return list.isNil() ? qelNil : qelGet(list, qelIntValue(data));
    if (action == "addItem") {
        // Before the first set-up there is no list to add to.
        if (list.type() != QEL_LIST_TYPE)
            return qelNil;
        qelAddItem(list, data);
        itemAppended();
        return qelMakeInt(itemCount() - 1);
    }
    if (action == "deleteItem") {
        deleteItem(data);
        return qelNil;
    }
    if (action == "dblClicked")
        return qelMakeBoolean(doubleClicked);
    if (action == "clearDblClick") {
        doubleClicked = 0;
        return qelNil;
    }
    if (action == "gotoEnd") {
        key(QEL_KEY_END, 0);
        return qelNil;
    }
    if (action == "Draw") {
        draw();
        return qelNil;
    }
    if (action == "Initialize") {
        rebuild();
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}
