#pragma once

// The record library: keyed records in one B-tree file (format in Format.h). Every operation
// returns a 32-bit status (0 success, 1 and 2 find results, negative errors) and keeps it in
// the handle; the library never ends the program.

#include <cstdint>

namespace recdb {
class Database;
}

// Status codes.
enum : int32_t {
    RDB_FOUND_FOLLOWING = 2, // find: positioned on a following key
    RDB_FOUND_OTHER_RECORD = 1, // find: key found with another record number
    RDB_OK = 0,
    RDB_FAILED = -1, // cannot open or create, key present on add, nothing found, end of index
    RDB_BAD_ARGUMENT = -2, // bad key number, key or data too long, user area above 100 bytes
    RDB_BAD_HANDLE = -3, // handle not valid or not open
    RDB_HEADER_FAILED = -4, // header seek or read failure, write-back failure, no page for a node
    RDB_BAD_SIGNATURE = -5, // bad signature in the header
    RDB_WRITE_FAILED = -8, // short or failed write; reserve pages not written
    RDB_SHORT_READ = -9, // short read
    RDB_SOURCE_FAILED = -10, // salvage or copy: the source cannot be opened
    RDB_TARGET_FAILED = -11, // salvage: the target cannot be made
    RDB_BROKEN_RECORD = -12, // the pieces of a record are out of sequence
    RDB_REBUILT = -13, // repair removed entries, or a tree could not be walked
    RDB_NO_CURRENT = -16, // no current record
    RDB_BAD_INDEX = -27, // an index number above 15 in an index table or a field list
    RDB_BUFFER_SHORT = -28, // the user area or a packed record is longer than the buffer
    RDB_EXISTS = -29, // create: the file exists
    RDB_DAMAGED = -30, // tree search found no page; damaged page; page above the extent
    RDB_NO_ROOM = -31, // an entry cannot be placed in a page
    RDB_BAD_BYTE_ORDER = -32, // create: byte order not 1, 2 or 3
    RDB_READ_ONLY = -33, // the file is open read-only
    RDB_NO_MEMORY = -34, // out of memory
    RDB_INDEX_MISMATCH = -35, // index table missing or not matching the file, key type above 20
    RDB_INDEX_NOT_EMPTY = -36, // key type change of an index that holds entries
    RDB_BAD_SEGMENTS = -37, // bad segment list
    RDB_INTERRUPTED = -40, // the file holds the marker of an interrupted update
    RDB_NEGATIVE_PAGE = -43, // negative page number
    RDB_SHARED_OPEN_FAILED = -101,
    RDB_LOCK_FAILED = -102,
    RDB_LOCKED_BY_OTHER = -104,
    RDB_LOCKED_BY_SELF = -105,
    RDB_NOT_LOCKED = -106,
    RDB_MUST_LOCK = -107,
    RDB_NO_SLOT = -109,
    RDB_QUEUE_FAILED = -110,
};

// One entry of the index table passed to open and create; the table ends with index 0.
struct rdbIndexDef {
    uint8_t index; // 1 to 15
    uint8_t keyType; // 0 to 20
    const uint8_t* segments; // composite keys: 16-byte descriptors ended by type 31; else null
};

// The caller embeds a handle and passes it to every operation. The letters let the library
// refuse a handle that was never opened or whose memory was overwritten.
struct rdbHandle {
    char letterV { 0 };
    char state { 'C' }; // 'O' open, 'C' closed
    int32_t keyNumber { 0 };
    char letterA1 { 0 };
    const void* keyPointer { nullptr }; // after positioning: the current key (in currentKey)
    int32_t keyOrder { 1 }; // 1: keys are in this machine's byte order
    char letterL { 0 };
    int32_t recordNumber { 0 };
    void* dataPointer { nullptr };
    int32_t dataLength { 0 }; // bytes copied by the last read
    int32_t fullLength { 0 }; // full length of the record last read, even when it was cut
    char letterI { 0 };
    int32_t lastStatus { 0 };
    int32_t errorDetail { 0 }; // the system error behind -4, -8 and the like
    int32_t pendingError { 0 }; // lock-release failures, returned by the closing bracket
    int32_t verifyPage { 0 }; // verification: the damaged page, -1 for the header
    int32_t verifyCode { 0 }; // verification: the damage code, -201 to -214
    char letterD { 0 };
    char sharing { 'E' }; // 'E' exclusive, 'D' shared with readers, other: shared with all
    int32_t access { 0 }; // 1 read-only, 2 read-write
    int32_t writeMode { 0 };
    char letterA2 { 0 };
    int32_t queuedLock { 0 }; // take the file lock through the queue bytes (off after open)
    int32_t lockNotRequired { 0 }; // lift the record-lock requirement of shared files (off after open)
    char letterT { 0 };
    uint8_t currentKey[256] {}; // the current entry: head, key and piece data
    recdb::Database* database { nullptr };
    char letterE { 0 };
};

using rdbScanFunction = int32_t (*)(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);

int32_t rdbOpen(rdbHandle* handle, const char* name, char sharing, int32_t access, const rdbIndexDef* table);
int32_t rdbCreate(rdbHandle* handle, const char* name, char sharing, int32_t byteOrder, const rdbIndexDef* table);
int32_t rdbOpenDefault(rdbHandle* handle, const char* name);
int32_t rdbCreateDefault(rdbHandle* handle, const char* name);
int32_t rdbClose(rdbHandle* handle);
int32_t rdbFlush(rdbHandle* handle);
int32_t rdbSetAccessMode(rdbHandle* handle, int32_t mode);

int32_t rdbFind(rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record, void* buffer, int32_t length);
int32_t rdbNext(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);
int32_t rdbPrevious(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);
int32_t rdbFirst(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);
int32_t rdbLast(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);
int32_t rdbReadCurrent(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length);
int32_t rdbScan(rdbHandle* handle, int32_t keyNumber, void* buffer, int32_t length, rdbScanFunction function);

int32_t rdbAdd(rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length);
int32_t rdbInsert(
    rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length);
int32_t rdbPut(rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length);
int32_t rdbUpdate(
    rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length);
int32_t rdbRewriteCurrent(rdbHandle* handle, int32_t keyNumber, const void* data, int32_t length);
int32_t rdbDelete(rdbHandle* handle, int32_t keyNumber, const void* key, int32_t record);
int32_t rdbDeleteCurrent(rdbHandle* handle, int32_t keyNumber);

int32_t rdbNextSequence(rdbHandle* handle);
int32_t rdbSetSequence(rdbHandle* handle, int32_t number);
int32_t rdbGetUserWord(rdbHandle* handle);
int32_t rdbSetUserWord(rdbHandle* handle, int32_t value);
int32_t rdbReadUserArea(rdbHandle* handle, void* buffer, int32_t length);
int32_t rdbWriteUserArea(rdbHandle* handle, const void* data, int32_t length);

int32_t rdbLockRecord(rdbHandle* handle, int32_t keyNumber);
int32_t rdbUnlockRecord(rdbHandle* handle, int32_t keyNumber);
int32_t rdbTestRecordLock(rdbHandle* handle, int32_t keyNumber);
int32_t rdbLockFileMode(rdbHandle* handle, int32_t writer);
int32_t rdbUnlockFileMode(rdbHandle* handle);
int32_t rdbDefineIndexes(rdbHandle* handle, const rdbIndexDef* table);

int32_t rdbCheckHandleSize(int32_t size);
// Sets the number of page buffers shared by every handle (10 by default); only while no file is
// open. 0, -1 for a count below 1 or open files, -34 when memory runs out.
int32_t rdbSetCacheSize(int32_t buffers);
