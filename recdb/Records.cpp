// Records cut into pieces that ride in leaf entries, the positions of the indexes, the
// free-page list and the reserve pages.

#include "recdb/Database.h"
#include "recdb/PageCache.h"

#include <climits>
#include <memory>
#include <new>

namespace recdb {

namespace {

    bool sameRecord(const uint8_t* a, const uint8_t* b, const KeyFormat& keys)
    {
        if (entryIndex(a) != entryIndex(b) || entryRecord(a) != entryRecord(b))
            return false;
        int la = entryKeyLength(a, keys);
        int lb = entryKeyLength(b, keys);
        return la == lb && std::memcmp(entryKey(a), entryKey(b), static_cast<size_t>(la)) == 0;
    }

} // namespace

int32_t Database::allocatePage(int32_t& page)
{
    if (header.freeHead != -1) {
        int32_t head = header.freeHead;
        Page free;
        int32_t status = fetch(head, free);
        if (status)
            return status;
        // Why: a free-list head that names a live page would have the next insertion overwrite it.
        int32_t next = free.right();
        if (!free.isFree() || next < -1 || next >= header.pageCount)
            return RDB_DAMAGED;
        header.freeHead = next;
        page = head;
    } else {
        // Why: the reserve pages were appended before the insertion; none left means the
        // header's counts disagree.
        if (header.pageCount >= header.extent)
            return RDB_HEADER_FAILED;
        page = header.pageCount++;
    }
    headerChanged = true;
    if (writeMode() >= 1 && writeMode() <= 3)
        return deferWriteFailure(writeHeader());
    return 0;
}

int32_t Database::freePage(int32_t page)
{
    Page free;
    free.initEmpty(0);
    free.setLeftChild(-1);
    free.setLevel(FreeLevel);
    free.setRight(header.freeHead);
    int32_t status = store(page, free);
    if (status)
        return status;
    header.freeHead = page;
    headerChanged = true;
    if (writeMode() >= 1 && writeMode() <= 3)
        return deferWriteFailure(writeHeader());
    return 0;
}

// In write mode 0 of an exclusive file the header on the disk is brought up to date only at close
// and flush, so the zero pages are appended ahead in runs (one write instead of one per page);
// writing the header cuts the file back to its extent. Any other mode appends page by page.
int32_t Database::reservePages(int height)
{
    static const uint8_t zero[PageSize * ReserveRun] = {};
    bool ahead = writeMode() == 0 && !shared;
    if (!ahead && filePages > header.extent) {
        int32_t status = cutToExtent();
        if (status)
            return status;
    }
    bool appended = false;
    while (header.extent - header.pageCount <= height) {
        if (header.extent >= filePages) {
            int64_t offset = HeaderBlockSize + int64_t(PageSize) * header.extent;
            int run = ahead ? ReserveRun : 1;
            // A run that does not fit on the disk falls back to the single page the tree needs
            // (after dropping what part of the run was written).
            if (run > 1 && !writeBytes(offset, zero, size_t(PageSize) * run)) {
                file.truncate(offset);
                run = 1;
            }
            if (run == 1 && !writeBytes(offset, zero, PageSize))
                return RDB_WRITE_FAILED;
            filePages = header.extent + run;
        }
        ++header.extent;
        headerChanged = true;
        grew = appended = true;
    }
    if (appended && !shared && writeMode() >= 1 && writeMode() <= 3) {
        if (!file.flush())
            return RDB_WRITE_FAILED;
        return writeHeader();
    }
    return 0;
}

// Drops the zero pages appended ahead past the extent.
int32_t Database::cutToExtent()
{
    if (filePages <= header.extent)
        return 0;
    if (!file.truncate(HeaderBlockSize + int64_t(PageSize) * header.extent)) {
        handle->errorDetail = static_cast<int32_t>(file.lastError());
        return RDB_WRITE_FAILED;
    }
    filePages = header.extent;
    return 0;
}

void Database::clearPosition(int k)
{
    indexes[k].positioned = false;
    indexes[k].cursor = {};
}

// Stands index k on the record whose piece 0 is at `at`, and reads it into the buffer.
int32_t Database::readAt(int k, Page& page, Cursor at, uint8_t* buffer, int32_t length)
{
    if (at.leaf < 0 || entryIndex(pageEntry(page, at.pos)) != k) {
        clearPosition(k);
        return RDB_FAILED;
    }
    const uint8_t* e = pageEntry(page, at.pos);
    IndexState& state = indexes[k];
    state.positioned = true;
    state.stale = false;
    state.cursor = at;
    std::memcpy(state.entry, e, static_cast<size_t>(entrySize(e)));
    std::memcpy(handle->currentKey, e, static_cast<size_t>(entrySize(e)));
    handle->keyPointer = handle->currentKey + 7;
    handle->recordNumber = entryRecord(e);
    return readRecord(k, page, at, buffer, length);
}

int32_t Database::readRecord(int k, Page& page, Cursor at, uint8_t* buffer, int32_t length)
{
    handle->dataPointer = buffer;
    const uint8_t* e = pageEntry(page, at.pos);
    int firstLength = entrySize(e) - 7 - entryKeyLength(e, keys);
    if (firstLength == 0 || length <= 0 || !buffer) {
        handle->fullLength = 0;
        handle->dataLength = firstLength;
        return 0;
    }
    int32_t copied = 0;
    int32_t total = 0;
    int32_t status = collectRecord(page, at, buffer, length, copied, total);
    if (status && status != RDB_BROKEN_RECORD)
        return status;
    handle->dataLength = copied;
    handle->fullLength = total;
    return status;
}

int32_t Database::collectRecord(
    const Page& page, Cursor at, uint8_t* buffer, int32_t length, int32_t& copied, int32_t& total)
{
    // The record is read in place; the page is copied only when the record runs on into the
    // next leaf.
    const Page* current = &page;
    Page walk;
    const uint8_t* e = pageEntry(page, at.pos);
    uint8_t first[256];
    std::memcpy(first, e, static_cast<size_t>(entrySize(e)));
    int keyLen = entryKeyLength(e, keys);
    copied = 0;
    total = 0;
    bool broken = entryPiece(e) != 0;
    for (int pieces = 1;; ++pieces) {
        int n = entrySize(e) - 7 - keyLen;
        if (copied < length) {
            int take = n < length - copied ? n : length - copied;
            std::memcpy(buffer + copied, e + 7 + keyLen, static_cast<size_t>(take));
            copied += take;
        }
        total += n;
        if (entryIsLast(e) || broken)
            break;
        // Why: a record has at most 128 pieces; a longer chain is damage, not data.
        if (pieces >= MaxPieces) {
            broken = true;
            break;
        }
        int previous = entryPiece(e);
        if (at.pos + 1 < current->count()) {
            ++at.pos;
            e += entrySize(e);
        } else {
            if (current != &walk) {
                walk = page;
                current = &walk;
            }
            int32_t status = stepForward(walk, at);
            if (status)
                return status;
            if (at.leaf < 0) {
                broken = true;
                break;
            }
            e = pageEntry(walk, at.pos);
        }
        if (!sameRecord(e, first, keys) || entryPiece(e) != previous + 1) {
            broken = true;
            break;
        }
    }
    return broken ? RDB_BROKEN_RECORD : 0;
}

// The page and place of index k's current record, when it is still where it was read.
int32_t Database::currentPosition(int k, Page& page, Cursor& at)
{
    IndexState& state = indexes[k];
    if (!state.positioned)
        return RDB_NO_CURRENT;
    if (state.stale || fetch(state.cursor.leaf, page) != 0)
        return RDB_FAILED;
    if (page.isFree() || page.level() != 0 || state.cursor.pos >= page.count())
        return RDB_FAILED;
    const uint8_t* e = pageEntry(page, state.cursor.pos);
    if (!sameRecord(e, state.entry, keys) || entryPiece(e) != 0)
        return RDB_FAILED;
    at = state.cursor;
    return 0;
}

int32_t Database::next(int k, uint8_t* buffer, int32_t length)
{
    IndexState& state = indexes[k];
    Page page;
    Cursor at;
    int32_t status;
    if (!state.positioned) {
        SearchTarget first;
        first.index = k;
        first.mode = SearchTarget::First;
        status = search(first, page, at);
    } else if (currentPosition(k, page, at) == 0) {
        // Skip the rest of the current record.
        uint8_t current[256];
        std::memcpy(current, state.entry, sizeof current);
        int guard = 0;
        do {
            status = stepForward(page, at);
        } while (
            status == 0 && at.leaf >= 0 && ++guard <= MaxPieces && sameRecord(pageEntry(page, at.pos), current, keys));
    } else {
        // The record moved or went: continue after its key and record number.
        uint8_t current[256];
        std::memcpy(current, state.entry, sizeof current);
        status = search(targetOfEntry(current, keys, MaxPieces), page, at);
    }
    if (status < RDB_FAILED)
        return status;
    return readAt(k, page, at, buffer, length);
}

namespace {

    // Steps back from `at` to the piece 0 of the record before it.
    int32_t backToRecord(Database& db, int k, Page& page, Cursor& at)
    {
        for (int guard = 0; guard <= MaxPieces; ++guard) {
            int32_t status = db.stepBack(page, at);
            if (status)
                return status;
            if (at.leaf < 0 || entryIndex(pageEntry(page, at.pos)) != k)
                return RDB_FAILED;
            if (entryPiece(pageEntry(page, at.pos)) == 0)
                return 0;
        }
        // Why: more than 128 pieces without a piece 0 is a broken chain.
        return RDB_BROKEN_RECORD;
    }

} // namespace

int32_t Database::previous(int k, uint8_t* buffer, int32_t length)
{
    IndexState& state = indexes[k];
    if (!state.positioned)
        return RDB_FAILED;
    Page page;
    Cursor at;
    int32_t status = 0;
    if (currentPosition(k, page, at) != 0) {
        uint8_t current[256];
        std::memcpy(current, state.entry, sizeof current);
        status = descend(targetOfEntry(current, keys, 0), page, at);
        if (status)
            return status;
    }
    status = backToRecord(*this, k, page, at);
    if (status) {
        if (status == RDB_FAILED)
            clearPosition(k);
        return status;
    }
    return readAt(k, page, at, buffer, length);
}

int32_t Database::deleteRecord(int k, const uint8_t* key, int keyLen, int32_t record)
{
    int removed = 0;
    for (int piece = 0; piece < MaxPieces; ++piece) {
        SearchTarget t { .index = k, .key = key, .keyLength = keyLen, .record = record, .piece = piece };
        Page page;
        Cursor at;
        int32_t status = descend(t, page, at);
        if (status)
            return status;
        if (at.pos >= page.count())
            break;
        const uint8_t* e = pageEntry(page, at.pos);
        if (compareEntry(e, t) != 0)
            break;
        bool last = entryIsLast(e);
        status = removeEntry(tree(k), page, at);
        if (status)
            return status;
        ++removed;
        if (last)
            break;
    }
    return removed ? 0 : RDB_FAILED;
}

// Puts the pieces of a record into the tree, piece 0 first; stops at the first failure.
int32_t Database::insertPieces(
    int k, const uint8_t* key, int keyLen, int32_t record, const uint8_t* data, int32_t length)
{
    int capacity = PieceSpace - keyLen;
    int pieces = length == 0 ? 1 : (length + capacity - 1) / capacity;
    SearchTarget t { .index = k, .key = key, .keyLength = keyLen, .record = record };
    int offset = 0;
    for (int piece = 0; piece < pieces; ++piece) {
        int n = length - offset < capacity ? length - offset : capacity;
        bool last = piece == pieces - 1;
        uint8_t entry[256];
        entry[0] = static_cast<uint8_t>(6 + keyLen + n);
        entry[1] = static_cast<uint8_t>(k);
        entry[2] = static_cast<uint8_t>(piece | (last ? LastPiece : 0));
        store32(entry + 3, record);
        std::memcpy(entry + 7, key, static_cast<size_t>(keyLen));
        if (n > 0)
            std::memcpy(entry + 7 + keyLen, data + offset, static_cast<size_t>(n));
        t.piece = piece;
        int32_t status = insertEntry(entry, t);
        if (status)
            return status;
        offset += n;
    }
    return 0;
}

int32_t Database::writeRecord(
    int mode, int k, const uint8_t* key, int keyLen, int32_t record, const uint8_t* data, int32_t length)
{
    // Why: a key must leave room for the entry head and a piece; data must fit in 128 pieces.
    if (length < 0 || keyLen < 1 || keyLen > MaxKeyLength || (length > 0 && !data))
        return RDB_BAD_ARGUMENT;
    int capacity = PieceSpace - keyLen;
    int64_t pieces = length == 0 ? 1 : (int64_t(length) + capacity - 1) / capacity;
    if (pieces > MaxPieces)
        return RDB_BAD_ARGUMENT;

    SearchTarget t { .index = k, .key = key, .keyLength = keyLen, .record = record };
    Page page;
    Cursor at;
    int32_t status;
    // The record being replaced, kept until its successor is in so that a failed write can put
    // it back; -1 when there is none to put back.
    std::unique_ptr<uint8_t[]> old;
    int32_t oldLength = -1;
    if (mode == 1 || mode == 2 || mode == 5 || mode == 4) {
        status = search(t, page, at);
        if (status < RDB_FAILED)
            return status;
        if (status == 0 && mode == 4)
            return RDB_FAILED;
        if (status == 0 && mode != 4) {
            // The reserve pages are appended before the old record goes, so that a device
            // without room refuses the change while nothing is lost.
            status = keepRecord(page, at, capacity, old, oldLength);
            if (!status)
                status = reservePages(header.heightOf(tree(k)));
            if (status)
                return status;
            status = deleteRecord(k, key, keyLen, record);
            if (status)
                return status;
        } else if (mode == 1 || mode == 5) {
            return RDB_FAILED;
        }
    }

    status = insertPieces(k, key, keyLen, record, data, length);
    if (!status)
        status = writeFailure;
    if (status) {
        // A record cut short reads as broken: take out the pieces that went in, then bring back
        // the record this write replaced. The write's own failure is answered either way.
        deleteRecord(k, key, keyLen, record);
        if (oldLength >= 0 && insertPieces(k, key, keyLen, record, old.get(), oldLength))
            deleteRecord(k, key, keyLen, record);
        return status;
    }

    // Stand on the record's first piece.
    t.piece = 0;
    if (search(t, page, at) == 0) {
        const uint8_t* e = pageEntry(page, at.pos);
        IndexState& state = indexes[k];
        state.positioned = true;
        state.stale = false;
        state.cursor = at;
        std::memcpy(state.entry, e, static_cast<size_t>(entrySize(e)));
        std::memcpy(handle->currentKey, e, static_cast<size_t>(entrySize(e)));
        handle->keyPointer = handle->currentKey + 7;
        handle->recordNumber = record;
    }
    return 0;
}

// Copies the record at `at` aside before it is replaced. A broken record, or one longer than its
// key lets this library write, cannot be put back: length stays -1 and the write goes on as a
// plain replacement. A failed read stops the write, since a record that cannot be read cannot be
// kept either.
int32_t Database::keepRecord(
    const Page& page, Cursor at, int capacity, std::unique_ptr<uint8_t[]>& copy, int32_t& length)
{
    length = -1;
    int32_t room = MaxPieces * capacity;
    copy.reset(new (std::nothrow) uint8_t[static_cast<size_t>(room)]);
    if (!copy)
        return RDB_NO_MEMORY;
    int32_t copied = 0;
    int32_t total = 0;
    int32_t status = collectRecord(page, at, copy.get(), room, copied, total);
    if (status == RDB_BROKEN_RECORD)
        return 0;
    if (status)
        return status;
    if (total == copied)
        length = total;
    return 0;
}

// Record locks of shared files: entries of index 20 whose key is a length byte, the locked
// entry's index number and key, whose record number is the locked record's, and whose data is
// the owner's slot as a 16-bit number in file byte order.
namespace {

    // The lock entry that stands for an index's current record.
    struct LockEntry {
        uint8_t key[256];
        int keyLength = 0;
        int32_t record = 0;
    };

    // False when the current entry's key is too long to be carried in a lock key.
    bool lockEntryOf(const Database& db, const IndexState& state, LockEntry& lock)
    {
        const uint8_t* e = state.entry;
        int keyLen = entryKeyLength(e, db.keys);
        // Why: the lock key carries the whole entry key and must itself fit the key limit.
        if (keyLen + 2 > MaxKeyLength)
            return false;
        lock.key[0] = static_cast<uint8_t>(keyLen + 1);
        lock.key[1] = static_cast<uint8_t>(entryIndex(e));
        std::memcpy(lock.key + 2, entryKey(e), static_cast<size_t>(keyLen));
        lock.keyLength = keyLen + 2;
        lock.record = entryRecord(e);
        return true;
    }

    // What lockOwner answers when no lock entry is there; errors lie below it.
    constexpr int32_t NoOwner = -1;

    // The owner slot of an existing lock entry, NoOwner when none, or an error.
    int32_t lockOwner(Database& db, const uint8_t* key, int keyLen, int32_t record)
    {
        SearchTarget t { .index = MaxIndex, .key = key, .keyLength = keyLen, .record = record };
        Page page;
        Cursor at;
        int32_t status = db.search(t, page, at);
        if (status != 0)
            return status < RDB_FAILED ? status : NoOwner;
        const uint8_t* e = pageEntry(page, at.pos);
        int k = entryKeyLength(e, db.keys);
        if (entrySize(e) - 7 - k != 2)
            return 0x7FFF; // not a slot: treated as a vanished owner
        uint8_t owner[2] = { e[7 + k], e[8 + k] };
        if (db.swap)
            swap16At(owner);
        return load16(owner);
    }

    // The lock entry of the current record of an index and its owner slot (NoOwner when the
    // record is not locked), or the error met finding them.
    struct FoundLock {
        LockEntry entry;
        int32_t owner { NoOwner };
        int32_t status { 0 };
    };

    FoundLock findLock(Database& db, const IndexState& state)
    {
        FoundLock found;
        if (!lockEntryOf(db, state, found.entry)) {
            found.status = RDB_BAD_ARGUMENT;
            return found;
        }
        found.owner = lockOwner(db, found.entry.key, found.entry.keyLength, found.entry.record);
        if (found.owner < NoOwner)
            found.status = found.owner;
        return found;
    }

    int32_t removeLock(Database& db, const LockEntry& lock)
    {
        return db.deleteRecord(MaxIndex, lock.key, lock.keyLength, lock.record);
    }

} // namespace

// The current record of index k read again: in place, or found by its key and record number.
static int32_t rereadCurrent(Database& db, int k)
{
    IndexState& state = db.indexes[k];
    Page page;
    Cursor at;
    if (!state.positioned)
        return RDB_NO_CURRENT;
    if (db.currentPosition(k, page, at) == 0)
        return 0;
    uint8_t current[256];
    std::memcpy(current, state.entry, sizeof current);
    int32_t status = db.search(targetOfEntry(current, db.keys, 0), page, at);
    if (status < RDB_FAILED)
        return status;
    if (status != 0)
        return RDB_NO_CURRENT;
    state.cursor = at;
    state.stale = false;
    return 0;
}

int32_t Database::lockRecord(int k)
{
    IndexState& state = indexes[k];
    int32_t found = rereadCurrent(*this, k);
    if (found)
        return found;
    if (!shared) {
        state.locked = true;
        return 0;
    }
    FoundLock lock = findLock(*this, state);
    if (lock.status)
        return lock.status;
    if (lock.owner != NoOwner) {
        if (lock.owner != slot && slotIsLive(*this, lock.owner))
            return RDB_LOCKED_BY_OTHER;
        if (int32_t status = removeLock(*this, lock.entry))
            return status;
    }
    uint8_t data[2];
    store16(data, static_cast<uint16_t>(slot));
    if (swap)
        swap16At(data);
    int32_t status = writeRecord(4, MaxIndex, lock.entry.key, lock.entry.keyLength, lock.entry.record, data, 2);
    if (status == 0)
        state.locked = true;
    return status;
}

int32_t Database::unlockRecord(int k)
{
    IndexState& state = indexes[k];
    if (!state.positioned)
        return RDB_NO_CURRENT;
    if (!shared) {
        state.locked = false;
        return 0;
    }
    FoundLock lock = findLock(*this, state);
    if (lock.status)
        return lock.status;
    if (lock.owner == NoOwner)
        return RDB_NOT_LOCKED;
    if (lock.owner != slot)
        return RDB_LOCKED_BY_OTHER;
    int32_t status = removeLock(*this, lock.entry);
    if (status == 0)
        state.locked = false;
    return status;
}

int32_t Database::testRecordLock(int k)
{
    IndexState& state = indexes[k];
    if (!state.positioned)
        return RDB_NO_CURRENT;
    if (!shared)
        return RDB_LOCKED_BY_SELF;
    FoundLock lock = findLock(*this, state);
    if (lock.status)
        return lock.status;
    if (lock.owner == NoOwner)
        return RDB_NOT_LOCKED;
    if (lock.owner == slot)
        return RDB_LOCKED_BY_SELF;
    if (slotIsLive(*this, lock.owner))
        return RDB_LOCKED_BY_OTHER;
    // A vanished owner's entry is removed and counts as no lock.
    if (writable)
        removeLock(*this, lock.entry);
    return RDB_NOT_LOCKED;
}

} // namespace recdb
