#pragma once

// The current id lists and the category lists.
//
// Each database kind has a current id list that the entry and media screens step through: kind 0
// (entries), kinds 1 and 2 (media, one shared list), kind 3, and kind 4 (atlas). The category
// lists are read-only content archives located with the extension "DTT": "IDCatLst" (entry
// categories), "ATCatLst" (atlas categories) and "IDMidLst" (media categories); item n is one
// category, a list of record ids. Reading a category makes it the current id list of its kind
// (for the entry and atlas lists only when asked). The item last read from each file is kept: a
// second read of the same item answers it from memory and leaves the current id list as it is.

#include "framework/runtime/Value.h"

#include <cstdint>

// The current id list of the kind when one is set; else a new empty int list, not stored.
qelValue getCachedIDList(int32_t kind);
// Sets the current id list of the kind (0 to 4; kinds 1 and 2 share one); other kinds are ignored.
void setCachedIDList(const qelValue& list, int32_t kind);

// Item n of "IDCatLst"; when the file was read and makeCurrent is nonzero, also the current id
// list of kind 0. Nil when the file or the item cannot be read (reported by the archive layer).
qelValue loadIDCatList(int32_t n, int32_t makeCurrent);
// Item n of "ATCatLst"; likewise for kind 4.
qelValue loadATCatList(int32_t n, int32_t makeCurrent);
// Item n of "IDMidLst"; when the file was read, always the current id list of kind 1.
qelValue loadIDMidList(int32_t n);

// Forgets the current id lists and the kept items (the program's exit, before the framework goes).
void releaseCategoryLists();
