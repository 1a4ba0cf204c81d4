#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The pooled allocator from which framework objects and their arrays are taken.
//
// Requests up to 4096 bytes are served from four size classes (16, 32, 256 and 4096 bytes) cut
// from 64 KB chunks; larger requests are separate zero-filled system blocks. Blocks carry no
// header, so the caller passes qelFree the same size that it asked qelAlloc for. Every block
// comes back zero-filled as far as the request reaches. When the system refuses memory the
// fatal hook is called with -1. When no block of any class is in use, every chunk goes back to
// the system.
//
// Single-threaded, like the rest of the runtime. Taking and returning a pooled block is inline
// (a free-list pop or push); new chunks, system blocks and the address sanitizer's bookkeeping
// are out of line.

// qelAlloc and qelFree are defined at the end of this header (or out of line under the address
// sanitizer).

// Figures for tests and benchmarks: the block size that serves a request (0 for a system
// block), the blocks of a class in use, and the number of chunks held.
size_t qelAllocatorBlockSize(size_t size);
int32_t qelAllocatorBlocksInUse(size_t blockSize);
int32_t qelAllocatorChunkCount();

namespace qelAllocatorDetail {

#if defined(__SANITIZE_ADDRESS__)
#define QEL_ALLOCATOR_INLINE 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_ALLOCATOR_INLINE 0
#endif
#endif
#ifndef QEL_ALLOCATOR_INLINE
#define QEL_ALLOCATOR_INLINE 1
#endif

struct SizeClass {
    void* freeHead = nullptr; // a free block's first word links to the next free block
    int32_t inUse = 0;
};

constexpr int classCount = 4;
constexpr size_t classSizes[classCount] = { 16, 32, 256, 4096 };

struct Pools {
    SizeClass classes[classCount];
    // The blocks in use over all classes; when it drops to 0 the chunks are released.
    int64_t blocksInUse = 0;
};
extern Pools pools;

constexpr int classFor(size_t size)
{
    return size <= 16 ? 0 : size <= 32 ? 1 : size <= 256 ? 2 : size <= 4096 ? 3 : -1;
}

void* allocate(size_t size);
void release(void* pointer, size_t size);
void releaseAllChunks();

} // namespace qelAllocatorDetail

#if !QEL_ALLOCATOR_INLINE
void* qelAlloc(size_t size);
void qelFree(void* pointer, size_t size);
#else
inline void* qelAlloc(size_t size)
{
    using namespace qelAllocatorDetail;
    int index = classFor(size);
    if (index >= 0) {
        SizeClass& sizeClass = pools.classes[index];
        if (void* block = sizeClass.freeHead) {
            void* next;
            std::memcpy(&next, block, sizeof next);
            sizeClass.freeHead = next;
            // The next block of the class is likely asked for soon and, freed long ago, likely out
            // of the cache: start loading it now, so that its first word is there when popped.
            __builtin_prefetch(next, 1);
            ++sizeClass.inUse;
            ++pools.blocksInUse;
            // A whole small block is cleared with a few fixed stores, and a 256-byte block asked
            // for with a size known at compile time (an object) up to that size rounded to 32
            // bytes, in wide stores: cheaper than a call or a string instruction for the exact
            // size. The bytes past the request belong to the block.
            if (index == 0) {
                std::memset(block, 0, 16);
            } else if (index == 1) {
                std::memset(block, 0, 32);
            } else if (index == 2 && __builtin_constant_p(size)) {
                auto* bytes = static_cast<unsigned char*>(block);
#pragma GCC unroll 8
                for (size_t offset = 0; offset < size; offset += 32)
                    std::memset(bytes + offset, 0, 32);
            } else {
                std::memset(block, 0, size);
            }
            return block;
        }
    }
    return qelAllocatorDetail::allocate(size);
}

inline void qelFree(void* pointer, size_t size)
{
    using namespace qelAllocatorDetail;
    int index = classFor(size);
    if (!pointer || index < 0) {
        qelAllocatorDetail::release(pointer, size);
        return;
    }
    SizeClass& sizeClass = pools.classes[index];
    std::memcpy(pointer, &sizeClass.freeHead, sizeof(void*));
    sizeClass.freeHead = pointer;
    --sizeClass.inUse;
    if (--pools.blocksInUse == 0)
        releaseAllChunks();
}
#endif
