#include "ErrorRecorder.h"
#include "framework/runtime/CaseMap.h"
#include "framework/runtime/NumberText.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

std::string text(const qelValue& value)
{
    qelStringObject* object = qelStringOf(value);
    return object ? std::string(object->chars(), size_t(object->length())) : std::string("<not a string>");
}

qelStringObject& object(const qelValue& value)
{
    return *qelStringOf(value);
}

} // namespace

TEST(String, ContentHash)
{
    const struct {
        std::string bytes;
        int32_t hash;
    } cases[] = {
        { "", 0 }, { "a", 3104 }, { "abc", 846802 }, { "\xe9", -736 }, // high bytes count as negative
        { "N\xe3o", -654908 }, { "Velarim 98", 1217542047 }, { "MediaPath", 833986483 }, { "\xff\xff\xff\xff", 129055 },
        { "Popula\xe7\xe3o estimada em 1998", -1357082308 }, // longer than the short-string copy
    };
    for (const auto& c : cases) {
        qelValue value = qelStringValueN(c.bytes.data(), int32_t(c.bytes.size()));
        EXPECT_EQ(object(value).hash(), c.hash) << c.bytes;
        EXPECT_EQ(qelHash(value), c.hash) << c.bytes;
        EXPECT_EQ(qelHash(qelStringValueN(c.bytes.data(), int32_t(c.bytes.size()))), c.hash);
    }
}

TEST(String, TextsAroundTheInlineLengthKeepTheirBytesAndHashes)
{
    // Up to 7 bytes a text lives in its string object, beyond that in a block of its own; every
    // way of making one gives the same bytes, NUL and hash on both sides of that line.
    const std::string lower = "abcdefghij";
    const std::string upper = "ABCDEFGHIJ";
    for (int32_t n = 0; n <= 10; ++n) {
        std::string expected = lower.substr(0, size_t(n));
        int32_t half = n / 2;
        const qelValue made[] = {
            qelStringValueN(expected.data(), n),
            object(qelStringValue(lower.c_str())).left(n),
            object(qelStringValueN(lower.data(), half)).concat(object(qelStringValueN(lower.data() + half, n - half))),
            qelLowerCase(qelStringValueN(upper.data(), n)),
        };
        for (const qelValue& value : made) {
            EXPECT_EQ(text(value), expected);
            EXPECT_EQ(qelCString(value)[n], '\0') << n;
            EXPECT_EQ(qelHash(value), qelStringObject::hashBytes(expected.data(), n)) << n;
        }
    }
    // The hash covers every byte of the length, an embedded NUL and what follows it included.
    EXPECT_EQ(qelHash(qelStringValueN("a\0b", 3)), qelStringObject::hashBytes("a\0b", 3));
    EXPECT_NE(qelHash(qelStringValueN("a\0b", 3)), qelHash(qelStringValueN("a\0c", 3)));
}

TEST(String, MakersAndEmptyStrings)
{
    for (const qelValue& empty : { qelStringValueN("xyz", 0), qelRepeatChar(0, 'x'), qelStringValue(""),
             qelEmptyString(), qelValue(static_cast<const char*>(nullptr)) }) {
        EXPECT_EQ(empty.type(), QEL_STRING_TYPE);
        EXPECT_EQ(object(empty).length(), 0);
        EXPECT_STREQ(qelCString(empty), "");
    }
    // Each empty string is an object of its own.
    EXPECT_NE(qelEmptyString().object(), qelEmptyString().object());

    qelValue withNul = qelStringValueN("a\0b", 3);
    EXPECT_EQ(object(withNul).length(), 3);
    EXPECT_EQ(qelCString(withNul)[3], '\0');
    EXPECT_EQ(text(qelRepeatChar(3, '\xe9')), "\xe9\xe9\xe9");
    EXPECT_EQ(text(qelRepeatChar(-2, 'x')), "");
    EXPECT_EQ(text(qelValue("copied")), "copied");
    EXPECT_STREQ(qelCString(qelValue(5)), "");
}

TEST(String, Slices)
{
    qelValue abc = qelStringValue("abc");
    const struct {
        qelValue result;
        const char* expected;
    } cases[] = {
        { object(abc).left(2), "ab" },
        { object(abc).left(0), "" },
        { object(abc).left(10), "abc" },
        { object(abc).left(-1), "" },
        { object(abc).right(2), "bc" },
        { object(abc).right(3), "abc" },
        { object(abc).right(5), "" },
        { object(abc).right(-1), "" },
        { object(abc).mid(1, 10), "bc" },
        { object(abc).mid(1, 1), "b" },
        { object(abc).mid(3, 1), "" },
        { object(abc).mid(0, 0), "" },
        { object(abc).mid(-1, 2), "" },
        { object(abc).concat(object(qelStringValue("de"))), "abcde" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.result), c.expected);
    // A result hashes like any string of its text.
    EXPECT_EQ(qelHash(object(abc).concat(object(abc))), qelHash(qelStringValue("abcabc")));
}

TEST(String, Search)
{
    qelValue path = qelStringValue("C:\\dir\\sub\\file.txt");
    qelValue abcabc = qelStringValue("abcabc");
    const struct {
        int32_t found;
        int32_t expected;
    } cases[] = {
        { qelFindChar(abcabc, 'b', 0), 1 },
        { qelFindChar(abcabc, 'b', 2), 4 },
        { qelFindChar(abcabc, 'z', 0), -1 },
        { qelFindChar(abcabc, 'a', -5), 0 },
        { qelFindChar(abcabc, 'a', 100), -1 },
        { qelFindChar(qelStringValue("caf\xe9"), 0xe9, 0), 3 },
        { qelFindChar(qelStringValue("caf\xe9"), '\xe9', 0), 3 },
        { qelFindString(abcabc, "ca", 0), 2 },
        { qelFindString(abcabc, "abc", 1), 3 },
        { qelFindString(abcabc, "", 4), 4 }, // the empty text is found at the start
        { qelFindString(abcabc, "abcabcd", 0), -1 },
        { qelFindString(abcabc, "bc", 5), -1 },
        { qelFindString(abcabc, "", 9), -1 },
        { qelFindLast(path, "\\", 0), 10 },
        { qelFindLast(path, "\\", 9), 6 },
        { qelFindLast(path, "C:", 0), 0 },
        { qelFindLast(path, "txt", 0), 16 },
        { qelFindLast(path, "x", 100), 17 },
        { qelFindLast(abcabc, "zz", 0), -1 },
        { qelFindLast(qelEmptyString(), "", 0), -1 },
        { object(abcabc).findValue(qelStringValue("cab"), 0), 2 },
        { object(abcabc).findValue('c', 3), 5 },
        { object(abcabc).findValue(qelTrue, 0), -1 },
        { qelFindChar(qelNil, 'a', 0), -1 },
    };
    int line = 0;
    for (const auto& c : cases)
        EXPECT_EQ(c.found, c.expected) << "case " << line++;
}

TEST(String, CharAtReportsAnIndexOutsideTheText)
{
    ErrorRecorder recorder;
    qelValue abc = qelStringValue("abc");
    EXPECT_EQ(qelCharAt(abc, 2), 'c');
    EXPECT_EQ(qelCharAt(abc, 3), '\0');
    EXPECT_EQ(qelCharAt(abc, -1), '\0');
    EXPECT_EQ(qelCharAt(qelNil, 0), '\0');
    EXPECT_EQ(recorder.messages,
        (std::vector<std::string> {
            "String index out of range: 3", "String index out of range: -1", "String index out of range: 0" }));
}

TEST(String, CaseMaps)
{
    EXPECT_EQ(text(qelUpperCase(qelStringValue("ação"_cp))), "AÇÃO"_cp);
    EXPECT_EQ(text(qelLowerCase(qelStringValue("ÀÉÎÕÜ ŠŒŸ XY"_cp))), "àéîõü šœÿ xy"_cp);
    EXPECT_EQ(text(qelUpperCase(qelStringValue("ßµðþ÷ž"_cp))), "ßµðþ÷ž"_cp); // no capitals here

    // The two maps are exact inverses over the 57 letter pairs and leave every other code alone.
    int upperChanges = 0, lowerChanges = 0;
    for (int c = 0; c < 256; ++c) {
        if (qelUpperCaseMap[c] != c) {
            ++upperChanges;
            EXPECT_EQ(qelLowerCaseMap[qelUpperCaseMap[c]], c) << c;
        }
        if (qelLowerCaseMap[c] != c) {
            ++lowerChanges;
            EXPECT_EQ(qelUpperCaseMap[qelLowerCaseMap[c]], c) << c;
        }
    }
    EXPECT_EQ(upperChanges, 57);
    EXPECT_EQ(lowerChanges, 57);
    // Mapping stops at the first NUL and keeps the length.
    qelValue upper = qelUpperCase(qelStringValueN("a\0b", 3));
    EXPECT_EQ(text(upper), std::string("A\0\0", 3));
}

TEST(String, FoldMap)
{
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        { "Ação"_cp, "Acao" },
        { "ß"_cp, "B" },
        { "ÀÁÂÃÄÅÆ àáâãäåæ"_cp, "AAAAAAA aaaaaaa" },
        { "ÇÈÉÊËÌÍÎÏÐÑ"_cp, "CEEEEIIIIDN" },
        { "ÒÓÔÕÖØ òóôõöø ÙÚÛÜ ùúûü"_cp, "OOOOOO oooooo UUUU uuuu" },
        { "ÝŸýÿ ŠšŒœ"_cp, "YYyy SsOo" },
        { "×÷‚‘’´“”–—¦¹²³"_cp, "X/''''\"\"--|123" },
        { "\x01\t\x1f\x7f", "    " },
        { "€…™©®°µ¿"_cp, "        " },
        { "plain text 123 ~!", "plain text 123 ~!" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(qelFoldText(qelStringValue(c.from))), c.to) << c.to;
    for (int c = 32; c < 127; ++c)
        EXPECT_EQ(qelFoldMap[c], c);
}

TEST(String, Truth)
{
    const struct {
        const char* text;
        int32_t truth;
    } cases[] = { { "yes", 1 }, { "Yes", 1 }, { "true", 1 }, { "T", 1 }, { "no", 0 }, { "", 0 }, { " yes", 0 },
        { "1", 0 }, { "false", 0 } };
    for (const auto& c : cases)
        EXPECT_EQ(object(qelStringValue(c.text)).truth(), c.truth) << c.text;
}

TEST(String, NumberConversionIsLocaleFreeAndSaturates)
{
    const struct {
        const char* text;
        int32_t value;
        int consumed;
    } ints[] = {
        { "42", 42, 2 },
        { "  -17xyz", -17, 5 },
        { "+5", 5, 2 },
        { "\t\n 7", 7, 4 },
        { "12.9", 12, 2 },
        { "0x1A", 0, 1 },
        { "abc", 0, 0 },
        { "", 0, 0 },
        { "- 5", 0, 0 },
        { "2147483647", INT_MAX, 10 },
        { "2147483648", INT_MAX, 10 },
        { "99999999999999999999", INT_MAX, 20 },
        { "-2147483648", INT_MIN, 11 },
        { "-2147483649", INT_MIN, 11 },
    };
    for (const auto& c : ints) {
        const char* end = nullptr;
        EXPECT_EQ(qelTextToInt(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.consumed) << c.text;
        EXPECT_EQ(object(qelStringValue(c.text)).intValue(), c.value) << c.text;
    }

    const double infinity = HUGE_VAL;
    const struct {
        const char* text;
        double value;
        int consumed; // -1: the whole text
    } floats[] = {
        { "2.5", 2.5, 3 },
        { " -1.25e2", -125.0, 8 },
        { "+.5", 0.5, 3 },
        { "1.e3", 1000.0, 4 },
        { "5.", 5.0, 2 },
        { "3,5", 3.0, 1 }, // a comma is never a decimal point
        { "7e", 7.0, 1 },
        { "inf", 0.0, 0 },
        { "nan", 0.0, 0 },
        { "0x1p3", 0.0, 1 },
        { ".", 0.0, 0 },
        { "1e400", infinity, 5 },
        { "-1e400", -infinity, 6 },
        { "1e-400", 0.0, 6 },
        { "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
          "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
          "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
          "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001",
            0.0, -1 },
    };
    for (const auto& c : floats) {
        const char* end = nullptr;
        EXPECT_EQ(qelTextToFloat(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.consumed < 0 ? int(std::strlen(c.text)) : c.consumed) << c.text;
    }
    EXPECT_EQ(object(qelStringValue("2.75 m")).floatValue(), 2.75);
}

TEST(String, CopyIntoACallersArray)
{
    qelValue abc = qelStringValue("abc");
    char room[4] = { 'x', 'x', 'x', 'x' };
    EXPECT_EQ(object(abc).copyInto(room, 3), 0); // no room for the NUL: nothing copied
    EXPECT_EQ(room[0], 'x');
    EXPECT_EQ(object(abc).copyInto(room, 4), 1);
    EXPECT_STREQ(room, "abc");
}

TEST(String, QuotedForm)
{
    const struct {
        std::string text;
        const char* quoted;
    } cases[] = {
        { "plain", "\"plain\"" },
        { "caf\xe9", "\"caf\\xe9\"" },
        { "a\tb\nc\rd", "\"a\\tb\\nc\\rd\"" },
        { "say \"hi\" \\o/", "\"say \\\"hi\\\" \\\\o/\"" },
        { std::string("\x01\x1f\x7f\x80\xff\0", 6), "\"\\x01\\x1f\\x7f\\x80\\xff\\x00\"" },
        { "", "\"\"" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(qelQuoteString(qelStringValueN(c.text.data(), int32_t(c.text.size())))), c.quoted);
    EXPECT_EQ(text(qelQuoteString(qelNil)), "\"\"");
}
