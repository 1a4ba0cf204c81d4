// Repair in place, salvage from raw leaf pages, copy into an open file, and moving indexes
// between trees.

#include "recdb/EntryOrder.h"
#include "recdb/Verify.h"

#include <bit>
#include <vector>

namespace recdb {

namespace {

    // Index table of indexes 1..15 with the key types of a header.
    struct DefaultTable {
        rdbIndexDef entries[16] {};
        explicit DefaultTable(const Header& h)
        {
            for (int i = 1; i <= 15; ++i)
                entries[i - 1] = { static_cast<uint8_t>(i), static_cast<uint8_t>(h.keyType(i)), nullptr };
        }
    };

    int32_t readSourceHeader(platform::File& file, Header& header, bool& swap)
    {
        uint8_t raw[HeaderSize];
        if (file.readAt(0, raw, sizeof raw) != HeaderSize)
            return RDB_SOURCE_FAILED;
        return decodeHeader(raw, header, swap);
    }

    platform::File openReadOnly(const char* name)
    {
        platform::FileOpenOptions options;
        options.access = platform::FileAccess::Read;
        options.share = platform::FileShare::Read;
        return platform::File::open(name, options);
    }

    void removeAt(Page& page, int pos)
    {
        uint16_t offsets[MaxEntries];
        page.entryOffsets(offsets);
        uint8_t* e = page.bytes + offsets[pos];
        int size = entrySize(e);
        int end = EntryStart + page.used();
        std::memmove(e, e + size, static_cast<size_t>(page.bytes + end - (e + size)));
        std::memset(page.bytes + end - size, 0, static_cast<size_t>(size));
        page.setCount(page.count() - 1);
        page.setFreeBytes(page.freeBytes() + size);
    }

    // The position of an entry with exactly these bytes, or -1.
    int findEntry(const Page& page, const uint8_t* entry)
    {
        uint16_t offsets[MaxEntries];
        int count = page.entryOffsets(offsets);
        for (int i = 0; i < count; ++i) {
            const uint8_t* e = page.bytes + offsets[i];
            if (entrySize(e) == entrySize(entry) && std::memcmp(e, entry, static_cast<size_t>(entrySize(e))) == 0)
                return i;
        }
        return -1;
    }

    struct Held {
        int32_t page;
        uint8_t entry[256];
    };

    class TreeRepair {
    public:
        TreeRepair(Database& db, Database* target)
            : m_db(db)
            , m_target(target)
        {
        }
        int32_t run(int tree);

    private:
        // Takes an entry out of the tree (into the target when there is one).
        int32_t takeOut(const uint8_t* entry);
        int32_t dropPending(int32_t currentPage, Page& current, int& pos);

        Database& m_db;
        Database* m_target;
        std::vector<Held> m_pending; // the pieces of the record in progress
        uint8_t m_previous[256] {};
        bool m_havePrevious { false };
        uint8_t m_lastComplete[256] {};
        bool m_haveLastComplete { false };
        int32_t m_result { 0 };
    };

    int32_t TreeRepair::takeOut(const uint8_t* entry)
    {
        m_result = RDB_REBUILT;
        if (!m_target)
            return 0;
        return insertRawEntry(*m_target, entry);
    }

    int32_t TreeRepair::dropPending(int32_t currentPage, Page& current, int& pos)
    {
        for (const Held& held : m_pending) {
            int32_t status = takeOut(held.entry);
            if (status)
                return status;
            if (held.page == currentPage) {
                int at = findEntry(current, held.entry);
                if (at >= 0) {
                    removeAt(current, at);
                    if (at < pos)
                        --pos;
                }
                continue;
            }
            Page page;
            if ((status = m_db.fetch(held.page, page)))
                return status;
            int at = findEntry(page, held.entry);
            if (at >= 0) {
                removeAt(page, at);
                if ((status = m_db.store(held.page, page)))
                    return status;
            }
        }
        m_pending.clear();
        m_havePrevious = m_haveLastComplete;
        std::memcpy(m_previous, m_lastComplete, sizeof m_previous);
        return 0;
    }

    int32_t TreeRepair::run(int tree)
    {
        int height = m_db.header.heightOf(tree);
        if (height < 1 || height >= MaxHeight)
            return RDB_REBUILT;
        Page page;
        int32_t n = m_db.header.rootOf(tree);
        for (int level = height - 1;; --level) {
            // Why: a page that cannot be read, or a level gap, leaves the tree unwalkable.
            if (m_db.fetch(n, page) || page.isFree() || page.level() != level)
                return RDB_REBUILT;
            if (level == 0)
                break;
            n = page.leftChild();
        }
        for (int32_t steps = 0;; ++steps) {
            bool changed = false;
            int pos = 0;
            while (pos < page.count()) {
                uint16_t offsets[MaxEntries];
                page.entryOffsets(offsets);
                uint8_t e[256];
                std::memcpy(e, page.bytes + offsets[pos], static_cast<size_t>(entrySize(page.bytes + offsets[pos])));
                if (entryFollows(m_db, m_havePrevious ? m_previous : nullptr, e)) {
                    if (entryIsLast(e)) {
                        m_pending.clear();
                        std::memcpy(m_lastComplete, e, sizeof e);
                        m_haveLastComplete = true;
                    } else {
                        Held held { n, {} };
                        std::memcpy(held.entry, e, sizeof e);
                        m_pending.push_back(held);
                    }
                    std::memcpy(m_previous, e, sizeof e);
                    m_havePrevious = true;
                    ++pos;
                    continue;
                }
                int32_t status;
                if (!m_pending.empty()) {
                    // A record was in progress: all of it goes. The entry that broke it is tested
                    // again against the last complete record, so a sound record that follows a
                    // broken one stays.
                    changed = true;
                    m_result = RDB_REBUILT;
                    if ((status = dropPending(n, page, pos)))
                        return status;
                    continue;
                }
                if ((status = takeOut(e)))
                    return status;
                removeAt(page, pos);
                changed = true;
            }
            int32_t right = page.right();
            bool last = right == -1;
            if (last && !m_pending.empty()) {
                // An incomplete record at the very end of the tree.
                int end = page.count();
                int32_t status = dropPending(n, page, end);
                if (status)
                    return status;
                changed = true;
            }
            if (changed) {
                int32_t status = m_db.store(n, page);
                if (status)
                    return status;
            }
            // Why: a walk longer than the file has pages goes round a cycle.
            if (last || steps >= m_db.header.pageCount)
                return last ? m_result : RDB_REBUILT;
            int32_t from = n;
            n = right;
            if (m_db.fetch(n, page) || page.isFree() || page.level() != 0 || page.left() != from)
                return RDB_REBUILT;
        }
    }

    void copyHeaderState(const Header& from, rdbHandle* to)
    {
        Database& out = *to->database;
        out.header.nextRecord = from.nextRecord;
        out.header.freedRecords = from.freedRecords;
        out.header.userWord = from.userWord;
        out.header.userLength = from.userLength >= 1 && from.userLength <= 100 ? from.userLength : 0;
        std::memcpy(out.header.userArea, from.userArea, sizeof out.header.userArea);
        out.headerChanged = true;
        for (int i = 1; i <= MaxIndex; ++i) {
            int t = from.treeOf(i);
            if (t >= 2 && t <= MaxIndex)
                rdbSetIndexTree(to, i, t);
        }
    }

    // Inserts the entries of every leaf page of the source into the open file, in page order, until
    // a page cannot be read. Entries of index 16 are left out. Returns the first error met.
    int32_t copyLeaves(platform::File& source, bool swap, const KeyFormat& keys, Database& out,
        rdbHandle* progressHandle, rdbProgressFunction progress)
    {
        int32_t result = 0;
        auto keep = [&result](int32_t status) {
            if (status && !result)
                result = status;
        };
        for (int32_t n = 0;; ++n) {
            Page page;
            if (source.readAt(HeaderBlockSize + int64_t(PageSize) * n, page.bytes, PageSize) != PageSize)
                break;
            if (progress)
                progress(progressHandle, n);
            uint8_t* b = page.bytes;
            int level = swap ? (b[12] << 8 | b[13]) : load16(b + 12);
            int count = swap ? (b[14] << 8 | b[15]) : load16(b + 14);
            if (level != 0)
                continue;
            // Why: more than 143 entries cannot be a leaf; its bytes are not entries.
            if (count > MaxEntries) {
                keep(RDB_DAMAGED);
                continue;
            }
            int off = EntryStart;
            for (int i = 0; i < count; ++i) {
                // Why: each entry must lie inside the page, carry a known index number and hold
                // its whole key before it is copied.
                if (off >= PageSize) {
                    keep(RDB_DAMAGED);
                    break;
                }
                int rest = b[off];
                int index = off + 1 < PageSize ? b[off + 1] : 0;
                if (rest < 6 || off + 1 + rest > PageSize || index < 1 || index > MaxIndex
                    || keyLength(keys.type[index], b + off + 7, rest - 6) < 0) {
                    keep(RDB_DAMAGED);
                    break;
                }
                if (index != 16) {
                    // One entry in a page of its own, turned to this machine's order by the page reader.
                    Page single;
                    single.initEmpty(0);
                    std::memcpy(single.bytes + EntryStart, b + off, static_cast<size_t>(1 + rest));
                    single.setCount(1);
                    single.setFreeBytes(EntryArea - 1 - rest);
                    if (swap)
                        single.swapHead();
                    if (pageFromFile(single, swap, keys))
                        keep(RDB_DAMAGED);
                    else
                        keep(insertRawEntry(out, single.bytes + EntryStart));
                }
                off += 1 + rest;
            }
        }
        return result;
    }

} // namespace

} // namespace recdb

using namespace recdb;

int32_t rdbRebuild(const char* source, const char* target, const rdbIndexDef* table, rdbProgressFunction progress)
{
    if (!source || !*source)
        return RDB_BAD_ARGUMENT;
    Header sourceHeader;
    bool swap = false;
    {
        platform::File file = openReadOnly(source);
        if (!file.isOpen())
            return RDB_FAILED;
        int32_t status = readSourceHeader(file, sourceHeader, swap);
        if (status)
            return status == RDB_SOURCE_FAILED ? RDB_HEADER_FAILED : status;
    }
    DefaultTable defaults(sourceHeader);
    const rdbIndexDef* indexes = table ? table : defaults.entries;
    rdbHandle src;
    int32_t status = rdbOpen(&src, source, 'E', 2, indexes);
    if (status)
        return status;
    rdbHandle dst;
    Database* out = nullptr;
    if (target && *target) {
        status = rdbCreate(&dst, target, 'E', swap ? 3 : 1, indexes);
        if (status) {
            rdbClose(&src);
            return status;
        }
        rdbSetAccessMode(&dst, 0);
        out = dst.database;
    }
    Database& db = *src.database;
    int32_t result = 0;
    for (int t = 0; t <= MaxIndex; ++t) {
        if (t > 0 && db.header.roots[t] == 0)
            continue;
        if (progress)
            progress(&src, t);
        TreeRepair repair(db, out);
        status = repair.run(t);
        // An error of the files replaces the -13 of a removal; the first one stays.
        if (status && (result == 0 || (result == RDB_REBUILT && status != RDB_REBUILT)))
            result = status;
    }
    status = rdbClose(&src);
    if (status && (result == 0 || result == RDB_REBUILT))
        result = status;
    if (out) {
        status = rdbClose(&dst);
        if (status && (result == 0 || result == RDB_REBUILT))
            result = status;
    }
    return result;
}

int32_t rdbRebuildFiles(const char* source, const char* target)
{
    if (!source || !*source || !target || !*target)
        return RDB_BAD_ARGUMENT;
    return rdbRebuild(source, target, nullptr, nullptr);
}

int32_t rdbSalvage(const char* source, const char* target, const rdbIndexDef* table)
{
    if (!source || !*source)
        return RDB_SOURCE_FAILED;
    // The source is damaged: it is only read.
    platform::File file = openReadOnly(source);
    if (!file.isOpen())
        return RDB_SOURCE_FAILED;
    Header header;
    bool swap = false;
    int32_t status = readSourceHeader(file, header, swap);
    if (status)
        return status;
    DefaultTable defaults(header);
    const rdbIndexDef* indexes = table ? table : defaults.entries;
    rdbHandle dst;
    if (!target || !*target || rdbCreate(&dst, target, 'E', swap ? 3 : 1, indexes) != 0)
        return RDB_TARGET_FAILED;
    rdbSetAccessMode(&dst, 0);
    copyHeaderState(header, &dst);
    KeyFormat keys;
    for (int i = 1; i <= MaxIndex; ++i)
        keys.type[i] = static_cast<uint8_t>(header.keyType(i));
    for (int n = 0; table && n < MaxIndex && table[n].index != 0; ++n)
        keys.segments[table[n].index] = table[n].segments;
    int32_t result = copyLeaves(file, swap, keys, *dst.database, &dst, nullptr);
    status = rdbClose(&dst);
    return result ? result : status;
}

int32_t rdbCopyInto(const char* source, rdbHandle* handle, int32_t byteOrder, rdbProgressFunction progress)
{
    Database* db = databaseOf(handle);
    if (!db)
        return RDB_BAD_HANDLE;
    int32_t result = 0;
    if (byteOrder < 1 || byteOrder > 3) {
        result = RDB_BAD_BYTE_ORDER;
    } else if (!db->writable) {
        result = RDB_READ_ONLY;
    } else {
        platform::File file = source ? openReadOnly(source) : platform::File();
        Header header;
        bool headerSwap = false;
        if (!file.isOpen() || readSourceHeader(file, header, headerSwap) != 0) {
            result = RDB_SOURCE_FAILED;
        } else {
            bool little = std::endian::native == std::endian::little;
            bool swap = (byteOrder == 1 && !little) || (byteOrder == 2 && little);
            rdbSetAccessMode(handle, 0);
            copyHeaderState(header, handle);
            KeyFormat keys;
            for (int i = 1; i <= MaxIndex; ++i)
                keys.type[i] = static_cast<uint8_t>(header.keyType(i));
            result = copyLeaves(file, swap, keys, *db, handle, progress);
        }
    }
    int32_t status = rdbClose(handle);
    return handle->lastStatus = result ? result : status;
}

int32_t rdbCopyIntoFile(const char* source, rdbHandle* handle, int32_t byteOrder)
{
    return rdbCopyInto(source, handle, byteOrder, nullptr);
}

int32_t rdbDropTree(rdbHandle* handle, int32_t tree)
{
    Database* db = databaseOf(handle);
    if (!db)
        return RDB_BAD_HANDLE;
    if (tree < 1 || tree > MaxIndex)
        return handle->lastStatus = RDB_BAD_ARGUMENT;
    int32_t status = db->beginUpdate();
    if (status)
        return handle->lastStatus = status;
    int32_t root = db->header.roots[tree];
    int height = db->header.heights[tree];
    std::vector<int32_t> leftmost;
    int32_t n = root;
    for (int level = height - 1; root != 0 && level >= 0 && !status; --level) {
        Page page;
        if (db->fetch(n, page) || page.isFree() || page.level() != level) {
            status = RDB_FAILED;
            handle->verifyCode = level == height - 1 ? RDB_DAMAGE_PATH : RDB_DAMAGE_READ;
            handle->verifyPage = n;
            break;
        }
        leftmost.push_back(n);
        n = page.leftChild();
    }
    if (!status) {
        db->header.setTree(tree, 0, 0);
        for (int i = 1; i <= MaxIndex; ++i) {
            if (db->header.trees[i] == tree)
                db->header.trees[i] = 0;
        }
        db->headerChanged = true;
        db->pathValid = false;
        for (int i = 1; i <= MaxIndex; ++i)
            db->clearPosition(i);
        for (int32_t first : leftmost) {
            n = first;
            // Why: a level holds fewer pages than the file; a longer walk is a cycle.
            for (int32_t steps = 0; n != -1 && !status && steps < db->header.pageCount; ++steps) {
                Page page;
                if ((status = db->fetch(n, page)))
                    break;
                int32_t right = page.right();
                status = db->freePage(n);
                n = right;
            }
        }
    }
    return handle->lastStatus = db->endUpdate(status);
}

int32_t rdbSetIndexTree(rdbHandle* handle, int32_t index, int32_t tree)
{
    Database* db = databaseOf(handle);
    if (!db)
        return RDB_BAD_HANDLE;
    if (index < 1 || index > MaxIndex || tree < 1 || tree > MaxIndex)
        return handle->lastStatus = RDB_BAD_ARGUMENT;
    int32_t status = db->beginUpdate();
    if (status)
        return handle->lastStatus = status;
    SearchTarget first;
    first.index = index;
    first.mode = SearchTarget::First;
    Page page;
    Cursor at;
    int32_t found = db->search(first, page, at);
    if (found == 0)
        status = RDB_INDEX_NOT_EMPTY; // the index holds entries
    else if (found < RDB_FAILED)
        status = found;
    if (!status && db->header.roots[tree] == 0) {
        int32_t root;
        if (!(status = db->reservePages(0)) && !(status = db->allocatePage(root))) {
            Page leaf;
            leaf.initEmpty(0);
            if (!(status = db->store(root, leaf)))
                db->header.setTree(tree, root, 1);
        }
    }
    if (!status) {
        db->header.trees[index] = static_cast<uint8_t>(tree);
        db->headerChanged = true;
        db->pathValid = false;
        db->clearPosition(index);
        status = db->writeHeader();
    }
    return handle->lastStatus = db->endUpdate(status);
}
