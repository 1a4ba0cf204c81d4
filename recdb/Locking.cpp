// Brackets around reads and updates, and the byte-range locks that serialise shared openers.
//
// Lock bytes (one-byte ranges in the header block above the header; their content is unused):
//
//   bytes       role
//   353..561    opener slots: a shared opener holds byte 353 + its slot (0..208)
//   562..770    readers-writer area: a reader holds 562 + its slot, a writer all 209 bytes
//   771         the file lock, held by the outermost bracket of a shared file
//   772..980    queue bytes of the queued file lock

#include "recdb/Database.h"
#include "recdb/PageCache.h"

#include <thread>
#include <vector>

namespace recdb {

namespace {

    constexpr int SlotBase = 353;
    constexpr int SlotCount = 209;
    constexpr int ReaderBase = 562;
    constexpr int FileLockByte = 771;
    constexpr int QueueFirst = 772;
    constexpr int QueueLast = 980;
    // A readers-writer lock can be held between calls, so a second handle of this program may wait
    // for it forever; the retries are bounded and then reported as a failed lock.
    constexpr int LockRetries = 100000;

    bool lockWithRetries(platform::File& file, int64_t offset, int64_t length)
    {
        for (int i = 0; i < LockRetries; ++i) {
            if (file.lock(offset, length, true))
                return true;
            if (file.lastError() != platform::FileError::Locked)
                return false;
            std::this_thread::yield();
        }
        return false;
    }

} // namespace

int32_t Database::takeFileLock()
{
    if (!handle->queuedLock) {
        // The file lock is never held between calls, so waiting for it cannot wait on this thread.
        if (!file.lock(FileLockByte, 1, true, true))
            return RDB_LOCK_FAILED;
        holdsFileLock = true;
        return 0;
    }
    int byte = QueueFirst;
    while (byte <= QueueLast && !file.lock(byte, 1, true))
        ++byte;
    if (byte > QueueLast)
        return RDB_NO_SLOT;
    while (byte > FileLockByte) {
        if (!file.lock(byte - 1, 1, true, true)) {
            file.unlock(byte, 1);
            return RDB_QUEUE_FAILED;
        }
        file.unlock(byte, 1);
        --byte;
    }
    holdsFileLock = true;
    return 0;
}

int32_t Database::releaseFileLock()
{
    if (!holdsFileLock)
        return 0;
    holdsFileLock = false;
    return file.unlock(FileLockByte, 1) ? 0 : RDB_LOCK_FAILED;
}

void Database::checkChangeCounter()
{
    uint8_t raw[4];
    if (file.readAt(0, raw, 4) != 4)
        return;
    if (swap)
        swap32At(raw);
    if (static_cast<uint32_t>(load32(raw)) == header.changeCounter)
        return;
    // Another opener changed the file: forget its pages and find every position again by key.
    PageCache::the().drop(*this);
    readHeaderBlock();
    for (auto& state : indexes)
        state.stale = true;
    pathValid = false;
}

int32_t Database::beginRead()
{
    if (readDepth++ == 0 && updateDepth == 0 && shared) {
        int32_t status = takeFileLock();
        if (status) {
            --readDepth;
            return status;
        }
        checkChangeCounter();
    }
    return 0;
}

int32_t Database::endRead(int32_t status)
{
    if (--readDepth == 0 && updateDepth == 0 && shared) {
        int32_t release = releaseFileLock();
        if (release && !handle->pendingError)
            handle->pendingError = release;
    }
    handle->keyOrder = 1;
    return status;
}

int32_t Database::beginUpdate()
{
    if (!writable)
        return RDB_READ_ONLY;
    if (updateDepth == 0) {
        if (shared && readDepth == 0) {
            int32_t status = takeFileLock();
            if (status)
                return status;
            checkChangeCounter();
        }
        if (writeMode() == 4) {
            uint8_t marker[2] = {};
            file.readAt(UpdateMarkerOffset, marker, 2);
            int32_t status
                = load16(marker) == MarkerValue ? RDB_INTERRUPTED : writeMarker(UpdateMarkerOffset, MarkerValue, 2);
            if (status) {
                if (shared && readDepth == 0)
                    releaseFileLock();
                return status;
            }
            markerWritten = true;
        }
        header.changeCounter += 1;
        if (header.changeCounter == 0)
            header.changeCounter = 1;
        headerChanged = true;
    }
    ++updateDepth;
    return 0;
}

int32_t Database::endUpdate(int32_t status)
{
    if (--updateDepth > 0)
        return status;
    int32_t result = writeFailure;
    writeFailure = 0;
    auto keep = [&](int32_t s) {
        if (s && !result)
            result = s;
    };
    if (shared || writeMode() == 4) {
        keep(writeBack());
        if (!file.flush())
            keep(RDB_WRITE_FAILED);
    } else if (writeMode() >= 1) {
        if (headerChanged)
            keep(writeHeader());
        if (!file.flush())
            keep(RDB_WRITE_FAILED);
    }
    grew = false;
    if (markerWritten) {
        keep(writeMarker(UpdateMarkerOffset, 0, 2));
        markerWritten = false;
    }
    if (shared && readDepth == 0)
        keep(releaseFileLock());
    if (handle->pendingError) {
        keep(handle->pendingError);
        handle->pendingError = 0;
    }
    return result ? result : status;
}

int32_t Database::takeSlot()
{
    for (int s = 0; s < SlotCount; ++s) {
        if (file.lock(SlotBase + s, 1, true)) {
            slot = s;
            return 0;
        }
    }
    return RDB_NO_SLOT;
}

int32_t Database::removeOwnLockEntries()
{
    // Lock entries of index 20 that carry this opener's slot were left by an earlier opener
    // with the same slot: find them in a read pass, then delete them in one update.
    uint8_t own[2];
    store16(own, static_cast<uint16_t>(slot));
    if (swap)
        swap16At(own);
    std::vector<std::vector<uint8_t>> found;
    SearchTarget target;
    target.index = MaxIndex;
    target.mode = SearchTarget::First;
    Page page;
    Cursor at;
    int32_t status = search(target, page, at);
    while (status >= 0 && at.leaf >= 0) {
        const uint8_t* e = pageEntry(page, at.pos);
        if (entryIndex(e) != MaxIndex)
            break;
        int keyLen = entryKeyLength(e, keys);
        if (entryPiece(e) == 0 && entrySize(e) - 7 - keyLen == 2 && e[7 + keyLen] == own[0] && e[8 + keyLen] == own[1])
            found.emplace_back(e, e + entrySize(e));
        status = stepForward(page, at);
    }
    if (status < RDB_FAILED)
        return status;
    if (found.empty())
        return 0;
    status = beginUpdate();
    if (status)
        return status;
    for (auto& e : found) {
        status = deleteRecord(MaxIndex, entryKey(e.data()), entryKeyLength(e.data(), keys), entryRecord(e.data()));
        if (status < RDB_FAILED)
            break;
        status = 0;
    }
    return endUpdate(status);
}

// The readers-writer lock of a shared file; exclusive files have nothing to share.
int32_t lockFileMode(Database& db, bool writer)
{
    if (!db.shared)
        return 0;
    if (db.fileMode == 1 && !db.file.unlock(ReaderBase + db.slot, 1))
        return RDB_LOCK_FAILED;
    if (db.fileMode == 2 && !db.file.unlock(ReaderBase, SlotCount))
        return RDB_LOCK_FAILED;
    db.fileMode = 0;
    bool granted
        = writer ? lockWithRetries(db.file, ReaderBase, SlotCount) : lockWithRetries(db.file, ReaderBase + db.slot, 1);
    if (!granted)
        return RDB_LOCK_FAILED;
    db.fileMode = writer ? 2 : 1;
    return 0;
}

int32_t unlockFileMode(Database& db)
{
    bool ok = true;
    if (db.fileMode == 1)
        ok = db.file.unlock(ReaderBase + db.slot, 1);
    else if (db.fileMode == 2)
        ok = db.file.unlock(ReaderBase, SlotCount);
    db.fileMode = 0;
    return ok ? 0 : RDB_LOCK_FAILED;
}

bool slotIsLive(Database& db, int slot)
{
    if (slot == db.slot)
        return true;
    if (slot < 0 || slot >= SlotCount)
        return false;
    if (!db.file.lock(SlotBase + slot, 1, true))
        return true;
    db.file.unlock(SlotBase + slot, 1);
    return false;
}

} // namespace recdb
