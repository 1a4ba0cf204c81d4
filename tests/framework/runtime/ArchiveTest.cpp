#include "ErrorRecorder.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

const Bytes empty14("0QEL\x08\0\0\0\x08\0\0\0\0\x03", 14);
const Bytes withFive("0QEL\x0A\0\0\0\x20\x05\x08\x01\0\0\0\x03\x08\0\0\0", 20);
const Bytes replaced("0QEL\x0C\0\0\0\x20\x05\x20\x06\x08\x01\0\0\0\x03\x0A\0\0\0", 22);

class ArchiveFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path()
            / ("qel_archive_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string path(const char* n) const { return (m_folder / n).string(); }
    qelValue name(const char* n) const { return qelStringValue(path(n).c_str()); }
    void writeFile(const char* n, const Bytes& bytes) const { std::ofstream(path(n), std::ios::binary) << bytes; }
    Bytes readFile(const char* n) const
    {
        std::ifstream in(path(n), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    fs::path m_folder;
};

Bytes contents(const qelValue& stream)
{
    auto* memory = static_cast<qelMemoryStream*>(stream.object());
    return Bytes(reinterpret_cast<const char*>(memory->data()), size_t(memory->tell()));
}

TEST(Archive, LayoutOverAStream)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    qelValue archive = qelCreateArchive(stream, 0);
    qelArchiveObject* a = qelArchiveOf(archive);
    ASSERT_TRUE(a->flush());
    EXPECT_EQ(contents(stream), empty14);
    a->add(qelMakeInt(5));
    ASSERT_TRUE(a->flush());
    EXPECT_EQ(contents(stream), withFive);
    a->put(0, qelMakeInt(6));
    ASSERT_TRUE(a->flush());
    EXPECT_EQ(contents(stream), replaced);
    EXPECT_EQ(a->count(), 1);
    EXPECT_EQ(a->get(0).payload(), 6);

    ErrorRecorder errors;
    EXPECT_TRUE(a->get(1).isNil());
    a->put(-1, qelNil);
    EXPECT_EQ(errors.messages, (std::vector<std::string> { "Index out of range: 1", "Index out of range: -1" }));
}

TEST(Archive, ReopenedStreamReadsItsItems)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    {
        qelValue archive = qelCreateArchive(stream, 0);
        for (int i = 0; i < 300; ++i)
            qelArchiveOf(archive)->add(qelMakeInt(i * 1000));
    } // the last release flushes
    qelValue archive = qelOpenArchive(stream, 1);
    qelArchiveObject* a = qelArchiveOf(archive);
    ASSERT_EQ(a->count(), 300);
    EXPECT_EQ(a->get(299).payload(), 299000);
    a->add(qelStringValue("more"));
    EXPECT_EQ(a->count(), 301);
}

// Files that are no archive, or whose header or directory is damaged, are refused before
// anything is read through them.
TEST(Archive, RefusesDamagedFiles)
{
    Bytes notArchive = "QEL0 something else";
    Bytes outside = withFive;
    outside[4] = 100; // directory past the end
    Bytes notIntList = withFive;
    notIntList[15] = 5; // the directory's kind byte
    Bytes badOffset = withFive;
    badOffset[16] = 12; // item 0 at the directory itself
    Bytes cut = withFive.substr(0, 18);
    for (const Bytes& bytes : { notArchive, outside, notIntList, badOffset, cut, Bytes("0QE") }) {
        ErrorRecorder errors;
        Bytes copy = bytes;
        qelValue stream = qelNewMemoryStream(reinterpret_cast<uint8_t*>(copy.data()), int32_t(copy.size()));
        EXPECT_TRUE(qelOpenArchive(stream, 1).isNil());
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.messages[0], "Version mismatch -- cannot open archive");
        EXPECT_EQ(copy, bytes) << "nothing written";
    }
}

TEST_F(ArchiveFiles, ReadOnlyNeverWrites)
{
    writeFile("a.dtt", withFive);
    {
        ErrorRecorder errors;
        qelValue archive = qelOpenArchive(name("a.dtt"), 0);
        qelArchiveObject* a = qelArchiveOf(archive);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->get(0).payload(), 5);
        a->add(qelMakeInt(1));
        a->put(0, qelMakeInt(1));
        EXPECT_EQ(errors.messages,
            (std::vector<std::string> { "Cannot add item to read-only archive", "Cannot put to read-only archive" }));
    }
    EXPECT_EQ(readFile("a.dtt"), withFive);

    ErrorRecorder errors;
    uint8_t block[20];
    std::memcpy(block, withFive.data(), 20);
    qelValue lent = qelNewMemoryStream(block, 20);
    EXPECT_FALSE(qelOpenArchive(lent, 0).isNil());
    EXPECT_TRUE(qelOpenArchive(qelOpenFileStream(name("a.dtt"), 1, 0), 1).isNil());
    EXPECT_EQ(errors.messages.back(), "Cannot create writable archive from read-only stream");
    EXPECT_TRUE(qelCreateArchive(qelOpenFileStream(name("a.dtt"), 1, 0), 0).isNil());
    EXPECT_EQ(errors.messages.back(), "Cannot create archive from read-only stream");
}

// By name, the old file stays as it was until a flush replaces it whole, with the bytes of the
// layout; a flush that cannot write leaves it alone and says so.
TEST_F(ArchiveFiles, NamedArchivesReplaceTheirFile)
{
    writeFile("a.dtt", withFive);
    {
        qelValue archive = qelCreateArchive(name("a.dtt"), 0);
        ASSERT_FALSE(archive.isNil());
        EXPECT_EQ(readFile("a.dtt"), withFive);
        // The file is held: nobody else opens it meanwhile.
        ErrorRecorder errors;
        EXPECT_TRUE(qelOpenArchive(name("a.dtt"), 0).isNil());
        EXPECT_EQ(errors.messages[0], "qelFileStream: Cannot open " + path("a.dtt"));
    }
    EXPECT_EQ(readFile("a.dtt"), empty14);
    {
        qelValue archive = qelOpenArchive(name("a.dtt"), 1);
        qelArchiveOf(archive)->add(qelMakeInt(5));
        EXPECT_EQ(readFile("a.dtt"), empty14);
        ASSERT_TRUE(qelArchiveOf(archive)->flush());
        EXPECT_EQ(readFile("a.dtt"), withFive);
        qelArchiveOf(archive)->put(0, qelMakeInt(6));
    }
    EXPECT_EQ(readFile("a.dtt"), replaced);
    EXPECT_FALSE(fs::exists(path("a.dtt.tmp")));

    // A folder where the temporary file would go makes the flush fail.
    qelValue archive = qelOpenArchive(name("a.dtt"), 1);
    fs::create_directory(path("a.dtt.tmp"));
    qelArchiveOf(archive)->add(qelMakeInt(7));
    ErrorRecorder errors;
    EXPECT_FALSE(qelArchiveOf(archive)->flush());
    EXPECT_EQ(errors.messages, (std::vector<std::string> { "Cannot write QELBYTE to stream" }));
    EXPECT_EQ(readFile("a.dtt"), replaced);
    fs::remove(path("a.dtt.tmp"));
    EXPECT_TRUE(qelArchiveOf(archive)->flush());
}

} // namespace
