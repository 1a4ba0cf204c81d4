#include "recdb/Verify.h"

#include "RecDbTestSupport.h"

#include <cstdio>
#include <map>

using namespace recdbtest;

namespace {

std::string keyOf(int i)
{
    return numberedKey("k", 4, i);
}

Bytes dataOf(int i, size_t size)
{
    Bytes data(size);
    for (size_t j = 0; j < size; ++j)
        data[j] = uint8_t(i + j * 7);
    return data;
}

using Records = std::map<std::string, Bytes>;

// Every record of index 1 through the library, keyed by key and record number.
Records readAll(const std::string& path)
{
    Records out;
    rdbHandle h;
    if (rdbOpen(&h, path.c_str(), 'E', 1, nullptr) != 0)
        return out;
    std::vector<uint8_t> buffer(40000);
    for (int32_t s = rdbFirst(&h, 1, buffer.data(), int32_t(buffer.size())); s == 0;
         s = rdbNext(&h, 1, buffer.data(), int32_t(buffer.size()))) {
        std::string key = static_cast<const char*>(h.keyPointer);
        out[key + "#" + std::to_string(h.recordNumber)] = Bytes(buffer.begin(), buffer.begin() + h.dataLength);
    }
    rdbClose(&h);
    return out;
}

int32_t verify(const std::string& path)
{
    return verifyFile(path).result();
}

// Removes entry i of a page of a closed little-endian file by hand.
void removeEntry(Bytes& f, int32_t page, int i)
{
    size_t base = pageOffset(page);
    size_t off = base + 18;
    for (int k = 0; k < i; ++k)
        off += 1 + f[off];
    size_t size = 1 + f[off];
    size_t end = base + 1024 - size_t(get16(f, base + 16));
    std::copy(f.begin() + long(off + size), f.begin() + long(end), f.begin() + long(off));
    std::fill(f.begin() + long(end - size), f.begin() + long(end), 0);
    put16(f, base + 14, get16(f, base + 14) - 1);
    put16(f, base + 16, get16(f, base + 16) + int(size));
}

} // namespace

TEST(RecDbRepair, ARecordMissingAMiddlePieceIsMovedWholeToTheTarget)
{
    ScratchDir dir;
    std::string source = dir.path("src");
    std::string target = dir.path("removed");
    Records expected;
    {
        rdbHandle h;
        ASSERT_EQ(rdbCreate(&h, source.c_str(), 'E', 1, nullptr), 0);
        // One leaf: "a" and "z" around "m", whose 600 bytes take three pieces.
        for (auto [key, size] : { std::pair { "a", 10 }, { "m", 600 }, { "z", 12 } }) {
            Bytes data = dataOf(key[0], size_t(size));
            ASSERT_EQ(rdbAdd(&h, 1, key, 7, data.data(), int32_t(data.size())), 0);
            expected[std::string(key) + "#7"] = data;
        }
        ASSERT_EQ(rdbClose(&h), 0);
    }
    Bytes f = readFile(source);
    ASSERT_EQ(get16(f, pageOffset(0) + 14), 5); // a, m0, m1, m2, z
    removeEntry(f, 0, 2);
    writeFile(source, f);
    ASSERT_EQ(verify(source), -1);

    EXPECT_EQ(rdbRebuild(source.c_str(), target.c_str(), nullptr, nullptr), -13);
    expected.erase("m#7");
    EXPECT_EQ(readAll(source), expected);
    EXPECT_EQ(verify(source), 0);

    // The target holds the record's two remaining pieces as they were.
    Bytes t = readFile(target);
    TreeCheck check(t, stringKeyTypes, noSegments);
    ASSERT_EQ(check.run(), "");
    ASSERT_EQ(check.leaves.size(), 2u);
    EXPECT_EQ(check.leaves[0].piece, 0);
    EXPECT_EQ(check.leaves[1].piece, 2);
    EXPECT_TRUE(check.leaves[1].last);
    EXPECT_EQ(check.leaves[0].record, 7);

    // A sound file is left as it is.
    EXPECT_EQ(rdbRebuildFiles(source.c_str(), dir.path("again").c_str()), 0);
    EXPECT_EQ(readAll(source), expected);
    EXPECT_EQ(rdbRebuildFiles(source.c_str(), nullptr), -2);
}

TEST(RecDbRepair, ABrokenRecordAcrossPagesGoesAndTheRecordAfterItStays)
{
    ScratchDir dir;
    std::string source = dir.path("src");
    Records expected;
    {
        rdbHandle h;
        ASSERT_EQ(rdbCreate(&h, source.c_str(), 'E', 1, nullptr), 0);
        rdbSetAccessMode(&h, 0);
        for (int i = 0; i < 400; ++i) {
            Bytes data = dataOf(i, i % 5 == 0 ? 900 : 20);
            ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i, data.data(), int32_t(data.size())), 0);
            expected[keyOf(i) + "#" + std::to_string(i)] = data;
        }
        ASSERT_EQ(rdbClose(&h), 0);
    }
    // Clear the last-piece mark of a record whose pieces end a leaf, so the record runs on into
    // the next record's first piece.
    Bytes f = readFile(source);
    TreeCheck check(f, stringKeyTypes, noSegments);
    ASSERT_EQ(check.run(), "");
    std::string broken;
    for (int32_t p = 0; p < get32(f, 36) && broken.empty(); ++p) {
        size_t base = pageOffset(p);
        if (get16(f, base + 12) != 0 || get16(f, base + 14) == 0)
            continue;
        size_t off = base + 18;
        for (int i = 0; i < get16(f, base + 14); ++i) {
            if ((f[off + 2] & 0x7F) > 0 && (f[off + 2] & 0x80) && get32(f, base + 4) != -1) {
                f[off + 2] &= 0x7F;
                broken
                    = std::string(reinterpret_cast<const char*>(&f[off + 7])) + "#" + std::to_string(get32(f, off + 3));
                break;
            }
            off += 1 + f[off];
        }
    }
    ASSERT_FALSE(broken.empty());
    writeFile(source, f);
    EXPECT_EQ(rdbRebuild(source.c_str(), nullptr, nullptr, nullptr), -13);
    expected.erase(broken);
    EXPECT_EQ(readAll(source), expected);
    EXPECT_EQ(verify(source), 0);
}

TEST(RecDbRepair, SalvageRecoversEveryRecordFromIntactLeaves)
{
    ScratchDir dir;
    for (int order : { 1, 2 }) {
        std::string source = dir.path("src" + std::to_string(order));
        std::string target = dir.path("salvaged" + std::to_string(order));
        Records expected;
        {
            rdbHandle h;
            ASSERT_EQ(rdbCreate(&h, source.c_str(), 'E', order, nullptr), 0);
            rdbSetAccessMode(&h, 0);
            for (int i = 0; i < 600; ++i) {
                Bytes data = dataOf(i, i % 9 == 0 ? 700 : 15);
                ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i * 3, data.data(), int32_t(data.size())), 0);
                expected[keyOf(i) + "#" + std::to_string(i * 3)] = data;
            }
            ASSERT_EQ(rdbSetSequence(&h, 4242), 0);
            ASSERT_EQ(rdbWriteUserArea(&h, "user", 4), 0);
            ASSERT_EQ(rdbClose(&h), 0);
        }
        // Destroy every branch page.
        Bytes f = readFile(source);
        for (int32_t p = 0; p < get32(f, 36); ++p) {
            size_t base = pageOffset(p);
            int level = get16(f, base + 12);
            if (level > 0 && level != 65535)
                std::fill(f.begin() + long(base), f.begin() + long(base + 1024), 0xEE);
        }
        writeFile(source, f);
        EXPECT_EQ(verify(source), -1);
        EXPECT_EQ(rdbSalvage(source.c_str(), target.c_str(), nullptr), 0);
        EXPECT_EQ(readFile(source), f); // only read
        EXPECT_EQ(readAll(target), expected);
        EXPECT_EQ(verify(target), 0);
        rdbHandle h;
        ASSERT_EQ(rdbOpen(&h, target.c_str(), 'E', 2, nullptr), 0);
        ASSERT_EQ(rdbNextSequence(&h), 0);
        EXPECT_EQ(h.recordNumber, 4242);
        char area[8] = {};
        EXPECT_EQ(rdbReadUserArea(&h, area, sizeof area), 0);
        EXPECT_STREQ(area, "user");
        rdbClose(&h);
    }
    EXPECT_EQ(rdbSalvage(dir.path("missing").c_str(), dir.path("t").c_str(), nullptr), -10);
    EXPECT_EQ(rdbSalvage(dir.path("src1").c_str(), dir.path("src2").c_str(), nullptr), -11);
}

TEST(RecDbRepair, CopyIntoAddsTheSourceEntriesAndClosesTheHandle)
{
    ScratchDir dir;
    std::string source = dir.path("src");
    std::string target = dir.path("dst");
    Records expected;
    for (auto [path, from] : { std::pair { source, 0 }, { target, 1000 } }) {
        rdbHandle h;
        ASSERT_EQ(rdbCreate(&h, path.c_str(), 'E', 1, nullptr), 0);
        for (int i = from; i < from + 150; ++i) {
            Bytes data = dataOf(i, 30 + i % 300);
            ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i, data.data(), int32_t(data.size())), 0);
            expected[keyOf(i) + "#" + std::to_string(i)] = data;
        }
        ASSERT_EQ(rdbClose(&h), 0);
    }
    rdbHandle h;
    ASSERT_EQ(rdbOpen(&h, target.c_str(), 'E', 2, nullptr), 0);
    static int pages;
    pages = 0;
    EXPECT_EQ(rdbCopyInto(source.c_str(), &h, 1, [](rdbHandle*, int32_t) { ++pages; }), 0);
    EXPECT_GT(pages, 2);
    EXPECT_EQ(h.state, 'C');
    EXPECT_EQ(readAll(target), expected);
    EXPECT_EQ(verify(target), 0);

    ASSERT_EQ(rdbOpen(&h, target.c_str(), 'E', 2, nullptr), 0);
    EXPECT_EQ(rdbCopyIntoFile(source.c_str(), &h, 7), -32);
    EXPECT_EQ(h.state, 'C');
}

TEST(RecDbRepair, AnIndexMovesToItsOwnTreeAndTheTreeCanBeDropped)
{
    ScratchDir dir;
    std::string path = dir.path("trees");
    rdbHandle h;
    ASSERT_EQ(rdbCreate(&h, path.c_str(), 'E', 1, nullptr), 0);
    ASSERT_EQ(rdbAdd(&h, 1, "one", 1, "x", 1), 0);
    EXPECT_EQ(rdbSetIndexTree(&h, 1, 3), -36); // index 1 holds an entry
    EXPECT_EQ(rdbSetIndexTree(&h, 2, 21), -2);
    ASSERT_EQ(rdbSetIndexTree(&h, 2, 3), 0);
    for (int i = 0; i < 500; ++i) {
        Bytes data = dataOf(i, 40);
        ASSERT_EQ(rdbAdd(&h, 2, keyOf(i).c_str(), i, data.data(), int32_t(data.size())), 0);
    }
    EXPECT_EQ(rdbVerify(&h), 0) << h.verifyCode << " at " << h.verifyPage;
    ASSERT_EQ(rdbClose(&h), 0);
    Bytes f = readFile(path);
    EXPECT_EQ(f[219 + 2], 3); // index 2 lives in tree 3
    EXPECT_GT(f[241 + 3], 1); // which has grown above one level
    // Tree 0 holds only index 1's entry.
    TreeCheck check(f, stringKeyTypes, noSegments);
    ASSERT_NE(check.run().find("neither in the tree nor free"), std::string::npos) << "tree 3 has its own pages";
    ASSERT_EQ(check.leaves.size(), 1u);

    ASSERT_EQ(rdbOpen(&h, path.c_str(), 'E', 2, nullptr), 0);
    uint8_t buffer[64];
    EXPECT_EQ(rdbFind(&h, 2, keyOf(250).c_str(), 0, buffer, sizeof buffer), 1);
    EXPECT_EQ(rdbDropTree(&h, 3), 0);
    EXPECT_EQ(rdbFirst(&h, 2, buffer, sizeof buffer), -1);
    EXPECT_EQ(rdbFind(&h, 1, "one", 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(rdbVerify(&h), 0) << h.verifyCode << " at " << h.verifyPage;
    ASSERT_EQ(rdbClose(&h), 0);
    // Every page of the dropped tree is on the free-page list.
    f = readFile(path);
    TreeCheck after(f, stringKeyTypes, noSegments);
    EXPECT_EQ(after.run(), "");
    EXPECT_EQ(f[219 + 2], 0);
}
