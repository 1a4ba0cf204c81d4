#pragma once

// Helpers shared by verification, repair, salvage and the field layer: the open file behind a
// handle, the order of two stored entries, and the insertion of a raw leaf entry.

#include "recdb/Database.h"

#include <cstdint>

namespace recdb {

// The open file behind a valid handle, or null (the caller answers -3).
Database* databaseOf(rdbHandle* handle);

// Orders two stored entries of this file (machine byte order): index number, key by its type,
// record number, piece number.
int compareEntries(const Database& db, const uint8_t* a, const uint8_t* b);

// The test that a leaf entry may follow the one before it: the index number and the key do not
// fall, the record number does not fall under the same key, and the pieces of one record run
// 0, 1, 2 ... up to the one marked last. previous is null at the start of a tree.
bool entryFollows(const Database& db, const uint8_t* previous, const uint8_t* next);

// Inserts one leaf entry (index number, piece byte, record number, key and piece, machine byte
// order) as it stands, inside an update bracket.
int32_t insertRawEntry(Database& db, const uint8_t* entry);

} // namespace recdb
