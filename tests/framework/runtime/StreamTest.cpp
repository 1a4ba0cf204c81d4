#include "ErrorRecorder.h"

#include "framework/runtime/Buffer.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class StreamFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path()
            / ("qel_stream_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string path(const char* name) const { return (m_folder / name).string(); }
    qelValue name(const char* n) const { return qelStringValue(path(n).c_str()); }
    void writeFile(const char* n, const std::string& bytes) const { std::ofstream(path(n), std::ios::binary) << bytes; }
    std::string readFile(const char* n) const
    {
        std::ifstream in(path(n), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_folder;
};

qelStreamObject* S(const qelValue& v)
{
    return qelStreamOf(v);
}

TEST(MemoryStream, LentBlockRefusesWritesPastItsEnd)
{
    uint8_t block[100] = {};
    qelValue stream = qelNewMemoryStream(block, 100);
    std::vector<uint8_t> bytes(101, 7);
    EXPECT_EQ(S(stream)->write(bytes.data(), 101), 0);
    EXPECT_EQ(S(stream)->write(bytes.data(), 100), 100);
    EXPECT_EQ(S(stream)->writeByte(1), 0);
    EXPECT_EQ(S(stream)->size(), 100);
    EXPECT_TRUE(S(stream)->atEnd());
    EXPECT_EQ(S(stream)->readByte(), -1);
    EXPECT_FALSE(S(stream)->seek(101));
    EXPECT_TRUE(S(stream)->seek(98));
    uint8_t out[10];
    EXPECT_EQ(S(stream)->read(out, 10), 2);
}

TEST(MemoryStream, OwnedBlockGrows)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    EXPECT_EQ(S(stream)->size(), 512);
    for (int i = 0; i < 512; ++i)
        ASSERT_TRUE(S(stream)->writeByte(uint8_t(i)));
    EXPECT_EQ(S(stream)->size(), 512);
    ASSERT_TRUE(S(stream)->writeByte(1));
    EXPECT_EQ(S(stream)->size(), 1024);
    // Doubling is not enough for 3000 bytes at 513: position + n + 512.
    std::vector<uint8_t> bytes(3000, 9);
    EXPECT_EQ(S(stream)->write(bytes.data(), 3000), 3000);
    EXPECT_EQ(S(stream)->size(), 513 + 3000 + 512);
    ASSERT_TRUE(S(stream)->seek(255));
    EXPECT_EQ(S(stream)->readByte(), 255);
    EXPECT_EQ(S(stream)->readByte(), 0);
}

TEST_F(StreamFiles, OpenModes)
{
    ErrorRecorder errors;
    EXPECT_TRUE(qelOpenFileStream(name("missing"), 1, 1).isNil());
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_TRUE(qelOpenFileStream(name("missing"), 1, 0).isNil());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "qelFileStream: Cannot open " + path("missing"));

    // Mode 8 alone writes, over a file made anew.
    writeFile("old", "old contents");
    {
        qelValue stream = qelOpenFileStream(name("old"), 8, 0);
        ASSERT_FALSE(stream.isNil());
        EXPECT_TRUE(qelStreamIsWritable(stream));
        EXPECT_EQ(S(stream)->size(), 0);
        EXPECT_TRUE(qelWrite(stream, qelStringValue("new")));
    }
    EXPECT_EQ(readFile("old"), "new");

    // No sharing: a second open of a held file fails.
    qelValue held = qelOpenFileStream(name("old"), 1, 0);
    EXPECT_TRUE(qelOpenFileStream(name("old"), 1, 1).isNil());
    EXPECT_FALSE(qelStreamIsWritable(held));
    uint8_t byte = 'x';
    EXPECT_EQ(S(held)->write(&byte, 1), 0);
}

TEST_F(StreamFiles, SeeksAreLazy)
{
    writeFile("f", "0123456789");
    qelValue stream = qelOpenFileStream(name("f"), 3, 0);
    auto* file = static_cast<qelFileStream*>(S(stream));
    EXPECT_EQ(file->readByte(), '0');
    int32_t flags = file->flags();
    EXPECT_TRUE(file->seek(1)); // the current position: nothing changes
    EXPECT_EQ(file->flags(), flags);
    EXPECT_TRUE(file->seek(7));
    EXPECT_EQ(file->tell(), 1);
    EXPECT_TRUE(file->flags() & qelFileStream::SeekPending);
    EXPECT_EQ(file->readByte(), '7');
    EXPECT_EQ(file->tell(), 8);
    uint8_t out[5];
    EXPECT_EQ(file->read(out, 5), 2);
    EXPECT_EQ(file->readByte(), -1);
    EXPECT_TRUE(file->atEnd());
}

TEST_F(StreamFiles, FullBufferIsWrittenAtOnce)
{
    qelValue stream = qelOpenFileStream(name("f"), 0x0A, 0);
    std::vector<uint8_t> bytes(qelFileStream::defaultBufferSize - 1, 'a');
    ASSERT_EQ(S(stream)->write(bytes.data(), int32_t(bytes.size())), int32_t(bytes.size()));
    EXPECT_EQ(fs::file_size(path("f")), 0u);
    ASSERT_TRUE(S(stream)->writeByte('b'));
    EXPECT_EQ(fs::file_size(path("f")), size_t(qelFileStream::defaultBufferSize));
}

TEST_F(StreamFiles, TextModeDropsCarriageReturns)
{
    // A whole buffer of CRs must not read as the end of the file.
    std::string text = "one\r\ntwo\r\n" + std::string(5000, '\r') + "three\r\n";
    writeFile("t", text);
    qelValue stream = qelOpenFileStream(name("t"), 5, 0);
    qelValue buffer = qelBuffer(100);
    EXPECT_TRUE(qelReadStreamToBuffer(stream, buffer));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(qelBufferData(buffer)), size_t(qelBufferOf(buffer)->length)),
        "one\ntwo\nthree\n");
    EXPECT_FALSE(qelReadStreamToBuffer(stream, buffer));
    EXPECT_EQ(qelBufferOf(buffer)->length, 0);
}

// Random transfers, seeks and flushes against a plain byte array: reads return what the array
// holds, the file ends up equal to it, including reads right after writes and writes right after
// reads with no seek between.
TEST_F(StreamFiles, MatchesAByteArrayUnderRandomUse)
{
    std::mt19937 random(1234);
    std::vector<uint8_t> model;
    int32_t position = 0;
    {
        qelValue stream = qelOpenFileStream(name("r"), 0x0B, 0);
        qelStreamObject* s = S(stream);
        for (int step = 0; step < 3000; ++step) {
            int action = int(random() % 10);
            int32_t n = (random() % 4 == 0) ? int32_t(random() % 9000) : int32_t(random() % 40);
            if (action < 4) {
                std::vector<uint8_t> bytes(size_t(n) + 1);
                for (auto& b : bytes)
                    b = uint8_t(random());
                ASSERT_EQ(s->write(bytes.data(), n), n);
                if (size_t(position) + size_t(n) > model.size())
                    model.resize(size_t(position) + size_t(n));
                std::copy(bytes.begin(), bytes.begin() + n, model.begin() + position);
                position += n;
            } else if (action < 8) {
                std::vector<uint8_t> bytes(size_t(n) + 1);
                int32_t expected = std::min<int32_t>(n, std::max<int32_t>(0, int32_t(model.size()) - position));
                ASSERT_EQ(s->read(bytes.data(), n), expected) << "step " << step;
                ASSERT_TRUE(std::equal(bytes.begin(), bytes.begin() + expected, model.begin() + position));
                position += expected;
            } else if (action == 8) {
                position = model.empty() ? 0 : int32_t(random() % (model.size() + 1));
                ASSERT_TRUE(s->seek(position));
            } else {
                ASSERT_TRUE(s->flush());
            }
            ASSERT_EQ(s->size(), int32_t(model.size()));
        }
    }
    std::string file = readFile("r");
    ASSERT_EQ(file.size(), model.size());
    EXPECT_TRUE(std::equal(model.begin(), model.end(), reinterpret_cast<const uint8_t*>(file.data())));
}

TEST(StreamValues, WriteTakesStringsAndBuffersOnly)
{
    ErrorRecorder errors;
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    EXPECT_FALSE(qelWrite(stream, qelMakeInt(3)));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Bad type for argument 2 of qelWrite(stream,bufOrString).");
    // A string's stored bytes go out, an embedded NUL included.
    EXPECT_TRUE(qelWrite(stream, qelStringValueN("a\0b", 3)));
    EXPECT_EQ(qelStreamTell(stream), 3);
}

} // namespace
