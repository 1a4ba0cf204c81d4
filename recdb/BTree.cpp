// Tree search, insertion with splits and deletion with page removal.
//
// A branch page's entry carries the highest entry of everything to its left on that level; its
// child holds the entries above it, and the leftmost child those up to the first entry. A
// descent therefore takes, at each branch, the child before the first entry not below the
// target.

#include "recdb/Database.h"
#include "recdb/KeyCompare.h"

#include <cassert>

namespace recdb {

namespace {

    // Room for a page that holds one entry too many, between an insertion and its split.
    struct Overfull {
        uint8_t bytes[PageSize + 256];
        uint16_t offsets[MaxEntries + 2];
        int count;
        int end;

        void load(const Page& page)
        {
            std::memcpy(bytes, page.bytes, PageSize);
            std::memset(bytes + PageSize, 0, sizeof bytes - PageSize);
            count = page.count();
            end = EntryStart;
            index();
        }
        void index()
        {
            end = EntryStart;
            for (int i = 0; i < count; ++i) {
                offsets[i] = static_cast<uint16_t>(end);
                end += entrySize(bytes + end);
            }
            offsets[count] = static_cast<uint16_t>(end);
        }
        void insert(int pos, const uint8_t* entry)
        {
            int size = entrySize(entry);
            int at = offsets[pos];
            std::memmove(bytes + at + size, bytes + at, static_cast<size_t>(end - at));
            std::memcpy(bytes + at, entry, static_cast<size_t>(size));
            ++count;
            index();
        }
        int used() const { return end - EntryStart; }
        // Copies entries [from, to) into an empty page.
        void copyTo(Page& page, int from, int to) const
        {
            int length = offsets[to] - offsets[from];
            std::memcpy(page.bytes + EntryStart, bytes + offsets[from], static_cast<size_t>(length));
            page.setCount(to - from);
            page.setFreeBytes(EntryArea - length);
        }
    };

    const uint8_t* entryAt(const Page& page, int pos)
    {
        int off = EntryStart;
        for (int i = 0; i < pos; ++i)
            off += entrySize(page.bytes + off);
        return page.bytes + off;
    }

    void removeAt(Page& page, int pos)
    {
        uint8_t* e = const_cast<uint8_t*>(entryAt(page, pos));
        int size = entrySize(e);
        int end = EntryStart + page.used();
        uint8_t* tail = e + size;
        std::memmove(e, tail, static_cast<size_t>(page.bytes + end - tail));
        std::memset(page.bytes + end - size, 0, static_cast<size_t>(size));
        page.setCount(page.count() - 1);
        page.setFreeBytes(page.freeBytes() + size);
    }

    void insertAt(Page& page, int pos, const uint8_t* entry)
    {
        uint8_t* at = const_cast<uint8_t*>(entryAt(page, pos));
        int size = entrySize(entry);
        int end = EntryStart + page.used();
        std::memmove(at + size, at, static_cast<size_t>(page.bytes + end - at));
        std::memcpy(at, entry, static_cast<size_t>(size));
        page.setCount(page.count() + 1);
        page.setFreeBytes(page.freeBytes() - size);
    }

} // namespace

const uint8_t* pageEntry(const Page& page, int pos)
{
    return entryAt(page, pos);
}

int Database::compareEntry(const uint8_t* e, const SearchTarget& t) const
{
    int d = threeWay(entryIndex(e), t.index);
    if (d)
        return d;
    if (t.mode == SearchTarget::First)
        return 1;
    if (t.mode == SearchTarget::Last)
        return -1;
    bool unordered = false;
    d = compareKeys(keys.type[t.index], entryKey(e), entryKeyLength(e, keys), t.key, t.keyLength,
        keys.segments[t.index], &unordered);
    if (unordered)
        handle->lastStatus = RDB_FAILED;
    if (d)
        return d;
    // Record numbers compare three-way: a wrapped difference is not an order.
    d = threeWay(entryRecord(e), t.record);
    if (d)
        return d;
    return threeWay(entryPiece(e), t.piece);
}

int32_t Database::findStatus(const uint8_t* e, const SearchTarget& t) const
{
    if (entryIndex(e) != t.index)
        return RDB_FAILED;
    if (t.mode != SearchTarget::Exact)
        return 0;
    bool unordered = false;
    if (compareKeys(keys.type[t.index], entryKey(e), entryKeyLength(e, keys), t.key, t.keyLength,
            keys.segments[t.index], &unordered))
        return RDB_FOUND_FOLLOWING;
    return entryRecord(e) == t.record && entryPiece(e) == t.piece ? RDB_OK : RDB_FOUND_OTHER_RECORD;
}

int32_t Database::descend(const SearchTarget& t, Page& page, Cursor& at)
{
    int tr = tree(t.index);
    int32_t height = tr < 0 ? 0 : header.heightOf(tr);
    // Why: the height sizes the path and bounds the descent; a damaged one could walk past both.
    if (height < 1 || height > MaxHeight)
        return RDB_DAMAGED;

    // The pages are read in place in their cache buffers; only the leaf is copied out.
    const Page* node;
    uint16_t offsets[MaxEntries];
    int count;
    auto lowerBound = [&](int lo, int hi) {
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            if (compareEntry(node->bytes + offsets[mid], t) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    };

    // The leaf of the last descent answers without a descent when the target lies past the
    // last leaf of the level (appending in key order), or above the leaf's first entry and not
    // above its last: the separators above it are the last entry of its left neighbour and its
    // own last entry, so a descent would end in this leaf at the same place.
    if (pathValid && pathTree == tr && pathIndex == t.index) {
        if (fetchRef(path[0], node) == 0 && !node->isFree() && node->level() == 0 && node->count() > 0) {
            count = node->entryOffsets(offsets);
            bool aboveLast = compareEntry(node->bytes + offsets[count - 1], t) < 0;
            if (aboveLast && node->right() == -1 && t.mode != SearchTarget::First) {
                page = *node;
                at = { path[0], count };
                return 0;
            }
            if (!aboveLast && compareEntry(node->bytes + offsets[0], t) < 0) {
                at = { path[0], lowerBound(1, count - 1) };
                page = *node;
                return 0;
            }
        }
    }

    int32_t n = header.rootOf(tr);
    int level = height - 1;
    for (;;) {
        int32_t status = fetchRef(n, node);
        if (status)
            return status;
        // Why: every page must lie exactly one level below its parent; anything else is a
        // damaged link, and following it could loop or overrun the path.
        if (node->isFree() || node->level() != level)
            return RDB_DAMAGED;
        assert(level >= 0 && level < MaxHeight); // the height was checked against the path above
        path[level] = n;
        count = node->entryOffsets(offsets);
        int lo = lowerBound(0, count);
        if (level == 0) {
            page = *node;
            at = { n, lo };
            pathTree = tr;
            pathIndex = t.index;
            pathValid = true;
            return 0;
        }
        // The next fetch may reuse this page's buffer: take the child number first.
        n = lo == 0 ? node->leftChild() : branchChild(node->bytes + offsets[lo - 1]);
        --level;
    }
}

int32_t Database::settle(Page& page, Cursor& at)
{
    int steps = 0;
    while (at.leaf >= 0 && at.pos >= page.count()) {
        int32_t right = page.right();
        if (right == -1) {
            at = {};
            return 0;
        }
        // Why: a walk along sibling links visits each page once at most; more means a cycle.
        if (++steps > header.pageCount)
            return RDB_DAMAGED;
        int32_t from = at.leaf;
        int32_t status = fetch(right, page);
        if (status)
            return status;
        // Why: a right sibling must be a leaf that links back to where the walk came from.
        if (page.isFree() || page.level() != 0 || page.left() != from)
            return RDB_DAMAGED;
        at = { right, 0 };
    }
    return 0;
}

int32_t Database::search(const SearchTarget& t, Page& page, Cursor& at)
{
    int32_t status = descend(t, page, at);
    if (!status)
        status = settle(page, at);
    if (status)
        return status;
    if (at.leaf < 0)
        return RDB_FAILED;
    return findStatus(entryAt(page, at.pos), t);
}

int32_t Database::stepForward(Page& page, Cursor& at)
{
    ++at.pos;
    return settle(page, at);
}

int32_t Database::stepBack(Page& page, Cursor& at)
{
    int steps = 0;
    while (at.pos <= 0) {
        int32_t left = page.left();
        if (left == -1) {
            at = {};
            return 0;
        }
        // Why: as for the right links, a longer walk than the file has pages is a cycle.
        if (++steps > header.pageCount)
            return RDB_DAMAGED;
        int32_t from = at.leaf;
        int32_t status = fetch(left, page);
        if (status)
            return status;
        if (page.isFree() || page.level() != 0 || page.right() != from)
            return RDB_DAMAGED;
        at = { left, page.count() };
    }
    --at.pos;
    return 0;
}

int32_t Database::insertEntry(const uint8_t* entry, const SearchTarget& t)
{
    int tr = tree(t.index);
    int32_t height = tr < 0 ? 0 : header.heightOf(tr);
    if (height < 1 || height > MaxHeight)
        return RDB_DAMAGED;
    int32_t status = reservePages(height);
    if (status)
        return status;
    Page page;
    Cursor at;
    status = descend(t, page, at);
    if (status)
        return status;

    // An entry that fits goes into the leaf in place.
    if (entrySize(entry) <= page.freeBytes()) {
        insertAt(page, at.pos, entry);
        return store(at.leaf, page);
    }

    Overfull work;
    work.load(page);
    work.insert(at.pos, entry);
    int level = 0;
    int32_t pageNo = at.leaf;
    for (;;) {
        if (work.used() <= EntryArea) {
            Page done;
            std::memcpy(done.bytes, work.bytes, PageSize);
            done.setCount(work.count);
            done.setFreeBytes(EntryArea - work.used());
            return store(pageNo, done);
        }

        // Split: the old page keeps its leading entries below half the area (below the whole
        // area when it is the last on its level, so appends in key order leave full pages), the
        // rest move to a new right sibling.
        pathValid = false;
        bool branch = level > 0;
        int32_t oldRight = load32(work.bytes + 4);
        int limit = oldRight == -1 ? EntryArea : EntryArea / 2;
        int n = work.count;
        int keep = 0;
        while (keep < n && work.offsets[keep + 1] - EntryStart < limit)
            ++keep;
        if (keep < 1)
            keep = 1;
        // The new page must not overflow in turn.
        while (keep < n - 1 && work.end - work.offsets[keep] > EntryArea)
            ++keep;
        if (!branch && keep >= n)
            keep = n - 1;
        const uint8_t* separator = work.bytes + work.offsets[keep - 1];

        int32_t newNo;
        status = allocatePage(newNo);
        if (status)
            return status;
        Page left;
        left.initEmpty(level);
        left.setLeftChild(load32(work.bytes));
        left.setLeft(load32(work.bytes + 8));
        left.setRight(newNo);
        // A branch gives its separator to the parent: its child becomes the new page's leftmost.
        work.copyTo(left, 0, branch ? keep - 1 : keep);
        Page right;
        right.initEmpty(level);
        right.setLeftChild(branch ? branchChild(separator) : 0);
        right.setLeft(pageNo);
        right.setRight(oldRight);
        work.copyTo(right, keep, n);
        if (oldRight != -1) {
            Page neighbour;
            status = fetch(oldRight, neighbour);
            if (status)
                return status;
            if (neighbour.isFree() || neighbour.level() != level)
                return RDB_DAMAGED;
            neighbour.setLeft(newNo);
            status = store(oldRight, neighbour);
            if (status)
                return status;
        }
        if ((status = store(pageNo, left)) || (status = store(newNo, right)))
            return status;

        uint8_t up[256];
        int keyLen = entryKeyLength(separator, keys);
        up[0] = static_cast<uint8_t>(keyLen + 10);
        std::memcpy(up + 1, separator + 1, static_cast<size_t>(6 + keyLen));
        store32(up + 7 + keyLen, newNo);

        if (level == height - 1) {
            // The root split: a new root one level higher holds the two halves.
            if (height + 1 > MaxHeight)
                return RDB_NO_ROOM;
            int32_t rootNo;
            status = allocatePage(rootNo);
            if (status)
                return status;
            Page root;
            root.initEmpty(level + 1);
            root.setLeftChild(pageNo);
            insertAt(root, 0, up);
            status = store(rootNo, root);
            if (status)
                return status;
            header.setTree(tr, rootNo, height + 1);
            headerChanged = true;
            return 0;
        }
        assert(level + 1 < height); // the root split was handled above
        int32_t parentNo = path[level + 1];
        Page parent;
        status = fetch(parentNo, parent);
        if (status)
            return status;
        if (parent.isFree() || parent.level() != level + 1)
            return RDB_DAMAGED;
        int pos = -1;
        if (parent.leftChild() == pageNo) {
            pos = 0;
        } else {
            uint16_t offsets[MaxEntries];
            int count = parent.entryOffsets(offsets);
            for (int i = 0; i < count && pos < 0; ++i) {
                if (branchChild(parent.bytes + offsets[i]) == pageNo)
                    pos = i + 1;
            }
        }
        // Why: the parent on the path must point to the page that split.
        if (pos < 0)
            return RDB_DAMAGED;
        work.load(parent);
        work.insert(pos, up);
        pageNo = parentNo;
        ++level;
    }
}

namespace {

    int32_t unlink(Database& db, const Page& page)
    {
        int32_t status;
        if (page.left() != -1) {
            Page left;
            if ((status = db.fetch(page.left(), left)))
                return status;
            left.setRight(page.right());
            if ((status = db.store(page.left(), left)))
                return status;
        }
        if (page.right() != -1) {
            Page right;
            if ((status = db.fetch(page.right(), right)))
                return status;
            right.setLeft(page.left());
            if ((status = db.store(page.right(), right)))
                return status;
        }
        return 0;
    }

} // namespace

int32_t Database::removeEntry(int tr, Page& page, Cursor at)
{
    removeAt(page, at.pos);
    int32_t pageNo = at.leaf;
    if (page.count() > 0 || pageNo == header.rootOf(tr))
        return store(pageNo, page);

    // An empty page other than the root leaves the tree, and its parent loses the link to it;
    // a parent left with nothing follows it.
    pathValid = false;
    int32_t status;
    int level = 0;
    for (;;) {
        if ((status = unlink(*this, page)) || (status = freePage(pageNo)))
            return status;
        int height = header.heightOf(tr);
        if (level + 1 >= height)
            return RDB_DAMAGED;
        int32_t parentNo = path[level + 1];
        if ((status = fetch(parentNo, page)))
            return status;
        if (page.isFree() || page.level() != level + 1)
            return RDB_DAMAGED;
        bool empty = false;
        if (page.leftChild() == pageNo) {
            if (page.count() > 0) {
                page.setLeftChild(branchChild(entryAt(page, 0)));
                removeAt(page, 0);
            } else {
                empty = true;
            }
        } else {
            uint16_t offsets[MaxEntries];
            int count = page.entryOffsets(offsets);
            int found = -1;
            for (int i = 0; i < count && found < 0; ++i) {
                if (branchChild(page.bytes + offsets[i]) == pageNo)
                    found = i;
            }
            // Why: the parent on the path must point to the page being removed.
            if (found < 0)
                return RDB_DAMAGED;
            removeAt(page, found);
        }
        if (!empty)
            break;
        if (parentNo == header.rootOf(tr)) {
            // A root left with nothing becomes an empty leaf.
            page.initEmpty(0);
            header.setTree(tr, parentNo, 1);
            headerChanged = true;
            return store(parentNo, page);
        }
        pageNo = parentNo;
        ++level;
    }
    int32_t parentNo = path[level + 1];
    if ((status = store(parentNo, page)))
        return status;

    // A root with a single child hands the root over to it.
    for (;;) {
        int32_t rootNo = header.rootOf(tr);
        int height = header.heightOf(tr);
        if (height <= 1)
            return 0;
        Page root;
        if ((status = fetch(rootNo, root)))
            return status;
        if (root.count() > 0)
            return 0;
        int32_t childNo = root.leftChild();
        Page child;
        if ((status = fetch(childNo, child)))
            return status;
        if (child.isFree() || child.level() != height - 2)
            return RDB_DAMAGED;
        child.setLeft(-1);
        child.setRight(-1);
        if ((status = store(childNo, child)) || (status = freePage(rootNo)))
            return status;
        header.setTree(tr, childNo, height - 1);
        headerChanged = true;
    }
}

} // namespace recdb
