#include "recdb/PageCache.h"

#include "recdb/Database.h"

#include <algorithm>
#include <cassert>

namespace recdb {

PageCache& PageCache::the()
{
    static PageCache cache;
    return cache;
}

PageCache::PageCache()
{
    resize(10);
}

bool PageCache::resize(int buffers)
{
    if (buffers < 1)
        return false;
    // Two buckets a buffer, in a power of two. The count stops at 2^30 buckets: doubling past
    // 2^31 would wrap to 0 and never end, and a larger cache only makes the chains longer.
    uint32_t buckets = 16;
    while (buckets / 2 < static_cast<uint32_t>(buffers) && buckets < (1u << 30))
        buckets *= 2;
    // Allocate first, so that a refused allocation leaves the old cache in place.
    std::unique_ptr<CachedPage[]> fresh(new CachedPage[static_cast<size_t>(buffers)]);
    std::vector<int32_t> heads(buckets, -1);
    m_buffers = std::move(fresh);
    m_buckets = std::move(heads);
    m_bucketMask = buckets - 1;
    m_count = buffers;
    m_newest = m_oldest = -1;
    for (int32_t n = 0; n < m_count; ++n)
        linkBack(n);
    return true;
}

int32_t& PageCache::bucketOf(uint64_t generation, int32_t page)
{
    uint64_t h = generation * 0x9E3779B97F4A7C15ull ^ static_cast<uint32_t>(page) * 0xC2B2AE3D27D4EB4Full;
    return m_buckets[static_cast<uint32_t>(h >> 32) & m_bucketMask];
}

void PageCache::unlinkUse(int32_t n)
{
    assert(n >= 0 && n < m_count);
    CachedPage& b = m_buffers[n];
    if (b.newer >= 0)
        m_buffers[b.newer].older = b.older;
    else
        m_newest = b.older;
    if (b.older >= 0)
        m_buffers[b.older].newer = b.newer;
    else
        m_oldest = b.newer;
    b.newer = b.older = -1;
}

void PageCache::linkFront(int32_t n)
{
    assert(n >= 0 && n < m_count && m_buffers[n].newer < 0 && m_buffers[n].older < 0);
    CachedPage& b = m_buffers[n];
    b.newer = -1;
    b.older = m_newest;
    if (m_newest >= 0)
        m_buffers[m_newest].newer = n;
    else
        m_oldest = n;
    m_newest = n;
}

void PageCache::linkBack(int32_t n)
{
    assert(n >= 0 && n < m_count && m_buffers[n].newer < 0 && m_buffers[n].older < 0);
    CachedPage& b = m_buffers[n];
    b.older = -1;
    b.newer = m_oldest;
    if (m_oldest >= 0)
        m_buffers[m_oldest].older = n;
    else
        m_newest = n;
    m_oldest = n;
}

// Takes a buffer out of its bucket and its owner's list and marks it empty; its place in the
// use order is left to the caller.
void PageCache::empty(int32_t n)
{
    CachedPage& b = m_buffers[n];
    if (b.page < 0)
        return;
    int32_t* link = &bucketOf(b.generation, b.page);
    while (*link != n) {
        assert(*link >= 0); // a filled buffer is always in the bucket of its page
        link = &m_buffers[*link].nextInBucket;
    }
    *link = b.nextInBucket;
    assert(b.previousOfOwner >= 0 || b.owner->firstCached == n);
    if (b.previousOfOwner >= 0)
        m_buffers[b.previousOfOwner].nextOfOwner = b.nextOfOwner;
    else
        b.owner->firstCached = b.nextOfOwner;
    if (b.nextOfOwner >= 0)
        m_buffers[b.nextOfOwner].previousOfOwner = b.previousOfOwner;
    b.owner = nullptr;
    b.generation = 0;
    b.page = -1;
    b.changed = false;
    b.nextInBucket = b.nextOfOwner = b.previousOfOwner = -1;
}

CachedPage* PageCache::find(uint64_t generation, int32_t page)
{
    for (int32_t n = bucketOf(generation, page); n >= 0; n = m_buffers[n].nextInBucket) {
        CachedPage& b = m_buffers[n];
        if (b.page == page && b.generation == generation) {
            if (m_newest != n) {
                unlinkUse(n);
                linkFront(n);
            }
            return &b;
        }
    }
    return nullptr;
}

CachedPage* PageCache::peek(uint64_t generation, int32_t page)
{
    for (int32_t n = bucketOf(generation, page); n >= 0; n = m_buffers[n].nextInBucket) {
        CachedPage& b = m_buffers[n];
        if (b.page == page && b.generation == generation)
            return &b;
    }
    return nullptr;
}

// Writes a changed buffer that is about to be reused together with the changed buffers of the
// same file that hold the pages around it, in one write: the pages of a file built in key order
// are numbered in the order they fill up, so the oldest buffers hold runs of neighbours.
int32_t PageCache::writeVictim(CachedPage& victim)
{
    const Page* run[Database::PagesPerWrite];
    CachedPage* buffers[Database::PagesPerWrite];
    int32_t first = victim.page;
    int count = 1;
    auto changedPage = [&](int32_t page) {
        CachedPage* b = page >= 0 ? peek(victim.generation, page) : nullptr;
        return b && b->changed ? b : nullptr;
    };
    while (count < Database::PagesPerWrite / 2 && changedPage(first - 1)) {
        --first;
        ++count;
    }
    while (count < Database::PagesPerWrite && changedPage(first + count))
        ++count;
    for (int i = 0; i < count; ++i) {
        buffers[i] = peek(victim.generation, first + i);
        run[i] = &buffers[i]->image;
    }
    int32_t status = victim.owner->writePagesNow(first, run, count);
    if (status)
        return status;
    for (int i = 0; i < count; ++i)
        buffers[i]->changed = false;
    return 0;
}

int32_t PageCache::take(Database& owner, int32_t page, CachedPage*& buffer)
{
    // A page that cannot be written stays in its buffer; the next older buffer is tried instead.
    // Only when no buffer can be freed does the first write error stand.
    int32_t n = m_oldest;
    int32_t failure = 0;
    for (; n >= 0; n = m_buffers[n].newer) {
        if (m_buffers[n].page < 0 || !m_buffers[n].changed)
            break;
        int32_t status = writeVictim(m_buffers[n]);
        if (!status)
            break;
        if (!failure)
            failure = status;
    }
    if (n < 0)
        return failure;
    CachedPage& victim = m_buffers[n];
    empty(n);
    unlinkUse(n);
    linkFront(n);
    victim.owner = &owner;
    victim.generation = owner.generation;
    victim.page = page;
    int32_t& head = bucketOf(owner.generation, page);
    victim.nextInBucket = head;
    head = n;
    victim.nextOfOwner = owner.firstCached;
    if (owner.firstCached >= 0)
        m_buffers[owner.firstCached].previousOfOwner = n;
    owner.firstCached = n;
    buffer = &victim;
    return 0;
}

void PageCache::release(CachedPage& buffer)
{
    auto n = static_cast<int32_t>(&buffer - m_buffers.get());
    empty(n);
    unlinkUse(n);
    linkBack(n);
}

int32_t PageCache::writeChanged(Database& owner)
{
    std::vector<CachedPage*> changed;
    for (int32_t n = owner.firstCached; n >= 0; n = m_buffers[n].nextOfOwner) {
        if (m_buffers[n].changed)
            changed.push_back(&m_buffers[n]);
    }
    // In page order, so that pages that follow each other in the file go out in one write.
    std::sort(
        changed.begin(), changed.end(), [](const CachedPage* a, const CachedPage* b) { return a->page < b->page; });
    int32_t result = 0;
    const Page* run[Database::PagesPerWrite];
    for (size_t i = 0; i < changed.size();) {
        size_t end = i + 1;
        while (end < changed.size() && end - i < Database::PagesPerWrite
            && changed[end]->page == changed[end - 1]->page + 1)
            ++end;
        for (size_t k = i; k < end; ++k)
            run[k - i] = &changed[k]->image;
        int32_t status = owner.writePagesNow(changed[i]->page, run, static_cast<int>(end - i));
        if (status && !result)
            result = status;
        for (size_t k = i; !status && k < end; ++k)
            changed[k]->changed = false;
        i = end;
    }
    return result;
}

void PageCache::drop(Database& owner)
{
    // Emptied buffers go to the back, to be taken before any buffer that still holds a page.
    while (owner.firstCached >= 0) {
        int32_t n = owner.firstCached;
        empty(n);
        unlinkUse(n);
        linkBack(n);
    }
}

} // namespace recdb
