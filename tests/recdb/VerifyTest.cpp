#include "recdb/Verify.h"

#include "RecDbTestSupport.h"

#include <cstdio>
#include <functional>
#include <map>

using namespace recdbtest;

namespace {

std::string keyOf(int i)
{
    return numberedKey("key", 5, i);
}

Bytes dataOf(int i)
{
    // Mostly short records, every seventh one of several pieces.
    Bytes data(size_t(i % 7 == 0 ? 300 + i % 400 : 5 + i % 40));
    for (size_t j = 0; j < data.size(); ++j)
        data[j] = uint8_t(i * 31 + j);
    return data;
}

// A file of `count` records of index 1 keyed key00000, key00001 ...
void buildFile(const std::string& path, int count, int byteOrder = 1)
{
    rdbHandle h;
    ASSERT_EQ(rdbCreate(&h, path.c_str(), 'E', byteOrder, nullptr), 0);
    rdbSetAccessMode(&h, 0);
    for (int i = 0; i < count; ++i) {
        Bytes data = dataOf(i);
        ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i + 1, data.data(), int32_t(data.size())), 0);
    }
    ASSERT_EQ(rdbClose(&h), 0);
}

// Page numbers of a closed file's tree 0, level by level from the leaves, left to right.
std::vector<std::vector<int32_t>> levels(const Bytes& f)
{
    int height = get32(f, 28);
    std::vector<std::vector<int32_t>> out(static_cast<size_t>(height));
    int32_t n = get32(f, 12);
    for (int level = height - 1; level >= 0; --level) {
        for (int32_t p = n; p != -1; p = get32(f, pageOffset(p) + 4))
            out[size_t(level)].push_back(p);
        n = get32(f, pageOffset(n));
    }
    return out;
}

// Offset of entry i of a page.
size_t entryOffset(const Bytes& f, int32_t page, int i)
{
    size_t off = pageOffset(page) + 18;
    for (int k = 0; k < i; ++k)
        off += 1 + f[off];
    return off;
}

} // namespace

TEST(RecDbVerify, SoundFilesVerifyInBothByteOrdersWithoutBeingWritten)
{
    ScratchDir dir;
    for (int order : { 1, 2 }) {
        for (int count : { 0, 1500 }) {
            std::string path = dir.path("sound" + std::to_string(order) + "_" + std::to_string(count));
            buildFile(path, count, order);
            Bytes before = readFile(path);
            VerifyResult r = verifyFile(path);
            EXPECT_EQ(r.open, 0);
            EXPECT_EQ(r.status, 0) << "order " << order << " count " << count << " code " << r.code << " page "
                                   << r.page;
            // Checking reads only: not even the change counter moves.
            EXPECT_EQ(readFile(path), before);
        }
    }
    // A file that is open for writing verifies with its changes still in the cache.
    std::string path = dir.path("open");
    rdbHandle h;
    ASSERT_EQ(rdbCreate(&h, path.c_str(), 'E', 1, nullptr), 0);
    rdbSetAccessMode(&h, 0);
    int pages = 0;
    for (int i = 0; i < 800; ++i) {
        Bytes data = dataOf(i);
        ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i, data.data(), int32_t(data.size())), 0);
    }
    for (int i = 0; i < 800; i += 3)
        ASSERT_EQ(rdbDelete(&h, 1, keyOf(i).c_str(), i), 0);
    EXPECT_EQ(rdbVerifyWithProgress(&h, [](rdbHandle*, int32_t) {}), 0) << h.verifyCode << " at " << h.verifyPage;
    static int visited;
    visited = 0;
    rdbVerifyWithProgress(&h, [](rdbHandle*, int32_t counter) { visited = counter + 1; });
    pages = visited;
    EXPECT_GT(pages, 10);
    rdbClose(&h);
    rdbHandle closed;
    EXPECT_EQ(rdbVerify(&closed), -3);
}

// Each kind of damage, made by patching the bytes of a closed file of three levels.
TEST(RecDbVerify, FindsEachKindOfDamage)
{
    ScratchDir dir;
    std::string base = dir.path("base");
    buildFile(base, 3000);
    const Bytes good = readFile(base);
    auto lv = levels(good);
    ASSERT_GE(lv.size(), 3u);
    const int32_t leaf = lv[0][1];
    const int32_t nextLeaf = lv[0][2];
    const int32_t branch = lv[1][0];
    const int32_t pageCount = get32(good, 36);

    struct Case {
        const char* name;
        std::function<void(Bytes&)> patch;
        int32_t code;
        int32_t page; // -2: any page
    };
    const Case cases[] = {
        { "free bytes 2000", [&](Bytes& f) { put16(f, pageOffset(leaf) + 16, 2000); }, -202, leaf },
        { "free bytes off by one",
            [&](Bytes& f) { put16(f, pageOffset(leaf) + 16, get16(f, pageOffset(leaf) + 16) + 1); }, -202, leaf },
        { "entry count 144", [&](Bytes& f) { put16(f, pageOffset(leaf) + 14, 144); }, -203, leaf },
        { "byte after the entries", [&](Bytes& f) { f[pageOffset(leaf) + 1023] = 7; }, -203, leaf },
        { "entry running past the page",
            [&](Bytes& f) {
                int n = get16(f, pageOffset(leaf) + 14);
                f[entryOffset(f, leaf, n - 1)] = 255;
            },
            -203, leaf },
        { "right link equals left link", [&](Bytes& f) { put32(f, pageOffset(nextLeaf) + 4, leaf); }, -204, nextLeaf },
        { "cyclic sibling links", [&](Bytes& f) { put32(f, pageOffset(nextLeaf) + 4, lv[0][0]); }, -205, -2 },
        { "right link past the pages", [&](Bytes& f) { put32(f, pageOffset(leaf) + 4, pageCount + 5); }, -205, leaf },
        { "left link below -1", [&](Bytes& f) { put32(f, pageOffset(leaf) + 8, -7); }, -206, leaf },
        { "key running out of its entry",
            [&](Bytes& f) {
                size_t e = entryOffset(f, leaf, 0);
                for (size_t k = e + 7; k < e + 1 + f[e]; ++k)
                    f[k] = 'x';
            },
            -207, leaf },
        { "path from the root breaking off", [&](Bytes& f) { put32(f, pageOffset(branch), pageCount + 1); }, -201,
            pageCount + 1 },
        { "child page past the end",
            [&](Bytes& f) {
                size_t e = entryOffset(f, branch, 1);
                put32(f, e + 1 + f[e] - 4, pageCount);
            },
            -208, branch },
        { "branch entry child negative",
            [&](Bytes& f) {
                size_t e = entryOffset(f, branch, 0);
                put32(f, e + 1 + f[e] - 4, -4);
            },
            -208, branch },
        { "bad level", [&](Bytes& f) { put16(f, pageOffset(leaf) + 12, 1); }, -209, leaf },
        { "index number 0", [&](Bytes& f) { f[entryOffset(f, leaf, 2) + 1] = 0; }, -210, leaf },
        { "branch entry above its child",
            [&](Bytes& f) {
                size_t e = entryOffset(f, branch, 0);
                f[e + 7] = 'a'; // "aey...": below every key, so the leftmost child's entries lie above it
            },
            -210, lv[0][0] },
        { "entries out of order",
            [&](Bytes& f) {
                // Two neighbours with different keys trade their last digits.
                for (int i = 0;; ++i) {
                    size_t a = entryOffset(f, leaf, i);
                    size_t b = entryOffset(f, leaf, i + 1);
                    if (f[a + 7 + 7] != f[b + 7 + 7]) {
                        std::swap(f[a + 7 + 7], f[b + 7 + 7]);
                        return;
                    }
                }
            },
            -214, leaf },
        { "broken piece chain",
            [&](Bytes& f) {
                // The first record of several pieces: mark its first piece as the last.
                for (int32_t p : lv[0]) {
                    for (int i = 0; i < get16(f, pageOffset(p) + 14); ++i) {
                        size_t e = entryOffset(f, p, i);
                        if (f[e + 2] == 0) {
                            f[e + 2] = 0x80;
                            return;
                        }
                    }
                }
            },
            -214, -2 },
        { "free list entry that is in use", [&](Bytes& f) { put32(f, 60, leaf); }, -212, leaf },
        { "header root past the pages", [&](Bytes& f) { put32(f, 12, pageCount); }, -213, -1 },
        { "header height 25", [&](Bytes& f) { put32(f, 28, 25); }, -213, -1 },
        { "truncated file", [&](Bytes& f) { f.resize(pageOffset(lv[0].back())); }, -211, lv[0].back() },
    };
    for (const Case& c : cases) {
        Bytes f = good;
        c.patch(f);
        std::string path = dir.path("damaged");
        writeFile(path, f);
        VerifyResult r = verifyFile(path);
        ASSERT_EQ(r.open, 0) << c.name;
        EXPECT_EQ(r.status, -1) << c.name;
        EXPECT_EQ(r.code, c.code) << c.name;
        if (c.page != -2) {
            EXPECT_EQ(r.page, c.page) << c.name;
        }
        // Nothing was written to the damaged file.
        EXPECT_EQ(readFile(path), f) << c.name;
    }
}

TEST(RecDbVerify, FreeListDamageAndCyclesAreFound)
{
    ScratchDir dir;
    std::string path = dir.path("free");
    buildFile(path, 2000);
    {
        rdbHandle h;
        ASSERT_EQ(rdbOpen(&h, path.c_str(), 'E', 2, nullptr), 0);
        for (int i = 0; i < 1500; ++i)
            ASSERT_EQ(rdbDelete(&h, 1, keyOf(i).c_str(), i + 1), 0);
        ASSERT_EQ(rdbClose(&h), 0);
    }
    Bytes good = readFile(path);
    int32_t head = get32(good, 60);
    ASSERT_NE(head, -1);
    int32_t second = get32(good, pageOffset(head) + 4);
    ASSERT_NE(second, -1);
    EXPECT_EQ(verifyFile(path).status, 0);

    Bytes cycle = good;
    put32(cycle, pageOffset(second) + 4, head);
    writeFile(path, cycle);
    VerifyResult r = verifyFile(path);
    EXPECT_EQ(r.status, -1);
    EXPECT_EQ(r.code, -212);

    Bytes notFree = good;
    put16(notFree, pageOffset(second) + 16, 1000);
    writeFile(path, notFree);
    r = verifyFile(path);
    EXPECT_EQ(r.code, -212);
    EXPECT_EQ(r.page, second);
}

TEST(RecDbVerify, BadSignatureIsRefusedAtOpen)
{
    ScratchDir dir;
    std::string path = dir.path("sig");
    buildFile(path, 10);
    Bytes f = readFile(path);
    put32(f, 24, 'J');
    writeFile(path, f);
    EXPECT_EQ(verifyFile(path).open, -5);
}
