// The page cache and the write modes: whatever the mode and the number of buffers, and with a
// second file sharing the cache, a file ends with the bytes of a build that writes every page at
// once. Write mode 0 appends its reserve pages ahead; leaving it keeps the file at its extent.

#include "RecDbTestSupport.h"
#include "recdb/Database.h"

#include <random>
#include <set>

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

namespace {

std::string fileError(const std::string& name, std::vector<LeafEntry>* leaves = nullptr)
{
    Bytes file = readFile(name);
    TreeCheck check(file, stringKeyTypes, noSegments);
    std::string error = check.run();
    if (leaves)
        *leaves = check.leaves;
    return error;
}

// Two shared writers of one file take turns: each one's last leaf and cached pages go stale
// whenever the other splits or empties a page, so every change must find its place again.
TEST(RecDbPageCache, SharedWritersTakingTurnsKeepOneSoundTree)
{
    for (int buffers : { 1, 10 }) {
        SCOPED_TRACE("buffers " + std::to_string(buffers));
        ASSERT_EQ(rdbSetCacheSize(buffers), 0);
        ScratchDir dir;
        std::string name = dir.path("shared.db");
        rdbHandle h;
        ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
        ASSERT_EQ(rdbClose(&h), 0);
        rdbHandle a;
        rdbHandle b;
        ASSERT_EQ(rdbOpen(&a, name.c_str(), 'S', 2, nullptr), 0);
        ASSERT_EQ(rdbOpen(&b, name.c_str(), 'S', 2, nullptr), 0);
        char key[32];
        std::string data(40, 'd');
        std::set<int> expected;
        // a appends in key order (its last leaf answers), b fills in between a's keys, and
        // both delete a stretch again so that pages empty and are reused.
        for (int i = 0; i < 1500; ++i) {
            std::snprintf(key, sizeof key, "k%06d", 2 * i);
            ASSERT_EQ(rdbAdd(&a, 1, key, 2 * i, data.data(), int32_t(data.size())), 0) << key;
            expected.insert(2 * i);
            int odd = 2 * ((i * 7) % (i + 1)) + 1;
            if (!expected.count(odd)) {
                std::snprintf(key, sizeof key, "k%06d", odd);
                ASSERT_EQ(rdbAdd(&b, 1, key, odd, data.data(), int32_t(data.size())), 0) << key;
                expected.insert(odd);
            }
            if (i % 300 == 299) {
                rdbHandle& deleter = i % 600 == 299 ? a : b;
                for (int k = 2 * i - 500; k < 2 * i - 100; ++k) {
                    if (expected.erase(k)) {
                        std::snprintf(key, sizeof key, "k%06d", k);
                        ASSERT_EQ(rdbDelete(&deleter, 1, key, k), 0) << key;
                    }
                }
            }
        }
        // Each handle finds every record the other added.
        uint8_t buffer[64];
        for (int k : expected) {
            std::snprintf(key, sizeof key, "k%06d", k);
            ASSERT_EQ(rdbFind(&(k % 2 ? a : b), 1, key, k, buffer, sizeof buffer), 0) << key;
        }
        ASSERT_EQ(rdbClose(&a), 0);
        ASSERT_EQ(rdbClose(&b), 0);
        std::vector<LeafEntry> leaves;
        ASSERT_EQ(fileError(name, &leaves), "");
        std::vector<int> stored;
        for (const LeafEntry& e : leaves)
            stored.push_back(e.record);
        EXPECT_EQ(stored, std::vector<int>(expected.begin(), expected.end()));
    }
    ASSERT_EQ(rdbSetCacheSize(10), 0);
}

// A file left by a program that stopped in write mode 0 after appending reserve pages but before
// writing its header is longer than its extent. It opens with the records of its last header,
// and every mode goes on from the extent, over the pages left behind.
TEST(RecDbPageCache, AFileLongerThanItsExtentOpensAndGrowsFromItsExtent)
{
    ScratchDir dir;
    std::string name = dir.path("cut-off.db");
    rdbHandle h;
    char key[32];
    std::string data(100, 'r');
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    for (int i = 0; i < 200; ++i) {
        std::snprintf(key, sizeof key, "k%06d", i);
        ASSERT_EQ(rdbAdd(&h, 1, key, i, data.data(), int32_t(data.size())), 0);
    }
    ASSERT_EQ(rdbClose(&h), 0);
    ASSERT_EQ(rdbSetCacheSize(2048), 0);
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    ASSERT_EQ(rdbSetAccessMode(&h, 0), 0);
    Bytes before = readFile(name);
    for (int i = 200; i < 600; ++i) {
        std::snprintf(key, sizeof key, "k%06d", i);
        ASSERT_EQ(rdbAdd(&h, 1, key, i, data.data(), int32_t(data.size())), 0);
    }
    // What the disk held at that moment: the old header and pages, then zero pages.
    Bytes cutOff = readFile(name);
    ASSERT_GT(cutOff.size(), before.size());
    ASSERT_TRUE(std::equal(before.begin(), before.end(), cutOff.begin()));
    ASSERT_EQ(rdbClose(&h), 0);
    ASSERT_EQ(rdbSetCacheSize(10), 0);

    for (int mode : { 0, 1, 3 }) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        // Leftover pages that are not zero must not show through either.
        Bytes left = cutOff;
        for (size_t at = before.size(); at < left.size(); ++at)
            left[at] = uint8_t(0xA5 ^ at);
        std::string copy = dir.path("copy" + std::to_string(mode));
        writeFile(copy, left);
        ASSERT_EQ(fileError(copy), "");
        ASSERT_EQ(rdbOpen(&h, copy.c_str(), 'E', 2, nullptr), 0);
        ASSERT_EQ(rdbSetAccessMode(&h, mode), 0);
        uint8_t buffer[128];
        for (int i = 0; i < 200; i += 7) {
            std::snprintf(key, sizeof key, "k%06d", i);
            ASSERT_EQ(rdbFind(&h, 1, key, i, buffer, sizeof buffer), 0) << key;
        }
        std::snprintf(key, sizeof key, "k%06d", 200);
        EXPECT_NE(rdbFind(&h, 1, key, 200, buffer, sizeof buffer), 0);
        for (int i = 200; i < 800; ++i) {
            std::snprintf(key, sizeof key, "k%06d", i);
            ASSERT_EQ(rdbAdd(&h, 1, key, i, data.data(), int32_t(data.size())), 0);
        }
        ASSERT_EQ(rdbClose(&h), 0);
        std::vector<LeafEntry> leaves;
        ASSERT_EQ(fileError(copy, &leaves), "");
        int records = 0;
        for (const LeafEntry& e : leaves)
            records += e.last;
        EXPECT_EQ(records, 800);
        // Closing in write mode 0 cuts the file back to its extent.
        Bytes after = readFile(copy);
        if (mode == 0) {
            EXPECT_EQ(after.size(), pageOffset(get32(after, 52)));
        }
    }
}

} // namespace
