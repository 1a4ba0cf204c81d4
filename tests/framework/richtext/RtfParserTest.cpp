#include "framework/richtext/RtfParser.h"
#include "framework/richtext/PlainText.h"
#include "tests/framework/richtext/RichTextSupport.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace richtext_test;

namespace {

std::string fontsOf(const qelValue& result)
{
    qelValue fonts = qelGet(result, qelValue("ListFonts"));
    std::string out;
    for (int32_t i = 0; i < qelCount(fonts); ++i) {
        qelValue f = qelGet(fonts, i);
        out += (i ? ", " : "") + std::string(qelCString(qelFontName(f))) + " " + std::to_string(qelFontSize(f)) + " "
            + std::to_string(qelFontStyle(f));
    }
    return out;
}

struct ParseCase {
    const char* text;
    const char* items;
    const char* fonts; // null: not checked
};

} // namespace

TEST(RtfParser, ItemsOfTheSubset)
{
    const ParseCase cases[] = {
        { "abc", "[1 0 1 -1 0] [2 \"abc\"]", "Arial 10 0" },
        // The plain font is listed at the brace, the bold one at the closing brace.
        { "{\\b x}", "[1 1 1 -1 0] [2 \"x\"]", "Arial 10 0, Arial 10 2" },
        { "\\b0 x", "[1 0 1 -1 0] [2 \"x\"]", "Arial 10 0" },
        // Words are known by their first letters: \bold is \b followed by the text "old".
        { "\\bold", "[1 1 1 -1 0] [2 \"old\"]", "Arial 10 0, Arial 10 2" },
        { "\\i x\\i0 y", "[1 1 1 -1 0] [2 \"x\"] [1 0 1 -1 0] [2 \"y\"]", "Arial 10 0, Arial 10 1" },
        { "\\ul x\\ul0 y", "[1 1 1 -1 0] [2 \"x\"] [1 0 1 -1 0] [2 \"y\"]", "Arial 10 0, Arial 10 4" },
        { "\\'e9", "[1 0 1 -1 0] [4 233]", nullptr },
        // Upper-case digits read the same, and the character takes no optional space.
        { "\\'E9 x", "[1 0 1 -1 0] [4 233] [1 0 1 -1 0] [2 \" x\"]", nullptr },
        { "\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote",
            "[1 0 1 -1 0] [2 \"\\x97\\x96\\x95\\x91\\x92\\x93\\x94\"]", nullptr },
        { "\\bullet\\tab", "[1 0 1 -1 0] [2 \"\\x95\"] 9", nullptr },
        { "\\fs24 x", "[1 1 1 -1 0] [2 \"x\"]", "Arial 10 0, Arial 12 0" },
        { "\\fs7 x", "[1 1 1 -1 0] [2 \"x\"]", "Arial 10 0, Arial 3 0" },
        // A size that does not start with a digit changes nothing (its first character is eaten).
        { "\\fs x", "[1 0 1 -1 0] [2 \"x\"]", "Arial 10 0" },
        { "\\tqr\\tx5000", "[15 5000]", nullptr },
        { "\\tx5000", "[14 5000]", nullptr },
        { "\\fi-200\\li400 x", "[18 -200] [19 400] [1 0 1 -1 0] [2 \"x\"]", nullptr },
        { "\\box2 x", "[22 2] [1 0 1 -1 0] [2 \"x\"]", nullptr },
        { "a\\par b\\page c\\pard d",
            "[1 0 1 -1 0] [2 \"a\"] 5 [1 0 1 -1 0] [2 \"b\"] 3 [1 0 1 -1 0] [2 \"c\"] 16 [1 0 1 -1 0] [2 \"d\"]",
            nullptr },
        // Alignment words leave collected text in the buffer; the alignment rides on font items.
        { "\\qc Title", "6 [1 0 1 -1 1] [2 \"Title\"]", nullptr },
        { "ab\\qr cd", "8 [1 0 1 -1 2] [2 \"abcd\"]", nullptr },
        // Line breaks are invisible, inside words too.
        { "a\\p\r\nar b\nc", "[1 0 1 -1 0] [2 \"a\"] 5 [1 0 1 -1 0] [2 \"bc\"]", nullptr },
        { "{\\uldb word}!\\{jump:Word\\}", "[12 \"word\" \"jump:Word\"]", "Arial 10 0, Arial 10 8" },
        { "{\\uldb word}! next", "[12 \"word\" \"\"] [1 0 1 -1 0] [2 \"next\"]", nullptr },
        { "{\\uldb word}!x", "[12 \"word\" \"word\"] [1 0 1 -1 0] [2 \"x\"]", nullptr },
        // Everything up to the "!" after a link is swallowed.
        { "{\\uldb a}lost! b", "[12 \"a\" \"\"] [1 0 1 -1 0] [2 \"b\"]", nullptr },
        { "{\\uldb marker}!\\{jump:Index\\} ", "[17 \"MARKER\" \"jump:Index\"] [1 0 1 -1 0] [2 \" \"]", nullptr },
        { "{\\strike abc}", "[20 \"abc\"]", nullptr },
        // Characters by code inside link and struck text stay in place in that text.
        { "{\\uldb Am\\'e9rica}!\\{x\\}{\\strike \\'c9 n\\'e3o}", "[12 \"Am\\xe9rica\" \"x\"] [20 \"\\xc9 n\\xe3o\"]",
            nullptr },
        { "{\\strike {\\uldb ab}!\\{t\\}}", "[21 \"ab\" \"t\"]", nullptr },
        { "{\\uldb \\{img flag.bmp\\}}!\\{open\\}", "[1 1 16711680 -1 0] [11 \"flag.bmp\"] [13 \"flag.bmp\" \"open\"]",
            nullptr },
        { "{bmc map.bmp;Map\\}x", "[1 0 1 -1 0] [10 \"map.bmp;Map\"] [1 0 1 -1 0] [2 \"x\"]", nullptr },
        // \uldb0 closes the hot text without a group.
        { "\\uldb go\\uldb0 !\\{t\\}", "[12 \"go\" \"t\"]", nullptr },
        // A trailing font item is never committed.
        { "{x}", "[1 0 1 -1 0] [2 \"x\"]", nullptr },
        { "{\\b x\\plain y}", "[1 1 1 -1 0] [2 \"x\"] [1 0 1 -1 0] [2 \"y\"]", nullptr },
        // Unmatched closing braces are ignored; open groups are dropped at the end.
        { "}}x{", "[1 0 1 -1 0] [2 \"x\"]", nullptr },
        // Unknown words are skipped; \{ \} and \\ skip nothing.
        { "{\\rtf1\\ansi\\deff0 x}", "[1 0 1 -1 0] [2 \"x\"]", nullptr },
        { "\\*\\generator y", "[1 0 1 -1 0] [2 \"y\"]", nullptr },
        { "\\u233 e\\uc1\\u244\\'f4", "[1 0 1 -1 0] [2 \"e\"] [4 244]", nullptr },
        { "{\\height 300}x{\\width 20}", "[1 0 1 -1 0] [2 \"x\"]", nullptr },
        { "\\line x\\sect y", "[1 0 1 -1 0] [2 \"xy\"]", nullptr },
        // A skipped word ends at a line break.
        { "\\loch\r\nword", "[1 0 1 -1 0] [2 \"word\"]", nullptr },
        { "a\tb", "[1 0 1 -1 0] [2 \"ab\"]", nullptr },
        // Numbers saturate instead of overflowing.
        { "\\li99999999999999 \\fi-99999999999", "[19 2147483647] [18 -2147483647]", nullptr },
        { "\\box99999999999", "[22 2147483647]", nullptr },
    };
    for (const ParseCase& c : cases) {
        ErrorRecorder errors;
        qelValue result = parse(c.text);
        EXPECT_EQ(describeItems(qelGet(result, qelValue("TextRuns"))), c.items) << c.text;
        if (c.fonts) {
            EXPECT_EQ(fontsOf(result), c.fonts) << c.text;
        }
        EXPECT_TRUE(errors.messages.empty()) << c.text;
    }
}

TEST(RtfParser, RequestKeysAndDefaults)
{
    ErrorRecorder errors;
    qelValue request = parseRequest("{\\b x}");
    qelPut(request, qelValue("ForeColor"), qelValue(7));
    qelPut(request, qelValue("BackColor"), qelValue(9));
    qelPut(request, qelValue("Align"), qelValue(2));
    qelPut(request, qelValue("HotStyle"), qelValue(2));
    qelPut(request, qelValue("HotColor"), qelValue(0x123));
    // Bold is the hot style: the bold text becomes a link.
    qelPut(request, qelValue("Buffer"), qelValue("{\\b word}!\\{t\\} y"));
    qelValue result = qelParseRTF(request);
    EXPECT_EQ(describeItems(qelGet(result, qelValue("TextRuns"))), "[12 \"word\" \"t\"] [1 0 7 9 2] [2 \" y\"]");

    // Without a "Font" the stock font is the base font; colours of the wrong type take defaults.
    qelValue plain = qelTable(4, 100, 75);
    qelPut(plain, qelValue("Type"), qelValue("RTF"));
    qelPut(plain, qelValue("Buffer"), qelValue("abc"));
    qelPut(plain, qelValue("ForeColor"), qelValue("red"));
    result = qelParseRTF(plain);
    EXPECT_EQ(describeItems(qelGet(result, qelValue("TextRuns"))), "[1 0 1 -1 0] [2 \"abc\"]");
    qelValue fonts = qelGet(result, qelValue("ListFonts"));
    ASSERT_EQ(qelCount(fonts), 1);
    EXPECT_TRUE(qelGet(fonts, 0) == qelDefaultFont());
    EXPECT_TRUE(errors.messages.empty());
}

TEST(RtfParser, Failures)
{
    ErrorRecorder errors;
    qelValue request = parseRequest("x");
    qelPut(request, qelValue("Type"), qelValue("TXT"));
    EXPECT_TRUE(qelParseRTF(request).isNil());
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), qelValue(5));
    EXPECT_TRUE(qelParseRTF(request).isNil());
    // A bad hex digit is reported; when the hook returns, it counts as 0.
    EXPECT_EQ(describeItems(qelGet(parse("\\'g1"), qelValue("TextRuns"))), "[1 0 1 -1 0] [4 1]");
    EXPECT_EQ(errors.messages,
        (std::vector<std::string> { "Invalid parse type: TXT", "Bad buffer or string passed to parseRTF::init()",
            "Bad hex character while parsing rtf" }));
}

TEST(RtfParser, TextsCutAnywhereStayInsideTheirBuffer)
{
    // Every prefix of a text using each construct, parsed from a buffer with no NUL after it:
    // the sanitizers catch any read past the end.
    const std::string text = "{\\uldb \\{img a.bmp\\}}!\\{open\\}{bmc b;c\\}\\'e9\\fs24\\box3\\tx100\\tqr\\tx5"
                             "{\\uldb w}!\\{t\\}{\\strike s}\\fi-2\\li3\\height 4}";
    ErrorRecorder errors;
    for (size_t n = 0; n <= text.size(); ++n) {
        qelValue result = parse(text.substr(0, n));
        ASSERT_EQ(qelGet(result, qelValue("TextRuns")).type(), QEL_LIST_TYPE) << n;
    }
    // "\'" cut after the quote or after one digit reads NUL digits, which are reported.
    EXPECT_FALSE(errors.messages.empty());
}

TEST(RtfParser, DeepNestingIsBounded)
{
    ErrorRecorder errors;
    std::string deep(qelMaximumRtfDepth + 500, '{');
    deep += "{\\b x}y";
    deep += std::string(qelMaximumRtfDepth + 500, '}');
    deep += "z";
    qelValue runs = qelGet(parse(deep), qelValue("TextRuns"));
    // The groups beyond the limit still pair their braces: the text after them is plain again.
    EXPECT_EQ(describeItems(runs), "[1 1 1 -1 0] [2 \"x\"] [1 0 1 -1 0] [2 \"y\"] [1 0 1 -1 0] [2 \"z\"]");
}

TEST(RtfParser, PlainTextRecovery)
{
    qelValue runs = qelGet(
        parse("Amaz\\'f4nia {\\uldb link}!\\{t\\} end\\par {\\strike old}\\tab x{bmc p.bmp\\}"), qelValue("TextRuns"));
    EXPECT_EQ(std::string(qelCString(qelPlainTextOfRuns(runs))), "Amaz\xf4nia link end\nold\tx");
}

TEST(RtfParser, TextsWrittenByOtherProgramsGiveTheirText)
{
    // Word-processor files with headers, tables, unicode escapes with fallbacks, nested groups
    // and \\* destinations: no error, and every sentence of the body comes out in order.
    struct File {
        const char* name;
        std::vector<std::string> sentences;
    };
    const File files[] = {
        { "WriterTable.rtf",
            { "Capitais da regi\xe3o Norte", "Amazonas", "Manaus", "Par\xe1", "Bel\xe9m", "Fim da tabela." } },
        { "NestedUnicode.rtf",
            { "Texto negrito e it\xe1lico sublinhado normal.\n", "Pre\xe7o: 10 \x80 ou mais", "um endere\xe7o\n",
                "Aspas \x93"
                "assim\x94 e \x91"
                "assim\x92.\n",
                "\x97 final\n" } },
        { "SimpleEditor.rtf",
            { "Ol\xe1, mundo!\n", "Segunda linha com negrito e it\xe1lico.\n", "\tRecuo com tabula\xe7\xe3o.\n" } },
    };
    for (const File& f : files) {
        std::ifstream in(std::string(QEL_TEST_DATA) + "/rtf/" + f.name, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << f.name;
        ErrorRecorder errors;
        std::string text = qelCString(qelPlainTextOfRuns(qelGet(parse(bytes), qelValue("TextRuns"))));
        EXPECT_TRUE(errors.messages.empty()) << f.name;
        size_t at = 0;
        for (const std::string& sentence : f.sentences) {
            size_t found = text.find(sentence, at);
            EXPECT_NE(found, std::string::npos) << f.name << ": " << sentence << "\n" << text;
            if (found != std::string::npos)
                at = found + sentence.size();
        }
    }
}
