// The menu dialog driven by headless scripts over a patterned screen: what a press and release
// report, what separators and disabled items swallow, cascades opened by hovering (on the third
// timer tick) or by a press, the special results that end or keep the parent menus, the
// sub-menu's place beside its item flipping at the media area's edges, and the screen and the
// measured size put back at closing.
//
// The test font's characters are 6 x 10 pixels. The top menu at (100, 50) has TextX 4, TextY 2
// and Spacing 2, so item i spans window rows 52 + 12 i to 63 + 12 i.

#include "ScreenProbe.h"

#include "framework/runtime/Allocator.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Table.h"
#include "framework/ui/MenuDialog.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr uint32_t green = 0x00FF00;

class ProbeMenu : public MenuDialog {
public:
    using MenuDialog::MenuDialog;
    void tick() override
    {
        ++ticks;
        MenuDialog::tick();
    }
    void open(const qelValue& data) override
    {
        MenuDialog::open(data);
        if (onOpen)
            onOpen(*this);
    }
    void key(int32_t code, int32_t modifiers) override
    {
        if (onKey)
            onKey(*this);
        MenuDialog::key(code, modifiers);
    }

    int32_t ticks = 0;
    std::function<void(ProbeMenu&)> onOpen;
    std::function<void(ProbeMenu&)> onKey;
};

struct Menus {
    explicit Menus(UiFixture& ui, int32_t x = 100, int32_t y = 50)
    {
        MenuDialog::cascadeTicks = 0;
        ui.environment->setGlobal(
            "DisabledMenuItemsTable", UiFixture::read("(table (\"Demo\" (table (\"Sair\" true))))"));
        qelValue data = UiFixture::read("(table (\"Name\" \"Demo\") (\"TextX\" 4) (\"TextY\" 2) (\"Spacing\" 2)"
                                        " (\"Items\" (list (list \"Abrir\" 11) (list \"---\") (list \"Mais\")"
                                        " (list \"Sair\" 33) (list \"Recuado\" 44 12) (list \"Ver\")))"
                                        " (\"CascadeTable\" (table (\"Mais\" (table (\"DlgName\" \"SubMenu\")"
                                        " (\"Items\" (list (list \"Um\" 1) (list \"Dois\" 2))))))))");
        qelPut(data, "Origin X", x);
        qelPut(data, "Origin Y", y);
        qelValue added = UiFixture::read("(table (\"Origin X\" 10) (\"Origin Y\" 440))");
        qelPut(added, "Image", solidImage(30, 20, green));
        qelPut(data, "AddedImage", added);
        qelValue cascade = qelGet(qelGet(data, "CascadeTable"), "Mais");
        qelPut(cascade, "Background", solidImage(80, 40, 0xFFFFFF));
        qelPut(cascade, "UseDefaultPosition", qelTrue);
        top = new ProbeMenu(data);
        topValue = qelFormValue(top);
        sub = new ProbeMenu(UiFixture::read("(table (\"Name\" \"Sub\"))"));
        ui.environment->setGlobal("SubMenu", qelFormValue(sub));
    }
    qelValue run() { return qelRunDialog(topValue, qelNil); }

    ProbeMenu* top = nullptr;
    qelValue topValue;
    ProbeMenu* sub = nullptr;
};

std::string describe(const qelValue& result)
{
    if (result.isNil())
        return "nil";
    if (result.isString())
        return qelCString(result);
    return std::string(qelCString(qelGet(result, "Text"))) + " " + std::to_string(qelIntValue(qelGet(result, "Index")));
}

} // namespace

TEST(MenuDialog, APressAndReleaseReportsTheItemAndNothingElseDoes)
{
    struct Case {
        const char* script;
        const char* expected;
    } cases[] = {
        { "down 110 55\nup 110 55\n", "Abrir 11" },
        { "down 110 105\nup 110 105\n", "Recuado 44" },
        // An item without its own index reports its position.
        { "down 110 115\nup 110 115\n", "Ver 5" },
        // A press on one item and a release on another: the release chooses.
        { "down 110 55\nmove 110 103\nup 110 103\n", "Recuado 44" },
        // A separator and a disabled item swallow the press and the release; Escape ends.
        { "down 110 68\nup 110 68\ndown 110 92\nup 110 92\nkey Escape\n", "nil" },
        // A press outside a top menu ends it.
        { "down 400 300\nup 400 300\n", "nil" },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        Menus menus(ui);
        EXPECT_EQ(describe(menus.run()), c.expected) << c.script;
        // The menu, its highlight and the added picture are gone; the measured height is too.
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.script;
        EXPECT_FALSE(menus.top->hasProperty("Height"));
        EXPECT_TRUE(qelIsTrue(menus.top->getProperty("BottomClipped")));
    }
}

TEST(MenuDialog, LayoutHighlightIndentAndAddedPicture)
{
    UiFixture ui("move 110 106\nkey F2\nmove 110 56\nkey F2\nkey Escape\n");
    paintPattern(ui);
    Menus menus(ui);
    std::vector<std::vector<uint32_t>> seen;
    menus.top->onKey = [&](ProbeMenu& m) {
        seen.push_back({ ui.pixel(101, 101), ui.pixel(116, 101), ui.pixel(115, 101), ui.pixel(101, 53),
            ui.pixel(10, 440), ui.pixel(39, 459) });
    };
    EXPECT_EQ(describe(menus.run()), "nil");
    // The menu is as wide as TextX and its widest item ("Mais" with its cascade arrow: 24 + 30)
    // and as tall as its six items of 12 rows, TextY and one.
    EXPECT_EQ(qelIntValue(qelGet(menus.top->menuRect, 0)), 0);
    EXPECT_EQ(menus.top->width, 62);
    EXPECT_EQ(menus.top->height, 75);
    uint32_t highlight = pixelOf(1);
    uint32_t selectedText = 0xFFFFFF;
    ASSERT_EQ(seen.size(), 3u);
    // "Recuado" highlighted: its text starts 12 pixels further right.
    EXPECT_EQ(seen[0][0], highlight);
    EXPECT_EQ(seen[0][1], selectedText);
    EXPECT_EQ(seen[0][2], highlight);
    EXPECT_EQ(seen[0][3], patternPixel(101, 53));
    // Moving to "Abrir" puts back what was under "Recuado" and highlights "Abrir".
    EXPECT_EQ(seen[1][0], patternPixel(101, 101));
    EXPECT_EQ(seen[1][3], highlight);
    // The added picture is on the screen while the menu is open.
    EXPECT_EQ(seen[1][4], pixelOf(green));
    EXPECT_EQ(seen[1][5], pixelOf(green));
}

TEST(MenuDialog, HoveringOpensTheCascadeOnTheThirdTickAndAChoiceTravelsUp)
{
    UiFixture ui("move 110 80\nwait 2000\nclick 170 75\n");
    qelStartTimer(250);
    Menus menus(ui);
    int32_t ticksAtOpening = -1;
    menus.sub->onOpen = [&](ProbeMenu&) { ticksAtOpening = menus.top->ticks; };
    EXPECT_EQ(describe(menus.run()), "Um 1");
    EXPECT_EQ(ticksAtOpening, 3);
    qelStopTimer();
}

TEST(MenuDialog, ASubMenuOpensBesideItsItemAndFlipsAtTheEdges)
{
    // The "Mais" item is (x, y + 26, 62, 12); the sub-menu's background is 80 x 40.
    struct Case {
        int32_t x;
        int32_t y;
        int32_t subX;
        int32_t subY;
    } cases[] = {
        { 100, 50, 163, 72 },
        // Its right edge would pass 640: it opens on the item's left.
        { 570, 50, 489, 72 },
        // Its bottom would pass 480: it opens upwards, bottom-aligned with the item.
        { 100, 430, 163, 427 },
        { 570, 430, 489, 427 },
    };
    for (const Case& c : cases) {
        std::string script = "down " + std::to_string(c.x + 10) + " " + std::to_string(c.y + 30) + "\nkey Escape\n";
        UiFixture ui(script.c_str());
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        Menus menus(ui, c.x, c.y);
        int32_t subX = -1;
        int32_t subY = -1;
        menus.sub->onOpen = [&](ProbeMenu& m) {
            subX = m.originX;
            subY = m.originY;
        };
        // A press opens the cascade at once; Escape in the sub-menu ends every menu with nil.
        EXPECT_EQ(describe(menus.run()), "nil") << script;
        EXPECT_EQ(subX, c.subX) << script;
        EXPECT_EQ(subY, c.subY) << script;
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << script;
    }
}

TEST(MenuDialog, APressOutsideEveryMenuClosesThemAll)
{
    UiFixture ui("down 110 80\nup 110 80\ndown 400 300\nup 400 300\n");
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    Menus menus(ui);
    EXPECT_EQ(describe(menus.run()), "nil");
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    // The release after the opening press went to the sub-menu, outside it, and chose nothing;
    // the press outside gave "__CLOSE__" to the top menu, which turned it into nil.
    EXPECT_EQ(menus.sub->result(), "__CLOSE__");
}

TEST(MenuDialog, MovingToAnotherItemWithASubMenuClosesTheOpenOne)
{
    // "Mais" opens at once on the press; the pointer then moves back into the parent, onto "Ver",
    // which has a sub-menu of its own: the first sub-menu ends on its third tick with
    // "__STAYOPEN__", the parent runs on, sees the pointer on "Ver" and opens its sub-menu.
    UiFixture ui("click 110 80\nmove 110 116\nwait 2000\nclick 170 112\n");
    qelStartTimer(250);
    Menus menus(ui);
    auto* second = new ProbeMenu(UiFixture::read("(table (\"Name\" \"Sub2\"))"));
    ui.environment->setGlobal("SubMenu2", qelFormValue(second));
    qelValue cascade = UiFixture::read("(table (\"DlgName\" \"SubMenu2\") (\"UseDefaultPosition\" true)"
                                       " (\"Items\" (list (list \"Tres\" 3))))");
    qelPut(cascade, "Background", solidImage(80, 40, 0xFFFFFF));
    qelPut(menus.top->getProperty("CascadeTable"), "Ver", cascade);

    EXPECT_EQ(describe(menus.run()), "Tres 3");
    EXPECT_EQ(menus.sub->result(), "__STAYOPEN__");
    EXPECT_EQ(menus.sub->ticks, 3);
    EXPECT_EQ(second->originY, 108);
    qelStopTimer();
}

TEST(MenuDialog, AMenuWithoutItemsSelectsNothing)
{
    UiFixture ui("down 110 55\nup 110 55\nkey Escape\n");
    MenuDialog::cascadeTicks = 0;
    auto* menu = new MenuDialog(UiFixture::read("(table (\"Origin X\" 100) (\"Origin Y\" 50) (\"Width\" 40))"));
    qelValue value = qelFormValue(menu);
    EXPECT_TRUE(qelRunDialog(value, qelNil).isNil());
    EXPECT_EQ(menu->selectedIndex, -1);
}

// Each opening of a cascade hands the sub-menu a chain of its parents; once the sub-menu ends,
// its table no longer holds the chain (which holds the parent's cascade table, which holds the
// sub-menu's table), so opening it again and again holds no more memory.
TEST(MenuDialog, OpeningACascadeManyTimesHoldsNoMemory)
{
    auto blocksInUse = [] {
        int64_t total = 0;
        for (size_t size = 8; size <= 4096; size *= 2)
            total += qelAllocatorBlocksInUse(qelAllocatorBlockSize(size));
        return total;
    };
    std::string script;
    for (int i = 0; i < 12; ++i)
        script += "down 110 80\nup 110 80\nkey Escape\n";
    UiFixture ui(script.c_str());
    Menus menus(ui);
    qelValue cascade = qelGet(menus.top->getProperty("CascadeTable"), "Mais");
    int64_t afterSecond = 0;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(describe(menus.run()), "nil") << i;
        EXPECT_TRUE(qelGet(cascade, "ParentsList").isNil()) << i;
        if (i == 1)
            afterSecond = blocksInUse();
    }
    EXPECT_EQ(blocksInUse(), afterSecond);
}

// Colours from the menu's data that are no colour numbers (a word, a list, digits with letters
// after them) keep their defaults, and a good one among them is still read.
TEST(MenuDialog, AColourEntryThatIsNoColourKeepsItsDefault)
{
    UiFixture ui("key Escape\n");
    MenuDialog::cascadeTicks = 0;
    auto* menu = new MenuDialog(UiFixture::read(
        "(table (\"Origin X\" 100) (\"Origin Y\" 50) (\"Items\" (list (list \"Abrir\" 1)))"
        " (\"ForegroundColor\" \"azul\") (\"DisabledColor\" (list 1 2 3)) (\"BackgroundColor\" \"12abc\")"
        " (\"SelectedForegroundColor\" (table)) (\"SelectedBackgroundColor\" \"255\"))"));
    qelValue value = qelFormValue(menu);
    EXPECT_TRUE(qelRunDialog(value, qelNil).isNil());
    EXPECT_EQ(menu->foregroundColor, 1);
    EXPECT_EQ(menu->disabledColor, 0x808080);
    EXPECT_EQ(menu->backgroundColor, -1);
    EXPECT_EQ(menu->selectedForegroundColor, 0xFFFFFF);
    EXPECT_EQ(menu->selectedBackgroundColor, 255);
    EXPECT_TRUE(recordedErrors().empty());
}
