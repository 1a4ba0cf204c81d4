// A photo view's caption laid out by a real text view (the box-glyph test font: characters 6
// pixels wide, lines 12 pixels apart): the panel grows a line at a time until the text view holds
// the caption on one page, the view lays the caption out in the panel's last rectangle, and the
// press that closes the panel puts the screen back.

#include "../ui/ScreenProbe.h"

#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Builtins.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Perform.h"
#include "framework/ui/PhotoView.h"

#include <gtest/gtest.h>

TEST(PhotoCaption, ThePanelGrowsUntilTheTextViewHoldsTheCaption)
{
    UiFixture ui("wait 100\ndown 5 5\nup 5 5\n");
    qelInstallTextMapMaker();
    paintPattern(ui);
    qelValue view = qelControlValue(
        new TextView(UiFixture::read("(table (\"Class\" \"TextView\") (\"Hot Spot\" (rect 0 0 10 10)))")));
    qelValue control = qelMakeControl(UiFixture::read(
        "(table (\"Class\" \"PhotoView\") (\"Hot Spot\" (rect 100 90 120 90)) (\"X\" 100) (\"Y\" 90))"));
    auto* photo = dynamic_cast<PhotoView*>(qelControlOf(control));
    ASSERT_NE(photo, nullptr);
    photo->initialize();
    // Ten words of five letters: five to a line of the panel's 186-pixel text rectangle.
    qelPut(control, "Caption", "aaaaa bbbbb ccccc ddddd eeeee fffff ggggg hhhhh iiiii jjjjj");
    qelPut(control, "CaptionView", view);
    qelPerform(control, "SetPhoto", solidImage(120, 90, 0x00FF00));
    photo->draw();
    std::vector<uint32_t> before = screenCopy(ui);

    EXPECT_EQ(photo->track(110, 100, 0, 1), 0);
    // The panel at two thirds of the photo's area, 200 wide. The text view wraps its text in a
    // group that starts with an empty paragraph, so the two lines of caption take three lines of
    // 12 pixels; the panel grows by the caption's measured line height from two of them until its
    // text rectangle (12 pixels less) holds those.
    int32_t x = 100 + 120 - 40, y = 90 + 90 - 30;
    int32_t textWidth = 0, lineHeight = 0;
    qelMeasureString(qelGet(control, "Caption"), qelNil, &textWidth, &lineHeight);
    int32_t panelHeight = 2 * lineHeight;
    while (panelHeight - 12 < 3 * 12)
        panelHeight += lineHeight;
    qelValue region = qelGet(view, "TextRegion");
    EXPECT_EQ(qelLeft(region), x + 8);
    EXPECT_EQ(qelTop(region), y + 6);
    EXPECT_EQ(qelWidth(region), 200 - 14);
    EXPECT_EQ(qelHeight(region), panelHeight - 12);
    EXPECT_EQ(qelIntValue(qelPerform(view, "TotalPages", qelNil)), 1);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}
