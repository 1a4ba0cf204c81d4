#include "framework/runtime/Allocator.h"
#include "framework/runtime/Error.h"

#include <cstdlib>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QEL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QEL_ASAN 1
#endif
#ifdef QEL_ASAN
#include <sanitizer/asan_interface.h>
// Free pool blocks are poisoned so that the address sanitizer still sees a use after free.
#define QEL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define QEL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define QEL_POISON(p, n) ((void)(p), (void)(n))
#define QEL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

constexpr size_t chunkSize = 65536;
constexpr int classCount = 4;
constexpr size_t classSizes[classCount] = { 16, 32, 256, 4096 };
constexpr int32_t chunkTableGrowth = 256;

struct SizeClass {
    void* freeHead = nullptr; // a free block's first word links to the next free block
    int32_t inUse = 0;
};

SizeClass classes[classCount];
void** chunkTable = nullptr;
int32_t chunkCount = 0;
int32_t chunkCapacity = 0;

int classFor(size_t size)
{
    for (int i = 0; i < classCount; ++i) {
        if (size <= classSizes[i])
            return i;
    }
    return -1;
}

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

// Takes a new chunk for a class and links its blocks in ascending address order, so the lowest
// block is handed out first.
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
    void* next = classes[index].freeHead;
    for (size_t offset = chunkSize; offset >= blockSize; offset -= blockSize) {
        void* block = chunk + offset - blockSize;
        setNext(block, next);
        next = block;
    }
    classes[index].freeHead = next;
    return true;
}

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
    for (auto& sizeClass : classes)
        sizeClass.freeHead = nullptr;
}

} // namespace

void* qelAlloc(size_t size)
{
    int index = classFor(size);
    if (index < 0) {
        void* block = std::calloc(1, size);
        return block ? block : systemRefused();
    }
    SizeClass& sizeClass = classes[index];
    if (!sizeClass.freeHead && !addChunk(index))
        return systemRefused();
    void* block = sizeClass.freeHead;
    sizeClass.freeHead = nextOf(block);
    ++sizeClass.inUse;
    QEL_UNPOISON(block, size);
    std::memset(block, 0, size);
    return block;
}

void qelFree(void* pointer, size_t size)
{
    if (!pointer)
        return;
    int index = classFor(size);
    if (index < 0) {
        std::free(pointer);
        return;
    }
    SizeClass& sizeClass = classes[index];
    QEL_POISON(pointer, classSizes[index]);
    setNext(pointer, sizeClass.freeHead);
    sizeClass.freeHead = pointer;
    --sizeClass.inUse;
    for (auto& each : classes) {
        if (each.inUse > 0)
            return;
    }
    releaseAllChunks();
}

size_t qelAllocatorBlockSize(size_t size)
{
    int index = classFor(size);
    return index < 0 ? 0 : classSizes[index];
}

int32_t qelAllocatorBlocksInUse(size_t blockSize)
{
    int index = classFor(blockSize);
    return index < 0 ? 0 : classes[index].inUse;
}

int32_t qelAllocatorChunkCount()
{
    return chunkCount;
}
