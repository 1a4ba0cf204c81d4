// Writes that fail halfway through a record change: the change is undone in full, the file keeps
// what it held before, and the caller hears of the failure.

#include "recdb/Database.h"

#include "RecDbTestSupport.h"

#include <functional>
#include <string>

using namespace recdbtest;

namespace {

constexpr int Neighbours = 60;
constexpr int32_t Target = 30;

std::string keyOf(int i)
{
    return numberedKey("key", 3, i);
}

std::string dataOf(int i, size_t length)
{
    std::string data(length, ' ');
    for (size_t n = 0; n < length; ++n)
        data[n] = char('a' + (i + n) % 26);
    return data;
}

// A file of neighbours around a three-piece record, left closed.
void makeFile(const std::string& name)
{
    rdbHandle h;
    ASSERT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    for (int i = 0; i < Neighbours; ++i)
        ASSERT_EQ(
            rdbAdd(&h, 1, keyOf(i).c_str(), i, dataOf(i, i == Target ? 600 : 200).data(), i == Target ? 600 : 200), 0);
    ASSERT_EQ(rdbClose(&h), 0);
}

// The records of the open file as they read now: each neighbour, and the target's data or
// "absent".
std::vector<std::string> contentsOf(rdbHandle& h)
{
    std::vector<std::string> out;
    std::vector<char> buffer(40000);
    for (int i = 0; i < Neighbours + 1; ++i) {
        int32_t status = rdbFind(&h, 1, keyOf(i).c_str(), i, buffer.data(), int32_t(buffer.size()));
        // Each record as its length and a hash, so that a difference prints short.
        std::string data(buffer.data(), status == 0 ? size_t(h.dataLength) : 0);
        out.push_back(status == 0
                ? std::to_string(data.size()) + "#" + std::to_string(std::hash<std::string>()(data) % 100000)
                : "absent " + std::to_string(status));
    }
    return out;
}

// The records that differ, as "key: found, expected" lines; empty when none does.
std::string differences(const std::vector<std::string>& found, const std::vector<std::string>& expected)
{
    std::string out;
    for (size_t i = 0; i < found.size() && i < expected.size(); ++i) {
        if (found[i] != expected[i])
            out += keyOf(int(i)) + ": " + found[i] + ", " + expected[i] + "\n";
    }
    return out;
}

enum class Change { Update, Put, RewriteCurrent, PutNew };

int32_t apply(rdbHandle& h, Change change, const std::string& data)
{
    int32_t length = int32_t(data.size());
    switch (change) {
    case Change::Update:
        return rdbUpdate(&h, 1, keyOf(Target).c_str(), Target, data.data(), length);
    case Change::Put:
        return rdbPut(&h, 1, keyOf(Target).c_str(), Target, data.data(), length);
    case Change::RewriteCurrent:
        return rdbRewriteCurrent(&h, 1, data.data(), length);
    case Change::PutNew:
        return rdbPut(&h, 1, keyOf(Neighbours).c_str(), Neighbours, data.data(), length);
    }
    return 0;
}

} // namespace

// Opens the file for a change in the given write mode.
void openForChange(rdbHandle& h, const std::string& name, int32_t writeMode)
{
    ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 2, nullptr), 0);
    ASSERT_EQ(rdbSetAccessMode(&h, writeMode), 0);
    ASSERT_EQ(rdbFind(&h, 1, keyOf(Target).c_str(), Target, nullptr, 0), 0);
}

// Every write of the change is made to fail in turn, alone (the writes after it work, as after a
// passing fault) or with every write after it (the device stays full). The change answers -8 and
// the records read as before it, at once and after the file is closed and opened again, with a
// sound tree. Three outcomes differ: a failed write of a page the cache writes behind is absorbed
// (the page stays in the cache and goes out later) and the change succeeds whole; a failure of
// the update's closing header write, the last write, comes after the record is in, which stays;
// on a device that stays full the replaced record may be lost when there is no room to put it
// back, which the -8 reports. A device that stays full through a change whose unwritten pages
// outgrow the page cache gets only the -8.
TEST(RecDbFailedWrite, AFailedChangeLeavesTheRecordsAsTheyWere)
{
    struct Case {
        Change change;
        size_t length; // shrinks to one piece, or grows over several leaves
        int32_t writeMode;
        bool fitsCache; // the unwritten pages of a full device fit in the page cache
    };
    const Case cases[] = {
        { Change::Update, 10, 3, true },
        { Change::Update, 20 * 234, 3, false },
        { Change::Put, 20 * 234, 3, false },
        { Change::RewriteCurrent, 20 * 234, 3, false },
        { Change::RewriteCurrent, 10, 1, true },
        { Change::Put, 20 * 234, 1, false },
        { Change::PutNew, 20 * 234, 3, false },
        { Change::PutNew, 300, 3, true },
    };
    ScratchDir dir;
    std::string name = dir.path("failed.db");
    for (const Case& c : cases) {
        SCOPED_TRACE(
            ::testing::Message() << "change " << int(c.change) << " length " << c.length << " mode " << c.writeMode);
        // The writes of the change when none fails, and the records after it.
        std::filesystem::remove(name);
        makeFile(name);
        rdbHandle h;
        openForChange(h, name, c.writeMode);
        const std::vector<std::string> before = contentsOf(h);
        ASSERT_EQ(rdbClose(&h), 0);
        openForChange(h, name, c.writeMode);
        int writes = 0;
        h.database->failWrite = [&](int64_t, size_t) { return ++writes < 0; };
        ASSERT_EQ(apply(h, c.change, dataOf(7, c.length)), 0);
        const int total = writes;
        const std::vector<std::string> after = contentsOf(h);
        ASSERT_EQ(rdbClose(&h), 0);
        ASSERT_GT(total, 1);

        for (bool deviceStaysFull : { false, true }) {
            for (int failAt = 1; failAt <= total; ++failAt) {
                SCOPED_TRACE(::testing::Message() << "write " << failAt << " full " << deviceStaysFull);
                std::filesystem::remove(name);
                makeFile(name);
                openForChange(h, name, c.writeMode);
                writes = 0;
                h.database->failWrite = [&](int64_t, size_t) {
                    ++writes;
                    return writes == failAt || (deviceStaysFull && writes > failAt);
                };
                int32_t status = apply(h, c.change, dataOf(7, c.length));
                h.database->failWrite = nullptr;
                if (deviceStaysFull && !c.fitsCache) {
                    EXPECT_EQ(status, -8);
                    rdbClose(&h);
                    continue;
                }
                const std::vector<std::string> now = contentsOf(h);
                if (status == 0 || failAt == total) {
                    // A page written behind that failed stays in the cache and goes out later.
                    EXPECT_EQ(differences(now, after), "");
                } else {
                    EXPECT_EQ(status, -8);
                    std::vector<std::string> expected = before;
                    if (deviceStaysFull && now[Target] != before[Target])
                        expected[Target] = "absent 2"; // found the key after it
                    EXPECT_EQ(differences(now, expected), "");
                }
                EXPECT_EQ(rdbVerify(&h), 0);
                ASSERT_EQ(rdbClose(&h), 0);

                ASSERT_EQ(rdbOpen(&h, name.c_str(), 'E', 1, nullptr), 0);
                EXPECT_EQ(differences(contentsOf(h), now), "");
                ASSERT_EQ(rdbClose(&h), 0);
                Bytes file = readFile(name);
                TreeCheck check(file, stringKeyTypes, noSegments);
                EXPECT_EQ(check.run(), "");
            }
        }
    }
}
