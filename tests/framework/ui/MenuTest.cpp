// The menu control: the geometry of its boxes and where they open near the media area's edges,
// and the tracking loop: choosing by a click, by a release after a drag and by a key, results
// and cascades (also when the pointer moves from one cascading row to another), cancelling, the
// guard against the opening press, and the screen put back.

#include "ScreenProbe.h"

#include "framework/display/DrawingInterface.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Menu.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using Rect = Menu::Rect;

// The menus' main text area is pinned at (100, 100); a row is the text's height + 2.
const char* plain = "(table (\"Class\" \"Menu\") (\"Hot Spot\" (rect 10 10 40 20)) (\"FixedX\" 100) (\"FixedY\" 100)"
                    " (\"Items\" (list \"Norte\" \"Nordeste\" \"Sul\")) (\"Results\" (list 1 2 3)))";
const char* shortResults = "(table (\"Class\" \"Menu\") (\"FixedX\" 100) (\"FixedY\" 100)"
                           " (\"Items\" (list \"Norte\" \"Nordeste\" \"Sul\")) (\"Results\" (list 1)))";
const char* cascading = "(table (\"Class\" \"Menu\") (\"Hot Spot\" (rect 10 10 40 20)) (\"FixedX\" 100) (\"FixedY\" 100)"
                        " (\"Items\" (list \"Norte\" \"Nordeste\" \"Sul\")) (\"Results\" (list 1 2 3))"
                        " (\"CascadingItems\" (table (\"Norte\" (list \"Acre\" \"Amap\xE1\"))"
                        " (\"Sul\" (list \"Paran\xE1\" \"Santa Catarina\" \"Rio Grande do Sul\")))))";

// The widest item's width and the row height of the menus above.
std::pair<int32_t, int32_t> measured()
{
    UiFixture ui;
    int32_t w = 0, h = 0;
    qelMeasureString("Nordeste", qelNil, &w, &h);
    return { w, h + 2 };
}

int32_t rowHeight()
{
    return measured().second;
}

// The point in the middle of row i of the main box, or of the cascade that opens beside it.
std::string mainRow(int32_t i)
{
    return "120 " + std::to_string(100 + i * rowHeight() + rowHeight() / 2);
}

struct Opened {
    Opened(UiFixture& ui, const char* data)
    {
        control = qelMakeControl(UiFixture::read(data));
        menu = dynamic_cast<Menu*>(qelControlOf(control));
        menu->initialize();
    }
    // Takes the press that opens the menu from the script and tracks from it.
    int32_t track()
    {
        qelEvent press;
        qelGetEvent(press, QEL_MOUSE_DOWN_EVENT, 1000);
        return menu->track(press.x, press.y, 0, 1);
    }
    qelValue control;
    Menu* menu = nullptr;
};

} // namespace

TEST(Menu, BoxGeometry)
{
    Menu::BoxGeometry box;
    box.left = 100;
    box.top = 50;
    box.width = 80;
    box.itemHeight = 20;
    box.count = 3;
    EXPECT_EQ(Menu::rowRect(box, 1), (Rect { 100, 70, 80, 20 }));
    EXPECT_EQ(Menu::drawnBox(box), (Rect { 90, 46, 100, 68 }));
    EXPECT_EQ(Menu::mainHitRegion(box), (Rect { 96, 46, 88, 68 }));
    EXPECT_EQ(Menu::highlightBar(box, 2), (Rect { 93, 90, 94, 20 }));
    struct Case {
        int32_t y;
        int32_t row;
    } rows[] = { { 50, 0 }, { 69, 0 }, { 70, 1 }, { 47, 0 }, { 200, 2 } };
    for (const Case& c : rows)
        EXPECT_EQ(Menu::rowIndexAt(box, c.y), c.row) << c.y;
    // A box without rows has no row to point at, whatever its item height.
    box.count = 0;
    box.itemHeight = 0;
    EXPECT_EQ(Menu::rowIndexAt(box, 60), -1);
}

TEST(Menu, BoxesOpenInsideTheMediaArea)
{
    UiFixture ui;
    qelValue control = qelMakeControl(
        UiFixture::read("(table (\"Class\" \"Menu\") (\"Items\" (list \"Norte\" \"Nordeste\" \"Sul\")))"));
    Menu* menu = dynamic_cast<Menu*>(qelControlOf(control));
    menu->initialize();
    const Menu::BoxGeometry& box = menu->mainBox;
    int32_t w = box.width, h = box.height;
    int32_t mediaW = qelMediaWidth(), mediaH = qelMediaHeight();
    struct Case {
        int32_t x, y;
        int32_t left, top;
    } cases[] = {
        { 100, 100, 110, 110 },
        // Near the right and bottom edges the text area ends 8 pixels inside them.
        { mediaW - 20, mediaH - 20, mediaW - 8 - w, mediaH - 8 - h },
        // Never closer than 4 pixels to the left and top edges.
        { -50, -50, 4, 4 },
    };
    for (const Case& c : cases) {
        menu->placeMenu(c.x, c.y);
        EXPECT_EQ(box.left, c.left) << c.x;
        EXPECT_EQ(box.top, c.top) << c.y;
    }
    // A cascade that would pass the right edge opens on the main box's left; one that would pass
    // the bottom ends on the main box's last line.
    menu->placeMenu(mediaW - 20, mediaH - 20);
    menu->cascadeBox.width = 50;
    menu->cascadeBox.itemHeight = 10;
    menu->cascadeBox.height = 100;
    menu->mainBox.highlightTop = box.top;
    menu->placeCascade();
    EXPECT_EQ(menu->cascadeBox.left, box.left - 5 - 50 - 9);
    EXPECT_EQ(menu->cascadeBox.top, box.top + h - 100);
    menu->placeMenu(100, 100);
    menu->mainBox.highlightTop = 110;
    menu->placeCascade();
    EXPECT_EQ(menu->cascadeBox.left, 110 + w + 5 + 9);
    EXPECT_EQ(menu->cascadeBox.top, 110);
}

TEST(Menu, ChoosingAndCancelling)
{
    // In the cascading menu, the cascade of row 0 ("Norte") opens at the row's top, to the right.
    auto cascadeRow = [](int32_t owner, int32_t i) {
        auto [width, height] = measured();
        return std::to_string(100 + width + height / 2 + 9 + 5) + " "
            + std::to_string(100 + owner * height + i * height + height / 2);
    };
    struct Case {
        const char* data;
        std::string script;
        int32_t chosen;
        qelValue result;
    } cases[] = {
        // A click on the third item answers the third result.
        { plain, "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(2) + "\nclick " + mainRow(2) + "\n", 1, qelValue(3) },
        // A release without a drag does not end the menu; the release after a drag does.
        { plain, "down 20 20\nmove " + mainRow(1) + "\nup " + mainRow(1) + "\n", 1, qelValue(2) },
        // "Results" without an element for the item: the item's own text.
        { shortResults, "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(2) + "\nclick " + mainRow(2) + "\n", 1,
            qelValue("Sul") },
        // A press outside both boxes cancels.
        { plain, "down 20 20\nup 20 20\nwait 200\nclick 600 400\n", 0, qelNil },
        // The opening press's twin within 100 ms is ignored while no item is highlighted.
        { plain, "down 20 20\nup 20 20\nclick 600 400\nwait 200\nmove " + mainRow(0) + "\nclick " + mainRow(0) + "\n",
            1, qelValue(1) },
        // With cascades the results are never used, and a cascade's row is chosen in it.
        { cascading, "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(1) + "\nclick " + mainRow(1) + "\n", 1,
            qelValue("Nordeste") },
        { cascading,
            "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(0) + "\nmove " + cascadeRow(0, 1) + "\nclick "
                + cascadeRow(0, 1) + "\n",
            1, qelValue("Amap\xE1") },
        // From one cascading row to another: the second row's cascade replaces the first.
        { cascading,
            "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(0) + "\nmove " + mainRow(2) + "\nmove " + cascadeRow(2, 1)
                + "\nclick " + cascadeRow(2, 1) + "\n",
            1, qelValue("Santa Catarina") },
        // A cascading row chosen without a cascade row: no choice, its text kept as the result.
        { cascading, "down 20 20\nup 20 20\nwait 200\nmove " + mainRow(2) + "\nclick " + mainRow(2) + "\n", 0,
            qelValue("Sul") },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script.c_str());
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        Opened menu(ui, c.data);
        EXPECT_EQ(menu.track(), c.chosen) << c.script;
        EXPECT_EQ(qelPerform(menu.control, "GetResult", qelNil), c.result) << c.script;
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.script;
        EXPECT_EQ(menu.menu->currentItem, -1);
        EXPECT_EQ(menu.menu->currentCascadeItem, -1);
    }
}

TEST(Menu, AKeyChoosesTheHighlightedItemAndStillReachesTheForm)
{
    UiFixture ui(("down 20 20\nup 20 20\nwait 200\nmove " + mainRow(1) + "\nkey Enter\n").c_str());
    // A notice that arrives while the menu is open stays queued for the form.
    qelEvent notice;
    notice.type = QEL_NOTIFY_EVENT;
    qelPostEvent(notice);
    Opened menu(ui, plain);
    EXPECT_EQ(menu.track(), 1);
    EXPECT_EQ(qelPerform(menu.control, "GetResult", qelNil), qelValue(2));
    qelEvent next;
    qelGetEvent(next, QEL_KEY_DOWN_EVENT, 0);
    EXPECT_EQ(next.type, QEL_KEY_DOWN_EVENT);
    qelGetEvent(next, QEL_NOTIFY_EVENT, 0);
    EXPECT_EQ(next.type, QEL_NOTIFY_EVENT);
}

TEST(Menu, AMenuWithoutItemsOpensNothing)
{
    UiFixture ui("down 20 20\nup 20 20\n");
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    Opened menu(ui, "(table (\"Class\" \"Menu\") (\"Items\" (list)) (\"CascadingItems\" (table (\"x\" (list)))))");
    EXPECT_EQ(menu.track(), 0);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    EXPECT_TRUE(recordedErrors().empty());
}

// Colours from the control's data that are no colour numbers keep their defaults; a good one
// among them is still read.
TEST(Menu, AColourEntryThatIsNoColourKeepsItsDefault)
{
    UiFixture ui;
    Opened menu(ui,
        "(table (\"Class\" \"Menu\") (\"Items\" (list \"Norte\")) (\"ForegroundColor\" \"azul\")"
        " (\"BackgroundColor\" (list 1 2 3)) (\"SelectedForegroundColor\" \"9x\")"
        " (\"SelectedBackgroundColor\" (rgb 0 0 255)))");
    EXPECT_EQ(menu.menu->foregroundColor, 1);
    EXPECT_EQ(menu.menu->backgroundColor, -1);
    EXPECT_EQ(menu.menu->selectedForegroundColor, 0xFFFFFF);
    EXPECT_EQ(menu.menu->selectedBackgroundColor, 0xFF0000);
    EXPECT_TRUE(recordedErrors().empty());
}
