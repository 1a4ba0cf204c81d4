#pragma once

// One page cache shared by every open record file of the program: a fixed set of buffers in
// most-recently-used order. A buffer is keyed by the open file's generation, a number no other
// open ever gets, so a page can never be served to a later file that reuses the same system
// descriptor or handle address.
//
// Lookups go through a hash of (generation, page number); the buffers form one list in
// most-recently-used order, and each file's buffers a second list, so that writing back or
// dropping one file's pages visits only those pages.

#include "recdb/Format.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace recdb {

class Database;

struct CachedPage {
    Database* owner { nullptr };
    uint64_t generation { 0 };
    int32_t page { -1 }; // -1: empty
    bool changed { false };
    Page image;

    // Links, by buffer number (-1 ends a list); kept by the cache.
    int32_t newer { -1 };
    int32_t older { -1 };
    int32_t nextInBucket { -1 };
    int32_t nextOfOwner { -1 };
    int32_t previousOfOwner { -1 };
};

class PageCache {
public:
    static PageCache& the();

    // The buffer holding this page, moved to the front; null on a miss.
    CachedPage* find(uint64_t generation, int32_t page);
    // The least recently used buffer, written back first when changed (with the changed pages
    // of its file that neighbour it; when that write fails, the next older buffer is tried, and
    // the write error is returned, the buffers left as they were, only when none can be freed),
    // then given to this page of the owner's file
    // (its image still to be filled) and moved to the front.
    int32_t take(Database& owner, int32_t page, CachedPage*& buffer);
    // Empties one buffer without writing it (a page that could not be read).
    void release(CachedPage& buffer);
    // Writes this file's changed buffers.
    int32_t writeChanged(Database& owner);
    // Empties this file's buffers without writing them.
    void drop(Database& owner);
    // Rebuilds the cache with this many empty buffers; only while no file holds a buffer.
    bool resize(int buffers);
    int size() const { return m_count; }

private:
    PageCache();
    int32_t& bucketOf(uint64_t generation, int32_t page);
    CachedPage* peek(uint64_t generation, int32_t page); // without touching the use order
    int32_t writeVictim(CachedPage& victim);
    void unlinkUse(int32_t n);
    void linkFront(int32_t n);
    void linkBack(int32_t n);
    void empty(int32_t n);

    std::unique_ptr<CachedPage[]> m_buffers;
    int32_t m_count { 0 };
    std::vector<int32_t> m_buckets;
    uint32_t m_bucketMask { 0 };
    int32_t m_newest { -1 };
    int32_t m_oldest { -1 };
};

} // namespace recdb
