#pragma once

// One page cache shared by every open record file of the program: a few buffers in
// most-recently-used order. A buffer is keyed by the open file's generation, a number no other
// open ever gets, so a page can never be served to a later file that reuses the same system
// descriptor or handle address.

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
};

class PageCache {
public:
    static PageCache& the();

    // The buffer holding this page, moved to the front; null on a miss.
    CachedPage* find(uint64_t generation, int32_t page);
    // The least recently used buffer, written back first when changed (a write error is
    // returned and the buffer is left as it was), emptied and moved to the front.
    int32_t take(CachedPage*& buffer);
    // Writes this file's changed buffers (oldest first).
    int32_t writeChanged(uint64_t generation);
    // Empties this file's buffers without writing them.
    void drop(uint64_t generation);
    bool resize(int buffers);
    int size() const { return static_cast<int>(m_buffers.size()); }

private:
    PageCache();
    void moveToFront(size_t index);
    std::vector<std::unique_ptr<CachedPage>> m_buffers;
};

} // namespace recdb
