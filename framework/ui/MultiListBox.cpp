#include "framework/ui/MultiListBox.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/IntList.h"
#include "framework/runtime/List.h"
#include "framework/ui/ListScrolling.h"

#include <algorithm>

MultiListBox::MultiListBox(const qelValue& data)
    : ListBox(data)
{
}

MultiListBox::~MultiListBox() = default;

qelValue MultiListBox::zeroStates(int32_t count) const
{
    qelValue states = qelMakeList(std::max(count, 1), 100, QEL_INT_LIST);
    for (int32_t i = 0; i < count; ++i)
        qelListObjectOf(states)->appendInt(0);
    return states;
}

int32_t MultiListBox::stateCount() const
{
    return selectionStates.type() == QEL_LIST_TYPE ? qelCount(selectionStates) : 0;
}

int32_t MultiListBox::stateAt(const qelValue& states, int32_t index) const
{
    qelListObject* object = qelListObjectOf(states);
    if (!object || index < 0 || index >= object->count)
        return 0;
    return object->intAt(index);
}

void MultiListBox::rebuild()
{
    ListBox::rebuild();
    if (list.isNil())
        return;
    selectionStates = zeroStates(itemCount());
    if (selection >= 0 && selection < stateCount())
        qelListObjectOf(selectionStates)->putAt(selection, qelMakeInt(1));
}

void MultiListBox::setSelectionState(int32_t index, int32_t state, int32_t redraw, int32_t)
{
    if (index < 0)
        return;
    // An index past the states has no entry to set (the states follow the items).
    if (index < stateCount())
        qelListObjectOf(selectionStates)->putAt(index, qelMakeInt(state ? 1 : 0));
    if (state)
        selection = index;
    if (index < itemCount())
        topIndex = qelScrollIntoView(index, topIndex, visibleRows());
    if (redraw)
        draw();
}

int32_t MultiListBox::getSelectionState(int32_t index)
{
    return stateAt(selectionStates, index) == 1;
}

void MultiListBox::selectAndShow(int32_t index, int32_t state)
{
    multipleSelectionsMade = 1;
    setSelection(index, state, 1, 1);
}

void MultiListBox::clearAllSelections()
{
    selectionStates = zeroStates(itemCount());
    selection = getInt("SelectionIndex", -1);
    if (selection >= 0 && selection < stateCount())
        qelListObjectOf(selectionStates)->putAt(selection, qelMakeInt(1));
    statesBefore = qelNil;
}

qelValue MultiListBox::getSelections()
{
    qelValue indices = qelMakeList(4, 100, QEL_INT_LIST);
    int32_t count = stateCount();
    for (int32_t i = 0; i < count; ++i) {
        if (stateAt(selectionStates, i) != 0)
            qelListObjectOf(indices)->appendInt(i);
    }
    return indices;
}

void MultiListBox::setSelections(const qelValue& indices)
{
    clearAllSelections();
    qelListObject* given = qelListObjectOf(indices);
    if (!given)
        return;
    for (int32_t k = 0; k < given->count; ++k) {
        int32_t index = qelIntAt(indices, k);
        if (index >= 0 && index < stateCount())
            qelListObjectOf(selectionStates)->putAt(index, qelMakeInt(1));
    }
}

void MultiListBox::itemAppended()
{
    if (qelListObject* states = qelListObjectOf(selectionStates))
        states->appendInt(0);
}

void MultiListBox::itemsRemoved(const std::vector<int32_t>& indices)
{
    qelListObject* states = qelListObjectOf(selectionStates);
    if (!states)
        return;
    qelValue kept = zeroStates(0);
    for (int32_t i = 0; i < states->count; ++i) {
        if (!std::binary_search(indices.begin(), indices.end(), i))
            qelListObjectOf(kept)->appendInt(states->intAt(i));
    }
    selectionStates = kept;
}

int32_t MultiListBox::key(int32_t code, int32_t modifiers)
{
    if (code != QEL_KEY_SPACE)
        return ListBox::key(code, modifiers);
    if (list.isNil())
        return 0;
    int32_t i = std::max(selection, 0);
    setSelection(i, !getSelectionState(i), 1, 1);
    return 1;
}

int32_t MultiListBox::selectAtPoint(int32_t, int32_t y, int32_t modifiers, int32_t)
{
    statesBefore = qelCopy(selectionStates);
    int32_t count = itemCount();
    int32_t row = rowAt(y);
    if (row < 0 || row >= count)
        return 1;
    selectAndShow(row, !getSelectionState(row));
    int32_t paint = getSelectionState(row);
    dragRow = row;
    bool extend = modifiers & QEL_SHIFT_KEY;
    while (true) {
        qelEvent event;
        qelTrackStep what = qelNextTrackEvent(event, QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT, 100);
        if (what == qelTrackStep::Release)
            return 1;
        count = itemCount();
        if (what == qelTrackStep::Drag) {
            int32_t r = rowAt(event.y);
            if (r != dragRow && r >= 0 && r < count) {
                if (extend) {
                    int32_t direction = r > dragRow ? 1 : -1;
                    for (int32_t i = dragRow + direction; i != r + direction; i += direction)
                        selectAndShow(i, paint);
                }
                dragRow = r;
            }
            dragOffset = event.y - top;
            continue;
        }
        if (!extend)
            continue;
        if (dragOffset < 0 && selection - 1 >= 0)
            selectAndShow(selection - 1, paint);
        else if (dragOffset >= height && int64_t(selection) + 1 < count)
            selectAndShow(selection + 1, paint);
    }
}

void MultiListBox::reportChanges()
{
    if (!multipleSelectionsMade || statesBefore.isNil())
        return;
    qelValue changed = zeroStates(0);
    int32_t count = std::max(stateCount(), qelCount(statesBefore));
    for (int32_t i = 0; i < count; ++i) {
        if (stateAt(statesBefore, i) != stateAt(selectionStates, i) || i == selection)
            qelListObjectOf(changed)->appendInt(i);
    }
    if (qelCount(changed) < 2) {
        multipleSelectionsMade = 0;
        changedIndices = qelNil;
        return;
    }
    changedIndices = changed;
}

int32_t MultiListBox::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    int32_t result = ListBox::track(x, y, modifiers, clicks);
    reportChanges();
    return result;
}

qelValue MultiListBox::perform(const qelValue& action, const qelValue& data)
{
    if (action == "clearAllSelections") {
        clearAllSelections();
        return qelNil;
    }
    if (action == "wereMultipleSelectionsMade")
        return qelMakeBoolean(multipleSelectionsMade);
    if (action == "moveTo") {
        int32_t index = qelIntValue(data);
        setSelection(index, getSelectionState(index), 1, 1);
        return qelNil;
    }
    if (action == "getSelections")
        return getSelections();
    if (action == "setSelections") {
        setSelections(data);
        return qelNil;
    }
    return ListBox::perform(action, data);
}
