// The result table's column drawn over a headless window: the rows below the heading band,
// odd records striped whatever the first row shown, rows stopping at the frame, the separator
// line, and the geometry scaled by the heading picture.

#include "app/atlas/database/DBTableLayout.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

namespace {

// Green in the framework's colour values and as the surface holds it.
constexpr int32_t stripe = 0x00FF00;
constexpr int frameX = 10, frameY = 10, frameW = 100, frameH = 120;

qelValue states(int count)
{
    qelValue records = qelMakeList(8, 100, QEL_GENERAL_LIST);
    for (int i = 0; i < count; ++i)
        qelAddItem(records, qelListOf({ "x", "x", qelMakeInt(1000 + i), qelMakeFloat(2.5f), qelMakeInt(5000 * (i + 1)) }));
    return records;
}

} // namespace

TEST(DBTableLayout, OddRecordsAreStripedAndRowsStopAtTheFrame)
{
    UiFixture ui;
    DBTableLayout layout;
    layout.setup(states(40), 1, 1, stripe, 0);
    ASSERT_GT(layout.rowHeight(), 0);
    EXPECT_EQ(layout.headingHeight(), 53);
    layout.setRect(qelRectValue(frameX, frameY, frameW, frameH));
    layout.setHeading(4, "None", qelNil);
    EXPECT_EQ(layout.columnField(), 4);

    for (int first : { 0, 1 }) {
        layout.setFirstRow(first);
        qelRectangle(0, 0, 200, 200, 0xFFFFFF);
        layout.drawColumn();
        int top = frameY + 53 + 2;
        int h = layout.rowHeight();
        // The left edge of each cell holds no text (the figures are right-aligned).
        for (int row = 0; top + row * h < frameY + frameH; ++row) {
            bool odd = (first + row) % 2 == 1;
            int y = top + row * h + h / 2;
            if (y >= frameY + frameH)
                break;
            EXPECT_EQ(ui.pixel(frameX + 3, y) & 0xFFFFFF, odd ? 0x00FF00u : 0xFFFFFFu) << "first " << first << " row " << row;
        }
        // Nothing below the frame; the separator line at its right edge.
        EXPECT_EQ(ui.pixel(frameX + 3, frameY + frameH + 2) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_NE(ui.pixel(frameX + frameW - 1, frameY + 5) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(ui.pixel(frameX + frameW + 1, frameY + 5) & 0xFFFFFF, 0xFFFFFFu);
    }
}

TEST(DBTableLayout, RowsStopAtTheLastRecordAndPrintModeDrawsNoHeading)
{
    UiFixture ui;
    DBTableLayout layout;
    layout.setup(states(2), 1, 2, stripe, 1);
    layout.setRect(qelRectValue(frameX, frameY, frameW, frameH));
    layout.setHeading(4, "None", qelNil);
    qelRectangle(0, 0, 200, 200, 0xFFFFFF);
    layout.drawColumn();
    int top = frameY + 53 + 2;
    int h = layout.rowHeight();
    EXPECT_EQ(ui.pixel(frameX + 3, top + h + 1) & 0xFFFFFF, 0x00FF00u) << "the second record, striped";
    EXPECT_EQ(ui.pixel(frameX + 3, top + 2 * h + 1) & 0xFFFFFF, 0xFFFFFFu) << "no third record";
}

TEST(DBTableLayout, TheCurrentFieldKeepsItsHeadingAndAFieldPastTheDatabaseLoadsNone)
{
    UiFixture ui;
    DBTableLayout layout;
    layout.setup(states(1), 1, 1, stripe, 0);
    layout.setHeading(4, "None", "Popula\xE7\xE3o");
    layout.setHeading(4, "None", "outro");
    EXPECT_EQ(std::string(qelCString(layout.headingText())), "Popula\xE7\xE3o");
    layout.setHeading(60, "None", "fora");
    EXPECT_EQ(layout.columnField(), 60);
    EXPECT_EQ(std::string(qelCString(layout.headingText())), "Popula\xE7\xE3o");
    // Without a heading picture the scaled sizes keep the band.
    EXPECT_EQ(layout.scaledWidth(150), 0);
    EXPECT_EQ(layout.scaledHeight(150), 53);
}
