// The almanac's list and combo controls drawn into the headless window's offscreen buffer: the
// database list box's names, type-ahead and kinds, the tabbed list's columns, the marked rows of
// the combo box and of the record list boxes, and their colours (0x00BBGGRR: 0xFF0000 is blue).

#include "app/shell/DBLists.h"
#include "app/shell/MultiTypeListBox.h"
#include "app/shell/PQListBox.h"
#include "app/shell/TabbedListBox.h"
#include "app/shell/VLComboBox.h"
#include "app/shell/VLListBox.h"

#include "../../framework/ui/ScreenProbe.h"
#include "ShellDisk.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace shelltest;

namespace {

constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t blue = 0xFF0000;
// The screen under the boxes: the list box shows it behind its rows.
constexpr uint32_t green = 0x00FF00;

// The colour of a screen pixel as the drawing calls name colours (0x00BBGGRR).
uint32_t colourAt(UiFixture& ui, int x, int y)
{
    uint32_t p = ui.pixel(x, y) & 0xFFFFFF;
    return (p & 0xFF) << 16 | (p & 0xFF00) | (p >> 16 & 0xFF);
}

template<typename T> T* make(qelValue& holder, const qelValue& data)
{
    T* box = new T(data);
    holder = qelControlValue(box);
    return box;
}

// Test-font rows are 10 pixels (a glyph box 5 wide and 8 tall); the box (10, 10, 100, 50) draws
// row n's text at (12, 10 + 10n).
qelValue listData(const char* extra = "")
{
    return UiFixture::read((std::string("(table (\"Hot Spot\" (rect 10 10 100 50)) (\"BackgroundColor\" 16777215) ")
        + extra + ")")
                               .c_str());
}

// The shell disk with the window of the ui tests: the disk's settings go to the program's
// environment, and the entries' and the atlas's name lists hold names to search.
class ListDisk : public ShellDisk {
protected:
    void SetUp() override
    {
        ShellDisk::SetUp();
        ui = std::make_unique<UiFixture>();
        ui->environment->setSetting("SourceDisk", root.string().c_str());
        ui->environment->setSetting("MediaPath", "Media");
        // Written afresh over the shell disk's own.
        fs::remove(media / "VDBNList.IDX");
        fs::remove(media / "ATNamLst.IDX");
        writeIndex(media / "VDBNList.IDX",
            { { qelMakeInt(1), "Amazonas" }, { qelMakeInt(2), "Bahia" }, { qelMakeInt(3), "Bel\xE9m" },
                { qelMakeInt(4), "Acre" }, { qelMakeInt(5), "Cear\xE1" } });
        writeIndex(media / "ATNamLst.IDX", { { qelMakeInt(1), "Z\xE2mbia" }, { qelMakeInt(2), "Qu\xEAnia" } });
        ASSERT_EQ(DBLists::instance().open(), 1);
        ui->port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    }
    void TearDown() override
    {
        DBLists::instance().release();
        ui.reset();
        ShellDisk::TearDown();
    }

    // Entries 1..5 of kind 0 in a box with the given extra properties.
    VLListBox* entries(qelValue& holder, const char* extra = "")
    {
        qelValue data = listData((std::string("(\"dbID\" 0) (\"List\" (list 1 2 3 4 5)) ") + extra).c_str());
        VLListBox* box = make<VLListBox>(holder, data);
        qelPerform(holder, "Initialize", qelNil);
        return box;
    }

    std::unique_ptr<UiFixture> ui;
};

} // namespace

TEST_F(ListDisk, DatabaseListTypeAheadCyclesOverTheNames)
{
    qelValue holder;
    VLListBox* box = entries(holder);
    // Names: Amazonas, Bahia, Belém, Acre, Ceará. Each letter starts after the selection and
    // comes round to the selected item last.
    struct Case {
        int32_t from;
        int32_t key;
        int32_t selection;
    } cases[] = {
        { -1, 'a', 0 }, // no selection: item 0 can be chosen
        { 0, 'a', 3 },
        { 3, 'A', 0 },
        { 1, 'b', 2 },
        { 2, 'b', 1 },
        { 4, 'c', 4 }, // only the selected item's name: it stays selected
        { 1, 'z', 1 }, // no name: the list box's own search, over the keys, finds nothing
    };
    for (const Case& c : cases) {
        box->setSelection(c.from, 1, 0, 0);
        EXPECT_EQ(box->key(c.key, 0), 0) << char(c.key) << " from " << c.from;
        EXPECT_EQ(box->selection, c.selection) << char(c.key) << " from " << c.from;
    }
    EXPECT_TRUE(qelPerform(holder, "getSelectionStr", qelNil) == "Bahia");
    box->setSelection(-1, 1, 0, 0);
    EXPECT_TRUE(qelPerform(holder, "getSelectionStr", qelNil).isNil());

    // "SingleClickNotify" reports a found entry as handled.
    qelValue notifying;
    VLListBox* loud = entries(notifying, "(\"SingleClickNotify\" true)");
    EXPECT_EQ(loud->key('c', 0), 1);
    EXPECT_EQ(loud->selection, 4);

    // Fewer than two items: letters are not handled.
    qelValue single;
    VLListBox* lone = make<VLListBox>(single, listData("(\"dbID\" 0) (\"List\" (list 2))"));
    qelPerform(single, "Initialize", qelNil);
    EXPECT_EQ(lone->key('b', 0), 0);
    EXPECT_EQ(lone->selection, -1);
}

TEST_F(ListDisk, DatabaseListDrawsNamesAndSetsUpOnce)
{
    qelValue holder;
    VLListBox* box = entries(holder, "(\"SelectionColor\" 16711680) (\"TextColor\" 0)");
    box->setSelection(1, 1, 0, 0);
    box->draw();
    // Row 1 ("Bahia"): the blue bar from x 11, white text; row 0 black text on white.
    EXPECT_EQ(colourAt(*ui, 11, 25), blue);
    EXPECT_EQ(colourAt(*ui, 13, 23), white);
    EXPECT_EQ(colourAt(*ui, 13, 13), 0u);
    // "Bahia" is five characters; key "2" would have been one.
    EXPECT_EQ(colourAt(*ui, 13 + 4 * 6, 23), white);
    EXPECT_EQ(colourAt(*ui, 13 + 5 * 6, 23), blue);

    // A repeated "Initialize" keeps the selection and the kind; a new list is taken.
    qelPut(box->properties, "dbID", 4);
    qelPerform(holder, "Initialize", qelNil);
    EXPECT_EQ(box->selection, 1);
    EXPECT_EQ(box->m_kind, 0);
    qelPerform(holder, "setList", UiFixture::read("(list 5 3)"));
    EXPECT_EQ(box->itemCount(), 2);
    EXPECT_TRUE(qelPerform(holder, "getSelectionStr", 0).isNil() == false);
    box->setSelection(0, 1, 0, 0);
    EXPECT_TRUE(qelPerform(holder, "getSelectionStr", qelNil) == "Cear\xE1");
}

TEST_F(ListDisk, TwoDatabaseListsOfDifferentKindsKeepTheirOwnNames)
{
    qelValue entryHolder;
    VLListBox* entryBox = entries(entryHolder);
    qelValue atlasHolder;
    // Below the entries: a list box shows the screen it was first drawn on behind its rows.
    qelValue atlasData = listData("(\"dbID\" 4) (\"List\" (list 1 2))");
    qelPut(atlasData, "Hot Spot", qelRectValue(10, 70, 100, 50));
    VLListBox* atlasBox = make<VLListBox>(atlasHolder, atlasData);
    qelPerform(atlasHolder, "Initialize", qelNil);
    // The atlas box was set up last and holds the current name list; the entries keep theirs.
    EXPECT_TRUE(entryBox->nameOf(qelMakeInt(1)) == "Amazonas");
    EXPECT_TRUE(atlasBox->nameOf(qelMakeInt(2)) == "Qu\xEAnia");
    EXPECT_EQ(entryBox->key('b', 0), 0);
    EXPECT_EQ(entryBox->selection, 1);
    EXPECT_EQ(atlasBox->key('q', 0), 0);
    EXPECT_EQ(atlasBox->selection, 1);
    // Drawn one after the other, each box's first row shows its own name: "Amazonas" is eight
    // glyphs, the atlas's "Zâmbia" six.
    auto glyphs = [&](VLListBox* box, int rowY) {
        box->setSelection(-1, 1, 0, 0);
        box->draw();
        int n = 0;
        while (n < 15 && colourAt(*ui, 13 + n * 6, rowY) == 1)
            ++n;
        return n;
    };
    EXPECT_EQ(glyphs(atlasBox, 73), 6);
    EXPECT_EQ(glyphs(entryBox, 13), 8);
    EXPECT_EQ(glyphs(atlasBox, 73), 6);
    // Destroying one clears the current name list; the other still reads its own.
    atlasHolder = qelNil;
    EXPECT_TRUE(DBLists::instance().nameListGet(5, qelMakeInt(7)) == "GNRNList: Geral");
    EXPECT_TRUE(entryBox->nameOf(qelMakeInt(3)) == "Bel\xE9m");
}

TEST(TabbedListBox, ColumnsSitAtTheTabStopsWithTheIndentAndTheSecondaryFont)
{
    UiFixture ui;
    ui.port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    qelValue data = listData("(\"TabList\" (list 10 40)) (\"TextColor\" 0) (\"List\" (list \"A\\t->B\" "
                             "(list \"C\\tD\\tE\") \"F\"))");
    qelPut(data, "2aryFont", qelFontValue("Arial", 12, qelFontUnderline));
    qelValue holder;
    TabbedListBox* box = make<TabbedListBox>(holder, data);
    box->draw();
    EXPECT_EQ(box->m_indent, 30);
    // Row 0: A at the first stop (10 + 2), B at the second moved by the indent (40 + 30 + 2).
    EXPECT_EQ(colourAt(ui, 13, 13), 0u);
    EXPECT_EQ(colourAt(ui, 43, 13), green);
    EXPECT_EQ(colourAt(ui, 73, 13), 0u);
    // Only B is underlined: the secondary font.
    auto underlined = [&](int x, int rowTop) {
        for (int y = rowTop + 8; y < rowTop + 10; ++y)
            if (colourAt(ui, x, y) == 0)
                return true;
        return false;
    };
    EXPECT_FALSE(underlined(13, 10));
    EXPECT_TRUE(underlined(73, 10));
    // Row 1: a list item's first element; three columns, two stops: E is not drawn.
    EXPECT_EQ(colourAt(ui, 13, 23), 0u);
    EXPECT_EQ(colourAt(ui, 43, 23), 0u);
    EXPECT_TRUE(underlined(43, 20));
    for (int x = 48; x < 110; ++x)
        ASSERT_EQ(colourAt(ui, x, 23), green) << x;

    // "Invade" with one column: F runs on to the row's width; a selected row takes the selection
    // colour (the framework default, cyan on this box).
    qelPut(data, "Invade", qelTrue);
    qelPut(data, "Ident", 10);
    qelPerform(holder, "Initialize", qelNil);
    box->setSelection(2, 1, 0, 0);
    box->draw();
    EXPECT_EQ(box->m_indent, 10);
    EXPECT_EQ(colourAt(ui, 11, 37), 0xFFFF00u);
    EXPECT_EQ(colourAt(ui, 13, 33), white);
}

TEST(VLComboBox, MarkedItemsLoseTheirStarsAndTakeTheMarkedColours)
{
    UiFixture ui;
    ui.port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    // Field (10, 10, 100, 12); the open list from y 23, rows of 10 from y 24 at x 11.
    qelValue data = UiFixture::read("(table (\"EditHotSpot\" (rect 10 10 100 12)) (\"BackgroundColor\" 16777215) "
                                    "(\"List\" (list \"Brasil\" \"**Chile\" \"*Peru\" \"**\")))");
    qelValue holder;
    VLComboBox* box = make<VLComboBox>(holder, data);
    box->setUp();
    box->highlight = 1;
    box->drawOpenList();
    // Row 1 highlighted and marked: fill in colour 1, text 0xFFFFFF. "Chile" is five characters.
    EXPECT_EQ(colourAt(ui, 12, 35), 1u);
    EXPECT_EQ(colourAt(ui, 14, 37), white);
    EXPECT_EQ(colourAt(ui, 14 + 4 * 6, 37), white);
    EXPECT_EQ(colourAt(ui, 14 + 5 * 6, 37), 1u);
    // Row 0 plain: blue text on the list's white. Row 2: one star is no mark ("*Peru", 5 glyphs).
    EXPECT_EQ(colourAt(ui, 14, 27), blue);
    EXPECT_EQ(colourAt(ui, 14, 47), blue);
    EXPECT_EQ(colourAt(ui, 14 + 4 * 6, 47), blue);
    // Row 3, the bare stars: an empty line.
    for (int x = 12; x < 100; ++x)
        ASSERT_EQ(colourAt(ui, x, 57), white) << x;

    // Row 3 highlighted: the marked selection colour over the whole row.
    box->highlight = 3;
    box->drawOpenList();
    EXPECT_EQ(colourAt(ui, 14, 57), 1u);
    // A marked row not highlighted: colour 1 text.
    EXPECT_EQ(colourAt(ui, 14, 37), 1u);
    // A plain row highlighted: blue fill, white text.
    box->highlight = 0;
    box->drawOpenList();
    EXPECT_EQ(colourAt(ui, 12, 25), blue);
    EXPECT_EQ(colourAt(ui, 14, 27), white);
    box->closeList();

    // Chosen, the closed box shows the name without stars in the normal colours; the verbs keep
    // the stars.
    qelPerform(holder, "setSelection", 1);
    box->draw();
    EXPECT_TRUE(qelPerform(holder, "getSelectionStr", qelNil) == "**Chile");
    EXPECT_EQ(colourAt(ui, 13, 13), blue);
    EXPECT_EQ(colourAt(ui, 13 + 4 * 6, 13), blue);
    EXPECT_EQ(colourAt(ui, 13 + 5 * 6, 13), white);
}

TEST(VLComboBox, ARowOnlyPartlyInTheOpenListStaysInsideIt)
{
    UiFixture ui;
    ui.port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    // Two rows' room (the list from y 23, 22 high, framed): the third row starts at y 44, just
    // above the list's bottom edge, and its text may not run on below the frame.
    qelValue data = UiFixture::read("(table (\"EditHotSpot\" (rect 10 10 100 12)) (\"BackgroundColor\" 16777215) "
                                    "(\"MaxItems\" 2) (\"List\" (list \"Brasil\" \"Chile\" \"**Peru\")))");
    qelValue holder;
    VLComboBox* box = make<VLComboBox>(holder, data);
    box->setUp();
    box->drawOpenList();
    EXPECT_EQ(colourAt(ui, 14, 37), blue);
    for (int y = 48; y < 56; ++y)
        ASSERT_EQ(colourAt(ui, 14, y), green) << y;
    box->closeList();
}

TEST(PQListBox, RecordRowsMarkedRowsAndColourDefaults)
{
    UiFixture ui;
    ui.port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    qelValue data = listData("(\"List\" (list (list \"Lisboa\" 1) (table (\"Name\" \"**Porto\")) \"Faro\" 7))");
    qelValue holder;
    PQListBox* box = make<PQListBox>(holder, data);
    box->draw();
    // Defaults: blue text; the marked row in colour 1 without its stars ("Porto", 5 glyphs).
    EXPECT_EQ(colourAt(ui, 13, 13), blue);
    EXPECT_EQ(colourAt(ui, 13, 23), 1u);
    EXPECT_EQ(colourAt(ui, 13 + 4 * 6, 23), 1u);
    EXPECT_EQ(colourAt(ui, 13 + 5 * 6, 23), green);
    EXPECT_EQ(colourAt(ui, 13, 43), blue);
    // Selected normal row: white on blue; selected marked row: white on colour 1.
    box->setSelection(0, 1, 0, 0);
    box->draw();
    EXPECT_EQ(colourAt(ui, 11, 15), blue);
    EXPECT_EQ(colourAt(ui, 13, 13), white);
    box->setSelection(1, 1, 0, 0);
    box->draw();
    EXPECT_EQ(colourAt(ui, 11, 25), 1u);
    EXPECT_EQ(colourAt(ui, 13, 23), white);

    // The multiple-selection box keeps the list box's colours: text 1, selection 0xFFFF00.
    qelValue multiData = listData("(\"List\" (list (list \"Lisboa\") (list \"**Porto\")))");
    qelValue multiHolder;
    PQMultiListBox* multi = make<PQMultiListBox>(multiHolder, multiData);
    multi->rebuild();
    multi->setSelection(0, 1, 0, 0);
    multi->draw();
    EXPECT_EQ(colourAt(ui, 11, 15), 0xFFFF00u);
    EXPECT_EQ(colourAt(ui, 13, 13), white);
    // Its rows are not marked: the stars show.
    EXPECT_EQ(colourAt(ui, 13 + 6 * 6, 23), 1u);
}

TEST(PQListBox, ScrollOffsetMovesTheScrollBarParts)
{
    UiFixture ui;
    struct Case {
        const char* offset;
        int32_t width;
        int32_t up[2];
        int32_t down[2];
        int32_t bar[3];
    } cases[] = {
        { "(list 0 0 0)", 99, { 90, 10 }, { 90, 50 }, { 90, 10, 50 } },
        { "(list 5 2 4)", 104, { 95, 12 }, { 95, 54 }, { 95, 12, 54 } },
        // Too short to use: nothing moves.
        { "(list 5 2)", 100, { 90, 10 }, { 90, 50 }, { 90, 10, 50 } },
    };
    for (const Case& c : cases) {
        qelValue data = listData("(\"UpArrowRegion\" (rect 90 10 10 10)) (\"DownArrowRegion\" (rect 90 50 10 10)) "
                                 "(\"ScrollbarHotSpot\" (rect 90 10 10 50))");
        qelPut(data, "Scroll Offset", UiFixture::read(c.offset));
        qelValue holder;
        PQListBox* box = make<PQListBox>(holder, data);
        box->rebuild();
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(box->width, c.width);
        EXPECT_EQ(qelLeft(box->upArrowRegion), c.up[0]);
        EXPECT_EQ(qelTop(box->upArrowRegion), c.up[1]);
        EXPECT_EQ(qelLeft(box->downArrowRegion), c.down[0]);
        EXPECT_EQ(qelTop(box->downArrowRegion), c.down[1]);
        EXPECT_EQ(qelLeft(box->scrollBarRegion), c.bar[0]);
        EXPECT_EQ(qelTop(box->scrollBarRegion), c.bar[1]);
        EXPECT_EQ(qelHeight(box->scrollBarRegion), c.bar[2]);
        EXPECT_EQ(qelWidth(box->upArrowRegion), 10);
        // Laying out again does not move the parts twice.
        box->rebuild();
        EXPECT_EQ(box->width, c.width);
        EXPECT_EQ(qelTop(box->downArrowRegion), c.down[1]);
    }
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(MultiTypeListBox, CellsByTypeInvadeAndTheClickedCell)
{
    UiFixture ui("down 85 15\nup 85 15\n");
    ui.port->drawImage(solidImage(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    // Columns: text 40, number 30, check 20, from x 10; rows start at 12 (the item's x).
    qelValue data = listData("(\"TextColor\" 0) (\"CellInfo\" (list (list 40 0 0) (list 30 1 0) (list 20 2 0))) "
                             "(\"List\" (list (list \"ABCDEFGHIJ\" 12 1) (list \"ABCDEFGHIJ\" \"\" 0)))");
    qelPut(data, "CheckSelImage", solidImage(8, 8, 0x0000FF));
    qelPut(data, "CheckImage", solidImage(8, 8, 0xFFFF00));
    qelValue holder;
    MultiTypeListBox* box = make<MultiTypeListBox>(holder, data);
    box->draw();
    // Row 0: the text stops at its column; the number "12" at 52; the ticked check at 84.
    EXPECT_EQ(colourAt(ui, 13, 14), 0u);
    EXPECT_EQ(colourAt(ui, 51, 14), green);
    EXPECT_EQ(colourAt(ui, 53, 14), 0u);
    EXPECT_EQ(colourAt(ui, 85, 13), 0x0000FFu);
    // Row 1 without "Invade": cut at its column too; the unticked check.
    EXPECT_EQ(colourAt(ui, 51, 24), green);
    EXPECT_EQ(colourAt(ui, 85, 23), 0xFFFF00u);

    // With "Invade" row 1's text runs over the empty number cell; row 0's does not.
    qelPut(data, "Invade", qelTrue);
    qelPerform(holder, "Initialize", qelNil);
    box->setSelection(1, 1, 0, 0);
    box->draw();
    EXPECT_EQ(colourAt(ui, 51, 24), 0xFFFFFFu);
    EXPECT_EQ(colourAt(ui, 51, 14), green);

    // The cell rectangles: column n from 1, in the selected row's band; nil outside the columns.
    EXPECT_TRUE(qelPrintValue(qelPerform(holder, "getCellRect", 1), 1) == "(rect 11 19 39 10)");
    EXPECT_TRUE(qelPrintValue(qelPerform(holder, "getCellRect", 3), 1) == "(rect 81 19 19 10)");
    for (int32_t n : { 0, 4, -1 })
        EXPECT_TRUE(qelPerform(holder, "getCellRect", n).isNil()) << n;

    // A click on the check column records that cell.
    qelEvent down;
    qelGetEvent(down, QEL_MOUSE_DOWN_EVENT, 1000);
    ASSERT_EQ(down.type, QEL_MOUSE_DOWN_EVENT);
    box->track(down.x, down.y, 0, 1);
    EXPECT_EQ(qelIntValue(qelPerform(holder, "getSelectedCell", qelNil)), 2);
    EXPECT_TRUE(qelPrintValue(qelPerform(holder, "getSelectedCellRect", qelNil), 1) == "(rect 81 9 20 10)");
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(MultiTypeListBox, ScrollOffsetAndCellHeight)
{
    UiFixture ui;
    qelValue data = listData("(\"UpArrowRegion\" (rect 90 10 10 10)) (\"DownArrowRegion\" (rect 90 50 10 10)) "
                             "(\"ScrollbarHotSpot\" (rect 90 10 10 50)) (\"Scroll Offset\" (list 5 2 4)) "
                             "(\"CellHeight\" 14)");
    qelValue holder;
    MultiTypeListBox* box = make<MultiTypeListBox>(holder, data);
    box->rebuild();
    EXPECT_EQ(box->width, 100);
    EXPECT_TRUE(qelPrintValue(box->upArrowRegion, 1) == "(rect 95 12 10 10)");
    EXPECT_TRUE(qelPrintValue(box->downArrowRegion, 1) == "(rect 95 54 10 10)");
    EXPECT_TRUE(qelPrintValue(box->scrollBarRegion, 1) == "(rect 95 12 10 52)");
    EXPECT_EQ(box->itemHeight, 14);
}
