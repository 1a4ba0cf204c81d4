#pragma once

// The state of one open record file behind an rdbHandle: the file, the header image, the key
// formats, the position of each index and the path of the last tree descent.

#include "platform/sys/File.h"
#include "recdb/Format.h"
#include "recdb/RecDb.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace recdb {

// A place in a leaf: on entry pos of page leaf, or just after the leaf's entries (pos == count).
// leaf == -1 is the end (or the start) of the tree.
struct Cursor {
    int32_t leaf { -1 };
    int pos { 0 };
};

struct IndexState {
    bool positioned { false }; // stands on a record of its own index
    bool stale { true }; // the file changed under it: find the place again by key
    bool locked { false }; // lock letter 'L'
    Cursor cursor;
    uint8_t entry[256] {}; // piece 0 of the current record
};

struct SearchTarget {
    enum Mode { Exact, First, Last };
    int index { 0 };
    const uint8_t* key { nullptr };
    int keyLength { 0 };
    int32_t record { 0 };
    int piece { 0 };
    Mode mode { Exact };
};

// The place of a stored entry (its index, key and record) at one of its record's pieces.
inline SearchTarget targetOfEntry(const uint8_t* entry, const KeyFormat& keys, int piece)
{
    return { .index = entryIndex(entry),
        .key = entryKey(entry),
        .keyLength = entryKeyLength(entry, keys),
        .record = entryRecord(entry),
        .piece = piece };
}

class Database {
public:
    explicit Database(rdbHandle* handle);
    ~Database();

    rdbHandle* handle;
    platform::File file;
    std::string name;
    uint64_t generation { 0 };
    int32_t firstCached { -1 }; // this file's first buffer in the page cache, -1 when none
    int32_t filePages { 0 }; // pages in the file: the extent, or more while zero pages lie ahead
    bool swap { false };
    bool writable { false };
    bool shared { false };
    Header header;
    bool headerChanged { false };
    KeyFormat keys;
    IndexState indexes[MaxIndex + 1];
    int32_t path[MaxHeight] {};
    int pathTree { -1 };
    int pathIndex { -1 };
    bool pathValid { false };
    int readDepth { 0 };
    int updateDepth { 0 };
    bool holdsFileLock { false };
    bool markerWritten { false };
    bool grew { false };
    int slot { -1 };
    int fileMode { 0 }; // readers-writer lock held: 0 none, 1 reader, 2 writer
    int64_t pageReads { 0 };

    // Consulted before every write to the file when set; answering true makes that write fail as
    // on a full device. Lets tests reach the paths that recover from a failed write.
    std::function<bool(int64_t offset, size_t size)> failWrite;

    // The first write that failed during a tree change in the current update. The change goes
    // on in the page cache (a tree changed halfway would lose entries), the pages that did not
    // reach the file stay marked for the next write-back, and the update answers the failure.
    int32_t writeFailure { 0 };

    int writeMode() const { return handle->writeMode; }

    // Files (Database.cpp).
    // Writes all the bytes at offset; false (with the system error in the handle) otherwise.
    bool writeBytes(int64_t offset, const void* data, size_t size);
    int32_t readHeaderBlock();
    int32_t writeHeader();
    // Turns a failed write (-8) into a remembered writeFailure and 0; other statuses pass.
    int32_t deferWriteFailure(int32_t status);
    int32_t writeMarker(int offset, uint32_t value, int width);
    int32_t writeBack(); // header and changed pages
    void setKeyTypes();

    // Pages (Database.cpp).
    int32_t fetch(int32_t page, Page& out);
    // The page in its cache buffer, without a copy: valid until the next fetch, store or drop.
    int32_t fetchRef(int32_t page, const Page*& out);
    int32_t store(int32_t page, const Page& image);
    int32_t writePageNow(int32_t page, const Page& image);
    // Writes count pages that follow each other in the file, from page first on, in one write.
    static constexpr int PagesPerWrite = 64;
    int32_t writePagesNow(int32_t first, const Page* const* images, int count);

    // Brackets and locks (Locking.cpp).
    int32_t beginRead();
    int32_t endRead(int32_t status);
    int32_t beginUpdate();
    int32_t endUpdate(int32_t status);
    int32_t takeFileLock();
    int32_t releaseFileLock();
    void checkChangeCounter();
    int32_t takeSlot();
    int32_t removeOwnLockEntries();

    // The tree (BTree.cpp).
    int compareEntry(const uint8_t* entry, const SearchTarget& target) const;
    int32_t descend(const SearchTarget& target, Page& leaf, Cursor& at);
    int32_t search(const SearchTarget& target, Page& page, Cursor& at);
    int32_t settle(Page& page, Cursor& at);
    int32_t stepForward(Page& page, Cursor& at);
    int32_t stepBack(Page& page, Cursor& at);
    int32_t insertEntry(const uint8_t* entry, const SearchTarget& target);
    int32_t removeEntry(int tree, Page& leaf, Cursor at);
    int32_t findStatus(const uint8_t* entry, const SearchTarget& target) const;

    // Records and pages (Records.cpp).
    int32_t allocatePage(int32_t& page);
    int32_t freePage(int32_t page);
    int32_t reservePages(int height);
    static constexpr int ReserveRun = 64; // zero pages appended at once in write mode 0
    int32_t cutToExtent();
    int32_t writeRecord(int mode, int keyNumber, const uint8_t* key, int keyLength, int32_t record, const uint8_t* data,
        int32_t length);
    int32_t insertPieces(
        int keyNumber, const uint8_t* key, int keyLength, int32_t record, const uint8_t* data, int32_t length);
    int32_t keepRecord(const Page& page, Cursor at, int capacity, std::unique_ptr<uint8_t[]>& copy, int32_t& length);
    int32_t deleteRecord(int keyNumber, const uint8_t* key, int keyLength, int32_t record);
    int32_t readRecord(int keyNumber, Page& page, Cursor at, uint8_t* buffer, int32_t length);
    // Copies the pieces of the record at `at` (up to length bytes) and counts its full length.
    int32_t collectRecord(
        const Page& page, Cursor at, uint8_t* buffer, int32_t length, int32_t& copied, int32_t& total);
    int32_t currentPosition(int keyNumber, Page& page, Cursor& at);
    int32_t next(int keyNumber, uint8_t* buffer, int32_t length);
    int32_t previous(int keyNumber, uint8_t* buffer, int32_t length);
    int32_t readAt(int keyNumber, Page& page, Cursor at, uint8_t* buffer, int32_t length);
    int32_t lockRecord(int keyNumber);
    int32_t unlockRecord(int keyNumber);
    int32_t testRecordLock(int keyNumber);
    void clearPosition(int keyNumber);

    int tree(int index) const { return header.treeOf(index) <= MaxIndex ? header.treeOf(index) : -1; }
};

// The entry at position pos of a checked page.
const uint8_t* pageEntry(const Page& page, int pos);

int32_t lockFileMode(Database& db, bool writer);
int32_t unlockFileMode(Database& db);
// True when the opener of this slot still holds it (this handle's own slot included).
bool slotIsLive(Database& db, int slot);

// The stored length of a key passed by the program, or -1 when it is longer than any key.
int callerKeyLength(int type, const void* key);

} // namespace recdb
