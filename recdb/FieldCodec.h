#pragma once

// The record codec of the field layer (the stored record's form is described in Fields.h): field
// lists checked against the file, the caller's variables packed into a stored record and
// unpacked from one, and the index key of each indexed field built from the variables.

#include "recdb/Database.h"
#include "recdb/Fields.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace recdb {

// Why: a list longer than this is taken for one without its 'E' end.
constexpr int MaxFields = 4096;
// Why: a packed record must fit in the 128 pieces of one stored record.
constexpr int MaxRecord = 31232;

// The descriptors before the list's end.
int fieldCount(const rdbField* f);
bool isIndexed(const rdbField& f);
// 0, or the list check code of the first bad descriptor.
int32_t checkList(const Database& db, const rdbField* f, int count);

// The variables of the list as a stored record of the given kind, in the file's byte order;
// -28 when it is longer than a record can be.
int32_t pack(const Database& db, const rdbField* f, int count, int32_t kind, std::vector<uint8_t>& out);
// A stored record into the variables (all cleared first); its kind into *kind when given.
int32_t unpack(const Database& db, const rdbField* f, int count, const uint8_t* data, int length, int32_t* kind);
// The key of field i from the variables, into key (256 bytes).
int32_t makeKey(const Database& db, const rdbField* f, int count, int i, uint8_t* key, int& length);

// Room for the variables of a list, so stored records can be read without touching the caller's.
struct Scratch {
    std::vector<rdbField> fields;
    std::vector<std::vector<uint8_t>> storage;

    Scratch(const rdbField* f, int count);
};

struct Key {
    uint8_t bytes[256];
    int length;
    bool operator==(const Key& o) const
    {
        return length == o.length && std::memcmp(bytes, o.bytes, size_t(length)) == 0;
    }
};

// The keys of every indexed field of the variables (the others are left empty).
int32_t keysOf(const Database& db, const rdbField* f, int count, std::vector<Key>& keys);
// The index keys of a stored record: its fields unpacked into the scratch variables, then keyed.
int32_t storedKeys(const Database& db, Scratch& scratch, int count, const uint8_t* data, int length, int32_t* kind,
    std::vector<Key>& keys);

} // namespace recdb
