// The media screens' arithmetic as tables: pictures placed and cut between the band and the
// bottom limit, rich texts fitted by their width and height prefixes, the band's short name,
// and the item dialog's thumbnail sizes.

#include "app/reference/MediaLayout.h"
#include "framework/runtime/StringObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace medialayout;

TEST(MediaLayout, PicturesAreCentredAndCutToTheRoom)
{
    struct Case {
        int32_t w, h, minLeft, minTop;
        int32_t x, y, height;
        bool cut;
        int32_t cutTop;
    } cases[] = {
        // A photograph 300 wide is centred at 170; 640 wide sits at minLeft 0.
        { 300, 200, 0, 24, 170, 138, 200, false, 0 },
        { 640, 400, 0, 24, 0, 38, 400, false, 0 },
        // Never left of minLeft.
        { 640, 100, 20, 61, 20, 207, 100, false, 0 },
        // Taller than 453 - 24 = 429: cut to 429 around its middle, at minTop.
        { 400, 500, 0, 24, 120, 24, 429, true, 35 },
        // The map's box with the defaults: one row too tall.
        { 414, 393, 0, 61, 113, 61, 392, true, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        PicturePlace p = placePicture(c.w, c.h, c.minLeft, c.minTop, 453);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.cut, c.cut);
        if (c.cut)
            EXPECT_EQ(p.cutTop, c.cutTop);
    }
}

TEST(MediaLayout, TextsFitTheirPrefixes)
{
    UiFixture ui;
    struct Case {
        const char* text;
        int32_t top, tableMinLeft;
        bool fitted;
        int32_t x, y, w, h;
        const char* rest;
    } cases[] = {
        // The control's spot is (20, 100, 600, 200); lines are 16 high; bottom 453.
        { "{\\width 10}{\\b Rios}", 0, 7, true, 120, 100, 400, 200, "{\\b Rios}" },
        { "{\\width 10}x", 0, 130, true, 130, 100, 380, 200, "x" },
        { "{\\height 3}x", 150, 7, true, 20, 150, 600, 49, "x" },
        { "{\\width 10}{\\height 3}x", 0, 7, true, 120, 100, 400, 49, "x" },
        // Six digits put the "}" at 14: the prefix goes, the width stays.
        { "{\\width 123456}x", 0, 7, true, 20, 100, 600, 200, "x" },
        // Past the bottom limit: whole lines down to it, plus one pixel.
        { "{\\b x}", 300, 7, true, 20, 300, 600, 145, "{\\b x}" },
        // Empty or plain text: left where it is, ending at top.
        { "", 120, 7, false, 0, 0, 0, 0, "" },
        { "plain", 120, 7, false, 0, 0, 0, 0, "plain" },
        // A prefix without its "}" is text.
        { "{\\width 10", 0, 7, true, 20, 100, 600, 200, "{\\width 10" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextPlace p = fitText(qelValue(c.text), 20, 100, 600, 200, c.top, 16, 453, c.tableMinLeft);
        EXPECT_EQ(p.fitted, c.fitted);
        EXPECT_STREQ(qelCString(p.text), c.rest);
        if (!c.fitted)
            continue;
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.w, c.w);
        EXPECT_EQ(p.h, c.h);
    }
}

TEST(MediaLayout, ShortNamesAndThumbnails)
{
    UiFixture ui;
    EXPECT_STREQ(qelCString(shortName(qelValue("Brasil, mapa pol\xEDtico"))), "Brasil");
    EXPECT_STREQ(qelCString(shortName(qelValue(", Brasil"))), ", Brasil");
    EXPECT_STREQ(qelCString(shortName(qelValue("Arara"))), "Arara");

    struct Case {
        int32_t w, h, maxW, maxH, outW, outH;
    } cases[] = {
        { 200, 100, 120, 90, 120, 60 },
        { 100, 200, 120, 90, 45, 90 },
        { 0, 100, 120, 90, 0, 0 },
        { 100, 0, 120, 90, 0, 0 },
    };
    for (const Case& c : cases) {
        int32_t w = -1;
        int32_t h = -1;
        thumbnailSize(c.w, c.h, c.maxW, c.maxH, &w, &h);
        EXPECT_EQ(w, c.outW) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.outH) << c.w << "x" << c.h;
    }
}
