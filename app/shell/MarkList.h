#pragma once

// The mark list: the user's own list of marked entries, in the order they were marked
// (duplicates allowed), kept in memory once read and written through at every change.
//
// It lives in the user folder as MARKLIST.DTT: an archive ("0QEL") holding exactly one item, the
// list encoded as an int list; no marks is an empty int list. A list with no marks is kept in
// memory as nil, so the file is read again while there are none. The file is created, holding
// no marks, the first time the list is asked for. Each save replaces the file whole (temporary
// file, then rename), so a failed write keeps the marks stored before it.
//
// A MARKLIST.DTT that does not read back as an archive whose first item is an int list (cut
// short, another file, an empty archive) is moved aside as MARKLIST.BAD and replaced by one with
// no marks; the program goes on without marks. A file that is there but cannot be opened at the
// moment is left untouched and counts as no marks until it can.

#include "framework/runtime/Value.h"

#include <cstdint>

// The mark list, read from the file when none is in memory; nil when there are no marks.
qelValue getMarkList();
// The number of marks (the list is read when none is in memory).
int32_t countMarks();
// Appends id to the mark list (read first when none is in memory), saves it, and answers it.
qelValue addMark(int32_t id);
// Removes every mark equal to id, saves the list, and answers it (nil when it became empty).
qelValue removeMark(int32_t id);
// Writes the mark list to MARKLIST.DTT; a list left empty becomes nil.
void saveMarkList();
// Forgets the list in memory (the program's exit, before the framework goes).
void releaseMarkList();

// The path of MARKLIST.DTT and of the copy a damaged one is moved to.
qelValue markListPath();
constexpr const char* markListAsideName = "MARKLIST.BAD";
