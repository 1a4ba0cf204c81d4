#include "framework/ui/History.h"

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Navigation.h"
#include "framework/ui/Perform.h"

namespace {

// Where the history lives when the current environment is not an application environment.
qelValue& detachedHistory()
{
    static qelValue* table = new qelValue;
    return *table;
}

qelValue& historyField()
{
    if (auto* application = dynamic_cast<qelAppEnvironment*>(qelCurrentEnvironment()))
        return application->historyTable;
    return detachedHistory();
}

qelListObject* entries(const qelValue& table)
{
    qelListObject* list = qelListObjectOf(qelTableOf(table)->get("List"));
    return list && list->kind() == QEL_GENERAL_LIST ? list : nullptr;
}

int32_t indexOf(const qelValue& table)
{
    return qelIntValue(qelTableOf(table)->get("Index"));
}

void setIndex(const qelValue& table, int32_t index)
{
    qelTableOf(table)->put("Index", index);
}

// The list of a usable history table (the table is remade when its list is damaged).
qelListObject* historyList(qelValue& table)
{
    table = qelHistoryTable();
    qelListObject* list = entries(table);
    if (!list) {
        historyField() = qelHistoryCreate();
        table = historyField();
        list = entries(table);
    }
    return list;
}

void updateButton(const char* name, int32_t enabled)
{
    qelValue control = qelLoadResource(name);
    if (control.type() != QEL_CONTROL_TYPE)
        return;
    qelPut(control, "Disabled", qelMakeBoolean(!enabled));
    qelPerformAction(control, "Draw");
}

} // namespace

qelValue qelHistoryCreate()
{
    qelValue table = qelTable(2, 100, 75);
    qelTableOf(table)->put("List", qelMakeList(4, 100, QEL_GENERAL_LIST));
    qelTableOf(table)->put("Index", -1);
    return table;
}

qelValue qelHistoryTable()
{
    qelValue& field = historyField();
    qelTableObject* table = qelTableOf(field);
    if (!table || table->find("List") < 0 || table->find("Index") < 0)
        field = qelHistoryCreate();
    return field;
}

int32_t qelHistoryCanGoBack(int32_t step)
{
    // A step below 1 would go forward or nowhere through the back door: refused.
    if (step < 1)
        return 0;
    qelValue table = qelHistoryTable();
    return indexOf(table) >= step ? 1 : 0;
}

int32_t qelHistoryCanGoForward()
{
    qelValue table;
    qelListObject* list = historyList(table);
    return list->count > 0 && indexOf(table) < list->count - 1 ? 1 : 0;
}

void qelHistoryPush(const qelValue& name, const qelValue& value)
{
    qelValue table;
    qelListObject* list = historyList(table);
    if (list->count > 0) {
        qelListObject* last = qelListObjectOf(list->elementAt(list->count - 1));
        if (last && last->count >= 2 && last->elementAt(0) == name && last->elementAt(1) == value)
            return;
    }
    if (qelHistoryCanGoForward()) {
        int32_t keep = indexOf(table) + 1;
        while (list->count > keep && list->count > 0)
            list->pop();
    }
    qelValue entry = qelMakeList(2, 100, QEL_GENERAL_LIST);
    qelListObjectOf(entry)->append(name);
    qelListObjectOf(entry)->append(qelCopy(value));
    list->append(entry);
    if (list->count > QEL_HISTORY_LIMIT) {
        qelValue kept = qelMakeList(QEL_HISTORY_LIMIT, 100, QEL_GENERAL_LIST);
        for (int32_t i = list->count - QEL_HISTORY_LIMIT; i < list->count; ++i)
            qelListObjectOf(kept)->append(list->elementAt(i));
        qelTableOf(table)->put("List", kept);
        list = qelListObjectOf(kept);
    }
    setIndex(table, list->count);
}

void qelHistoryGoTo(const qelValue& target, const qelValue& data)
{
    qelHistoryGoToEx(target, data, 1);
}

void qelHistoryGoToEx(const qelValue& target, const qelValue& data, int32_t record)
{
    // The buttons follow the history as soon as the form left is recorded, and again once the
    // target is open.
    if (qelLeaveFormFor(target, data, record, qelHistoryPush, qelHistoryUpdateButtons))
        qelHistoryUpdateButtons();
}

void qelHistoryGo(int32_t step, int32_t truncate)
{
    if (!qelHistoryCanGoBack(step)) {
        qelHistoryUpdateButtons();
        return;
    }
    qelValue table;
    qelListObject* list = historyList(table);
    int32_t position = indexOf(table) - step;
    // Why: "Index" is stored data that anything may have written; only an entry inside the list
    // can be opened.
    if (position < 0 || position >= list->count) {
        qelHistoryUpdateButtons();
        return;
    }
    qelValue entry = list->elementAt(position);
    qelHistoryGoToEx(qelGet(entry, 0), qelGet(entry, 1), 0);

    // The form opened may have changed the history: work on the table as it is now.
    list = historyList(table);
    setIndex(table, position);
    if (truncate) {
        while (list->count > position)
            list->pop();
    }
    qelHistoryUpdateButtons();
}

void qelHistoryGoToEntry(int32_t position)
{
    qelValue table;
    qelListObject* list = historyList(table);
    if (position < 0 || position >= list->count)
        return;
    qelValue entry = list->elementAt(position);
    if (entry.type() != QEL_LIST_TYPE)
        return;
    qelHistoryGoToEx(qelGet(entry, 0), qelGet(entry, 1), 1);
}

void qelHistoryUpdateButtons()
{
    updateButton("GoBack", qelHistoryCanGoBack(1));
    updateButton("GoForward", qelHistoryCanGoForward());
}
