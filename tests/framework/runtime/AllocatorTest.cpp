#include "framework/runtime/Allocator.h"
#include "ErrorRecorder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

TEST(Allocator, RequestsTakeTheSmallestClassThatFits)
{
    struct Case {
        size_t request;
        size_t block;
    };
    const Case cases[] = { { 0, 16 }, { 1, 16 }, { 16, 16 }, { 17, 32 }, { 32, 32 }, { 33, 256 }, { 256, 256 },
        { 257, 4096 }, { 4096, 4096 }, { 4097, 0 }, { 100000, 0 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        EXPECT_EQ(qelAllocatorBlockSize(c.request), c.block);
        void* p = qelAlloc(c.request);
        ASSERT_NE(p, nullptr);
        if (c.block) {
            EXPECT_EQ(qelAllocatorBlocksInUse(c.block), 1);
            EXPECT_EQ(qelAllocatorChunkCount(), 1);
        } else {
            EXPECT_EQ(qelAllocatorChunkCount(), 0); // a system block takes no chunk
        }
        qelFree(p, c.request);
        EXPECT_EQ(qelAllocatorChunkCount(), 0);
    }
}

TEST(Allocator, AChunkOf16ByteBlocksIsHandedOutFromTheLowestAddressUp)
{
    std::vector<char*> blocks;
    for (int i = 0; i < 4096; ++i)
        blocks.push_back(static_cast<char*>(qelAlloc(16)));
    EXPECT_EQ(qelAllocatorChunkCount(), 1);
    for (int i = 1; i < 4096; ++i)
        ASSERT_EQ(blocks[i], blocks[i - 1] + 16) << i;

    void* extra = qelAlloc(16); // the 4097th block needs a second chunk
    EXPECT_EQ(qelAllocatorChunkCount(), 2);
    EXPECT_EQ(qelAllocatorBlocksInUse(16), 4097);

    qelFree(extra, 16);
    for (char* block : blocks)
        qelFree(block, 16);
    EXPECT_EQ(qelAllocatorBlocksInUse(16), 0);
    EXPECT_EQ(qelAllocatorChunkCount(), 0); // nothing in use: every chunk is released
}

TEST(Allocator, AReusedBlockIsZeroAsFarAsTheRequestReaches)
{
    void* keeper = qelAlloc(8); // keeps the chunks alive across the free below
    auto* first = static_cast<unsigned char*>(qelAlloc(200));
    std::memset(first, 0xAB, 200);
    qelFree(first, 200);

    auto* again = static_cast<unsigned char*>(qelAlloc(100));
    EXPECT_EQ(again, first); // the freed block is the head of its class's free list
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(again[i], 0) << i;

    auto* large = static_cast<unsigned char*>(qelAlloc(10000));
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(large[i], 0) << i;
    qelFree(large, 10000);
    qelFree(again, 100);
    qelFree(keeper, 8);
}

// Under the address sanitizer an impossible request must come back as null, as from the system.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

TEST(Allocator, ARefusedSystemBlockCallsTheFatalHook)
{
    ErrorRecorder recorder;
    void* p = qelAlloc(SIZE_MAX / 2);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(recorder.fatalCodes, std::vector<int> { -1 });
}
