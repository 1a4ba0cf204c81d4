#include "ErrorRecorder.h"
#include "ValueTreeEqual.h"

#include "framework/runtime/Buffer.h"
#include "framework/runtime/Date.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

qelValue read(const std::string& text)
{
    return qelDecodeText(qelStringValue(text.c_str()));
}

std::string printed(const qelValue& value)
{
    return qelCString(qelPrintValue(value, 0));
}

// Each text reads as the value that the second text prints as (display form).
TEST(TextNotation, ReadsEachForm)
{
    struct Case {
        const char* text;
        const char* display;
    } cases[] = {
        { "(list 1 2.5 true)", "(list 1 2.5 true)" },
        { "(1 2.5 true)", "(list 1 2.5 true)" },
        { "  ; comment\n(LIST -7 +8 .5 1. 1.e3)", "(list -7 8 0.5 1 1000)" },
        { "(intlist 1 2.7 \"3\")", "(intlist 1 2 3)" },
        { "(rgb 255 0 0)", "255" },
        { "red", "255" },
        { "Bold", "2" },
        { "BOLD", "2" },
        { "black", "1" },
        { "nil", "QEL_NIL" },
        { "(rect 10 20 100 50)", "(rect 10 20 100 50)" },
        { "(point 5 6)", "(rect 5 6)" },
        { "(region (0 0) (10 0) (10 10))", "(region (0 0) (10 0) (10 10))" },
        { "(font \"Arial\" 12 bold)", "(font \"Arial\" 12 2)" },
        { "(font \"Arial\" 12 \"Italic\")", "(font \"Arial\" 12 1)" },
        { "(font \"Arial\" 12)", "(font \"Arial\" 12 0)" },
        { "(form (\"Class\" \"Button\"))", "(form (Class Button))" },
        { "(control (\"Class\" \"Button\"))", "(control (Class Button))" },
        { "(table (\"a\" 1) (\"a\" 2 3 4))", "(table (a 2))" },
        { "(\"a\" \"b\")", "a" },
        { "(list \"a\\tb\\x4A\\x4a\\\"\\\\\")", "(list a\tbJJ\"\\)" },
        { "\"\"", "" },
        { "(list 111111111111111111111111111111111111111111111111111111111111111"
          "1111111)",
            "(list 2147483647 1111111)" },
        { "(list (list) (table))", "(list (list) (table ))" },
        { "5 junk after the value (", "5" },
        { "((list 1))", "(list 1)" },
    };
    for (const Case& c : cases) {
        ErrorRecorder errors;
        qelValue value = read(c.text);
        EXPECT_TRUE(errors.messages.empty()) << c.text << ": " << (errors.messages.empty() ? "" : errors.messages[0]);
        EXPECT_EQ(printed(value), c.display) << c.text;
    }
    EXPECT_EQ(read("1.e3").type(), QEL_FLOAT_TYPE);
    EXPECT_EQ(read("3.0").type(), QEL_FLOAT_TYPE);
    EXPECT_EQ(read("(point 5 6)").type(), QEL_REGION_TYPE);

    qelValue date = read("(date (\"Year\" 1998) (\"Month\" 3) (\"Day\" 4))");
    ASSERT_EQ(date.type(), QEL_DATE_TYPE);
    EXPECT_EQ(qelDateOf(date)->dateWord, (1998u << 14) | (31u << 9) | (4u << 4) | 3u);

    qelValue rectValue = read("(rect 10 20 100 50)");
    const qelEncodedFields& rect = qelHolderOf(rectValue)->fields();
    EXPECT_EQ(std::vector<int32_t>(rect.ints, rect.ints + 4), (std::vector<int32_t> { 10, 20, 110, 70 }));
    qelValue regionValue = read("(region (0 0) (10 0) (10 10))");
    const qelEncodedFields& region = qelHolderOf(regionValue)->fields();
    EXPECT_EQ(region.points, (std::vector<int32_t> { 0, 0, 10, 0, 10, 10, 0, 0 }));
    EXPECT_EQ(std::vector<int32_t>(region.ints, region.ints + 4), (std::vector<int32_t> { 0, 0, 10, 10 }));
    // The box comes from the points, wherever they lie.
    qelValue farValue = read("(region (5000 4000) (6000 4000) (6000 7000))");
    const qelEncodedFields& far = qelHolderOf(farValue)->fields();
    EXPECT_EQ(std::vector<int32_t>(far.ints, far.ints + 4), (std::vector<int32_t> { 5000, 4000, 6000, 7000 }));
}

// Every syntax error reports its message and the whole reading gives nil.
TEST(TextNotation, Errors)
{
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        { "", "Malformed object representation: " },
        { "  ; only a comment", "Malformed object representation:   ; only a comment" },
        { "( list 1 2)", "Undefined constant: 'list' while parsing ( list 1 2)" },
        { "(list QEL_NIL)", "Undefined constant: 'Qel_nil' while parsing QEL_NIL)" },
        { "1e3", "Undefined constant: '1e3' while parsing 1e3" },
        { "()", "Undefined constant: ')' while parsing ()" },
        { "\"ab\\xg1\"", "Bad character code in string: \\xg1" },
        { "\"ab\\q\"", "Invalid string escape code: '\\q'" },
        { "\"abc", "Unterminated string constant: abc" },
        { "\"abc\\", "Unterminated string constant: abc\\" },
        { "\"abc\\x4", "Unterminated string constant: abc\\x4" },
        { "(list 1 2", "Unterminated list:  1 2" },
        { "(table (\"a\" 1)", "Unterminated table (\"a\" 1)" },
        { "(table (\"a\" 1 2", "Unterminated table (\"a\" 1 2" },
        { "(table x)", "Bad table syntax:  x)" },
        { "(point 1 2 3)", "Cannot read point (two INTS expected) (intlist 1 2 3)" },
        { "(rect 1 2 3)", "Cannot read rectangle (four INTS expected) (intlist 1 2 3)" },
        { "(rgb 1 2)", "Cannot read color spec (expecting list of 3 INTs): (intlist 1 2)" },
        { "(intlist (list))", "Bad type for argument 1 of qelIntValue(numberOrString)." },
        { "(font \"Arial\")", "Cannot read font name (string expected): (list Arial)" },
        { "(font \"Arial\" 1 (list))", "Bad font spec: (list Arial 1 (list))" },
        { "(reference \"a\" \"b\")", "Malformed object representation: (reference \"a\" \"b\")" },
        { "(reference 1)", "Reference argument must be a string: (reference 1)" },
        { "(image 1)", "Image argument must be a string: (image 1)" },
        { "(textfile 1)", "File argument must be a string: (textfile 1)" },
        { "(soundfile 1)", "Sound argument must be a string: (soundfile 1)" },
        { "(date (\"Month\" 1))", "Date must specify a year: (table (Month 1))" },
        { "(region 1)", "Malformed object representation: (region 1)" },
    };
    for (const Case& c : cases) {
        ErrorRecorder errors;
        EXPECT_TRUE(read(c.text).isNil()) << c.text;
        ASSERT_EQ(errors.messages.size(), 1u) << c.text;
        EXPECT_EQ(errors.messages[0], c.message) << c.text;
    }
    // Nesting far past any real content is refused, not followed down the stack.
    ErrorRecorder errors;
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "(1 ";
    EXPECT_TRUE(read(deep).isNil());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0].rfind("Malformed object representation: ", 0), 0u);
}

TEST(TextNotation, ArgumentsAndConstants)
{
    ErrorRecorder errors;
    EXPECT_TRUE(qelDecodeString(qelMakeInt(1), qelTextConstants()).isNil());
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "Bad type for argument 1 of qelDecodeString(stringOrBuf).");
    // A buffer's used bytes are read even without a NUL after them.
    qelValue buffer = qelBufferFromMemory(const_cast<char*>("(list 7 8)9999"), 10, 1);
    EXPECT_EQ(printed(qelDecodeText(buffer)), "(list 7 8)");
    // A caller's constants table.
    qelValue constants = qelTable(4, 100, 75);
    qelEncodingAccess::put(constants, qelStringValue("seven"), qelMakeInt(7));
    EXPECT_EQ(printed(qelDecodeString(qelStringValue("(SEVEN 8)"), constants)), "(list 7 8)");
}

// What the writer prints with quoting reads back as the same value.
TEST(TextNotation, QuotedPrintReadsBack)
{
    const char* text = "(table (\"Class\" \"Main\") (\"Items\" (list 1 -300 70000 2.5 true false \"\\x01\\xe9\\\"\\\\\""
                       " (intlist 1 2 3) (list))) (\"Font\" (font \"Arial\" 12 bold))"
                       " (\"Rect\" (rect 1 2 3 4)) (\"Poly\" (region (1 1) (5 1) (3 7)))"
                       " (\"Sub\" (form (\"Class\" \"Button\") (\"Name\" \"B\"))) (7 (table (\"x\" (control)))))";
    qelValue value = read(text);
    ASSERT_FALSE(value.isNil());
    qelValue again = qelDecodeText(qelPrintValue(value, 1));
    EXPECT_TRUE(valueTreeEqual(value, again)) << qelCString(qelPrintValue(value, 1));
}

} // namespace
