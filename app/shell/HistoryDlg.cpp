#include "app/shell/HistoryDlg.h"

#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/History.h"
#include "framework/ui/Perform.h"

namespace {

constexpr const char* listName = "History List";

qelListObject* historyList()
{
    return qelListObjectOf(qelGet(qelHistoryTable(), qelValue("List")));
}

// The text an entry shows, nil when it shows none; `untold` is set for a table without its text.
qelValue entryText(const qelValue& entry, bool& untold)
{
    qelListObject* pair = qelListObjectOf(entry);
    if (!pair || pair->kind() != QEL_GENERAL_LIST || pair->count < 2)
        return qelNil;
    qelValue data = pair->elementAt(1);
    if (data.isString())
        return data;
    if (qelTableObject* table = qelTableOf(data)) {
        qelValue text = table->get("History Text");
        untold = untold || !text.isString();
        return text.isString() ? text : qelNil;
    }
    return qelNil;
}

} // namespace

void HistoryDlg::open(const qelValue& data)
{
    m_result = qelNil;
    loadResourceTable();
    // Without a size the close area is a small square at the corner: nearly every press ends it.
    int32_t x = hasProperty("Origin X") ? getInt("Origin X", 0) : 0;
    int32_t y = hasProperty("Origin Y") ? getInt("Origin Y", 0) : 0;
    int32_t w = hasProperty("Width") ? getInt("Width", 5) : 5;
    int32_t h = hasProperty("Height") ? getInt("Height", 5) : 5;
    m_closeArea = qelRectValue(x, y, w, h);
    qelMediaDialogObject::open(data);
    fillList();
}

void HistoryDlg::fillList()
{
    m_rows.clear();
    qelListObject* entries = historyList();
    if (!entries || entries->count == 0)
        return;
    qelValue texts = qelMakeList(4, 100, QEL_GENERAL_LIST);
    bool untold = false;
    for (int32_t i = entries->count - 1; i >= 0; --i) {
        qelValue text = entryText(entries->elementAt(i), untold);
        if (text.isNil())
            continue;
        qelListObjectOf(texts)->append(text);
        m_rows.push_back(i);
    }
    // A screen's history data without its text is the content's mistake: it is told on the
    // debugger output and the entry left out, the rest of the history still usable.
    if (untold) {
        qelValue note = qelResolve(getProperty("No Text Error"));
        qelDebugOutput(note.isString() ? note : qelValue("History entry without \"History Text\""));
    }
    qelValue list = qelResolve(getProperty(listName));
    if (!qelControlOf(list))
        return;
    // The row of the entry at "Index" (the screen gone back to), none after a plain visit.
    int32_t index = qelIntValue(qelGet(qelHistoryTable(), qelValue("Index")));
    int32_t selection = -1;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (m_rows[r] == index)
            selection = int32_t(r);
    }
    qelPut(list, qelValue("List"), texts);
    if (selection >= 0)
        qelPerform(list, "setSelection", qelMakeInt(selection));
    setActiveControl(list, 1);
}

void HistoryDlg::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (object && object->getProperty("Name") == listName) {
        m_result = qelTable(4, 100, 75);
        endDialog();
        return;
    }
    qelDialogObject::handleControl(control);
}

void HistoryDlg::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (!qelContainsPoint(m_closeArea, x, y))
        endDialog();
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

qelValue HistoryDlg::result()
{
    if (!m_result.isNil()) {
        qelPut(m_result, qelValue("Jump Form"), jumpForm());
        qelPut(m_result, qelValue("Jump Table"), jumpTable());
        qelPut(m_result, qelValue("Jump Index"), jumpIndex());
    }
    return m_result;
}

int32_t HistoryDlg::selectedEntry()
{
    qelValue list = qelResolve(getProperty(listName));
    if (!qelControlOf(list))
        return -1;
    qelValue selection = qelPerformAction(list, "getSelection");
    int32_t row = selection.isNil() ? -1 : qelIntValue(selection);
    return row < 0 ? 0 : row;
}

qelValue HistoryDlg::jumpIndex()
{
    int32_t row = selectedEntry();
    if (row < 0 || size_t(row) >= m_rows.size())
        return qelMakeInt(-1);
    return qelMakeInt(m_rows[size_t(row)]);
}

qelValue HistoryDlg::selectedHistoryEntry()
{
    int32_t position = qelIntValue(jumpIndex());
    qelListObject* entries = historyList();
    if (!entries || position < 0 || position >= entries->count)
        return qelNil;
    qelValue entry = entries->elementAt(position);
    return qelListObjectOf(entry) ? entry : qelNil;
}

qelValue HistoryDlg::jumpForm()
{
    qelValue entry = selectedHistoryEntry();
    return entry.isNil() ? qelNil : qelGet(entry, 0);
}

qelValue HistoryDlg::jumpTable()
{
    qelValue entry = selectedHistoryEntry();
    return entry.isNil() ? qelTable(4, 100, 75) : qelGet(entry, 1);
}
