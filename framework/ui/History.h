#pragma once

// The navigation history: every form the user leaves is recorded with its history value (the
// data it gets back when revisited), so "back" returns to it, and the current form's "GoBack"
// and "GoForward" controls are kept enabled or disabled to match.
//
// The history table lives in the application environment and holds:
//   "List"   the entries, each a list [form name, deep copy of the form's history value]; at most
//            200, the oldest dropped first
//   "Index"  -1 in a new history; after a push, the number of entries (one past the last); after
//            going back, the position of the entry opened
// Going back with truncation (what the application does) drops the entry it opens and all after
// it, so the history works as a stack.

#include "framework/runtime/Value.h"

#include <cstdint>

constexpr int32_t QEL_HISTORY_LIMIT = 200;

// The history table, made afresh when the field holds no table or one without "List" or "Index".
qelValue qelHistoryTable();
// A new table: "List" empty, "Index" -1.
qelValue qelHistoryCreate();
void qelHistoryGoTo(const qelValue& target, const qelValue& data);
// Records the current form (with the record flag, unless it is excluded), updates the buttons,
// re-enters the current form when it is the target, else closes it and opens the target.
void qelHistoryGoToEx(const qelValue& target, const qelValue& data, int32_t record);
void qelHistoryPush(const qelValue& name, const qelValue& value);
// Goes back by step entries (steps below 1 are refused), without recording the form left.
void qelHistoryGo(int32_t step, int32_t truncate);
// Opens the entry at the position, recording the form left; nothing outside the list.
void qelHistoryGoToEntry(int32_t position);
int32_t qelHistoryCanGoBack(int32_t step);
int32_t qelHistoryCanGoForward();
// "GoBack" and "GoForward" (resources, so the current form's controls of those names) get
// "Disabled" to match and are drawn.
void qelHistoryUpdateButtons();
