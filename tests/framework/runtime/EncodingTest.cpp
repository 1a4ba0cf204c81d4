#include "ErrorRecorder.h"
#include "ValueTreeEqual.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Date.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/Table.h"
#include "platform/sys/ProcessId.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(const std::string& text)
{
    Bytes out;
    for (size_t i = 0; i + 1 < text.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        out.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
        i += 2;
    }
    return out;
}

Bytes encode(const qelValue& value)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    EXPECT_TRUE(qelEncode(stream, value));
    auto* memory = static_cast<qelMemoryStream*>(stream.object());
    return Bytes(memory->data(), memory->data() + memory->tell());
}

qelValue decode(Bytes bytes)
{
    bytes.push_back(0xEE); // a byte after the value that must stay unread
    qelValue stream = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
    qelValue value = qelDecode(stream);
    if (!value.isNil()) {
        EXPECT_EQ(qelStreamTell(stream), int32_t(bytes.size()) - 1);
    }
    return value;
}

qelValue list(std::initializer_list<qelValue> items, int32_t capacity = 4)
{
    qelValue l = qelMakeList(capacity, 100, 5);
    for (const auto& item : items)
        qelEncodingAccess::append(l, item);
    return l;
}

TEST(Encoding, WorkedBytes)
{
    qelValue table = qelTable(4, 100, 75);
    qelEncodingAccess::put(table, qelStringValue("a"), qelTrue);
    qelValue ints = qelMakeList(4, 100, 3);
    qelEncodingAccess::setInts(ints, std::vector<int32_t> { 1, -1 }.data(), 2);
    qelMakerHooks& m = qelMakers();
    int32_t triangle[] = { 0, 0, 10, 0, 10, 10, 0, 0 };
    struct Case {
        const char* what;
        qelValue value;
        const char* bytes;
        // What the decoded value writes, when not the same bytes.
        const char* again = nullptr;
    } cases[] = {
        { "nil", qelNil, "00" },
        { "true", qelTrue, "1E" },
        { "false", qelFalse, "1F" },
        { "boolean 5", qelMakeBoolean(5), "1E" },
        { "127", qelMakeInt(127), "20 7F" },
        { "-127", qelMakeInt(-127), "20 81" },
        { "-128", qelMakeInt(-128), "21 80 FF" },
        { "32767", qelMakeInt(32767), "21 FF 7F" },
        { "-32767", qelMakeInt(-32767), "21 01 80" },
        { "-32768", qelMakeInt(-32768), "03 00 80 FF FF" },
        { "float 1.5", qelMakeFloat(1.5f), "04 00 00 C0 3F" },
        { "empty string", qelStringValue(""), "22 00" },
        { "list of 1 and ab", list({ qelMakeInt(1), qelStringValue("ab") }), "23 02 20 01 22 02 61 62" },
        { "empty list", list({}), "23 00" },
        { "capacity 300", list({ qelMakeInt(1), qelNil }, 300), "08 02 00 00 00 05 20 01 00", "23 02 20 01 00" },
        { "int-list", ints, "08 02 00 00 00 03 01 00 00 00 FF FF FF FF" },
        { "table", table, "09 04 00 00 00 01 00 00 00 22 01 61 1E" },
        { "rectangle", m.regionValue(10, 20, 110, 70), "0B 0A000000 14000000 6E000000 46000000 00000000" },
        { "triangle", m.polygonValue(0, 0, 10, 10, triangle, 4),
            "0B 00000000 00000000 0A000000 0A000000 03000000 00000000 00000000 0A000000 00000000 0A000000 0A000000" },
        { "font", m.fontValue(qelStringValue("Arial"), 12, 2), "10 22 05 41 72 69 61 6C 0C000000 02000000" },
        { "text map", m.textMapValue(1, 2, qelNil, qelTrue), "11 01000000 02000000 00 1E" },
        { "image", m.imageCreate(qelStringValue("bmp"), qelNil), "12 22 03 62 6D 70 00" },
        { "sound file", m.makeSound(qelStringValue("wav"), qelStringValue("a")),
            "13 22 03 77 61 76 00000000 22 01 61" },
        { "control", m.makeControl(qelNil), "16 00" },
        { "form", m.makeFormFromData(qelNil), "17 00" },
        { "reference", m.makeReference(qelStringValue("x")), "1A 22 01 78" },
        { "date", qelMakeDateFromWords(0x01234567, 0x89ABCDEF), "1D 67452301 EFCDAB89" },
    };
    for (const Case& c : cases) {
        Bytes expected = hex(c.bytes);
        EXPECT_EQ(encode(c.value), expected) << c.what;
        qelValue back = decode(expected);
        // Booleans come back as true; everything else as it went.
        if (c.value.type() != QEL_BOOLEAN_TYPE) {
            EXPECT_TRUE(valueTreeEqual(back, c.value)) << c.what;
        }
        EXPECT_EQ(encode(back), c.again ? hex(c.again) : expected) << c.what << " written again";
    }
}

TEST(Encoding, StringLengthForms)
{
    Bytes short255 = encode(qelStringValue(std::string(255, 'x').c_str()));
    ASSERT_EQ(short255.size(), 257u);
    EXPECT_EQ(short255[0], 0x22);
    EXPECT_EQ(short255[1], 0xFF);
    Bytes long256 = encode(qelStringValue(std::string(256, 'x').c_str()));
    ASSERT_EQ(long256.size(), 261u);
    EXPECT_EQ(Bytes(long256.begin(), long256.begin() + 5), hex("06 00 01 00 00"));
    EXPECT_EQ(qelCString(decode(long256)), std::string(256, 'x'));
}

TEST(Decoding, StoredFormsThatAreNeverWritten)
{
    qelValue boolean = decode(hex("02 05 00 00 00"));
    EXPECT_EQ(boolean.type(), QEL_BOOLEAN_TYPE);
    EXPECT_EQ(boolean.payload(), 5);
    // A table keeps the capacity written, and a decoded rectangle is a rectangle again.
    qelValue table = decode(hex("09 40 00 00 00 00 00 00 00"));
    EXPECT_EQ(qelTableOf(table)->capacity, 64);
    qelValue empty = decode(hex("06 00 00 00 00"));
    EXPECT_TRUE(empty.isString());
    EXPECT_EQ(qelStringOf(empty)->length(), 0);
    // A kind-3 list reads its integers in one block.
    qelValue ints = decode(hex("08 03 00 00 00 03 01 00 00 00 02 00 00 00 03 00 00 00"));
    EXPECT_EQ(qelListObjectOf(ints)->kind(), 3);
    EXPECT_EQ(qelEncodingAccess::intAt(ints, 2), 3);
    // A buffer running past the end keeps the bytes that are there.
    Bytes cut = hex("07 10 00 00 00 61 62");
    qelValue stream = qelNewMemoryStream(cut.data(), int32_t(cut.size()));
    qelValue buffer = qelDecode(stream);
    EXPECT_EQ(qelBufferOf(buffer)->length, 2);
}

TEST(Encoding, TypesWithoutAnEncoding)
{
    ErrorRecorder errors;
    qelValue context = qelMakers().imageCreate(qelStringValue("context"), qelNil);
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    struct Case {
        qelValue value;
        const char* message;
        const char* bytes;
    } cases[] = {
        { qelMakeUnique(), "Cannot encode this type: unique", "01" },
        { qelNewMemoryStream(nullptr, 0), "Cannot encode this type: stream", "0A" },
        { qelMakeObjectValue(QEL_MOVIE_TYPE, nullptr), "Cannot encode this type: movie", "14" },
        { qelMakeObjectValue(QEL_ARCHIVE_TYPE, nullptr), "Cannot encode this type: application-defined", "18" },
        { context, "Cannot encode context images", "12 22 07 63 6F 6E 74 65 78 74 00" },
    };
    for (const Case& c : cases) {
        errors.messages.clear();
        qelValue out = qelNewMemoryStream(nullptr, 0);
        EXPECT_FALSE(qelEncode(out, c.value));
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.messages[0], c.message);
        auto* memory = static_cast<qelMemoryStream*>(out.object());
        EXPECT_EQ(Bytes(memory->data(), memory->data() + memory->tell()), hex(c.bytes)) << c.message;
    }
    // A list that holds itself is refused at the nesting limit instead of recursing for ever.
    errors.messages.clear();
    qelValue loop = list({});
    qelEncodingAccess::append(loop, loop);
    EXPECT_FALSE(qelEncode(stream, loop));
    EXPECT_EQ(errors.messages.back(), "Cannot encode this type: list");
    qelListObjectOf(loop)->pop();
}

TEST(Encoding, ShortWritesAreReported)
{
    ErrorRecorder errors;
    uint8_t block[4];
    qelValue lent = qelNewMemoryStream(block, 4);
    EXPECT_FALSE(qelEncode(lent, qelStringValue("too long for four")));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Cannot write QELBYTE to stream");
    EXPECT_FALSE(qelWriteInt(lent, 1) && qelWriteInt(lent, 2));
    EXPECT_EQ(errors.messages.back(), "Cannot write QELINT to stream");
}

// Damaged bytes give an error and nil: nothing is allocated from a count the bytes cannot hold,
// and nesting is bounded.
TEST(Decoding, DamagedInput)
{
    ErrorRecorder errors;
    std::string deep;
    for (int i = 0; i < 10000; ++i)
        deep += "23 01 ";
    // 190 lists nested in each other, each claiming as many elements as bytes remain after its
    // header: together far more cells than a sound encoding of this size could ever fill.
    std::string greedy;
    constexpr int greedyLevels = 190;
    for (int i = 0; i < greedyLevels; ++i) {
        uint32_t claimed = 6 * uint32_t(greedyLevels - i - 1);
        char header[32];
        std::snprintf(header, sizeof header, "08 %02X %02X 00 00 05 ", claimed & 0xFF, (claimed >> 8) & 0xFF);
        greedy += header;
    }
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        { "nothing", "", "Cannot read QELBYTE from stream" },
        { "unknown type", "05", "Cannot decode this type: application-defined" },
        { "unique", "01", "Cannot decode this type: unique" },
        { "cut int", "03 01 02", "Cannot read QELINT from stream" },
        { "cut float", "04 01", "Cannot read QELFLOAT from stream" },
        { "huge string", "06 FF FF FF 7F 61", "Cannot read QELBYTE from stream" },
        { "negative string", "06 FF FF FF FF", "Cannot decode this type: string" },
        { "negative buffer", "07 00 00 00 80", "Cannot decode this type: buffer" },
        { "huge list", "08 FF FF FF 7F 05 00", "Cannot read QELBYTE from stream" },
        { "negative list", "08 FF FF FF FF 05", "Cannot decode this type: list" },
        { "huge int-list", "08 00 00 00 40 03 00 00 00 00", "Cannot read IntList from stream" },
        { "nested lists claiming every byte", greedy, "Cannot decode this type: list" },
        { "short list", "23 03 20 01", "Cannot read QELBYTE from stream" },
        { "cut short string", "22 05 61 62", "Cannot read QELBYTE from stream" },
        { "cut small int", "20", "Cannot read QELBYTE from stream" },
        { "cut medium int", "21 01", "Cannot read QELINT from stream" },
        { "int too deep", deep.substr(0, 6 * qelMaximumEncodingDepth) + "20 01", "Cannot decode this type: int" },
        { "string too deep", deep.substr(0, 6 * qelMaximumEncodingDepth) + "22 01 61",
            "Cannot decode this type: string" },
        { "table capacity 0", "09 00 00 00 00 00 00 00 00", "Cannot decode this type: table" },
        { "table capacity 2^30", "09 00 00 00 40 01 00 00 00 00 00", "Cannot decode this type: table" },
        { "huge table count", "09 04 00 00 00 FF FF FF 7F 00 00", "Cannot read QELBYTE from stream" },
        { "huge region", "0B 00000000 00000000 00000000 00000000 FFFFFF7F", "Cannot read QELINT from stream" },
        { "negative region", "0B 00000000 00000000 00000000 00000000 FFFFFFFF", "Cannot decode this type: region" },
        { "deep nesting", deep + "00", "Cannot decode this type: list" },
    };
    for (const Case& c : cases) {
        errors.messages.clear();
        Bytes bytes = hex(c.bytes);
        uint8_t none = 0;
        qelValue stream = qelNewMemoryStream(bytes.empty() ? &none : bytes.data(), int32_t(bytes.size()));
        EXPECT_TRUE(qelDecode(stream).isNil()) << c.what;
        ASSERT_EQ(errors.messages.size(), 1u) << c.what;
        EXPECT_EQ(errors.messages[0], c.message) << c.what;
    }
}

TEST(Decoding, ShortStringsKeepTheirBytesWhereverTheyLie)
{
    // Whatever follows a short string's text, in a list or past the end of the input, stays out
    // of the string, however many bytes there are to read.
    const std::string letters = "abcdefghi";
    for (int32_t n = 0; n <= 9; ++n) {
        std::string text = letters.substr(0, size_t(n));
        qelValue string = qelStringValueN(text.data(), n);
        Bytes alone = encode(string);
        qelValue stream = qelNewMemoryStream(alone.data(), int32_t(alone.size()));
        qelValue pair = decode(encode(list({ string, qelMakeInt(5) })));
        for (const qelValue& decoded : { qelDecode(stream), qelEncodingAccess::elementAt(pair, 0) }) {
            ASSERT_EQ(decoded.type(), QEL_STRING_TYPE) << n;
            EXPECT_EQ(qelStringOf(decoded)->length(), n);
            EXPECT_STREQ(qelCString(decoded), text.c_str());
            EXPECT_EQ(qelHash(decoded), qelHash(string)) << n;
        }
        EXPECT_TRUE(qelEncodingAccess::elementAt(pair, 1) == 5);
    }
}

// Tables decoded together hand one key text to each other (the decoder makes one string per
// distinct short key). Keys of every length around the shared limit, with low and high bytes,
// more of them than the decoder keeps at once, must still be found, and the tables stay apart.
TEST(Decoding, TablesWithTheSameKeys)
{
    std::vector<std::string> keys;
    for (int32_t length = 0; length <= 40; ++length) {
        std::string key(size_t(length), 'k');
        if (length > 2)
            key[1] = '\x01';
        if (length > 9)
            key[length - 1] = '\xE9';
        keys.push_back(key);
    }
    // Same first and last eight bytes: they differ only in the middle.
    for (char middle = '0'; middle < '6'; ++middle)
        keys.push_back(std::string("abcdefgh") + middle + "stuvwxyz");
    for (int32_t n = 0; n < 150; ++n)
        keys.push_back("key" + std::to_string(n));
    qelValue records = qelMakeList(3, 100, 5);
    for (int32_t r = 0; r < 3; ++r) {
        qelValue table = qelTable(4, 100, 75);
        for (size_t k = 0; k < keys.size(); ++k)
            qelEncodingAccess::put(
                table, qelStringValueN(keys[k].data(), int32_t(keys[k].size())), qelMakeInt(r * 1000 + int32_t(k)));
        qelEncodingAccess::append(records, table);
    }
    qelValue back = decode(encode(records));
    ASSERT_TRUE(valueTreeEqual(records, back));

    qelValue first = qelEncodingAccess::elementAt(back, 0);
    qelValue last = qelEncodingAccess::elementAt(back, 2);
    qelValue key = qelStringValue("key7");
    qelPut(first, key, qelMakeInt(-1));
    EXPECT_TRUE(qelGet(first, key) == -1);
    EXPECT_TRUE(qelGet(last, key) == 2000 + 47 + 7);
    for (size_t k = 0; k < keys.size(); ++k) {
        qelValue probe = qelStringValueN(keys[k].data(), int32_t(keys[k].size()));
        EXPECT_TRUE(qelGet(last, probe) == 2000 + int32_t(k)) << k;
    }
}

// Appends to `bytes` a table as a file lays it out, its keys in a random order that mostly
// repeats from table to table (the records of a file), some given twice, some values nested
// tables; returns the same table made by puts in that order.
qelValue writeRecordTable(Bytes& bytes, std::mt19937& random, int depth)
{
    static const std::string pool[] = { "Name", "Id", "Population", "Area", "Flags", "Tags", "Sub", "",
        "twelve chars", "a key of twenty bytes", std::string("nul\0key", 7), std::string(33, 'x') };
    auto putInt = [&](int32_t n) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(uint32_t(n) >> shift));
    };
    int32_t capacity = random() % 3 ? 8 : 4;
    int32_t count = int32_t(random() % 10);
    bytes.push_back(QEL_TABLE_TYPE);
    putInt(capacity);
    putInt(count);
    qelValue table = qelTable(capacity, 100, 75);
    for (int32_t i = 0; i < count; ++i) {
        const std::string& key = pool[random() % 5 ? size_t(i) % std::size(pool) : random() % std::size(pool)];
        bytes.push_back(0x22);
        bytes.push_back(uint8_t(key.size()));
        bytes.insert(bytes.end(), key.begin(), key.end());
        qelValue value;
        if (depth < 2 && random() % 6 == 0) {
            value = writeRecordTable(bytes, random, depth + 1);
        } else {
            value = qelMakeInt(int32_t(random() % 100));
            bytes.push_back(0x20);
            bytes.push_back(uint8_t(qelIntValue(value)));
        }
        qelEncodingAccess::put(table, qelStringValueN(key.data(), int32_t(key.size())), value);
    }
    return table;
}

// Two tables hold the same pairs in the same slots (nested tables likewise).
bool sameSlots(const qelValue& a, const qelValue& b)
{
    qelTableObject* x = qelTableOf(a);
    qelTableObject* y = qelTableOf(b);
    if (!x || !y)
        return a == b;
    if (x->capacity != y->capacity || x->count != y->count)
        return false;
    for (int32_t slot = 0; slot < x->capacity; ++slot) {
        if (x->isLive(slot) != y->isLive(slot))
            return false;
        if (x->isLive(slot) && !(x->keys[slot] == y->keys[slot] && sameSlots(x->values[slot], y->values[slot])))
            return false;
    }
    return true;
}

// Keys that repeat in one order from table to table take their slots the quick way; every table
// must still hold its pairs in the slots that putting them in that order gives, whether its
// keys follow the ones before, stop following, come twice, outnumber the slots, or a nested
// table of the same capacity comes between them.
TEST(Decoding, RecordTablesTakeTheSlotsOfTheirKeyOrder)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        int32_t tables = 200;
        Bytes bytes { QEL_LIST_TYPE };
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(uint32_t(tables) >> shift));
        bytes.push_back(5);
        std::vector<qelValue> expected;
        for (int32_t t = 0; t < tables; ++t)
            expected.push_back(writeRecordTable(bytes, random, 0));
        qelValue back = decode(bytes);
        ASSERT_EQ(qelEncodingAccess::listCount(back), tables);
        for (int32_t t = 0; t < tables; ++t)
            ASSERT_TRUE(sameSlots(qelEncodingAccess::elementAt(back, t), expected[size_t(t)])) << round << " " << t;
    }
}

qelValue randomValue(std::mt19937& random, int depth)
{
    int choice = int(random() % (depth > 3 ? 6 : 12));
    switch (choice) {
    case 0:
        return qelNil;
    case 1:
        return random() % 2 ? qelTrue : qelFalse;
    case 2: {
        static const int32_t edges[] = { 0, 127, -127, -128, 128, 32767, -32767, -32768, 32768, INT32_MIN, INT32_MAX };
        return qelMakeInt(random() % 2 ? edges[random() % std::size(edges)] : int32_t(random()));
    }
    case 3:
        return qelMakeFloat(float(int32_t(random())) / 1024.0f);
    case 4:
    case 5: {
        size_t length = random() % 4 == 0 ? random() % 600 : random() % 12;
        std::string text(length, '\0');
        for (auto& c : text)
            c = char(random());
        return qelStringValueN(text.data(), int32_t(length));
    }
    case 6:
    case 7: {
        int32_t count = int32_t(random() % 6);
        qelValue l = qelMakeList(random() % 3 == 0 ? 300 : count, 100, random() % 4 == 0 ? 3 : 5);
        for (int32_t i = 0; i < count; ++i)
            qelEncodingAccess::append(
                l, qelListObjectOf(l)->kind() == 3 ? qelMakeInt(int32_t(random())) : randomValue(random, depth + 1));
        return l;
    }
    case 8:
    case 9: {
        qelValue t = qelTable(int32_t(1 + random() % 8), 100, 75);
        int32_t count = int32_t(random() % 7);
        for (int32_t i = 0; i < count; ++i)
            qelEncodingAccess::put(t,
                random() % 2 ? qelMakeInt(int32_t(random() % 50))
                             : qelStringValue(std::to_string(random() % 50).c_str()),
                randomValue(random, depth + 1));
        return t;
    }
    case 10:
        return qelMakers().fontValue(randomValue(random, depth + 1), int32_t(random()), int32_t(random()));
    default: {
        qelValue buffer = qelBuffer(int32_t(random() % 20));
        qelSetBufferLength(buffer, int32_t(random() % 20));
        return buffer;
    }
    }
}

TEST(Encoding, RandomValuesRoundTrip)
{
    std::mt19937 random(42);
    for (int i = 0; i < 400; ++i) {
        qelValue value = randomValue(random, 0);
        Bytes bytes = encode(value);
        qelValue back = decode(bytes);
        ASSERT_TRUE(valueTreeEqual(value, back)) << "value " << i << ": " << qelCString(qelPrintValue(value, 1));
    }
}

// A read-only stream over bytes that is not a memory stream, so the decoder reads it through the
// stream's read operations, the way it reads files.
class ByteStream final : public qelStreamObject {
public:
    explicit ByteStream(Bytes bytes)
        : m_bytes(std::move(bytes))
    {
    }
    int32_t isWritable() const override { return 0; }
    int32_t isOpen() const override { return 1; }
    int32_t atEnd() const override { return m_position >= size(); }
    int32_t size() const override { return int32_t(m_bytes.size()); }
    int32_t tell() const override { return m_position; }
    int32_t seek(int32_t position) override
    {
        if (position < 0 || position > size())
            return 0;
        m_position = position;
        return 1;
    }
    int32_t readByte() override { return m_position < size() ? m_bytes[size_t(m_position++)] : -1; }
    int32_t read(uint8_t* bytes, int32_t count) override
    {
        int32_t n = std::max(0, std::min(count, size() - m_position));
        std::copy_n(m_bytes.begin() + m_position, n, bytes);
        m_position += n;
        return n;
    }
    int32_t writeByte(uint8_t) override { return 0; }
    int32_t write(const uint8_t*, int32_t) override { return 0; }
    int32_t flush() override { return 1; }

private:
    Bytes m_bytes;
    int32_t m_position = 0;
};

// The decoder takes short cuts over a memory stream (values read straight from its block, short
// strings copied as one word). Over any other stream it reads value by value. Both ways must give
// the same value, the same errors and the same end position, for whole and damaged encodings.
TEST(Decoding, MemoryStreamsAndOtherStreamsAgree)
{
    ErrorRecorder errors;
    std::mt19937 random(1210);
    const uint8_t typeBytes[] = { 0x00, 0x03, 0x06, 0x08, 0x09, 0x1E, 0x20, 0x21, 0x22, 0x23 };
    for (int i = 0; i < 300; ++i) {
        Bytes bytes = encode(randomValue(random, 0));
        switch (i % 4) {
        case 1: // cut short
            bytes.resize(random() % bytes.size());
            break;
        case 2: // one byte changed
            bytes[random() % bytes.size()] = uint8_t(random());
            break;
        case 3: // one byte turned into a type byte
            bytes[random() % bytes.size()] = typeBytes[random() % std::size(typeBytes)];
            break;
        }
        Bytes lent = bytes;
        uint8_t none = 0;
        qelValue memory = qelNewMemoryStream(lent.empty() ? &none : lent.data(), int32_t(lent.size()));
        errors.messages.clear();
        qelValue fromMemory = qelDecode(memory);
        std::vector<std::string> memoryErrors = errors.messages;

        qelValue other = qelMakeObjectValue(QEL_STREAM_TYPE, new ByteStream(bytes));
        errors.messages.clear();
        qelValue fromOther = qelDecode(other);

        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(errors.messages, memoryErrors);
        ASSERT_EQ(fromMemory.isNil(), fromOther.isNil());
        if (memoryErrors.empty()) {
            EXPECT_EQ(qelStreamTell(memory), qelStreamTell(other));
            EXPECT_EQ(encode(fromMemory), encode(fromOther));
        }
    }
}

TEST(Encoding, ThroughAFileStream)
{
    auto path = std::filesystem::temp_directory_path() / ("qel_encoding_file_test_" + std::to_string(platform::processId()));
    qelValue name = qelStringValue(path.string().c_str());
    std::mt19937 random(7);
    std::vector<qelValue> values;
    {
        qelValue out = qelOpenFileStream(name, 0x0A, 0);
        for (int i = 0; i < 50; ++i) {
            values.push_back(randomValue(random, 0));
            qelEncode(out, values.back());
        }
    }
    qelValue in = qelOpenFileStream(name, 1, 0);
    for (const qelValue& value : values)
        EXPECT_TRUE(valueTreeEqual(qelDecode(in), value));
    EXPECT_TRUE(qelStreamOf(in)->atEnd());
    in = qelNil;
    std::filesystem::remove(path);
}

} // namespace
