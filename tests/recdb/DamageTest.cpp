// Damaged files: each case changes a few bytes of a sound three-level file. Opening it read-only
// and walking it must give the expected status, never a crash or a loop, and never write.

#include "RecDbTestSupport.h"

#include <cstring>
#include <functional>

using namespace recdbtest;

namespace {

std::string keyOf(int i)
{
    char text[32];
    std::snprintf(text, sizeof text, "key%06d-%011d", i * 7919 % 5000, i);
    return text;
}

struct Layout {
    int32_t root;
    int32_t height;
    int32_t pageCount;
    std::vector<int32_t> leaves; // left to right
    int32_t firstBranchBelowRoot;
};

Layout layoutOf(const Bytes& f)
{
    Layout l;
    l.root = get32(f, 12);
    l.height = get32(f, 28);
    l.pageCount = get32(f, 36);
    int32_t page = l.root;
    l.firstBranchBelowRoot = get32(f, pageOffset(page));
    for (int level = l.height - 1; level > 0; --level)
        page = get32(f, pageOffset(page));
    for (int guard = 0; page != -1 && guard < l.pageCount; ++guard) {
        l.leaves.push_back(page);
        page = get32(f, pageOffset(page) + 4);
    }
    return l;
}

class DamageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ScratchDir dir;
        std::string name = dir.path("sound.db");
        rdbHandle h;
        ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
        ASSERT_EQ(rdbSetAccessMode(&h, 0), 0);
        for (int i = 0; i < 5000; ++i) {
            std::string data(size_t(i % 50 == 0 ? 600 : 8), char('a' + i % 26));
            ASSERT_EQ(rdbAdd(&h, 1, keyOf(i).c_str(), i, data.data(), int32_t(data.size())), 0);
        }
        ASSERT_EQ(rdbClose(&h), 0);
        sound = new Bytes(readFile(name));
    }
    static void TearDownTestSuite() { delete sound; }

    // Opens the damaged bytes read-only, walks every record forward and backward, finds a few
    // keys, and answers the first error (or -1 ... 0 when all went through).
    static int32_t walk(const Bytes& bytes, int* records = nullptr)
    {
        ScratchDir dir;
        std::string name = dir.path("damaged.db");
        writeFile(name, bytes);
        rdbHandle h;
        int32_t status = rdbOpen(&h, name.c_str(), 'E', 1, nullptr);
        if (status)
            return status;
        std::vector<uint8_t> buffer(1000);
        int32_t bad = 0;
        auto note = [&](int32_t s) {
            if (s < -1 && !bad)
                bad = s;
            return s;
        };
        int32_t s = note(rdbFirst(&h, 1, buffer.data(), 1000));
        int forward = s == 0;
        for (int i = 0; s == 0 && i < 20000; ++i)
            forward += (s = note(rdbNext(&h, 1, buffer.data(), 1000))) == 0;
        if (records)
            *records = forward;
        // Asked again, a damaged page gives the same answer: it was not kept in the cache.
        if (s < -1) {
            EXPECT_EQ(rdbNext(&h, 1, buffer.data(), 1000), s) << "second try";
        }
        s = note(rdbLast(&h, 1, buffer.data(), 1000));
        for (int i = 0; s == 0 && i < 20000; ++i)
            s = note(rdbPrevious(&h, 1, buffer.data(), 1000));
        for (int i = 0; i < 5000; i += 97)
            note(rdbFind(&h, 1, keyOf(i).c_str(), i, buffer.data(), 1000));
        EXPECT_EQ(rdbClose(&h), 0);
        EXPECT_EQ(readFile(name), bytes) << "a read-only open wrote to the file";
        return bad;
    }

    static Bytes* sound;
};

Bytes* DamageTest::sound = nullptr;

TEST_F(DamageTest, TheSoundFileIsThreeLevelsAndWalksCleanly)
{
    Layout l = layoutOf(*sound);
    EXPECT_EQ(l.height, 3);
    EXPECT_GT(l.leaves.size(), 50u);
    int records = 0;
    EXPECT_EQ(walk(*sound, &records), 0);
    EXPECT_EQ(records, 5000);
}

TEST_F(DamageTest, EachDamageGivesItsStatus)
{
    const Layout l = layoutOf(*sound);
    const int32_t leaf = l.leaves[l.leaves.size() / 2];
    const size_t at = pageOffset(leaf);
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        int32_t expected;
    };
    const Case cases[] = {
        { "bad signature letter", [](Bytes& f) { f[20] = 'X'; }, -5 },
        { "format version 2", [](Bytes& f) { f[56] = '2'; }, -5 },
        { "entry count above 143", [&](Bytes& f) { put16(f, at + 14, 144); }, -30 },
        { "entry count running past the page", [&](Bytes& f) { put16(f, at + 14, 143); }, -30 },
        { "free-byte count of 2000", [&](Bytes& f) { put16(f, at + 16, 2000); }, -30 },
        { "entry length below its head", [&](Bytes& f) { f[at + 18] = 3; }, -30 },
        { "key without its end inside the entry", [&](Bytes& f) { f[at + 18] = 8; }, -30 },
        { "index number 0", [&](Bytes& f) { f[at + 19] = 0; }, -30 },
        { "child page past the end", [&](Bytes& f) { put32(f, pageOffset(l.root), l.pageCount + 5); }, -30 },
        { "negative child page", [&](Bytes& f) { put32(f, pageOffset(l.firstBranchBelowRoot), -7); }, -43 },
        { "leaf at the wrong level", [&](Bytes& f) { put16(f, at + 12, 1); }, -30 },
        { "root marked free", [&](Bytes& f) { put16(f, pageOffset(l.root) + 12, 65535); }, -30 },
        { "tree height of 0", [](Bytes& f) { put32(f, 28, 0); }, -30 },
        { "tree height of 70000", [](Bytes& f) { put32(f, 28, 70000); }, -30 },
        { "right link back to itself", [&](Bytes& f) { put32(f, at + 4, leaf); }, -30 },
        { "right link to an earlier leaf", [&](Bytes& f) { put32(f, at + 4, l.leaves[l.leaves.size() / 2 - 3]); },
            -30 },
        { "left link to a later leaf", [&](Bytes& f) { put32(f, at + 8, l.leaves.back()); }, -30 },
        { "sibling link to a branch", [&](Bytes& f) { put32(f, at + 4, l.firstBranchBelowRoot); }, -30 },
        { "file cut in the middle of the leaves",
            [&](Bytes& f) { f.resize(pageOffset(l.leaves[l.leaves.size() / 3]) + 100); }, -9 },
        { "file cut inside the header", [](Bytes& f) { f.resize(200); }, -4 },
    };
    // With one buffer every page read evicts the page read before it, and a page that fails its
    // check must leave the buffer empty rather than answer the next lookup.
    for (int buffers : { 10, 1 }) {
        ASSERT_EQ(rdbSetCacheSize(buffers), 0);
        for (const auto& c : cases) {
            Bytes damaged = *sound;
            c.damage(damaged);
            EXPECT_EQ(walk(damaged), c.expected) << c.name << ", " << buffers << " buffers";
        }
    }
    ASSERT_EQ(rdbSetCacheSize(10), 0);
}

// A free-page list whose head names a live page must not hand that page out again.
TEST_F(DamageTest, FreeListHeadOnALivePageIsRefused)
{
    ScratchDir dir;
    std::string name = dir.path("free.db");
    Bytes damaged = *sound;
    put32(damaged, 60, layoutOf(damaged).leaves[0]);
    writeFile(name, damaged);
    rdbHandle h;
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    int32_t status = 0;
    for (int i = 5000; i < 7000 && status == 0; ++i)
        status = rdbAdd(&h, 1, keyOf(i).c_str(), i, "x", 1);
    EXPECT_EQ(status, -30);
    uint8_t buffer[8];
    EXPECT_EQ(rdbFind(&h, 1, keyOf(0).c_str(), 0, buffer, sizeof buffer), 0);
    EXPECT_EQ(rdbClose(&h), 0);
}

} // namespace
