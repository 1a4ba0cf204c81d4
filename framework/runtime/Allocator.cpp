#include "framework/runtime/Allocator.h"
#include "framework/runtime/Error.h"

#include <cstdlib>
#include <cstring>

#if !QEL_ALLOCATOR_INLINE
#include <sanitizer/asan_interface.h>
// Free pool blocks are poisoned so that the address sanitizer still sees a use after free.
#define QEL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define QEL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define QEL_POISON(p, n) ((void)(p), (void)(n))
#define QEL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace qelAllocatorDetail {

constinit Pools pools;

namespace {

    constexpr size_t chunkSize = 65536;
    constexpr int32_t chunkTableGrowth = 256;

    void** chunkTable = nullptr;
    int32_t chunkCount = 0;
    int32_t chunkCapacity = 0;

    void* nextOf(void* block)
    {
        QEL_UNPOISON(block, sizeof(void*));
        void* next;
        std::memcpy(&next, block, sizeof next);
        QEL_POISON(block, sizeof(void*));
        return next;
    }

    void setNext(void* block, void* next)
    {
        QEL_UNPOISON(block, sizeof(void*));
        std::memcpy(block, &next, sizeof next);
        QEL_POISON(block, sizeof(void*));
    }

    void* systemRefused()
    {
        qelFatal(-1);
        return nullptr;
    }

    // Takes a new chunk for a class and links its blocks in ascending address order, so the
    // lowest block is handed out first.
    bool addChunk(int index)
    {
        if (chunkCount == chunkCapacity) {
            int32_t newCapacity = chunkCapacity + chunkTableGrowth;
            auto* table = static_cast<void**>(std::realloc(chunkTable, sizeof(void*) * size_t(newCapacity)));
            if (!table)
                return false;
            chunkTable = table;
            chunkCapacity = newCapacity;
        }
        auto* chunk = static_cast<unsigned char*>(std::calloc(1, chunkSize));
        if (!chunk)
            return false;
        chunkTable[chunkCount++] = chunk;
        size_t blockSize = classSizes[index];
        QEL_POISON(chunk, chunkSize);
        void* next = pools.classes[index].freeHead;
        for (size_t offset = chunkSize; offset >= blockSize; offset -= blockSize) {
            void* block = chunk + offset - blockSize;
            setNext(block, next);
            next = block;
        }
        pools.classes[index].freeHead = next;
        return true;
    }

} // namespace

void releaseAllChunks()
{
    for (int32_t i = 0; i < chunkCount; ++i) {
        QEL_UNPOISON(chunkTable[i], chunkSize);
        std::free(chunkTable[i]);
    }
    std::free(chunkTable);
    chunkTable = nullptr;
    chunkCount = 0;
    chunkCapacity = 0;
    for (auto& sizeClass : pools.classes)
        sizeClass.freeHead = nullptr;
}

// Every request the inline path does not serve: a class whose free list is empty, a system
// block, and all requests when the address sanitizer watches the pool.
void* allocate(size_t size)
{
    int index = classFor(size);
    if (index < 0) {
        void* block = std::calloc(1, size);
        return block ? block : systemRefused();
    }
    SizeClass& sizeClass = pools.classes[index];
    if (!sizeClass.freeHead && !addChunk(index))
        return systemRefused();
    void* block = sizeClass.freeHead;
    sizeClass.freeHead = nextOf(block);
    ++sizeClass.inUse;
    ++pools.blocksInUse;
    QEL_UNPOISON(block, size);
    std::memset(block, 0, size);
    return block;
}

void release(void* pointer, size_t size)
{
    if (!pointer)
        return;
    int index = classFor(size);
    if (index < 0) {
        std::free(pointer);
        return;
    }
    SizeClass& sizeClass = pools.classes[index];
    QEL_POISON(pointer, classSizes[index]);
    setNext(pointer, sizeClass.freeHead);
    sizeClass.freeHead = pointer;
    --sizeClass.inUse;
    if (--pools.blocksInUse == 0)
        releaseAllChunks();
}

} // namespace qelAllocatorDetail

#if !QEL_ALLOCATOR_INLINE
void* qelAlloc(size_t size)
{
    return qelAllocatorDetail::allocate(size);
}

void qelFree(void* pointer, size_t size)
{
    qelAllocatorDetail::release(pointer, size);
}
#endif

size_t qelAllocatorBlockSize(size_t size)
{
    int index = qelAllocatorDetail::classFor(size);
    return index < 0 ? 0 : qelAllocatorDetail::classSizes[index];
}

int32_t qelAllocatorBlocksInUse(size_t blockSize)
{
    int index = qelAllocatorDetail::classFor(blockSize);
    return index < 0 ? 0 : qelAllocatorDetail::pools.classes[index].inUse;
}

int32_t qelAllocatorChunkCount()
{
    return qelAllocatorDetail::chunkCount;
}
