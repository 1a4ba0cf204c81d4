// An open index keeps the pages it has read: lookups in any order read each page of the file
// from the disk at most once, and the first lookup after opening reads one page per tree level.

#include "recdb/index/IndexObject.h"

#include "../RecDbTestSupport.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/Database.h"

#include <algorithm>
#include <random>

using namespace recdbtest;

namespace {

std::string keyOf(int i)
{
    return "item " + std::to_string(i * 7919 % 100003);
}

TEST(IndexCache, LookupsReadEachPageOnceAndAFreshOpenReadsOnePathDown)
{
    ScratchDir dir;
    std::string name = dir.path("items.idx");
    constexpr int items = 3000;
    {
        qelValue index = qelCreateIndex(qelStringValue(name.c_str()));
        for (int i = 0; i < items; ++i)
            qelPut(index, qelStringValue(keyOf(i).c_str()), qelMakeInt(i));
    }
    Bytes file = readFile(name);
    int32_t pages = get32(file, 36);
    int32_t height = get32(file, 28);
    ASSERT_GE(height, 3);

    std::vector<int> order(items);
    for (int i = 0; i < items; ++i)
        order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(5));
    {
        qelValue index = qelOpenIndex(qelStringValue(name.c_str()), 0, 0);
        qelIndexObject* object = qelIndexObjectOf(index);
        ASSERT_NE(object, nullptr);
        for (int round = 0; round < 2; ++round) {
            for (int i : order)
                ASSERT_EQ(qelIntValue(object->get(qelStringValue(keyOf(i).c_str()))), i);
        }
        EXPECT_LE(object->handle().database->pageReads, pages);
    }

    // Closing dropped every page: opening again reads the count item through one path down.
    qelValue index = qelOpenIndex(qelStringValue(name.c_str()), 0, 0);
    qelIndexObject* object = qelIndexObjectOf(index);
    EXPECT_EQ(object->count(), items + 1);
    EXPECT_EQ(object->handle().database->pageReads, height);
}

} // namespace
