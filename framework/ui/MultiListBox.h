#pragma once

// MultiListBox: a list box with a selected or unselected state per item. A click toggles the
// item under the pointer; a Shift-drag paints the clicked item's new state over every row the
// pointer passes; Space toggles the current item. The inherited selection is the current item:
// the last one given the selected state. After a click, "wereMultipleSelectionsMade" tells
// whether at least two items changed (the current item counts as changed).
// Added verbs: "clearAllSelections", "wereMultipleSelectionsMade", "moveTo" (index),
// "getSelections" (int list), "setSelections" (list of indices).

#include "framework/ui/ListBox.h"

class MultiListBox : public ListBox {
public:
    explicit MultiListBox(const qelValue& data);
    ~MultiListBox() override;

    const char* className() const override { return "MultiListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new MultiListBox(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    int32_t key(int32_t code, int32_t modifiers) override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void rebuild() override;
    int32_t selectAtPoint(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void selectAndShow(int32_t index, int32_t state) override;
    void setSelectionState(int32_t index, int32_t state, int32_t redraw, int32_t refresh) override;
    int32_t getSelectionState(int32_t index) override;

    // Every item unselected but the "SelectionIndex" one; no redraw.
    virtual void clearAllSelections();
    // The selected indices, ascending.
    virtual qelValue getSelections();
    // Exactly these indices selected (plus the "SelectionIndex" item); no redraw.
    virtual void setSelections(const qelValue& indices);

    qelValue selectionStates;
    qelValue statesBefore;
    qelValue changedIndices;
    int32_t multipleSelectionsMade = 0;

protected:
    void itemAppended() override;
    void itemsRemoved(const std::vector<int32_t>& indices) override;

private:
    int32_t stateCount() const;
    int32_t stateAt(const qelValue& states, int32_t index) const;
    qelValue zeroStates(int32_t count) const;
    void reportChanges();
};
