// The public entries: each checks the handle and its arguments, keeps them in the handle's
// slots, runs its work inside a read or update bracket and keeps the status it returns.

#include "recdb/Database.h"
#include "recdb/PageCache.h"
#include "recdb/RecDb.h"

#include <bit>
#include <climits>
#include <memory>
#include <new>

using namespace recdb;

namespace {

int openFiles = 0;

void setLetters(rdbHandle* h, char state)
{
    h->letterV = 'V';
    h->letterA1 = 'A';
    h->letterL = 'L';
    h->letterI = 'I';
    h->letterD = 'D';
    h->letterA2 = 'A';
    h->letterT = 'T';
    h->letterE = 'E';
    h->state = state;
}

bool isValid(const rdbHandle* h)
{
    return h && h->letterV == 'V' && h->letterA1 == 'A' && h->letterL == 'L' && h->letterI == 'I' && h->letterD == 'D'
        && h->letterA2 == 'A' && h->letterT == 'T' && h->letterE == 'E' && h->state == 'O' && h->database;
}

int32_t done(rdbHandle* h, int32_t status)
{
    h->lastStatus = status;
    return status;
}

// -37 unless the list holds 1 to 242 descriptors of key types 0..20 before its end mark.
int32_t checkSegments(const uint8_t* segments)
{
    if (!segments || segments[0] == SegmentListEnd)
        return RDB_BAD_SEGMENTS;
    for (int i = 0; i <= MaxSegments; ++i) {
        uint8_t type = segments[i * SegmentSize];
        if (type == SegmentListEnd)
            return 0;
        if (type > MaxKeyType || i == MaxSegments)
            return RDB_BAD_SEGMENTS;
    }
    return RDB_BAD_SEGMENTS;
}

int32_t applyTable(Database& db, const rdbIndexDef* table)
{
    for (auto& s : db.keys.segments)
        s = nullptr;
    if (!table) {
        for (int i = 1; i <= 14; ++i) {
            if (db.header.keyType(i) != KeyString)
                return RDB_INDEX_MISMATCH;
        }
        return 0;
    }
    for (int n = 0; n < MaxIndex && table[n].index != 0; ++n) {
        const rdbIndexDef& def = table[n];
        if (def.index >= 16)
            return RDB_BAD_INDEX;
        if (def.keyType > MaxKeyType || def.keyType != db.header.keyType(def.index))
            return RDB_INDEX_MISMATCH;
        if (def.keyType == KeyComposite || def.segments) {
            int32_t status = checkSegments(def.segments);
            if (status)
                return status;
            db.keys.segments[def.index] = def.segments;
        }
    }
    return 0;
}

platform::File openExclusive(const char* name, bool writable)
{
    platform::FileOpenOptions options;
    options.access = writable ? platform::FileAccess::ReadWrite : platform::FileAccess::Read;
    options.share = platform::FileShare::None;
    return platform::File::open(name, options);
}

int32_t openDatabase(Database& db, const char* name, char sharing, const rdbIndexDef* table)
{
    rdbHandle* h = db.handle;
    db.name = name;
    bool shared = sharing != 'E';
    if (shared) {
        platform::FileOpenOptions options;
        options.access = db.writable ? platform::FileAccess::ReadWrite : platform::FileAccess::Read;
        options.share = db.writable && sharing == 'D' ? platform::FileShare::Read : platform::FileShare::ReadWrite;
        options.lockable = true;
        db.file = platform::File::open(name, options);
        if (db.file.isOpen()) {
            db.shared = true;
            int32_t status = db.takeFileLock();
            if (status == RDB_NO_SLOT || status == RDB_QUEUE_FAILED)
                return status;
            if (status) {
                db.file.close();
                db.shared = false;
                db.file = openExclusive(name, db.writable);
                if (!db.file.isOpen())
                    return RDB_SHARED_OPEN_FAILED;
            }
        } else {
            db.file = openExclusive(name, db.writable);
        }
        shared = db.shared;
    } else {
        db.file = openExclusive(name, db.writable);
    }
    if (!db.file.isOpen())
        return RDB_FAILED;
    h->sharing = shared ? sharing : 'E';

    auto release = [&](int32_t status) {
        db.releaseFileLock();
        return status;
    };
    if (shared) {
        // Wait (a bounded number of reads) while a writer marks itself present.
        uint8_t marker[4] = {};
        for (int i = 0; i < 5000; ++i) {
            std::memset(marker, 0, sizeof marker);
            db.file.readAt(WriterMarkerOffset, marker, 4);
            if (static_cast<uint32_t>(load32(marker)) != MarkerValue)
                break;
        }
        if (static_cast<uint32_t>(load32(marker)) == MarkerValue && db.writable)
            db.writeMarker(WriterMarkerOffset, 0, 2);
    }
    int32_t status = db.readHeaderBlock();
    if (status)
        return release(status);
    uint8_t marker[2] = {};
    db.file.readAt(UpdateMarkerOffset, marker, 2);
    if (load16(marker) == MarkerValue)
        return release(RDB_INTERRUPTED);
    status = applyTable(db, table);
    if (status)
        return release(status);
    if (shared) {
        status = db.takeSlot();
        db.releaseFileLock();
        if (status)
            return status;
        h->writeMode = 1;
        if (db.writable) {
            status = db.removeOwnLockEntries();
            if (status)
                return status;
        }
    } else {
        h->writeMode = 3;
    }
    return 0;
}

int32_t closeDatabase(rdbHandle* h)
{
    Database* db = h->database;
    db->handle = h;
    int32_t status = 0;
    if (db->shared && db->writable)
        db->removeOwnLockEntries();
    if (db->writable) {
        if (db->writeBack() || !db->file.flush())
            status = RDB_HEADER_FAILED;
    }
    unlockFileMode(*db);
    if (!db->file.close() && !status)
        status = RDB_FAILED;
    delete db;
    --openFiles;
    h->database = nullptr;
    setLetters(h, 'C');
    return status;
}

// Common checks of the entries that take a key number.
// Makes the handle current for an operation on one index. A bad key number is recorded as the
// handle's last status; a bad handle (-3) has nowhere to record it.
int32_t enter(rdbHandle* h, int32_t keyNumber)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    h->database->handle = h;
    h->keyOrder = 1;
    if (keyNumber < 1 || keyNumber > MaxIndex)
        return done(h, RDB_BAD_ARGUMENT);
    h->keyNumber = keyNumber;
    return 0;
}

// Copies a caller's key for an index into `copy` and answers its length, or -1 when the key is not
// one that index can hold.
int copyCallerKey(const Database& db, int32_t keyNumber, const void* key, uint8_t (&copy)[256])
{
    int length = callerKeyLength(db.keys.type[keyNumber], key);
    // Why: the copy has room for the largest key an entry can carry, no more.
    if (length < 0 || length > MaxKeyLength)
        return -1;
    std::memcpy(copy, key, static_cast<size_t>(length));
    return length;
}

// The data slots an entry keeps in the handle.
struct DataSlots {
    void* pointer;
    int32_t length;
};

// The prologue of the entries that take a caller's key: checks the handle and key number, keeps
// the key, the record number and the data slots (when given) in the handle, refuses a change to a
// read-only file (-33) and copies the key (-2 when the index cannot hold it). Answers the key's
// length, or the status (kept in the handle when it is valid).
int enterWithKey(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, const DataSlots* data, bool change,
    uint8_t (&copy)[256])
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    h->keyPointer = key;
    h->recordNumber = record;
    if (data) {
        h->dataPointer = data->pointer;
        h->dataLength = data->length;
    }
    if (change && !h->database->writable)
        return done(h, RDB_READ_ONLY);
    int length = copyCallerKey(*h->database, keyNumber, key, copy);
    return length < 0 ? done(h, RDB_BAD_ARGUMENT) : length;
}

// The brackets: `work` answers a status and runs inside a read or an update bracket of the
// handle's file; the result, or the bracket's own error when it cannot open, is kept in the
// handle. Opening an update bracket on a read-only file fails with -33.
template<typename Work> int32_t inRead(rdbHandle* h, Database& db, Work work)
{
    int32_t status = db.beginRead();
    if (status)
        return done(h, status);
    return done(h, db.endRead(work()));
}

template<typename Work> int32_t inUpdate(rdbHandle* h, Database& db, Work work)
{
    int32_t status = db.beginUpdate();
    if (status)
        return done(h, status);
    return done(h, db.endUpdate(work()));
}

// Writes a record in one of the insertion modes, inside an update bracket.
int32_t putRecord(Database& db, int mode, int32_t keyNumber, const uint8_t* key, int keyLen, int32_t record,
    const void* data, int32_t length)
{
    SearchTarget t { .index = keyNumber, .key = key, .keyLength = keyLen, .record = INT32_MIN };
    Page page;
    Cursor at;
    bool locked = false;
    int32_t status = 0;
    if (mode == 3) {
        // Add: the key must be new, whatever the record number.
        status = db.search(t, page, at);
        status = status == RDB_OK || status == RDB_FOUND_OTHER_RECORD ? RDB_FAILED : status < RDB_FAILED ? status : 0;
    } else if (db.shared && (mode == 1 || mode == 2)) {
        // Update and put lock an existing record around the rewrite.
        t.record = record;
        status = db.search(t, page, at);
        if (status == 0) {
            db.readAt(keyNumber, page, at, nullptr, 0);
            status = db.lockRecord(keyNumber);
            locked = status == 0;
        } else {
            status = status < RDB_FAILED ? status : 0;
        }
    }
    if (!status)
        status = db.writeRecord(mode, keyNumber, key, keyLen, record, static_cast<const uint8_t*>(data), length);
    if (locked) {
        int32_t unlock = db.unlockRecord(keyNumber);
        if (!status)
            status = unlock;
    }
    return status;
}

int32_t writeEntry(
    rdbHandle* h, int mode, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length)
{
    uint8_t keyCopy[256];
    DataSlots slots { const_cast<void*>(data), length };
    int keyLen = enterWithKey(h, keyNumber, key, record, &slots, true, keyCopy);
    if (keyLen < 0)
        return keyLen;
    Database& db = *h->database;
    return inUpdate(h, db, [&] { return putRecord(db, mode, keyNumber, keyCopy, keyLen, record, data, length); });
}

// Reads an entry of an index into the caller's buffer inside a read bracket: `read` is called as
// read(database, keyNumber, buffer, length) and answers the status.
template<typename Read> int32_t readEntry(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length, Read read)
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    Database& db = *h->database;
    h->dataPointer = buffer;
    h->dataLength = length;
    return inRead(h, db, [&] { return read(db, keyNumber, static_cast<uint8_t*>(buffer), length); });
}

int32_t firstOrLast(Database& db, int keyNumber, uint8_t* buffer, int32_t length, bool last)
{
    SearchTarget t { .index = keyNumber, .mode = last ? SearchTarget::Last : SearchTarget::First };
    Page page;
    Cursor at;
    int32_t status;
    if (!last) {
        status = db.search(t, page, at);
        if (status < RDB_FAILED)
            return status;
        return db.readAt(keyNumber, page, at, buffer, length);
    }
    status = db.descend(t, page, at);
    if (status)
        return status;
    // Past the index's last entry: step back to the start of its last record.
    for (int guard = 0; guard <= MaxPieces; ++guard) {
        status = db.stepBack(page, at);
        if (status)
            return status;
        if (at.leaf < 0 || entryIndex(pageEntry(page, at.pos)) != keyNumber) {
            db.clearPosition(keyNumber);
            return RDB_FAILED;
        }
        if (entryPiece(pageEntry(page, at.pos)) == 0)
            return db.readAt(keyNumber, page, at, buffer, length);
    }
    return RDB_BROKEN_RECORD;
}

int32_t first(Database& db, int k, uint8_t* b, int32_t l)
{
    return firstOrLast(db, k, b, l, false);
}
int32_t last(Database& db, int k, uint8_t* b, int32_t l)
{
    return firstOrLast(db, k, b, l, true);
}

int32_t readCurrent(Database& db, int k, uint8_t* buffer, int32_t length)
{
    IndexState& state = db.indexes[k];
    if (!state.positioned)
        return RDB_NO_CURRENT;
    Page page;
    Cursor at;
    if (db.currentPosition(k, page, at) == 0)
        return db.readAt(k, page, at, buffer, length);
    uint8_t current[256];
    std::memcpy(current, state.entry, sizeof current);
    SearchTarget t { .index = k,
        .key = entryKey(current),
        .keyLength = entryKeyLength(current, db.keys),
        .record = entryRecord(current) };
    int32_t status = db.search(t, page, at);
    if (status != 0)
        return status < RDB_FAILED ? status : RDB_FAILED;
    return db.readAt(k, page, at, buffer, length);
}

// Header services run inside an update bracket when they change the header.
template<typename F> int32_t headerUpdate(rdbHandle* h, F change)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    Database& db = *h->database;
    db.handle = h;
    return inUpdate(h, db, [&] {
        int32_t status = change(db);
        db.headerChanged = true;
        return status;
    });
}

template<typename F> int32_t headerRead(rdbHandle* h, F read)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    Database& db = *h->database;
    db.handle = h;
    return inRead(h, db, [&] { return read(db); });
}

template<typename F> int32_t lockEntry(rdbHandle* h, int32_t keyNumber, F action)
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    Database& db = *h->database;
    if (!db.writable)
        return done(h, db.shared ? RDB_READ_ONLY : action(db));
    return inUpdate(h, db, [&] { return action(db); });
}

// Opening or creating through a handle first closes what it holds, then starts from a fresh,
// closed handle.
void resetForOpen(rdbHandle* h)
{
    if (isValid(h))
        rdbClose(h);
    *h = rdbHandle();
    setLetters(h, 'C');
}

} // namespace

int32_t rdbOpen(rdbHandle* h, const char* name, char sharing, int32_t access, const rdbIndexDef* table)
{
    if (!h)
        return RDB_BAD_HANDLE;
    resetForOpen(h);
    if (!name || !*name)
        return done(h, RDB_FAILED);
    Database* db = new (std::nothrow) Database(h);
    if (!db)
        return done(h, RDB_NO_MEMORY);
    db->writable = access == 2;
    h->access = db->writable ? 2 : 1;
    int32_t status = openDatabase(*db, name, sharing, table);
    if (status) {
        delete db;
        return done(h, status);
    }
    h->database = db;
    ++openFiles;
    setLetters(h, 'O');
    return done(h, 0);
}

int32_t rdbCreate(rdbHandle* h, const char* name, char sharing, int32_t byteOrder, const rdbIndexDef* table)
{
    if (!h)
        return RDB_BAD_HANDLE;
    resetForOpen(h);
    if (byteOrder < 1 || byteOrder > 3)
        return done(h, RDB_BAD_BYTE_ORDER);
    Header header = defaultHeader();
    for (int n = 0; table && n < MaxIndex && table[n].index != 0; ++n) {
        if (table[n].index > 15)
            return done(h, RDB_BAD_INDEX);
        if (table[n].keyType > MaxKeyType)
            return done(h, RDB_INDEX_MISMATCH);
        header.keyTypes[table[n].index] = table[n].keyType;
    }
    if (!name || !*name)
        return done(h, RDB_FAILED);
    platform::FileOpenOptions options;
    options.access = platform::FileAccess::ReadWrite;
    options.share = platform::FileShare::None;
    options.disposition = platform::FileDisposition::CreateNew;
    platform::FileError error;
    platform::File file = platform::File::open(name, options, &error);
    if (!file.isOpen())
        return done(h, error == platform::FileError::Exists ? RDB_EXISTS : RDB_FAILED);

    bool little = std::endian::native == std::endian::little;
    bool swap = (byteOrder == 1 && !little) || (byteOrder == 2 && little);
    // The header block, the reserve pages (enough for the root to split), and page 0 as the
    // empty root leaf of tree 0.
    header.extent = header.pageCount + header.height0 + 1;
    uint8_t block[HeaderBlockSize] = {};
    encodeHeader(header, swap, block);
    int32_t status = file.writeAt(0, block, sizeof block) == HeaderBlockSize ? 0 : RDB_WRITE_FAILED;
    static const uint8_t zero[PageSize] = {};
    for (int32_t n = 1; !status && n < header.extent; ++n) {
        if (file.writeAt(HeaderBlockSize + int64_t(PageSize) * n, zero, PageSize) != PageSize)
            status = RDB_WRITE_FAILED;
    }
    Page root;
    root.initEmpty(0);
    KeyFormat keys;
    pageToFile(root, swap, keys);
    if (!status && file.writeAt(HeaderBlockSize, root.bytes, PageSize) != PageSize)
        status = RDB_WRITE_FAILED;
    if (!status && !file.flush())
        status = RDB_WRITE_FAILED;
    if (!file.close() && !status)
        status = RDB_FAILED;
    if (!status)
        status = rdbOpen(h, name, sharing, 2, table);
    if (status) {
        platform::File::remove(name);
        return done(h, status);
    }
    h->writeMode = 0;
    return done(h, 0);
}

int32_t rdbOpenDefault(rdbHandle* h, const char* name)
{
    return rdbOpen(h, name, 'E', 2, nullptr);
}

int32_t rdbCreateDefault(rdbHandle* h, const char* name)
{
    return rdbCreate(h, name, 'E', 1, nullptr);
}

int32_t rdbClose(rdbHandle* h)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    return done(h, closeDatabase(h));
}

int32_t rdbFlush(rdbHandle* h)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    Database& db = *h->database;
    db.handle = h;
    if (db.shared || !db.writable)
        return done(h, 0);
    if (db.writeBack() || !db.file.flush())
        return done(h, RDB_HEADER_FAILED);
    return done(h, 0);
}

int32_t rdbSetAccessMode(rdbHandle* h, int32_t mode)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    if (mode < 0 || mode > 4)
        return done(h, RDB_FAILED);
    if (h->database->shared && (mode == 2 || mode == 3))
        mode = 1;
    h->writeMode = mode;
    // Zero pages appended ahead in mode 0 go: every other mode keeps the file at its extent.
    if (mode != 0 && h->database->writable && h->database->cutToExtent())
        return done(h, RDB_WRITE_FAILED);
    return done(h, 0);
}

int32_t rdbFind(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, void* buffer, int32_t length)
{
    uint8_t keyCopy[256];
    DataSlots slots { buffer, length };
    int keyLen = enterWithKey(h, keyNumber, key, record, &slots, false, keyCopy);
    if (keyLen < 0)
        return keyLen;
    Database& db = *h->database;
    return inRead(h, db, [&] {
        SearchTarget t { .index = keyNumber, .key = keyCopy, .keyLength = keyLen, .record = record };
        Page page;
        Cursor at;
        int32_t found = db.search(t, page, at);
        if (found == RDB_FAILED) {
            db.clearPosition(keyNumber);
        } else if (found >= 0) {
            int32_t read = db.readAt(keyNumber, page, at, static_cast<uint8_t*>(buffer), length);
            if (read)
                found = read;
        }
        return found;
    });
}

int32_t rdbNext(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length)
{
    return readEntry(
        h, keyNumber, buffer, length, [](Database& db, int k, uint8_t* b, int32_t n) { return db.next(k, b, n); });
}

int32_t rdbPrevious(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length)
{
    return readEntry(
        h, keyNumber, buffer, length, [](Database& db, int k, uint8_t* b, int32_t n) { return db.previous(k, b, n); });
}

int32_t rdbFirst(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length)
{
    return readEntry(h, keyNumber, buffer, length, first);
}

int32_t rdbLast(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length)
{
    return readEntry(h, keyNumber, buffer, length, last);
}

int32_t rdbReadCurrent(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length)
{
    return readEntry(h, keyNumber, buffer, length, readCurrent);
}

int32_t rdbScan(rdbHandle* h, int32_t keyNumber, void* buffer, int32_t length, rdbScanFunction function)
{
    int32_t status = rdbNext(h, keyNumber, buffer, length);
    while (status == 0 && function && function(h, keyNumber, buffer, h->dataLength))
        status = rdbNext(h, keyNumber, buffer, length);
    return status;
}

int32_t rdbAdd(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length)
{
    return writeEntry(h, 3, keyNumber, key, record, data, length);
}

int32_t rdbInsert(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length)
{
    return writeEntry(h, 4, keyNumber, key, record, data, length);
}

int32_t rdbPut(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length)
{
    return writeEntry(h, 2, keyNumber, key, record, data, length);
}

int32_t rdbUpdate(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record, const void* data, int32_t length)
{
    return writeEntry(h, 1, keyNumber, key, record, data, length);
}

// Before the record at an index's current position changes: the file must be writable (-33), the
// index positioned (-1), and on a shared file the record locked (-107) unless the handle needs no
// locks or `lockExempt` says this index changes without one. The current entry is copied out,
// since the change moves the position.
int32_t checkCurrentChange(rdbHandle* h, int32_t keyNumber, bool lockExempt, uint8_t (&current)[256])
{
    Database& db = *h->database;
    IndexState& state = db.indexes[keyNumber];
    if (!db.writable)
        return RDB_READ_ONLY;
    if (!state.positioned)
        return RDB_FAILED;
    if (db.shared && !lockExempt && !state.locked && !h->lockNotRequired)
        return RDB_MUST_LOCK;
    std::memcpy(current, state.entry, sizeof current);
    return 0;
}

int32_t rdbRewriteCurrent(rdbHandle* h, int32_t keyNumber, const void* data, int32_t length)
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    Database& db = *h->database;
    uint8_t current[256];
    if ((status = checkCurrentChange(h, keyNumber, false, current)))
        return done(h, status);
    return inUpdate(h, db, [&] {
        return db.writeRecord(5, keyNumber, entryKey(current), entryKeyLength(current, db.keys), entryRecord(current),
            static_cast<const uint8_t*>(data), length);
    });
}

int32_t rdbDelete(rdbHandle* h, int32_t keyNumber, const void* key, int32_t record)
{
    uint8_t keyCopy[256];
    int keyLen = enterWithKey(h, keyNumber, key, record, nullptr, true, keyCopy);
    if (keyLen < 0)
        return keyLen;
    Database& db = *h->database;
    return inUpdate(h, db, [&] { return db.deleteRecord(keyNumber, keyCopy, keyLen, record); });
}

int32_t rdbDeleteCurrent(rdbHandle* h, int32_t keyNumber)
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    Database& db = *h->database;
    IndexState& state = db.indexes[keyNumber];
    uint8_t current[256];
    // Deleting at indexes 16, 18 and 20 needs no record lock.
    bool exempt = keyNumber == 16 || keyNumber == 18 || keyNumber == 20;
    if ((status = checkCurrentChange(h, keyNumber, exempt, current)))
        return done(h, status);
    return inUpdate(h, db, [&] {
        int32_t deleted
            = db.deleteRecord(keyNumber, entryKey(current), entryKeyLength(current, db.keys), entryRecord(current));
        state.stale = true;
        return deleted;
    });
}

int32_t rdbNextSequence(rdbHandle* h)
{
    return headerUpdate(h, [h](Database& db) {
        h->recordNumber = db.header.nextRecord;
        db.header.nextRecord = static_cast<int32_t>(static_cast<uint32_t>(db.header.nextRecord) + 1);
        return 0;
    });
}

int32_t rdbSetSequence(rdbHandle* h, int32_t number)
{
    return headerUpdate(h, [number](Database& db) {
        db.header.nextRecord = number;
        return 0;
    });
}

int32_t rdbGetUserWord(rdbHandle* h)
{
    return headerRead(h, [h](Database& db) {
        h->recordNumber = db.header.userWord;
        return 0;
    });
}

int32_t rdbSetUserWord(rdbHandle* h, int32_t value)
{
    return headerUpdate(h, [value](Database& db) {
        db.header.userWord = value;
        return 0;
    });
}

int32_t rdbReadUserArea(rdbHandle* h, void* buffer, int32_t length)
{
    return headerRead(h, [h, buffer, length](Database& db) -> int32_t {
        int32_t size = db.header.userLength >= 1 && db.header.userLength <= 100 ? db.header.userLength : 0;
        h->dataLength = size;
        if (length < size || (size && !buffer))
            return RDB_BUFFER_SHORT;
        std::memcpy(buffer, db.header.userArea, static_cast<size_t>(size));
        return 0;
    });
}

int32_t rdbWriteUserArea(rdbHandle* h, const void* data, int32_t length)
{
    if (isValid(h) && (length < 0 || length > 100 || (length && !data)))
        return done(h, RDB_BAD_ARGUMENT);
    return headerUpdate(h, [data, length](Database& db) {
        std::memset(db.header.userArea, 0, sizeof db.header.userArea);
        if (length)
            std::memcpy(db.header.userArea, data, static_cast<size_t>(length));
        db.header.userLength = length;
        return 0;
    });
}

int32_t rdbLockRecord(rdbHandle* h, int32_t keyNumber)
{
    return lockEntry(h, keyNumber, [keyNumber](Database& db) { return db.lockRecord(keyNumber); });
}

int32_t rdbUnlockRecord(rdbHandle* h, int32_t keyNumber)
{
    return lockEntry(h, keyNumber, [keyNumber](Database& db) { return db.unlockRecord(keyNumber); });
}

int32_t rdbTestRecordLock(rdbHandle* h, int32_t keyNumber)
{
    int32_t status = enter(h, keyNumber);
    if (status)
        return status;
    Database& db = *h->database;
    auto test = [&] { return db.testRecordLock(keyNumber); };
    return db.writable ? inUpdate(h, db, test) : inRead(h, db, test);
}

int32_t rdbLockFileMode(rdbHandle* h, int32_t writer)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    return done(h, lockFileMode(*h->database, writer != 0));
}

int32_t rdbUnlockFileMode(rdbHandle* h)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    return done(h, unlockFileMode(*h->database));
}

// Changes the key types of empty indexes and installs the segment lists, inside an update bracket.
static int32_t defineIndexes(Database& db, const rdbIndexDef* table)
{
    int32_t status = 0;
    for (int n = 0; !status && n < MaxIndex && table[n].index != 0; ++n) {
        const rdbIndexDef& def = table[n];
        if (def.index >= 16) {
            status = RDB_BAD_INDEX;
        } else if (def.keyType > MaxKeyType) {
            status = RDB_INDEX_MISMATCH;
        } else if ((def.keyType == KeyComposite || def.segments) && checkSegments(def.segments)) {
            status = RDB_BAD_SEGMENTS;
        } else if (def.keyType != db.header.keyType(def.index)) {
            SearchTarget t { .index = def.index, .mode = SearchTarget::First };
            Page page;
            Cursor at;
            int32_t found = db.search(t, page, at);
            if (found == 0)
                status = RDB_INDEX_NOT_EMPTY;
            else if (found < RDB_FAILED)
                status = found;
            else {
                db.header.keyTypes[def.index] = def.keyType;
                db.headerChanged = true;
                db.setKeyTypes();
                db.pathValid = false;
            }
        }
        if (!status)
            db.keys.segments[def.index] = def.segments;
    }
    return status;
}

int32_t rdbDefineIndexes(rdbHandle* h, const rdbIndexDef* table)
{
    if (!isValid(h))
        return RDB_BAD_HANDLE;
    Database& db = *h->database;
    db.handle = h;
    if (!table)
        return done(h, RDB_INDEX_MISMATCH);
    return inUpdate(h, db, [&] { return defineIndexes(db, table); });
}

int32_t rdbCheckHandleSize(int32_t size)
{
    return size == static_cast<int32_t>(sizeof(rdbHandle)) ? 0 : RDB_FAILED;
}

int32_t rdbSetCacheSize(int32_t buffers)
{
    if (buffers < 1 || openFiles > 0)
        return RDB_FAILED;
    try {
        return PageCache::the().resize(buffers) ? 0 : RDB_FAILED;
    } catch (const std::bad_alloc&) {
        return RDB_NO_MEMORY;
    }
}
