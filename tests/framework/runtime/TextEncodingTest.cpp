#include "framework/runtime/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

// A literal converts when its conversion is a constant expression.
template<qelLiteralDetail::Utf8Text S>
concept ConvertsAtCompileTime = requires
{
    typename std::integral_constant<int, (qelLiteralDetail::toCp1252(S), 0)>;
};

static_assert(ConvertsAtCompileTime<"Não">);
static_assert(ConvertsAtCompileTime<"€ and œ">);
static_assert(!ConvertsAtCompileTime<"✓">); // no cp1252 form
static_assert(!ConvertsAtCompileTime<"日本">);

TEST(TextEncoding, LiteralsBecomeCp1252Bytes)
{
    EXPECT_EQ(std::string("Não"_cp), "N\xe3o");
    EXPECT_EQ(std::string("Mídias"_cp),
        "M\xed"
        "dias");
    EXPECT_EQ(std::string("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"_cp),
        "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8e\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c"
        "\x9e\x9f");
    EXPECT_EQ(std::string("plain"_cp), "plain");
    EXPECT_EQ(std::string(""_cp), "");
}

TEST(TextEncoding, Cp1252RoundTripsThroughUtf8)
{
    std::string every;
    for (int c = 1; c < 256; ++c)
        every += char(c);
    std::string utf8 = qelToUtf8(every);
    EXPECT_EQ(qelFromUtf8(utf8), every);
    EXPECT_EQ(qelToUtf8("A\xe7\xe3o \x80"), "Ação €");
}

TEST(TextEncoding, Utf8WithoutACp1252FormBecomesQuestionMarks)
{
    const struct {
        std::string utf8;
        std::string cp1252;
    } cases[] = {
        { "✓ ok", "? ok" }, { "😀", "?" },
        { "a\xff"
          "b",
            "a?b" }, // invalid lead byte
        { "\xc3", "?" }, // cut short at the end
        { "\xc3(", "?(" }, // cut short by a non-continuation byte
        { "\x80x", "?x" }, // stray continuation byte
        { "\xc0\xa9", "??" }, // overlong ')': C0 never leads, so each byte is replaced
        { "\xc2\x80", "?" }, // U+0080 has no cp1252 form
        { "\xc2\x81", "\x81" }, // an undefined byte survives as the control of its number
    };
    for (const auto& c : cases)
        EXPECT_EQ(qelFromUtf8(c.utf8), c.cp1252) << c.utf8;
}
