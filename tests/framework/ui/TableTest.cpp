// The table control: rows laid out touching from the hot spot down at their own widths and
// fonts, the verbs that change them, the pressed row and the action of a completed click, and the
// screen put back when the rows go.

#include "ScreenProbe.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Perform.h"
#include "framework/ui/Table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Geometry {
    int32_t x, y, w, h;
    bool operator==(const Geometry&) const = default;
};

Geometry rectOf(const qelValue& region)
{
    return { qelLeft(region), qelTop(region), qelWidth(region), qelHeight(region) };
}

// Three rows over (50, 40, 120, 10): a short one, a long one that wraps at 120, one in a bigger
// font; actions "a", "b" and 3.
Table* make(qelValue& control)
{
    control = qelMakeControl(UiFixture::read(
        "(table (\"Class\" \"Table\") (\"Hot Spot\" (rect 50 40 120 10)) (\"Color\" 65280) (\"Rows\" (list"
        " (table (\"Value\" \"Acre\") (\"Action\" \"a\"))"
        " (table (\"Value\" \"Mato Grosso do Sul, Campo Grande\") (\"Action\" \"b\"))"
        " (table (\"Value\" \"Bahia\") (\"Font\" (font \"Arial\" 24 0)) (\"Action\" 3)))))"));
    return dynamic_cast<Table*>(qelControlOf(control));
}

qelValue row(const qelValue& control, int32_t i)
{
    return qelPerform(control, "getRow", qelValue(i));
}

int32_t lineHeight(const qelValue& font)
{
    int32_t w = 0, h = 0;
    qelMeasureString("Acre", font, &w, &h);
    return h;
}

// Whether any pixel of the box has the colour.
bool anyPixel(UiFixture& ui, Geometry g, uint32_t pixel)
{
    for (int32_t y = g.y; y < g.y + g.h; ++y)
        for (int32_t x = g.x; x < g.x + g.w; ++x)
            if ((ui.pixel(x, y) & 0xFFFFFF) == pixel)
                return true;
    return false;
}

} // namespace

TEST(Table, RowsTouchFromTheHotSpotDownAtTheirOwnHeights)
{
    UiFixture ui;
    qelValue control;
    Table* table = make(control);
    ASSERT_NE(table, nullptr);
    qelPut(row(control, 0), "NoWrap", qelTrue);
    qelPut(row(control, 0), "Value", "Acre, Rio Branco, Acre, Rio Branco, Acre, Rio Branco");
    table->draw();
    int32_t small = lineHeight(qelDefaultFont());
    int32_t big = lineHeight(qelFontValue("Arial", 24, 0));
    int32_t wrapped = 120, wrappedHeight = 0;
    qelDrawTextMeasure(qelGet(row(control, 1), "Value"), qelDefaultFont(), &wrapped, &wrappedHeight);
    ASSERT_GT(wrappedHeight, small);
    // A row that does not wrap keeps its width and the height of one line.
    EXPECT_EQ(rectOf(qelGet(row(control, 0), "Rect")), (Geometry { 50, 40, 120, small }));
    EXPECT_EQ(rectOf(qelGet(row(control, 1), "Rect")), (Geometry { 50, 40 + small, 120, wrappedHeight }));
    EXPECT_EQ(rectOf(qelGet(row(control, 2), "Rect")), (Geometry { 50, 40 + small + wrappedHeight, 120, big }));
    EXPECT_EQ(rectOf(qelGet(control, "Hot Spot")), (Geometry { 50, 40, 120, small + wrappedHeight + big }));
    EXPECT_EQ(qelGet(control, "Disabled"), qelFalse);
    // Regions hold their edges: the shared edge belongs to the upper row.
    EXPECT_EQ(table->rowAt(60, 40 + small), 0);
    EXPECT_EQ(table->rowAt(60, 41 + small), 1);
    EXPECT_EQ(table->rowAt(49, 41), -1);
    EXPECT_TRUE(anyPixel(ui, { 50, 40, 120, small }, 0x00FF00));
}

TEST(Table, ARowThatDoesNotWrapIsDrawnOnOneLine)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue control = qelMakeControl(UiFixture::read(
        "(table (\"Class\" \"Table\") (\"Hot Spot\" (rect 50 40 60 10)) (\"Color\" 65280) (\"Rows\" (list"
        " (table (\"Value\" \"Mato Grosso do Sul: Campo Grande\") (\"NoWrap\" true)))))"));
    dynamic_cast<Table*>(qelControlOf(control))->draw();
    int32_t small = lineHeight(qelDefaultFont());
    EXPECT_TRUE(anyPixel(ui, { 50, 40, 60, small }, 0x00FF00));
    // Nothing below the row's one line.
    EXPECT_FALSE(anyPixel(ui, { 40, 40 + small, 200, 3 * small }, 0x00FF00));
}

TEST(Table, VerbsChangeRowsAndMarkTheLayout)
{
    UiFixture ui;
    qelValue control;
    Table* table = make(control);
    table->draw();
    Geometry first = rectOf(qelGet(row(control, 0), "Rect"));
    // Colour and alignment do not move rows.
    qelPerform(control, "setColor", UiFixture::read("(table (\"Row\" 2) (\"Color\" 255))"));
    qelPerform(control, "setAlign", UiFixture::read("(table (\"Row\" 1) (\"Align\" 2))"));
    EXPECT_EQ(table->needsLayout, 0);
    EXPECT_EQ(qelGet(row(control, 2), "Color"), qelValue(255));
    EXPECT_EQ(qelGet(row(control, 0), "Color"), qelNil);
    // An alignment stored as a number keeps its meaning.
    EXPECT_EQ(Table::alignmentOf(row(control, 1), 0), 2);
    EXPECT_EQ(Table::alignmentOf(UiFixture::read("(table (\"Align\" \"Center\"))"), 2), 1);
    EXPECT_EQ(Table::alignmentOf(UiFixture::read("(table (\"Align\" 7))"), 2), 0);
    // The hot spot's width is the width of every row without its own.
    qelPerform(control, "setWidth", UiFixture::read("(table (\"Width\" 300))"));
    EXPECT_EQ(table->needsLayout, 1);
    table->draw();
    EXPECT_EQ(rectOf(qelGet(row(control, 0), "Rect")).w, 300);
    EXPECT_EQ(rectOf(qelGet(row(control, 0), "Rect")).h, first.h);
    qelPerform(control, "setValue", UiFixture::read("(table (\"Row\" \"1\") (\"Value\" \"Goi\xE1s\"))"));
    EXPECT_EQ(qelGet(row(control, 1), "Value"), "Goi\xE1s");
    // The same row object twice: deleting it removes both.
    qelValue twice = row(control, 0);
    qelPerform(control, "addRow", twice);
    qelPerform(control, "deleteRow", qelValue(0));
    EXPECT_EQ(qelCount(qelGet(control, "Rows")), 2);
    qelPerform(control, "setRow", UiFixture::read("(table (\"Row\" -1) (\"Value\" (table (\"Value\" \"Par\xE1\"))))"));
    EXPECT_EQ(qelCount(qelGet(control, "Rows")), 3);
    // "Rows" that are not a list are replaced by a list when a row is added.
    qelPut(control, "Rows", qelValue(5));
    qelPerform(control, "addRow", UiFixture::read("(table (\"Value\" \"Piau\xED\"))"));
    EXPECT_EQ(qelCount(qelGet(control, "Rows")), 1);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(Table, RemovingEveryRowPutsTheScreenBackAndDisablesTheTable)
{
    UiFixture ui;
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    qelValue control;
    Table* table = make(control);
    table->draw();
    EXPECT_NE(firstDifference(screenCopy(ui), before), "");
    qelPerform(control, "removeAllRows", qelNil);
    table->draw();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    EXPECT_EQ(qelGet(control, "Disabled"), qelTrue);
    EXPECT_EQ(table->track(60, 42, 0, 1), 0);
    // Drawing an empty table again does nothing more.
    table->draw();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

TEST(Table, AClickEndingOnItsRowGivesThatRowsAction)
{
    struct Case {
        const char* script;
        int32_t returned;
        const char* action; // nil when the earlier action stays
    } cases[] = {
        { "down 60 42\nup 60 42\n", 1, "a" },
        // Off the table and back onto the pressed row.
        { "down 60 42\nmove 400 400\nmove 61 42\nup 61 42\n", 1, "a" },
        // Onto the next row: no click.
        { "down 60 42\nmove 60 60\nup 60 60\n", 0, nullptr },
        // A press outside every row.
        { "down 20 20\nup 20 20\n", 0, nullptr },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        qelValue control;
        Table* table = make(control);
        table->draw();
        table->action = qelValue("earlier");
        qelEvent press;
        qelGetEvent(press, QEL_MOUSE_DOWN_EVENT, 1000);
        EXPECT_EQ(table->track(press.x, press.y, 0, 1), c.returned) << c.script;
        EXPECT_EQ(qelPerform(control, "getAction", qelNil), qelValue(c.action ? c.action : "earlier")) << c.script;
        EXPECT_EQ(table->pressedRow, -1);
    }
}
