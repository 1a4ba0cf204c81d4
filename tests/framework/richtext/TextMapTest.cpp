#include "framework/richtext/TextMap.h"
#include "framework/display/DisplayMakers.h"
#include "framework/display/Geometry.h"
#include "framework/richtext/TextLayout.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/ValuePrinter.h"
#include "tests/framework/richtext/RichTextSupport.h"
#include "tests/framework/runtime/ErrorRecorder.h"

#include <gtest/gtest.h>

using namespace richtext_test;

namespace {

qelValue hotArea(int32_t x, int32_t y, int32_t w, int32_t h, const char* target)
{
    return qelListOf({ qelRectValue(x, y, w, h), qelValue(target) });
}

} // namespace

TEST(TextMap, RoundTripThroughTheEncoding)
{
    qelInstallDisplayMakers();
    qelInstallTextMapMaker();
    useTestFont();
    qelValue parsed = parse("Um {\\uldb elo}!\\{jump:Elo\\} e \\'e9\\page fim");
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
    qelPut(request, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
    qelValue laidOut = qelLayoutText(request, qelRectValue(0, 0, 400, 300));
    qelValue map = qelTextMapValue(400, 300, qelGet(laidOut, qelValue("Fonts")), qelGet(laidOut, qelValue("Pages")));

    qelValue stream = qelNewMemoryStream(nullptr, 0);
    ASSERT_TRUE(qelEncode(stream, map));
    qelStreamSeek(stream, qelValue(0));
    qelValue back = qelDecode(stream);
    ASSERT_NE(qelTextMapOf(back), nullptr);
    EXPECT_EQ(qelWidth(back), 400);
    EXPECT_EQ(qelHeight(back), 300);
    EXPECT_EQ(qelTextMapPageCount(back), 2);
    EXPECT_STREQ(qelCString(qelPrintValue(qelTextMapOf(back)->first, 1)),
        qelCString(qelPrintValue(qelTextMapOf(map)->first, 1)));
    EXPECT_STREQ(qelCString(qelPrintValue(qelTextMapOf(back)->second, 1)),
        qelCString(qelPrintValue(qelTextMapOf(map)->second, 1)));
    EXPECT_EQ(describe(qelHitTextMap(qelTextMapPageHotAreas(back, 0), 20, 5)), "\"jump:Elo\"");
    qelSetFontProvider(nullptr);
    qelResetMakers();
}

TEST(TextMap, PagesAndHits)
{
    ErrorRecorder errors;
    qelValue empty = qelTextMapValue(10, 20, qelNil, qelMakeList(4, 100, QEL_GENERAL_LIST));
    EXPECT_EQ(qelTextMapPageCount(empty), 0);
    EXPECT_TRUE(qelTextMapPageRuns(empty, 0).isNil());
    EXPECT_EQ(errors.messages.size(), 1u);

    qelValue runs
        = qelListOf({ qelListOf({ qelValue(0), qelValue(0), qelValue("x"), qelValue(0), qelValue(1), qelValue(-1) }) });
    qelValue hot = qelListOf({ hotArea(0, 0, 10, 10, "first"), hotArea(5, 5, 10, 10, "second") });
    qelValue map = qelTextMapValue(10, 20, qelNil, qelListOf({ qelListOf({ runs, hot }) }));
    EXPECT_EQ(qelTextMapPageCount(map), 1);
    EXPECT_TRUE(qelTextMapPageRuns(map, 0) == runs);
    EXPECT_TRUE(qelTextMapPageHotAreas(map, 0) == hot);

    struct Hit {
        int32_t x, y;
        const char* target;
    };
    // The earlier of two overlapping areas wins; the right and bottom edges belong to the area.
    const Hit hits[] = { { 7, 7, "\"first\"" }, { 10, 10, "\"first\"" }, { 11, 10, "\"second\"" },
        { 15, 15, "\"second\"" }, { 16, 15, "nil" }, { -1, 0, "nil" } };
    for (const Hit& h : hits)
        EXPECT_EQ(describe(qelHitTextMap(hot, h.x, h.y)), h.target) << h.x << "," << h.y;
    EXPECT_TRUE(qelHitTextMap(qelNil, 1, 1).isNil());
}
