#include "framework/runtime/Collation.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(Collation, WeightCensus)
{
    int digits = 0, letters = 0, collatedControl = 0, ignored = 0;
    int uses[256] = {};
    for (int c = 0; c < 256; ++c) {
        int w = qelCollationWeights[c];
        ++uses[w];
        if (w <= 9)
            ++digits;
        else if (w <= 124)
            ++letters;
        else if (w == 125)
            ++collatedControl;
        else
            ++ignored;
    }
    EXPECT_EQ(digits, 10);
    EXPECT_EQ(letters, 114);
    EXPECT_EQ(collatedControl, 1);
    EXPECT_EQ(ignored, 131);
    // Every weight is used once, except 119 (never) and 179 (NUL and code 1).
    for (int w = 0; w < 256; ++w)
        EXPECT_EQ(uses[w], w == 119 ? 0 : (w == 179 ? 2 : 1)) << w;
}

TEST(Collation, WeightsOfChosenCodes)
{
    const struct {
        const char* character;
        int weight;
    } cases[] = {
        { "0", 0 },
        { "9", 9 },
        { "A", 10 },
        { "a", 11 },
        { "À"_cp, 12 },
        { "à"_cp, 13 },
        { "æ"_cp, 25 },
        { "B", 26 },
        { "Ç"_cp, 30 },
        { "ç"_cp, 31 },
        { "ë"_cp, 43 },
        { "ï"_cp, 59 },
        { "ñ"_cp, 71 },
        { "Œ"_cp, 86 },
        { "œ"_cp, 87 },
        { "Š"_cp, 96 },
        { "ß"_cp, 98 },
        { "ü"_cp, 110 },
        { "y", 118 },
        { "ÿ"_cp, 120 },
        { "Ý"_cp, 121 },
        { "ý"_cp, 122 },
        { "Z", 123 },
        { "z", 124 },
        { "\x10", 125 },
        { "\x03", 126 },
        { "\x0f", 138 },
        { "\x02", 139 },
        { "\x11", 140 },
        { "\x1f", 154 },
        { " ", 155 },
        { "!", 156 },
        { "/", 170 },
        { ":", 171 },
        { "@", 177 },
        { "÷"_cp, 178 },
        { "\x01", 179 },
        { "[", 180 },
        { "`", 185 },
        { "{", 186 },
        { "~", 189 },
        { "\x7f", 190 },
        { "€"_cp, 191 },
        { "‰"_cp, 200 },
        { "‹"_cp, 201 },
        { "\x8d", 202 },
        { "Ÿ"_cp, 218 },
        { "¿"_cp, 250 },
        { "Ð"_cp, 251 },
        { "×"_cp, 252 },
        { "Þ"_cp, 253 },
        { "ð"_cp, 254 },
        { "þ"_cp, 255 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(qelCollationWeights[static_cast<unsigned char>(c.character[0])], c.weight) << c.weight;
    EXPECT_EQ(qelCollationWeights[0], 179);
}

TEST(Collation, OrderRules)
{
    const struct {
        const char* a;
        const char* b;
        int result; // the sign, except where the exact difference matters
        bool exact;
    } cases[] = {
        { "A", "a", -1, false },
        { "a", "À"_cp, -1, false },
        { "À"_cp, "B", -1, false },
        { "a", "B", -1, false }, // not byte order
        { "abc", "a-b c", 0, true }, // blanks and punctuation take no part
        { "  abc!", "abc", 0, true },
        { "abc", "ab", 29 - 179, true }, // a prefix collates after: the NUL weighs 179
        { "", "a", 179 - 11, true },
        { "", "0", 179, true },
        { "", "   ", 0, true },
        { "", "", 0, true },
        { "cao", "cão"_cp, 11 - 19, true },
        { "x\x10", "x", 125 - 179, true }, // code 16 takes part
        { "Ôa"_cp, "Oz", 78 - 72, true },
    };
    for (const auto& c : cases) {
        int32_t result = qelCollateText(c.a, c.b);
        if (c.exact)
            EXPECT_EQ(result, c.result) << c.a << " | " << c.b;
        else
            EXPECT_EQ((result > 0) - (result < 0), c.result) << c.a << " | " << c.b;
        EXPECT_EQ(qelCollateText(c.b, c.a), -result);
    }
}

TEST(Collation, SortsWordsAsAReaderExpects)
{
    std::vector<std::string> words = { "Zebra", "b", "água"_cp, "Agua", "B", "ação"_cp, "acao", "10", "2", "" };
    std::stable_sort(words.begin(), words.end(),
        [](const std::string& x, const std::string& y) { return qelCollateText(x.c_str(), y.c_str()) < 0; });
    // The first letter that differs decides, capital before small: Agua before acao.
    const std::vector<std::string> expected
        = { "10", "2", "Agua", "acao", "ação"_cp, "água"_cp, "B", "b", "Zebra", "" };
    EXPECT_EQ(words, expected);
}

TEST(Collation, CompareIsUnsignedByteOrder)
{
    EXPECT_EQ(qelCompareText("a", "b"), -1);
    EXPECT_EQ(qelCompareText("b", "a"), 1);
    EXPECT_EQ(qelCompareText("ab", "ab"), 0);
    EXPECT_EQ(qelCompareText("ab", "a"), 1);
    EXPECT_EQ(qelCompareText("\xe9", "z"), 1);
    EXPECT_EQ(qelCompareText("B", "a"), -1);
}
