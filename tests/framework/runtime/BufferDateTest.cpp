#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Date.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// Empty files and empty encoded buffers give buffers of size 0; they must be ordinary values.
TEST(Buffer, ZeroSizeBuffersAreValid)
{
    ErrorRecorder errors;
    qelValue empty = qelBuffer(0);
    ASSERT_NE(qelBufferOf(empty), nullptr);
    EXPECT_EQ(qelCount(empty), 0);
    EXPECT_EQ(qelCapacity(empty), 0);
    EXPECT_NE(qelBufferData(empty), nullptr);

    qelValue copy = qelCopy(empty);
    ASSERT_NE(qelBufferOf(copy), nullptr);
    EXPECT_NE(copy.object(), empty.object());
    EXPECT_EQ(qelCount(copy), 0);
    char byte = 'x';
    EXPECT_EQ(qelCount(qelBufferFromMemory(&byte, 0, 1)), 0);
    EXPECT_EQ(qelCount(qelTokenize(empty, ",")), 1);
    EXPECT_TRUE(errors.messages.empty());

    EXPECT_TRUE(qelBuffer(-1).isNil());
    EXPECT_EQ(
        errors.messages, std::vector<std::string> { "qelBuffer(QELINT): Cannot allocate buffer object of size -1" });
}

TEST(Buffer, LengthsStayWithinTheSize)
{
    qelValue buffer = qelBuffer(8);
    EXPECT_EQ(qelCount(buffer), 0);
    EXPECT_EQ(qelSetBufferLength(buffer, 20), 8);
    EXPECT_EQ(qelSetBufferLength(buffer, -4), 0);
    EXPECT_EQ(qelSetBufferLength(buffer, 5), 5);
    EXPECT_EQ(qelCount(buffer), 5);

    qelValue text = qelBufferFromValue("abc");
    EXPECT_EQ(qelCapacity(text), 4);
    EXPECT_EQ(qelCount(text), 3);
    EXPECT_EQ(std::memcmp(qelBufferData(text), "abc", 4), 0);

    char two[2] = { 'z', 'z' };
    EXPECT_EQ(qelGetChars(text, two, 2), 1);
    EXPECT_EQ(two[0], 'a');
    EXPECT_EQ(two[1], 0);

    qelValue copy = qelCopy(text);
    EXPECT_EQ(qelCapacity(copy), 3) << "a copy is as large as the used bytes";
    EXPECT_EQ(std::memcmp(qelBufferData(copy), "abc", 3), 0);
}

TEST(Buffer, WindowKeepsItsParentAliveAndStaysInsideIt)
{
    qelValue window;
    {
        qelValue parent = qelBufferFromMemory(const_cast<char*>("0123456789"), 10, 1);
        window = qelDIBBitsBuffer(parent, 4, 3);
        EXPECT_EQ(parent.object()->refCount, 2);
    }
    ASSERT_NE(qelBufferOf(window), nullptr);
    EXPECT_EQ(qelCount(window), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(qelBufferData(window)), 3), "456");

    qelValue parent = qelBufferOf(window)->owner;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(qelBufferData(qelDIBBitsBuffer(parent, 8, 100))), 2), "89");
    EXPECT_EQ(qelCount(qelDIBBitsBuffer(parent, 8, 100)), 2);
    EXPECT_EQ(qelCount(qelDIBBitsBuffer(parent, 50, 4)), 0);
    EXPECT_EQ(qelCount(qelDIBBitsBuffer(parent, -5, 2)), 2);
}

TEST(Buffer, WrapsCallerMemoryWithoutOwningIt)
{
    char bytes[4] = { 'w', 'x', 'y', 'z' };
    {
        qelValue wrap = qelBufferFromMemory(bytes, 4, 0);
        EXPECT_EQ(qelBufferData(wrap), reinterpret_cast<uint8_t*>(bytes));
        EXPECT_EQ(qelCount(wrap), 4);
        qelBufferData(wrap)[0] = 'W';
    }
    // Releasing the wrapper returned nothing to the allocator (the sanitizer would object).
    EXPECT_EQ(bytes[0], 'W');
}

TEST(Date, PacksComponentsAndMarksAbsentOnes)
{
    qelValue full = qelMakeDate(1998, 11, 30, 23, 59, 58, 999, 1000);
    qelDateObject* date = qelDateOf(full);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->dateWord, 11u | 30u << 4 | 23u << 9 | 1998u << 14);
    EXPECT_EQ(date->timeWord, 59u | 58u << 6 | 999u << 12 | 1000u << 22);

    struct Case {
        std::vector<std::pair<const char*, int32_t>> entries;
        uint32_t dateWord, timeWord;
    };
    const Case cases[] = {
        { { { "Year", 2000 } }, 2000u << 14 | 31u << 9, 0xFFFFFFFFu },
        { { { "Year", 2000 }, { "Month", 1 }, { "Day", 15 } }, 2000u << 14 | 31u << 9 | 15u << 4 | 1u, 0xFFFFFFFFu },
        // Reading stops at the first missing key: the day counts as absent without a month.
        { { { "Year", 2000 }, { "Day", 15 } }, 2000u << 14 | 31u << 9, 0xFFFFFFFFu },
        { { { "Year", 2000 }, { "Month", 2 }, { "Day", 3 }, { "Hour", 4 }, { "Minute", 5 } },
            2000u << 14 | 4u << 9 | 3u << 4 | 2u, 5u | 0xFFFFFFC0u },
        { { { "Year", 1 }, { "Month", 2 }, { "Day", 3 }, { "Hour", 4 }, { "Minute", 5 }, { "Second", 6 },
              { "Millisecond", 7 }, { "Microsecond", 8 } },
            1u << 14 | 4u << 9 | 3u << 4 | 2u, 5u | 6u << 6 | 7u << 12 | 8u << 22 },
    };
    for (const Case& c : cases) {
        qelValue table = qelTable(9, 100, 75);
        for (const auto& [key, n] : c.entries)
            qelPut(table, key, qelMakeInt(n));
        qelValue value = qelDateFromTable(table);
        qelDateObject* made = qelDateOf(value);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->dateWord, c.dateWord) << c.entries.size() << " entries";
        EXPECT_EQ(made->timeWord, c.timeWord) << c.entries.size() << " entries";
    }
}
