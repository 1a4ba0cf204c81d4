#pragma once

// Field-described records: the caller describes a record as a list of typed fields bound to its
// own variables; the layer packs the variables into a stored record of index 19, keeps one entry
// per indexed field in that field's index (the field's key, the record's number, no data), and
// unpacks a stored record back into the variables.
//
// Field list: descriptors ended by one whose type is 'E'.
//
//   type     'S' string (NUL-terminated, at most `length` characters), 'B' bytes (`length` of them),
//            'M' 6 bytes, 'X' no value, 'I' and 'L' 32-bit integers, 'H' and 'U' 16-bit integers,
//            'F' 32-bit float, 'D' 64-bit float
//   keyType  the key type of the field's index (0..20, equal to the file's), 'N' for a field
//            without index, or 'S' (where the index's key type is 0)
//   order    'U' unique keys, 'D' duplicates allowed, 'N' none
//   length   below 31233
//   index    0..15
//
// The list's signature (16 bits): from 0, for each descriptor and for its type, key type, order
// and index bytes in turn (as signed bytes), add the byte and double, keeping 16 bits.
//
// Stored record (numbers in the file's byte order):
//
//   offset  width  meaning
//   0       u16    signature of the list that wrote it
//   2       u16    check value: from 0, for each byte from offset 4 to the end (signed), add it
//                  and double, keeping 16 bits
//   4       u8     record kind, given when writing and returned when reading
//   5       ...    fields in ascending field number: a u16 field number (the descriptor's position
//                  in the list), then the value
//   end     u16    65535
//
// Values: 'B' a u16 length and the bytes; 'D' 8 bytes; 'F', 'I', 'L' 4; 'H', 'U' 2; 'M' 6; 'S' the
// string and its NUL; 'X' nothing. A field without index is written only when it is not empty
// (length above 0, a number not 0, a string not empty, 6 bytes not all zero); an indexed field is
// always written.
//
// Reserved indexes: 19 holds the records (key: the empty string, record number: the record's);
// 18 holds record numbers freed by deletions, waiting for reuse (the header word at 64 counts
// them); 16 is left out of salvage.
//
// Composite keys (key type 8) are built from the record's fields by the index's segment list:
// byte 0 the segment's key type, bytes 4..7 the field number, byte 8 the maximum length (0: 242).

#include "recdb/RecDb.h"

#include <cstdint>

struct rdbField {
    uint8_t type;
    uint8_t keyType;
    uint8_t order;
    uint8_t reserved1;
    uint16_t length;
    uint8_t index;
    uint8_t reserved2;
    void* variable;
};

// Statuses of the field layer (besides those of RecDb.h).
enum : int32_t {
    RDB_FOUND_BEFORE = 3, // field find: positioned on the record before the key
    RDB_BAD_FIELD_LIST = -20, // the record was written with another list, or its fields are not in order
    RDB_BAD_CHECK = -21, // the record's check value does not match its bytes
    RDB_BAD_FIELD_TYPE = -22,
    RDB_BAD_FIELD_KEY_TYPE = -23,
    RDB_BAD_FIELD_ORDER = -24,
    RDB_BAD_FIELD_LENGTH = -25,
    RDB_FIELD_TOO_LONG = -26, // an 'S' value longer than its length, or a key too long
};

// The field list's signature.
uint16_t rdbFieldSignature(const rdbField* fields);

// Adds a record of the variables with the given kind; its number is left in the handle's
// record-number slot and it becomes the current record.
int32_t rdbFieldAdd(rdbHandle* handle, const rdbField* fields, int32_t kind);
// Rewrites the current record from the variables, changing the index entries of the fields whose
// keys changed.
int32_t rdbFieldUpdate(rdbHandle* handle, const rdbField* fields);
// Deletes the current record and its index entries; its number waits for reuse.
int32_t rdbFieldDelete(rdbHandle* handle, const rdbField* fields);
// Reads the current record into the variables (all cleared first); the kind into *kind.
int32_t rdbFieldRead(rdbHandle* handle, const rdbField* fields, int32_t* kind);
// Positions the field's index on the key of its variable and makes that entry's record current:
// mode 1 the key itself (else -1); 2 the record after the key; 3 the key, or the following key
// with result 2; 4 the record before the key; 5 the key, or the record before it with result 3.
int32_t rdbFieldFind(rdbHandle* handle, const rdbField* fields, int32_t field, int32_t mode);
// Steps the field's index (1 next, 2 previous, 3 first, 4 last); the entry's record becomes current.
int32_t rdbFieldStep(rdbHandle* handle, const rdbField* fields, int32_t field, int32_t how);
// The current record's kind (0 or more), or a negative status when it is gone.
int32_t rdbFieldCheckCurrent(rdbHandle* handle);
int32_t rdbFieldLock(rdbHandle* handle);
int32_t rdbFieldUnlock(rdbHandle* handle);
int32_t rdbFieldTestLock(rdbHandle* handle);
// The key of one indexed field from the variables, into key (256 bytes); its length in *length.
int32_t rdbFieldMakeKey(rdbHandle* handle, const rdbField* fields, int32_t field, uint8_t* key, int32_t* length);
// Rebuilds every field index entry from the records of index 19 and recounts the free numbers.
// The variables are used as scratch space.
int32_t rdbFieldReindex(rdbHandle* handle, const rdbField* fields);
