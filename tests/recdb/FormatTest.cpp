#include "RecDbTestSupport.h"

#include <cstring>

using namespace recdbtest;

namespace {

struct Run {
    size_t offset;
    std::vector<uint8_t> bytes;
};

// A fresh file as laid down by hand from the format: the header (change counter 1, tree 0 rooted
// at page 0 with height 1, one page in use, three pages present, empty free list, kept words -1,
// index 20 of key type 2), then page 0 as an empty leaf and two zero reserve pages.
Bytes goldenFreshFile(bool big)
{
    auto word = [big](uint32_t v) {
        std::vector<uint8_t> b(4);
        for (int i = 0; i < 4; ++i)
            b[size_t(big ? 3 - i : i)] = uint8_t(v >> (8 * i));
        return b;
    };
    std::vector<Run> runs = {
        { 0, word(1) },
        { 4, word('V') },
        { 8, word(1) },
        { 12, word(0) },
        { 16, word('A') },
        { 20, word('L') },
        { 24, word('I') },
        { 28, word(1) },
        { 32, word('D') },
        { 36, word(1) },
        { 40, word('A') },
        { 44, word(1) },
        { 48, word('T') },
        { 52, word(3) },
        { 56, word('1') },
        { 60, { 0xFF, 0xFF, 0xFF, 0xFF } },
        { 212, { 2 } },
        { 344, { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF } },
        // Page 0: no leftmost child, no siblings, level 0, no entries, 1006 free bytes.
        { 1024 + 4, { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF } },
        { 1024 + 16, big ? std::vector<uint8_t> { 0x03, 0xEE } : std::vector<uint8_t> { 0xEE, 0x03 } },
    };
    Bytes file(4096, 0);
    for (auto& run : runs)
        std::memcpy(&file[run.offset], run.bytes.data(), run.bytes.size());
    return file;
}

TEST(RecDbFormat, FreshFileMatchesTheHandWrittenBytesInBothByteOrders)
{
    ScratchDir dir;
    for (int order : { 1, 2 }) {
        std::string name = dir.path("fresh" + std::to_string(order) + ".db");
        rdbHandle h;
        ASSERT_EQ(rdbCreate(&h, name.c_str(), 'E', order, nullptr), 0);
        ASSERT_EQ(rdbClose(&h), 0);
        EXPECT_EQ(readFile(name), goldenFreshFile(order == 2)) << "byte order " << order;
    }
}

TEST(RecDbFormat, BigEndianFileHoldsTheSameRecordsSwapped)
{
    ScratchDir dir;
    static const uint8_t segments[] = { 4, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, // int16, descending
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // string
        31, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    const rdbIndexDef table[]
        = { { 1, 0, nullptr }, { 2, 3, nullptr }, { 3, 7, nullptr }, { 4, 8, segments }, { 0, 0, nullptr } };
    uint8_t types[21] = {};
    const uint8_t* segs[21] = {};
    types[2] = 3;
    types[3] = 7;
    types[4] = 8;
    types[20] = 2;
    segs[4] = segments;

    std::vector<LeafEntry> entries[2];
    for (int order : { 1, 2 }) {
        std::string name = dir.path("twin" + std::to_string(order) + ".db");
        rdbHandle h;
        ASSERT_EQ(rdbCreate(&h, name.c_str(), 'E', order, table), 0);
        for (int32_t i = 0; i < 300; ++i) {
            std::string text = "item" + std::to_string(i * 7919 % 1000);
            std::string data(size_t(i % 5 == 0 ? 500 : 20), char('a' + i % 26));
            int32_t number = i * 1000003 - 150000000;
            double real = i * -0.25;
            uint8_t composite[64];
            int16_t small = int16_t(i % 40 - 20);
            composite[0] = uint8_t(2 + text.size() + 1);
            std::memcpy(composite + 1, &small, 2);
            std::memcpy(composite + 3, text.c_str(), text.size() + 1);
            ASSERT_EQ(rdbPut(&h, 1, text.c_str(), i, data.data(), int32_t(data.size())), 0);
            ASSERT_EQ(rdbPut(&h, 2, &number, i, data.data(), 3), 0);
            ASSERT_EQ(rdbPut(&h, 3, &real, -i, nullptr, 0), 0);
            ASSERT_EQ(rdbPut(&h, 4, composite, i, data.data(), 1), 0);
        }
        ASSERT_EQ(rdbClose(&h), 0);
        Bytes file = readFile(name);
        EXPECT_EQ(file[8] == 0 && file[11] == 1, order == 2);
        TreeCheck check(file, types, segs);
        EXPECT_EQ(check.run(), "");
        entries[order - 1] = check.leaves;

        // Read back through the library: the same keys in the same order in both files.
        ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, table), 0);
        int16_t previous = 32767;
        int seen = 0;
        uint8_t buffer[8];
        for (int32_t s = rdbFirst(&h, 4, buffer, sizeof buffer); s == 0; s = rdbNext(&h, 4, buffer, sizeof buffer)) {
            int16_t small;
            std::memcpy(&small, static_cast<const uint8_t*>(h.keyPointer) + 1, 2);
            EXPECT_LE(small, previous); // descending first segment
            previous = small;
            ++seen;
        }
        EXPECT_EQ(seen, 300);
        double real = -10.0;
        EXPECT_EQ(rdbFind(&h, 3, &real, -40, buffer, sizeof buffer), 0);
        EXPECT_EQ(h.recordNumber, -40);
        ASSERT_EQ(rdbClose(&h), 0);
    }
    ASSERT_EQ(entries[0].size(), entries[1].size());
    for (size_t i = 0; i < entries[0].size(); ++i) {
        EXPECT_EQ(entries[0][i].key, entries[1][i].key);
        EXPECT_EQ(entries[0][i].record, entries[1][i].record);
        EXPECT_EQ(entries[0][i].payload, entries[1][i].payload);
    }
}

TEST(RecDbFormat, HeaderSignatureAndInterruptedUpdateAreRefused)
{
    ScratchDir dir;
    std::string name = dir.path("sig.db");
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    ASSERT_EQ(rdbClose(&h), 0);
    const Bytes good = readFile(name);

    for (size_t offset : { 4, 16, 20, 24, 32, 40, 48, 56 }) {
        Bytes bad = good;
        bad[offset] = offset == 56 ? '2' : uint8_t(bad[offset] + 1);
        writeFile(name, bad);
        EXPECT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, nullptr), -5) << offset;
        EXPECT_EQ(h.state, 'C');
        EXPECT_EQ(rdbFirst(&h, 1, nullptr, 0), -3);
    }

    Bytes marked = good;
    marked[1010] = 13245 & 0xFF;
    marked[1011] = 13245 >> 8;
    writeFile(name, marked);
    for (char sharing : { 'E', 'S' }) {
        for (int access : { 1, 2 })
            EXPECT_EQ(rdbOpen(&h, name.c_str(), sharing, access, nullptr), -40);
    }
    EXPECT_EQ(readFile(name), marked);
}

} // namespace
