#pragma once

// The history of visited screens, newest first, by their history texts (a string, or a table's
// "History Text"). Choosing a row in "History List" ends the dialog with where to jump:
// {"Jump Form": the screen's name, "Jump Table": its history data, "Jump Index": its position
// in the history's "List"}. A press outside the rectangle "Origin X", "Origin Y", "Width",
// "Height" (5 by 5 at the origin by default), a "close" control or Escape end it with nil.
//
// Entries that show no text (no history data, or a table without "History Text") are left out
// of the list; each row keeps the position of its own entry, so a choice below such an entry
// still jumps to the screen it shows. The history itself is only read.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

#include <vector>

class HistoryDlg : public qelMediaDialogObject {
    VELARIM_CLASS(HistoryDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue result() override;

    // The row selected in "History List" (0 when none); -1 without the list.
    int32_t selectedEntry();
    // The position in the history of the selected row's entry; -1 when there is none.
    qelValue jumpIndex();
    qelValue jumpForm();
    qelValue jumpTable();

    qelValue m_result;
    qelValue m_closeArea;

private:
    void fillList();
    // The history entry the selected row shows; nil when there is none.
    qelValue selectedHistoryEntry();

    // Row r of the list shows entry m_rows[r] of the history's "List".
    std::vector<int32_t> m_rows;
};
