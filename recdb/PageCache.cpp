#include "recdb/PageCache.h"

#include "recdb/Database.h"

#include <algorithm>

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
    m_buffers.clear();
    for (int i = 0; i < buffers; ++i)
        m_buffers.push_back(std::make_unique<CachedPage>());
    return true;
}

void PageCache::moveToFront(size_t index)
{
    if (index)
        std::rotate(m_buffers.begin(), m_buffers.begin() + static_cast<std::ptrdiff_t>(index),
            m_buffers.begin() + static_cast<std::ptrdiff_t>(index) + 1);
}

CachedPage* PageCache::find(uint64_t generation, int32_t page)
{
    for (size_t i = 0; i < m_buffers.size(); ++i) {
        if (m_buffers[i]->page == page && m_buffers[i]->generation == generation) {
            moveToFront(i);
            return m_buffers.front().get();
        }
    }
    return nullptr;
}

int32_t PageCache::take(CachedPage*& buffer)
{
    size_t last = m_buffers.size() - 1;
    CachedPage& victim = *m_buffers[last];
    if (victim.page >= 0 && victim.changed) {
        int32_t status = victim.owner->writePageNow(victim.page, victim.image);
        if (status)
            return status;
    }
    victim = CachedPage();
    moveToFront(last);
    buffer = m_buffers.front().get();
    return 0;
}

int32_t PageCache::writeChanged(uint64_t generation)
{
    int32_t result = 0;
    for (size_t i = m_buffers.size(); i-- > 0;) {
        CachedPage& b = *m_buffers[i];
        if (b.generation == generation && b.page >= 0 && b.changed) {
            int32_t status = b.owner->writePageNow(b.page, b.image);
            if (status && !result)
                result = status;
            if (!status)
                b.changed = false;
        }
    }
    return result;
}

void PageCache::drop(uint64_t generation)
{
    for (auto& b : m_buffers) {
        if (b->generation == generation)
            *b = CachedPage();
    }
}

} // namespace recdb
