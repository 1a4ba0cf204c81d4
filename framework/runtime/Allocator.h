#pragma once

#include <cstddef>
#include <cstdint>

// The pooled allocator from which framework objects and their arrays are taken.
//
// Requests up to 4096 bytes are served from four size classes (16, 32, 256 and 4096 bytes) cut
// from 64 KB chunks; larger requests are separate zero-filled system blocks. Blocks carry no
// header, so the caller passes qelFree the same size that it asked qelAlloc for. Every block
// comes back zero-filled as far as the request reaches. When the system refuses memory the
// fatal hook is called with -1.
//
// Single-threaded, like the rest of the runtime.

void* qelAlloc(size_t size);
void qelFree(void* pointer, size_t size);

// Figures for tests and benchmarks: the block size that serves a request (0 for a system
// block), the blocks of a class in use, and the number of chunks held.
size_t qelAllocatorBlockSize(size_t size);
int32_t qelAllocatorBlocksInUse(size_t blockSize);
int32_t qelAllocatorChunkCount();
