#include "RecDbTestSupport.h"

#include <cstring>
#include <string>

using namespace recdbtest;

namespace {

std::vector<LeafEntry> leavesOf(const std::string& name)
{
    Bytes file = readFile(name);
    TreeCheck check(file, stringKeyTypes, noSegments);
    EXPECT_EQ(check.run(), "");
    return check.leaves;
}

// The leftmost leaf of tree 0: from the root (header word 12) down the first child of each branch,
// height (header word 28) less one levels.
int32_t firstLeafOf(const Bytes& file)
{
    int32_t page = get32(file, 12);
    for (int level = get32(file, 28) - 1; level > 0; --level)
        page = get32(file, pageOffset(page));
    return page;
}

TEST(RecDbOperations, BadCallsAreRefusedWithoutTouchingTheFile)
{
    ScratchDir dir;
    std::string name = dir.path("calls.db");
    rdbHandle never;
    uint8_t buffer[16];
    EXPECT_EQ(rdbFirst(&never, 1, buffer, 16), -3);
    EXPECT_EQ(rdbAdd(&never, 1, "a", 1, "b", 1), -3);
    EXPECT_EQ(rdbClose(&never), -3);
    EXPECT_EQ(rdbCheckHandleSize(sizeof(rdbHandle)), 0);
    EXPECT_EQ(rdbCheckHandleSize(sizeof(rdbHandle) - 1), -1);

    rdbHandle h;
    EXPECT_EQ(rdbCreate(&h, name.c_str(), 'E', 4, nullptr), -32);
    EXPECT_FALSE(std::filesystem::exists(name));
    const rdbIndexDef badIndex[] = { { 16, 0, nullptr }, { 0, 0, nullptr } };
    EXPECT_EQ(rdbCreate(&h, name.c_str(), 'E', 1, badIndex), -27);
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    ASSERT_EQ(rdbAdd(&h, 1, "alpha", 7, "data", 4), 0);
    ASSERT_EQ(rdbClose(&h), 0);
    const Bytes before = readFile(name);

    EXPECT_EQ(rdbCreateDefault(&h, name.c_str()), -29);
    EXPECT_EQ(readFile(name), before);
    const uint8_t badSegments[] = { 25, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 31 };
    const rdbIndexDef wrongType[] = { { 1, 3, nullptr }, { 0, 0, nullptr } };
    const rdbIndexDef segmentsOfWrongType[] = { { 1, 0, badSegments }, { 0, 0, nullptr } };
    EXPECT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, wrongType), -35);
    EXPECT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, segmentsOfWrongType), -37);

    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, nullptr), 0);
    for (int32_t key : { 0, 21, -1 }) {
        EXPECT_EQ(rdbFind(&h, key, "alpha", 0, buffer, 16), -2);
        EXPECT_EQ(h.lastStatus, -2);
        EXPECT_EQ(rdbNext(&h, key, buffer, 16), -2);
    }
    EXPECT_EQ(rdbAdd(&h, 1, "beta", 1, "x", 1), -33);
    EXPECT_EQ(rdbPut(&h, 1, "alpha", 7, "x", 1), -33);
    EXPECT_EQ(rdbDelete(&h, 1, "alpha", 7), -33);
    EXPECT_EQ(rdbNextSequence(&h), -33);
    EXPECT_EQ(rdbFind(&h, 1, "alpha", 7, buffer, 16), 0);
    EXPECT_EQ(rdbDeleteCurrent(&h, 1), -33);
    EXPECT_EQ(rdbRewriteCurrent(&h, 1, "x", 1), -33);
    std::string longKey(242, 'k'); // 243 bytes with its end
    EXPECT_EQ(rdbFind(&h, 1, longKey.c_str(), 0, buffer, 16), -2);

    // A handle whose letters were overwritten is refused until they are back.
    char saved = h.letterT;
    h.letterT = 'x';
    EXPECT_EQ(rdbFirst(&h, 1, buffer, 16), -3);
    h.letterT = saved;
    EXPECT_EQ(rdbClose(&h), 0);
    EXPECT_EQ(rdbFirst(&h, 1, buffer, 16), -3);
    EXPECT_EQ(readFile(name), before);
}

TEST(RecDbOperations, RecordsAreCutIntoPiecesAndReadBack)
{
    ScratchDir dir;
    std::string name = dir.path("pieces.db");
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    const char* key = "123456789"; // 10 stored bytes: pieces of 234 bytes
    std::string data(128 * 234 + 1, 'p');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char('a' + i % 23);
    struct Case {
        int32_t record;
        int32_t length;
        int32_t status;
        int pieces;
    };
    const Case cases[]
        = { { 1, 234, 0, 1 }, { 2, 235, 0, 2 }, { 3, 128 * 234, 0, 128 }, { 4, 128 * 234 + 1, -2, 0 }, { 5, 0, 0, 1 } };
    for (const auto& c : cases)
        EXPECT_EQ(rdbInsert(&h, 1, key, c.record, data.data(), c.length), c.status) << c.record;
    // Rewriting the three-piece record with one piece of data leaves one entry.
    ASSERT_EQ(rdbPut(&h, 1, key, 6, data.data(), 500), 0);
    ASSERT_EQ(rdbPut(&h, 1, key, 6, data.data(), 10), 0);
    ASSERT_EQ(rdbPut(&h, 1, key, 7, data.data(), 500), 0);

    std::vector<uint8_t> buffer(100);
    EXPECT_EQ(rdbFind(&h, 1, key, 7, buffer.data(), 100), 0);
    EXPECT_EQ(h.dataLength, 100);
    EXPECT_EQ(h.fullLength, 500);
    EXPECT_EQ(0, std::memcmp(buffer.data(), data.data(), 100));
    buffer.assign(40000, 0);
    EXPECT_EQ(rdbFind(&h, 1, key, 3, buffer.data(), 40000), 0);
    EXPECT_EQ(h.fullLength, 128 * 234);
    EXPECT_EQ(0, std::memcmp(buffer.data(), data.data(), 128 * 234));
    EXPECT_EQ(rdbNext(&h, 1, buffer.data(), 40000), 0); // past all 128 pieces
    EXPECT_EQ(h.recordNumber, 5);
    EXPECT_EQ(h.fullLength, 0);
    EXPECT_EQ(rdbPrevious(&h, 1, buffer.data(), 40000), 0);
    EXPECT_EQ(h.recordNumber, 3);
    ASSERT_EQ(rdbClose(&h), 0);

    int pieces[8] = {};
    for (auto& e : leavesOf(name))
        ++pieces[e.record];
    EXPECT_EQ(pieces[1], 1);
    EXPECT_EQ(pieces[2], 2);
    EXPECT_EQ(pieces[3], 128);
    EXPECT_EQ(pieces[4], 0);
    EXPECT_EQ(pieces[5], 1);
    EXPECT_EQ(pieces[6], 1);
    EXPECT_EQ(pieces[7], 3);
}

TEST(RecDbOperations, FindAnswersAcrossIndexesAndLeaves)
{
    ScratchDir dir;
    std::string name = dir.path("find.db");
    const rdbIndexDef table[] = { { 3, 0, nullptr }, { 4, 0, nullptr }, { 5, 1, nullptr }, { 0, 0, nullptr } };
    rdbHandle h;
    ASSERT_EQ(rdbCreate(&h, name.c_str(), 'E', 1, table), 0);
    uint8_t buffer[300];
    for (int i = 0; i < 200; ++i) {
        std::string k = "m" + std::to_string(1000 + i);
        ASSERT_EQ(rdbAdd(&h, 3, k.c_str(), i, "three", 5), 0);
        ASSERT_EQ(rdbAdd(&h, 4, k.c_str(), i, "four", 4), 0);
    }
    // Many records under one key spread over several leaves.
    std::string filler(150, 'f');
    for (int r = 0; r < 40; ++r)
        ASSERT_EQ(rdbPut(&h, 3, "m1100", 1000 + r, filler.data(), 150), 0);
    EXPECT_EQ(rdbFind(&h, 3, "a", 0, buffer, 300), 2);
    EXPECT_EQ(std::string(static_cast<const char*>(h.keyPointer)), "m1000");
    EXPECT_EQ(rdbFind(&h, 3, "z", 0, buffer, 300), -1); // index 4 follows, but is not index 3
    EXPECT_EQ(rdbNext(&h, 3, buffer, 300), 0); // no position: the first record
    EXPECT_EQ(std::string(static_cast<const char*>(h.keyPointer)), "m1000");
    EXPECT_EQ(rdbFind(&h, 3, "m1100", 1020, buffer, 300), 0);
    EXPECT_EQ(rdbFind(&h, 3, "m1100", 500, buffer, 300), 1);
    EXPECT_EQ(h.recordNumber, 1000);
    int count = 1;
    while (rdbNext(&h, 3, buffer, 300) == 0 && std::string(static_cast<const char*>(h.keyPointer)) == "m1100")
        ++count;
    EXPECT_EQ(count, 40);
    EXPECT_EQ(rdbLast(&h, 3, buffer, 300), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(h.keyPointer)), "m1199");
    EXPECT_EQ(rdbNext(&h, 3, buffer, 300), -1);

    EXPECT_EQ(rdbAdd(&h, 3, "m1050", 999, "x", 1), -1); // the key exists with another record
    EXPECT_EQ(rdbPut(&h, 3, "m1050", 50, "rewritten", 9), 0);
    EXPECT_EQ(rdbFind(&h, 3, "m1050", 50, buffer, 300), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 9), "rewritten");
    EXPECT_EQ(rdbUpdate(&h, 3, "m1050", 51, "x", 1), -1);

    ASSERT_EQ(rdbAdd(&h, 5, "Caf\xe9", 1, "", 0), 0);
    EXPECT_EQ(rdbAdd(&h, 5, "CAF\xe9", 2, "", 0), -1);
    EXPECT_EQ(rdbFind(&h, 5, "caf\xe9", 1, buffer, 300), 0);
    EXPECT_EQ(rdbClose(&h), 0);
}

TEST(RecDbOperations, PagesFillFreeAndComeBack)
{
    ScratchDir dir;
    std::string name = dir.path("pages.db");
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    char key[32];
    for (int i = 0; i < 4000; ++i) {
        std::snprintf(key, sizeof key, "key-%08d-padding", i);
        ASSERT_EQ(rdbAdd(&h, 1, key, i, "v", 1), 0);
    }
    ASSERT_EQ(rdbClose(&h), 0);
    // Ascending inserts leave every leaf but the last full.
    Bytes file = readFile(name);
    EXPECT_EQ(get32(file, 28), 3);
    int32_t page = firstLeafOf(file);
    int leaves = 0;
    for (; get32(file, pageOffset(page) + 4) != -1; page = get32(file, pageOffset(page) + 4), ++leaves)
        EXPECT_LT(get16(file, pageOffset(page) + 16), 32) << "leaf " << page;
    EXPECT_GT(leaves, 100);

    // Deleting everything gives back a single empty root leaf; its pages go on the free list.
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    for (int i = 0; i < 4000; ++i) {
        std::snprintf(key, sizeof key, "key-%08d-padding", (i * 7) % 4000);
        ASSERT_EQ(rdbDelete(&h, 1, key, (i * 7) % 4000), 0) << i;
    }
    ASSERT_EQ(rdbClose(&h), 0);
    file = readFile(name);
    EXPECT_EQ(get32(file, 28), 1);
    int32_t root = get32(file, 12);
    EXPECT_EQ(get16(file, pageOffset(root) + 14), 0);
    EXPECT_EQ(get16(file, pageOffset(root) + 16), 1006);
    EXPECT_EQ(leavesOf(name).size(), 0u); // the check also sees every other page on the free list
    int32_t lastFreed = get32(file, 60);

    // The next page needed is the one freed last.
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    std::string data(200, 'd');
    for (int i = 0; i < 6; ++i) {
        std::snprintf(key, sizeof key, "again-%d", i);
        ASSERT_EQ(rdbAdd(&h, 1, key, i, data.data(), 200), 0);
    }
    ASSERT_EQ(rdbClose(&h), 0);
    file = readFile(name);
    EXPECT_EQ(get32(file, pageOffset(root) + 4), lastFreed);
}

TEST(RecDbOperations, ExclusiveOpensCacheAndCloses)
{
    ScratchDir dir;
    std::string a = dir.path("a.db");
    std::string b = dir.path("b.db");
    rdbHandle h;
    rdbHandle other;
    char key[32];
    for (const std::string& name : { a, b }) {
        ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
        for (int i = 0; i < 600; ++i) {
            std::snprintf(key, sizeof key, "key-%06d", i);
            ASSERT_EQ(rdbAdd(&h, 1, key, i, name.c_str(), int32_t(name.size())), 0);
        }
        ASSERT_EQ(rdbClose(&h), 0);
    }

    ASSERT_EQ(rdbOpen(&h, a.c_str(), 'E', 1, nullptr), 0);
    EXPECT_EQ(rdbOpen(&other, a.c_str(), 'E', 2, nullptr), -1);
    EXPECT_EQ(other.state, 'C');
    EXPECT_EQ(rdbFirst(&other, 1, nullptr, 0), -3);
    ASSERT_EQ(rdbClose(&h), 0);

    // Files opened one after the other (same pages, same descriptor) never see each other's pages.
    uint8_t buffer[200];
    for (int round = 0; round < 4; ++round) {
        const std::string& name = round % 2 ? b : a;
        ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, nullptr), 0);
        EXPECT_EQ(rdbFind(&h, 1, "key-000300", 300, buffer, sizeof buffer), 0);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size_t(h.dataLength)), name);
        ASSERT_EQ(rdbClose(&h), 0);
    }

    // Write mode 0 keeps a changed page in the cache until ten other pages push it out.
    ASSERT_EQ(rdbOpen(&h, a.c_str(), 'E', 2, nullptr), 0);
    ASSERT_EQ(rdbSetAccessMode(&h, 0), 0);
    ASSERT_EQ(rdbFind(&h, 1, "key-000000", 0, buffer, sizeof buffer), 0);
    Bytes file = readFile(a);
    int32_t firstLeaf = firstLeafOf(file);
    std::string changed(a.size(), 'Z');
    ASSERT_EQ(rdbRewriteCurrent(&h, 1, changed.data(), int32_t(changed.size())), 0);
    EXPECT_EQ(readFile(a), file);
    std::vector<int32_t> leaves;
    for (int32_t page = get32(file, pageOffset(firstLeaf) + 4); page != -1 && leaves.size() < 10;
         page = get32(file, pageOffset(page) + 4))
        leaves.push_back(page);
    ASSERT_EQ(leaves.size(), 10u);
    for (int i = 0; i < 600; i += 20) {
        std::snprintf(key, sizeof key, "key-%06d", i);
        rdbFind(&h, 1, key, i, buffer, sizeof buffer);
    }
    Bytes after = readFile(a);
    EXPECT_NE(Bytes(after.begin() + long(pageOffset(firstLeaf)), after.begin() + long(pageOffset(firstLeaf + 1))),
        Bytes(file.begin() + long(pageOffset(firstLeaf)), file.begin() + long(pageOffset(firstLeaf + 1))));
    ASSERT_EQ(rdbClose(&h), 0);
}

TEST(RecDbOperations, HeaderServicesPersist)
{
    ScratchDir dir;
    std::string name = dir.path("header.db");
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    EXPECT_EQ(rdbNextSequence(&h), 0);
    EXPECT_EQ(h.recordNumber, 1);
    EXPECT_EQ(rdbNextSequence(&h), 0);
    EXPECT_EQ(h.recordNumber, 2);
    EXPECT_EQ(rdbSetUserWord(&h, -77), 0);
    EXPECT_EQ(rdbWriteUserArea(&h, "user area", 9), 0);
    EXPECT_EQ(rdbWriteUserArea(&h, std::string(101, 'x').data(), 101), -2);
    ASSERT_EQ(rdbClose(&h), 0);
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, nullptr), 0);
    EXPECT_EQ(rdbGetUserWord(&h), 0);
    EXPECT_EQ(h.recordNumber, -77);
    char area[16] = {};
    EXPECT_EQ(rdbReadUserArea(&h, area, 5), -28);
    EXPECT_EQ(h.dataLength, 9);
    EXPECT_EQ(rdbReadUserArea(&h, area, 16), 0);
    EXPECT_EQ(std::string(area), "user area");
    ASSERT_EQ(rdbClose(&h), 0);
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    EXPECT_EQ(rdbNextSequence(&h), 0);
    EXPECT_EQ(h.recordNumber, 3);
    ASSERT_EQ(rdbClose(&h), 0);
}

TEST(RecDbOperations, SafeWriteMarkerStopsTheNextUpdate)
{
    ScratchDir dir;
    std::string name = dir.path("marker.db");
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    ASSERT_EQ(rdbSetAccessMode(&h, 4), 0);
    ASSERT_EQ(rdbAdd(&h, 1, "one", 1, "1", 1), 0);
    Bytes file = readFile(name);
    EXPECT_EQ(get16(file, 1010), 0); // reset when the update ended
    // An update that was cut off leaves the marker behind.
    file[1010] = 13245 & 0xFF;
    file[1011] = 13245 >> 8;
    {
        std::fstream patch(name, std::ios::binary | std::ios::in | std::ios::out);
        patch.seekp(1010);
        patch.write(reinterpret_cast<const char*>(&file[1010]), 2);
    }
    EXPECT_EQ(rdbAdd(&h, 1, "two", 2, "2", 1), -40);
    ASSERT_EQ(rdbClose(&h), 0);
    EXPECT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), -40);
}

TEST(RecDbOperations, SharedOpenersSeeEachOthersChangesAndLocks)
{
    ScratchDir dir;
    std::string name = dir.path("shared.db");
    rdbHandle a;
    rdbHandle b;
    ASSERT_EQ(rdbCreateDefault(&a, name.c_str()), 0);
    for (int i = 0; i < 300; i += 2) {
        std::string k = "k" + std::to_string(1000 + i);
        ASSERT_EQ(rdbAdd(&a, 1, k.c_str(), i, "even", 4), 0);
    }
    ASSERT_EQ(rdbClose(&a), 0);
    ASSERT_EQ(rdbOpen(&a, name.c_str(), 'S', 2, nullptr), 0);
    ASSERT_EQ(rdbOpen(&b, name.c_str(), 'S', 2, nullptr), 0);
    EXPECT_EQ(a.sharing, 'S');
    EXPECT_EQ(a.writeMode, 1);

    uint8_t buffer[16];
    ASSERT_EQ(rdbFind(&b, 1, "k1100", 100, buffer, sizeof buffer), 0);
    // a inserts records on both sides of b's position and removes b's current one.
    for (int i = 1; i < 300; i += 2) {
        std::string k = "k" + std::to_string(1000 + i);
        ASSERT_EQ(rdbAdd(&a, 1, k.c_str(), i, "odd", 3), 0);
    }
    ASSERT_EQ(rdbDelete(&a, 1, "k1100", 100), 0);
    EXPECT_EQ(rdbNext(&b, 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(b.keyPointer)), "k1101");
    EXPECT_EQ(rdbPrevious(&b, 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(b.keyPointer)), "k1099");

    // Record locks.
    ASSERT_EQ(rdbFind(&a, 1, "k1050", 50, buffer, sizeof buffer), 0);
    ASSERT_EQ(rdbFind(&b, 1, "k1050", 50, buffer, sizeof buffer), 0);
    EXPECT_EQ(rdbRewriteCurrent(&a, 1, "x", 1), -107);
    EXPECT_EQ(rdbTestRecordLock(&a, 1), -106);
    EXPECT_EQ(rdbLockRecord(&a, 1), 0);
    EXPECT_EQ(rdbTestRecordLock(&a, 1), -105);
    EXPECT_EQ(rdbTestRecordLock(&b, 1), -104);
    EXPECT_EQ(rdbLockRecord(&b, 1), -104);
    EXPECT_EQ(rdbUnlockRecord(&b, 1), -104);
    EXPECT_EQ(rdbRewriteCurrent(&a, 1, "locked", 6), 0);
    EXPECT_EQ(rdbUnlockRecord(&a, 1), 0);
    EXPECT_EQ(rdbLockRecord(&b, 1), 0);
    EXPECT_EQ(rdbReadCurrent(&b, 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 6), "locked");
    // A lock left by a closed opener is stale and does not stop others.
    ASSERT_EQ(rdbClose(&b), 0);
    EXPECT_EQ(rdbTestRecordLock(&a, 1), -106);
    ASSERT_EQ(rdbClose(&a), 0);

    // An exclusive open refuses while a shared opener is there, and the other way round.
    ASSERT_EQ(rdbOpen(&a, name.c_str(), 'S', 1, nullptr), 0);
    EXPECT_EQ(rdbOpen(&b, name.c_str(), 'E', 2, nullptr), -1);
    ASSERT_EQ(rdbClose(&a), 0);
    EXPECT_EQ(leavesOf(name).size(), 299u);
}

} // namespace
