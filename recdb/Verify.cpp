// Verification: the header's ranges, then every tree level by level through the sibling links,
// then the free-page list. Pages are read as stored (or taken from the cache when this file has
// them there) and checked field by field before anything in them is used, so a damaged file
// gives a damage code, never a crash or an endless walk.

#include "recdb/Verify.h"

#include "recdb/EntryOrder.h"
#include "recdb/PageCache.h"

#include <vector>

namespace recdb {

namespace {

    struct Damage {
        int32_t page;
        int32_t code;
    };

    class Verifier {
    public:
        Verifier(Database& db, rdbProgressFunction progress)
            : m_db(db)
            , m_progress(progress)
        {
        }

        // 0 when sound, else the damage code (page in m_damagedPage).
        int32_t run();
        int32_t damagedPage() const { return m_damagedPage; }

    private:
        int32_t fail(int32_t page, int32_t code)
        {
            m_damagedPage = page;
            return code;
        }
        int32_t checkHeader();
        int32_t checkTree(int tree);
        int32_t checkFreeList();
        // Reads page n and checks its layout; the image comes back in this machine's byte order.
        int32_t readChecked(int32_t n, int level, Page& page);
        // The layout checks on an image whose head is in this machine's order.
        static int32_t checkLayout(const Page& page, const KeyFormat& keys);
        int32_t readRaw(int32_t n, Page& page, bool& fromCache);

        Database& m_db;
        rdbProgressFunction m_progress;
        int32_t m_counter { 0 };
        int32_t m_damagedPage { 0 };
    };

    int32_t Verifier::readRaw(int32_t n, Page& page, bool& fromCache)
    {
        if (m_progress)
            m_progress(m_db.handle, m_counter);
        ++m_counter;
        // A page this file has in the cache may be newer than the file's copy.
        if (CachedPage* cached = PageCache::the().find(m_db.generation, n)) {
            page = cached->image;
            fromCache = true;
            return 0;
        }
        fromCache = false;
        ++m_db.pageReads;
        if (m_db.file.readAt(HeaderBlockSize + int64_t(PageSize) * n, page.bytes, PageSize) != PageSize)
            return RDB_DAMAGE_READ;
        if (m_db.swap)
            page.swapHead();
        return 0;
    }

    int32_t Verifier::checkLayout(const Page& page, const KeyFormat& keys)
    {
        const uint8_t* b = page.bytes;
        if (page.freeBytes() > EntryArea)
            return RDB_DAMAGE_FREE_BYTES;
        if (page.count() > MaxEntries)
            return RDB_DAMAGE_ENTRY_AREA;
        bool branch = page.level() > 0;
        int off = EntryStart;
        for (int i = 0; i < page.count(); ++i) {
            // Why: each entry must end inside the page, or the next offset would read past it.
            if (off >= PageSize)
                return RDB_DAMAGE_ENTRY_AREA;
            int rest = b[off];
            if (off + 1 + rest > PageSize)
                return RDB_DAMAGE_ENTRY_AREA;
            int index = b[off + 1];
            if (rest < 6 || index < 1 || index > MaxIndex)
                return RDB_DAMAGE_ENTRY;
            int keyLen = keyLength(keys.type[index], b + off + 7, rest - 6);
            if (keyLen < 0)
                return RDB_DAMAGE_SHORT_ENTRY;
            // Why: a branch entry is its key and a 4-byte child number, nothing else.
            if (branch && rest != keyLen + 10)
                return RDB_DAMAGE_ENTRY;
            off += 1 + rest;
        }
        for (int z = off; z < PageSize; ++z) {
            if (b[z])
                return RDB_DAMAGE_ENTRY_AREA;
        }
        if (page.freeBytes() != PageSize - off)
            return RDB_DAMAGE_FREE_BYTES;
        return 0;
    }

    int32_t Verifier::readChecked(int32_t n, int level, Page& page)
    {
        bool fromCache;
        int32_t status = readRaw(n, page, fromCache);
        if (status)
            return fail(n, status);
        if (page.isFree())
            return fail(n, RDB_DAMAGE_LEFT_LINK);
        if (page.level() != level)
            return fail(n, RDB_DAMAGE_CHILD_LEVEL);
        if ((status = checkLayout(page, m_db.keys)))
            return fail(n, status);
        if (!fromCache && m_db.swap) {
            // The layout is sound: turn the entries (and the head, back and forth) to this machine's order.
            page.swapHead();
            if (pageFromFile(page, true, m_db.keys))
                return fail(n, RDB_DAMAGE_ENTRY_AREA);
        }
        return 0;
    }

    int32_t Verifier::checkHeader()
    {
        const Header& h = m_db.header;
        bool bad = h.height0 < 1 || h.height0 >= MaxHeight || h.freeHead < -1 || h.userLength < 0 || h.userLength > 100
            || h.pageCount < 1 || h.extent < h.pageCount || h.root0 < 0 || h.root0 >= h.pageCount;
        bool used[MaxIndex + 1] = {};
        for (int i = 1; i <= MaxIndex && !bad; ++i) {
            int t = h.treeOf(i);
            if (t > MaxIndex)
                bad = true;
            else
                used[t] = true;
        }
        for (int t = 1; t <= MaxIndex && !bad; ++t) {
            if (!used[t] && h.roots[t] == 0)
                continue;
            // A tree in use, or one with a root, needs a height and a root page that exists.
            bad = h.heights[t] < 1 || h.heights[t] >= MaxHeight || h.roots[t] < 1 || h.roots[t] >= h.pageCount;
        }
        return bad ? fail(-1, RDB_DAMAGE_HEADER) : 0;
    }

    // One entry of a level, remembered so the level below can be checked against it.
    struct Bound {
        uint8_t entry[256];
    };

    struct Child {
        int32_t page;
        int lower; // index into the bounds of the level above, -1 for none
        int upper;
    };

    int32_t Verifier::checkTree(int tree)
    {
        const int32_t pageCount = m_db.header.pageCount;
        const int height = m_db.header.heightOf(tree);
        std::vector<int32_t> leftmost(static_cast<size_t>(height));
        Page page;

        // Down the leftmost path: every child one level below its parent.
        int32_t n = m_db.header.rootOf(tree);
        for (int level = height - 1; level >= 0; --level) {
            if (n < 0 || n >= pageCount)
                return fail(n, RDB_DAMAGE_PATH);
            bool fromCache;
            int32_t status = readRaw(n, page, fromCache);
            if (status)
                return fail(n, status);
            if (page.isFree() || page.level() != level)
                return fail(n, RDB_DAMAGE_CHILD_LEVEL);
            leftmost[static_cast<size_t>(level)] = n;
            n = page.leftChild();
        }

        std::vector<Bound> bounds; // the entries of the level above, in order
        std::vector<Child> expected; // its children, in order
        uint8_t previous[256];
        bool havePrevious = false;
        for (int level = height - 1; level >= 0; --level) {
            std::vector<Bound> levelBounds;
            std::vector<Child> children;
            size_t next = 0; // the child of the level above that this page must be
            havePrevious = false;
            int32_t before = -1;
            n = leftmost[static_cast<size_t>(level)];
            for (int32_t steps = 0; n != -1; ++steps) {
                // Why: a level has fewer pages than the file; a longer walk goes round a cycle.
                if (steps >= pageCount || n < 0 || n >= pageCount)
                    return fail(before, RDB_DAMAGE_RIGHT_LINK);
                int32_t status = readChecked(n, level, page);
                if (status)
                    return status;
                if (page.left() < -1)
                    return fail(n, RDB_DAMAGE_LEFT_LINK);
                if (page.right() < -1 || page.right() >= pageCount || page.left() != before)
                    return fail(n, RDB_DAMAGE_RIGHT_LINK);
                if (page.right() != -1 && page.right() == page.left())
                    return fail(n, RDB_DAMAGE_SELF_LINK);
                // Why: the root is alone on its level.
                if (level == height - 1 && page.right() != -1)
                    return fail(n, RDB_DAMAGE_RIGHT_LINK);
                const Bound* lower = nullptr;
                const Bound* upper = nullptr;
                if (level < height - 1) {
                    // The pages of a level are exactly the children of the level above, in order.
                    if (next >= expected.size() || expected[next].page != n)
                        return fail(n, RDB_DAMAGE_LEFT_LINK);
                    const Child& c = expected[next++];
                    lower = c.lower >= 0 ? &bounds[static_cast<size_t>(c.lower)] : nullptr;
                    upper = c.upper >= 0 ? &bounds[static_cast<size_t>(c.upper)] : nullptr;
                }
                bool branch = level > 0;
                if (branch) {
                    int32_t child = page.leftChild();
                    if (child < 0 || child >= pageCount)
                        return fail(n, RDB_DAMAGE_CHILD_PAGE);
                    int last = static_cast<int>(levelBounds.size()) - 1;
                    children.push_back({ child, last, page.count() > 0 ? last + 1 : -1 });
                }
                int off = EntryStart;
                for (int i = 0; i < page.count(); ++i) {
                    const uint8_t* e = page.bytes + off;
                    // Why: the entries of a page lie above the entry that leads to it and not above
                    // the one after it.
                    if ((lower && compareEntries(m_db, e, lower->entry) <= 0)
                        || (upper && compareEntries(m_db, e, upper->entry) > 0))
                        return fail(n, RDB_DAMAGE_ENTRY);
                    if (branch) {
                        if (havePrevious && compareEntries(m_db, previous, e) >= 0)
                            return fail(n, RDB_DAMAGE_ORDER);
                        int32_t child = branchChild(e);
                        if (child < 0 || child >= pageCount)
                            return fail(n, RDB_DAMAGE_CHILD_PAGE);
                        Bound b;
                        std::memcpy(b.entry, e, static_cast<size_t>(entrySize(e)));
                        levelBounds.push_back(b);
                        int here = static_cast<int>(levelBounds.size()) - 1;
                        bool lastInPage = i + 1 == page.count();
                        children.push_back({ child, here, lastInPage ? -1 : here + 1 });
                    } else if (!entryFollows(m_db, havePrevious ? previous : nullptr, e)) {
                        return fail(n, RDB_DAMAGE_ORDER);
                    }
                    std::memcpy(previous, e, static_cast<size_t>(entrySize(e)));
                    havePrevious = true;
                    off += entrySize(e);
                }
                before = n;
                n = page.right();
            }
            // Why: a child the level above names but the walk never met is cut off.
            if (level < height - 1 && next != expected.size())
                return fail(expected[next].page, RDB_DAMAGE_LEFT_LINK);
            // The last child of a page is bounded by the first entry of the next page on the level.
            for (size_t c = 0; c + 1 < children.size(); ++c) {
                if (children[c].upper < 0 && children[c + 1].lower >= 0)
                    children[c].upper = children[c + 1].lower + 1 < static_cast<int>(levelBounds.size())
                        ? children[c + 1].lower + 1
                        : -1;
            }
            bounds = std::move(levelBounds);
            expected = std::move(children);
        }
        // Why: a tree ends with a complete record.
        if (havePrevious && !entryIsLast(previous))
            return fail(-1, RDB_DAMAGE_ORDER);
        return 0;
    }

    int32_t Verifier::checkFreeList()
    {
        int32_t n = m_db.header.freeHead;
        int32_t before = -1;
        for (int32_t steps = 0; n != -1; ++steps) {
            // Why: the list cannot hold more pages than the file; a longer one loops.
            if (n < 0 || n >= m_db.header.pageCount || steps >= m_db.header.pageCount)
                return fail(before, RDB_DAMAGE_FREE_LIST);
            Page page;
            bool fromCache;
            int32_t status = readRaw(n, page, fromCache);
            if (status)
                return fail(n, status);
            if (!page.isFree() || page.leftChild() != -1 || page.count() != 0 || page.freeBytes() != EntryArea
                || page.left() != -1)
                return fail(n, RDB_DAMAGE_FREE_LIST);
            before = n;
            n = page.right();
        }
        return 0;
    }

    int32_t Verifier::run()
    {
        int32_t status = checkHeader();
        if (status)
            return status;
        bool done[MaxIndex + 1] = {};
        for (int t = 0; t <= MaxIndex; ++t) {
            if (t > 0 && m_db.header.roots[t] == 0)
                continue;
            if (!done[t] && (status = checkTree(t)))
                return status;
            done[t] = true;
        }
        return checkFreeList();
    }

} // namespace

} // namespace recdb

using namespace recdb;

int32_t rdbVerifyWithProgress(rdbHandle* handle, rdbProgressFunction progress)
{
    Database* db = databaseOf(handle);
    if (!db)
        return RDB_BAD_HANDLE;
    // A read bracket: checking never changes the file, so a read-only file can be checked.
    int32_t status = db->beginRead();
    if (status)
        return handle->lastStatus = status;
    Verifier verifier(*db, progress);
    int32_t damage = verifier.run();
    handle->verifyCode = damage;
    handle->verifyPage = damage ? verifier.damagedPage() : 0;
    status = db->endRead(damage ? RDB_FAILED : 0);
    return handle->lastStatus = status;
}

int32_t rdbVerify(rdbHandle* handle)
{
    return rdbVerifyWithProgress(handle, nullptr);
}
