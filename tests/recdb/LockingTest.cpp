// The locks of record files, seen from outside through a handle of the test's own that only takes
// byte-range locks (a byte it can lock is free): each shared opener holds a slot byte of its own
// until it closes, the file lock and the queue bytes are held only inside an operation, the
// readers-writer lock lets readers share and keeps a writer alone until it is released or its
// holder closes, and an exclusive opener keeps every other opener out until it closes.

#include "RecDbTestSupport.h"

#include "platform/sys/File.h"

#include <gtest/gtest.h>

#include <string>

using namespace recdbtest;

namespace {

// The lock bytes of the header block.
constexpr int slotByte = 353; // + the opener's slot
constexpr int readerByte = 562; // + the reader's slot; a writer holds all of the slots' bytes
constexpr int slotCount = 209;
constexpr int fileLockByte = 771;
constexpr int queueFirst = 772;
constexpr int queueCount = 209;

class LockProbe {
public:
    explicit LockProbe(const std::string& path)
    {
        platform::FileOpenOptions options;
        options.access = platform::FileAccess::Read;
        options.share = platform::FileShare::ReadWrite;
        options.lockable = true;
        m_file = platform::File::open(path, options);
    }
    bool isOpen() const { return m_file.isOpen(); }
    bool isFree(int64_t offset, int64_t length = 1)
    {
        if (!m_file.lock(offset, length, true))
            return false;
        m_file.unlock(offset, length);
        return true;
    }

private:
    platform::File m_file;
};

std::string freshFile(const ScratchDir& dir)
{
    std::string name = dir.path("locks.db");
    rdbHandle h;
    EXPECT_EQ(rdbCreateDefault(&h, name.c_str()), 0);
    EXPECT_EQ(rdbAdd(&h, 1, "k1", 1, "one", 3), 0);
    EXPECT_EQ(rdbClose(&h), 0);
    return name;
}

// A file with one record, opened shared by a (read-write) and b, and a probe on it.
class RecDbSharedLocks : public ::testing::Test {
protected:
    void open(int32_t secondAccess)
    {
        ASSERT_EQ(rdbOpen(&a, name.c_str(), 'S', 2, nullptr), 0);
        ASSERT_EQ(rdbOpen(&b, name.c_str(), 'S', secondAccess, nullptr), 0);
        ASSERT_TRUE(probe.isOpen());
    }

    ScratchDir dir;
    std::string name = freshFile(dir);
    rdbHandle a;
    rdbHandle b;
    LockProbe probe { name };
};

} // namespace

TEST_F(RecDbSharedLocks, EachHoldsItsSlotUntilItCloses)
{
    open(1);
    EXPECT_FALSE(probe.isFree(slotByte + 0));
    EXPECT_FALSE(probe.isFree(slotByte + 1));
    EXPECT_TRUE(probe.isFree(slotByte + 2, slotCount - 2));
    // The file lock, plain or through the queue, is let go when the operation ends.
    uint8_t buffer[16];
    ASSERT_EQ(rdbAdd(&a, 1, "k2", 2, "two", 3), 0);
    a.queuedLock = 1;
    ASSERT_EQ(rdbAdd(&a, 1, "k3", 3, "three", 5), 0);
    ASSERT_EQ(rdbFind(&b, 1, "k3", 3, buffer, sizeof buffer), 0);
    EXPECT_TRUE(probe.isFree(fileLockByte));
    EXPECT_TRUE(probe.isFree(queueFirst, queueCount));

    // A closed opener's slot is free again, and the next opener takes it.
    ASSERT_EQ(rdbClose(&a), 0);
    EXPECT_TRUE(probe.isFree(slotByte + 0));
    EXPECT_FALSE(probe.isFree(slotByte + 1));
    rdbHandle c;
    ASSERT_EQ(rdbOpen(&c, name.c_str(), 'S', 2, nullptr), 0);
    EXPECT_FALSE(probe.isFree(slotByte + 0));
    ASSERT_EQ(rdbClose(&b), 0);
    ASSERT_EQ(rdbClose(&c), 0);
    EXPECT_TRUE(probe.isFree(slotByte, fileLockByte + 1 + queueCount - slotByte));
}

TEST_F(RecDbSharedLocks, ReadersShareAndAWriterIsAloneUntilReleasedOrClosed)
{
    open(2);

    // Two readers at once, each on its slot's byte.
    EXPECT_EQ(rdbLockFileMode(&a, 0), 0);
    EXPECT_EQ(rdbLockFileMode(&b, 0), 0);
    EXPECT_FALSE(probe.isFree(readerByte + 0));
    EXPECT_FALSE(probe.isFree(readerByte + 1));
    EXPECT_TRUE(probe.isFree(readerByte + 2));
    // No writer while another reader is there (a gives up its own reader's byte in trying).
    EXPECT_EQ(rdbLockFileMode(&a, 1), -102);
    EXPECT_TRUE(probe.isFree(readerByte + 0));
    EXPECT_EQ(rdbUnlockFileMode(&b), 0);
    EXPECT_TRUE(probe.isFree(readerByte, slotCount));

    // A writer holds every reader's byte: no reader and no other writer until it lets go.
    EXPECT_EQ(rdbLockFileMode(&a, 1), 0);
    EXPECT_FALSE(probe.isFree(readerByte));
    EXPECT_FALSE(probe.isFree(readerByte + slotCount - 1));
    EXPECT_EQ(rdbLockFileMode(&b, 0), -102);
    EXPECT_EQ(rdbLockFileMode(&b, 1), -102);
    EXPECT_EQ(rdbUnlockFileMode(&a), 0);
    EXPECT_EQ(rdbLockFileMode(&b, 1), 0);
    // Closing lets go of it too.
    ASSERT_EQ(rdbClose(&b), 0);
    EXPECT_TRUE(probe.isFree(readerByte, slotCount));
    EXPECT_EQ(rdbLockFileMode(&a, 1), 0);
    ASSERT_EQ(rdbClose(&a), 0);
    EXPECT_TRUE(probe.isFree(readerByte, slotCount));
}

TEST(RecDbLocking, AnOpenerKeepsOutTheOpenersItsSharingRefusesUntilItCloses)
{
    struct Case {
        char firstSharing; // opened read-write
        char secondSharing;
        int32_t secondAccess;
        int32_t whileOpen; // the second open's status while the first is open
    } cases[] = {
        { 'E', 'E', 1, -1 },
        { 'E', 'E', 2, -1 },
        { 'E', 'S', 1, -1 },
        { 'E', 'S', 2, -1 },
        { 'S', 'E', 1, -1 },
        // Shared with readers only: another reader comes in, another writer does not.
        { 'D', 'S', 1, 0 },
        { 'D', 'S', 2, -1 },
        { 'D', 'D', 2, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("first ") + c.firstSharing + ", then " + c.secondSharing + " with access "
            + std::to_string(c.secondAccess));
        ScratchDir dir;
        std::string name = freshFile(dir);
        rdbHandle first;
        rdbHandle second;
        ASSERT_EQ(rdbOpen(&first, name.c_str(), c.firstSharing, 2, nullptr), 0);
        EXPECT_EQ(rdbOpen(&second, name.c_str(), c.secondSharing, c.secondAccess, nullptr), c.whileOpen);
        if (c.whileOpen == 0)
            ASSERT_EQ(rdbClose(&second), 0);
        else
            EXPECT_EQ(second.state, 'C');
        ASSERT_EQ(rdbClose(&first), 0);
        ASSERT_EQ(rdbOpen(&second, name.c_str(), c.secondSharing, c.secondAccess, nullptr), 0);
        uint8_t buffer[16];
        EXPECT_EQ(rdbFind(&second, 1, "k1", 1, buffer, sizeof buffer), 0);
        ASSERT_EQ(rdbClose(&second), 0);
    }
}
