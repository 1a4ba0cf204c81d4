#include "platform/sys/Cp1252.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PlatformCp1252, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(all)), all);
}

TEST(PlatformCp1252, MapsTheWindowsRangeAndLatin1)
{
    struct Case {
        std::string cp;
        std::string utf8;
    } cases[] = {
        { "\x80", "\xE2\x82\xAC" }, // euro sign
        { "\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D" }, // curly quotes
        { "\x9F", "\xC5\xB8" }, // Y with diaeresis
        { "N\xE3o", "N\xC3\xA3o" }, { "\x81", "\xC2\x81" }, // undefined byte: the C1 control of the same value
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252::toUtf8(c.cp), c.utf8);
        EXPECT_EQ(cp1252::fromUtf8(c.utf8), c.cp);
    }
}

TEST(PlatformCp1252, UnmappableAndMalformedInputBecomesReplacement)
{
    struct Case {
        std::string utf8;
        std::string cp;
    } cases[] = {
        { "a\xE4\xB8\xAD"
          "b",
            "a?b" }, // CJK: not in cp1252
        { "\xF0\x9F\x98\x80", "?" }, // emoji
        { "\xC0\xAF", "??" }, // overlong '/': both bytes rejected
        { "\xED\xA0\x80", "???" }, // surrogate
        { "x\xE2\x82", "x??" }, // truncated at the end
        { "\xE2(", "?(" }, // bad continuation keeps the next character
        { "\xFF", "?" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp1252::fromUtf8(c.utf8), c.cp) << c.utf8;
}
