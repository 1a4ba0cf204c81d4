// The page cache and the write modes: whatever the mode and the number of buffers, and with a
// second file sharing the cache, a file ends with the bytes of a build that writes every page at
// once. Write mode 0 appends its reserve pages ahead; leaving it keeps the file at its extent.

#include "RecDbTestSupport.h"
#include "recdb/Database.h"

#include <random>

using namespace recdbtest;

namespace {

struct Change {
    enum Kind { Add, Put, Delete } kind;
    std::string key;
    int32_t record;
    std::string data;
};

// A fixed mix of changes: adds in shuffled key order (some records long enough for several
// pieces), rewrites, and deletes that empty pages and put them on the free-page list.
std::vector<Change> changes(uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<int> order(1200);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::shuffle(order.begin(), order.end(), random);
    auto keyOf = [](int i) { return "key-" + std::to_string(i * 7919 % 100003); };
    auto dataOf = [&random](int i) {
        return std::string(i % 9 == 0 ? 300 + random() % 900 : 1 + random() % 60, char('a' + i % 26));
    };
    std::vector<Change> out;
    for (int i : order)
        out.push_back({ Change::Add, keyOf(i), i, dataOf(i) });
    for (int i = 0; i < 1200; i += 3)
        out.push_back({ Change::Put, keyOf(i), i, dataOf(i + 1) });
    for (int i = 200; i < 700; ++i)
        out.push_back({ Change::Delete, keyOf(i), i, {} });
    return out;
}

void apply(rdbHandle& h, const Change& c)
{
    auto length = int32_t(c.data.size());
    int32_t status = c.kind == Change::Add ? rdbAdd(&h, 1, c.key.c_str(), c.record, c.data.data(), length)
        : c.kind == Change::Put            ? rdbPut(&h, 1, c.key.c_str(), c.record, c.data.data(), length)
                                           : rdbDelete(&h, 1, c.key.c_str(), c.record);
    ASSERT_EQ(status, 0) << c.key;
}

void build(const std::string& name, const std::vector<Change>& list)
{
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    ASSERT_EQ(rdbSetAccessMode(&h, 3), 0);
    for (const Change& c : list)
        ASSERT_NO_FATAL_FAILURE(apply(h, c));
    ASSERT_EQ(rdbClose(&h), 0);
}

TEST(RecDbPageCache, EveryWriteModeAndCacheSizeLeavesTheBytesOfAnImmediateBuild)
{
    ScratchDir dir;
    std::string referenceA = dir.path("reference-a.db");
    std::string referenceB = dir.path("reference-b.db");
    std::vector<Change> listA = changes(1);
    std::vector<Change> listB = changes(2);
    build(referenceA, listA);
    build(referenceB, listB);
    Bytes expectedA = readFile(referenceA);
    Bytes expectedB = readFile(referenceB);
    // The extent counts the pages the file holds, including the zero pages reserved ahead.
    ASSERT_EQ(expectedA.size(), pageOffset(get32(expectedA, 52)));

    for (int buffers : { 1, 3, 2048 }) {
        // Mode 5 here: mode 0 for the first half of the changes, mode 3 for the rest.
        for (int mode : { 0, 1, 2, 4, 5 }) {
            SCOPED_TRACE("buffers " + std::to_string(buffers) + ", mode " + std::to_string(mode));
            ASSERT_EQ(rdbSetCacheSize(buffers), 0);
            std::string nameA = dir.path("a" + std::to_string(buffers) + "-" + std::to_string(mode));
            std::string nameB = dir.path("b" + std::to_string(buffers) + "-" + std::to_string(mode));
            rdbHandle a;
            rdbHandle b;
            ASSERT_EQ(rdbCreateDefault(&a, nameA.c_str()), 0);
            ASSERT_EQ(rdbCreateDefault(&b, nameB.c_str()), 0);
            ASSERT_EQ(rdbSetAccessMode(&a, mode % 5), 0);
            ASSERT_EQ(rdbSetAccessMode(&b, mode % 5), 0);
            // Both files change in turn, so each one's evictions write the other's pages.
            for (size_t i = 0; i < listA.size() || i < listB.size(); ++i) {
                if (mode == 5 && i == listA.size() / 2) {
                    ASSERT_EQ(rdbSetAccessMode(&a, 3), 0);
                    EXPECT_EQ(readFile(nameA).size(), pageOffset(a.database->header.extent));
                }
                if (i < listA.size()) {
                    ASSERT_NO_FATAL_FAILURE(apply(a, listA[i])) << "a " << i;
                }
                if (i < listB.size()) {
                    ASSERT_NO_FATAL_FAILURE(apply(b, listB[i])) << "b " << i;
                }
            }
            ASSERT_EQ(rdbClose(&a), 0);
            ASSERT_EQ(rdbClose(&b), 0);
            EXPECT_TRUE(readFile(nameA) == expectedA);
            EXPECT_TRUE(readFile(nameB) == expectedB);
        }
    }
    ASSERT_EQ(rdbSetCacheSize(10), 0);
}

} // namespace
