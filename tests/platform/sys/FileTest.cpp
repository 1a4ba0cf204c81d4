#include "platform/sys/File.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

using namespace platform;

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter { 0 };
        auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path()
            / ("qel_file_" + std::string(info->name()) + "_" + std::to_string(counter++) + "_"
                + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const char* name) const { return (m_dir / name).string(); }

    static std::string contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    static File openWith(const std::string& file, FileAccess access, FileShare share, FileError* error = nullptr,
        FileDisposition disposition = FileDisposition::OpenExisting)
    {
        FileOpenOptions options;
        options.access = access;
        options.share = share;
        options.disposition = disposition;
        return File::open(file, options, error);
    }

    std::filesystem::path m_dir;
};

TEST_F(FileTest, DispositionsCreateOpenAndRefuseAsAsked)
{
    std::string name = path("a.bin");
    FileError error;
    File missing = openWith(name, FileAccess::Read, FileShare::ReadWrite, &error);
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(error, FileError::NotFound);

    {
        File created = openWith(name, FileAccess::ReadWrite, FileShare::None, &error, FileDisposition::CreateNew);
        ASSERT_TRUE(created.isOpen());
        EXPECT_EQ(created.write("hello", 5), 5);
    }
    File again = openWith(name, FileAccess::ReadWrite, FileShare::None, &error, FileDisposition::CreateNew);
    EXPECT_FALSE(again.isOpen());
    EXPECT_EQ(error, FileError::Exists);
    EXPECT_EQ(contents(name), "hello");

    {
        File kept = openWith(name, FileAccess::ReadWrite, FileShare::None, &error, FileDisposition::OpenAlways);
        ASSERT_TRUE(kept.isOpen());
        EXPECT_EQ(kept.size(), 5);
    }
    {
        File emptied = openWith(name, FileAccess::ReadWrite, FileShare::None, &error, FileDisposition::CreateAlways);
        ASSERT_TRUE(emptied.isOpen());
        EXPECT_EQ(emptied.size(), 0);
    }
    File dir = openWith(m_dir.string(), FileAccess::Read, FileShare::ReadWrite, &error);
    EXPECT_FALSE(dir.isOpen());
}

TEST_F(FileTest, ReadsWritesSeeksAndReportsShortTransfers)
{
    std::string name = path("b.bin");
    File file = openWith(name, FileAccess::ReadWrite, FileShare::None, nullptr, FileDisposition::CreateNew);
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.writeAt(4, "WXYZ", 4), 4);
    EXPECT_EQ(file.size(), 8);
    EXPECT_EQ(contents(name), std::string("\0\0\0\0WXYZ", 8));

    char buffer[16] = {};
    EXPECT_EQ(file.readAt(6, buffer, sizeof buffer), 2); // short at the end, not an error
    EXPECT_EQ(std::string(buffer, 2), "YZ");
    EXPECT_EQ(file.readAt(100, buffer, 4), 0);
    EXPECT_EQ(file.readAt(-1, buffer, 4), -1);

    EXPECT_EQ(file.seek(-3, SeekFrom::End), 5);
    EXPECT_EQ(file.read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "XY");
    EXPECT_EQ(file.tell(), 7);
    EXPECT_EQ(file.seek(-8, SeekFrom::Current), -1); // before the start: refused, position kept
    EXPECT_EQ(file.tell(), 7);
    EXPECT_EQ(file.write("!", 1), 1);
    EXPECT_EQ(contents(name), std::string("\0\0\0\0WXY!", 8));

    // A write the system cannot complete is reported as such, never as success.
    EXPECT_NE(file.writeAt(INT64_MAX - 2, "abcdef", 6), 6);

    EXPECT_TRUE(file.truncate(5));
    EXPECT_EQ(file.size(), 5);
    EXPECT_TRUE(file.flush());
    EXPECT_TRUE(file.close());
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.readAt(0, buffer, 1), -1);
    EXPECT_EQ(file.lastError(), FileError::Closed);
}

TEST_F(FileTest, ReadOnlyHandlesNeverWrite)
{
    std::string name = path("c.bin");
    put(name, "data");
    FileOpenOptions options;
    options.access = FileAccess::Read;
    for (bool lockable : { false, true }) {
        options.lockable = lockable;
        File file = File::open(name, options);
        ASSERT_TRUE(file.isOpen());
        EXPECT_EQ(file.writeAt(0, "XX", 2), -1);
        EXPECT_EQ(file.lastError(), FileError::AccessDenied);
        EXPECT_FALSE(file.truncate(0));
        EXPECT_TRUE(file.flush());
        // Only a lockable read-only handle can take an exclusive range lock.
        EXPECT_EQ(file.lock(10, 1, true), lockable);
        EXPECT_TRUE(file.lock(20, 1, false));
    }
    EXPECT_EQ(contents(name), "data");
    File creating
        = openWith(path("d.bin"), FileAccess::Read, FileShare::ReadWrite, nullptr, FileDisposition::CreateNew);
    EXPECT_FALSE(creating.isOpen());
    EXPECT_FALSE(File::exists(path("d.bin")));
}

TEST_F(FileTest, ShareModesBetweenHandlesOfOneProgram)
{
    std::string name = path("e.bin");
    put(name, "x");
    struct Case {
        FileAccess firstAccess;
        FileShare firstShare;
        FileAccess secondAccess;
        FileShare secondShare;
        bool allowed;
    };
    const Case cases[] = {
        { FileAccess::Read, FileShare::None, FileAccess::Read, FileShare::ReadWrite, false },
        { FileAccess::Read, FileShare::ReadWrite, FileAccess::Read, FileShare::None, false },
        { FileAccess::ReadWrite, FileShare::Read, FileAccess::Read, FileShare::ReadWrite, true },
        { FileAccess::ReadWrite, FileShare::Read, FileAccess::ReadWrite, FileShare::ReadWrite, false },
        { FileAccess::Read, FileShare::Read, FileAccess::Read, FileShare::Read, true },
        { FileAccess::Read, FileShare::Read, FileAccess::ReadWrite, FileShare::ReadWrite, false },
        // The second handle would let in only readers, but a writer is already there.
        { FileAccess::ReadWrite, FileShare::ReadWrite, FileAccess::Read, FileShare::Read, false },
        { FileAccess::ReadWrite, FileShare::ReadWrite, FileAccess::ReadWrite, FileShare::ReadWrite, true },
    };
    for (const auto& c : cases) {
        File first = openWith(name, c.firstAccess, c.firstShare);
        ASSERT_TRUE(first.isOpen());
        FileError error;
        File second = openWith(name, c.secondAccess, c.secondShare, &error);
        EXPECT_EQ(second.isOpen(), c.allowed) << static_cast<int>(&c - cases);
        if (!c.allowed) {
            EXPECT_EQ(error, FileError::SharingViolation);
        }
    }
    // Closing the exclusive handle lets the next one in; moving a handle keeps its registration.
    File exclusive = openWith(name, FileAccess::ReadWrite, FileShare::None);
    File moved = std::move(exclusive);
    EXPECT_FALSE(openWith(name, FileAccess::Read, FileShare::ReadWrite).isOpen());
    moved.close();
    EXPECT_TRUE(openWith(name, FileAccess::Read, FileShare::ReadWrite).isOpen());
}

// Another program's view, through the system's flock(1): can it take a shared or an exclusive
// whole-file lock on the file while our handle is open?
static bool otherProgramCanLock(const std::string& file, bool exclusive)
{
    std::string command = std::string("flock -n ") + (exclusive ? "-x" : "-s") + " '" + file + "' true";
    return std::system(command.c_str()) == 0;
}

TEST_F(FileTest, ProgramsReadingOneFileNeverTurnEachOtherAway)
{
    std::string name = path("g.bin");
    put(name, "x");
    {
        // A reader that shares nothing still lets other programs read (two runs over one disk).
        File reader = openWith(name, FileAccess::Read, FileShare::None);
        ASSERT_TRUE(reader.isOpen());
        EXPECT_TRUE(otherProgramCanLock(name, false));
        EXPECT_FALSE(otherProgramCanLock(name, true));
    }
    {
        File writer = openWith(name, FileAccess::ReadWrite, FileShare::None);
        ASSERT_TRUE(writer.isOpen());
        EXPECT_FALSE(otherProgramCanLock(name, false));
    }
    EXPECT_TRUE(otherProgramCanLock(name, true));
}

TEST_F(FileTest, RangeLocksBelongToTheHandle)
{
    std::string name = path("f.bin");
    put(name, std::string(64, 'x'));
    File a = openWith(name, FileAccess::ReadWrite, FileShare::ReadWrite);
    File b = openWith(name, FileAccess::ReadWrite, FileShare::ReadWrite);
    ASSERT_TRUE(a.isOpen() && b.isOpen());

    EXPECT_TRUE(a.lock(771, 1, true));
    EXPECT_FALSE(b.lock(771, 1, true));
    EXPECT_EQ(b.lastError(), FileError::Locked);
    EXPECT_FALSE(b.lock(770, 4, false));
    EXPECT_TRUE(b.lock(772, 1, true)); // the neighbouring byte is free
    EXPECT_TRUE(a.lock(771, 1, true)); // taking one's own range again is fine

    // Closing another handle of the same file leaves a's lock in place.
    {
        File c = openWith(name, FileAccess::Read, FileShare::ReadWrite);
        ASSERT_TRUE(c.isOpen());
    }
    EXPECT_FALSE(b.lock(771, 1, true));

    EXPECT_TRUE(a.unlock(771, 1));
    EXPECT_TRUE(b.lock(771, 1, true));
    b.close();
    EXPECT_TRUE(a.lock(771, 2, true)); // released with the handle
    EXPECT_FALSE(a.lock(-1, 1, true));
}

TEST_F(FileTest, RemoveRenameExists)
{
    std::string from = path("g.bin");
    std::string to = path("h.bin");
    put(from, "abc");
    EXPECT_TRUE(File::exists(from));
    EXPECT_TRUE(File::rename(from, to));
    EXPECT_FALSE(File::exists(from));
    EXPECT_EQ(contents(to), "abc");
    EXPECT_TRUE(File::remove(to));
    EXPECT_FALSE(File::exists(to));
    EXPECT_FALSE(File::remove(to));
    EXPECT_FALSE(File::rename(from, to));
}

} // namespace
