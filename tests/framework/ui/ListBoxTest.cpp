// The list box: keyboard table and type-ahead, verbs, selection by click and drag with automatic
// scrolling on the virtual clock, the arrow buttons' repeat, page steps, thumb dragging, the
// drawing of rows and highlight, and the multi-selection box's per-item states.

#include "UiFixture.h"

#include "framework/display/ContextImage.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/MultiListBox.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows of the test font are 10 pixels ("|" is 8 + 2 tall): the box (10, 10, 100, 50) shows 5.
const char* fruit = "(table (\"Hot Spot\" (rect 10 10 100 50)) (\"List\" (list \"Apple\" \"Banana\" \"Berry\")))";

struct Step {
    uint32_t time;
    int32_t topIndex;
    int32_t selection;
};

// A list box that notes every draw with the virtual time, and the control value that owns it.
template<typename Base> class Recording : public Base {
public:
    using Base::Base;
    // Draws that show nothing new (activation, the end of a loop) are not noted.
    void draw() override
    {
        if (steps.empty() || steps.back().topIndex != this->topIndex || steps.back().selection != this->selection)
            steps.push_back({ qelClockNow(), this->topIndex, this->selection });
        Base::draw();
    }
    // The state after set-up is the first one noted.
    void rebuild() override
    {
        Base::rebuild();
        steps.assign(1, { qelClockNow(), this->topIndex, this->selection });
    }
    std::vector<Step> steps;
};

// Items "0" .. "n-1".
qelValue numbers(int32_t n)
{
    qelValue items = qelMakeList(n, 100, QEL_GENERAL_LIST);
    for (int32_t i = 0; i < n; ++i)
        qelAddItem(items, qelStringValue(std::to_string(i).c_str()));
    return items;
}

qelValue solid(int32_t w, int32_t h, uint32_t colour)
{
    qelValue image = qelMakeContext(qelListOf({ w, h }));
    platform::gfx::Brush brush;
    brush.color = colour;
    dynamic_cast<qelContextImageObject*>(image.object())
        ->dc()
        ->fillRect(platform::gfx::Rect::fromSize(0, 0, w, h), brush);
    return image;
}

// A form holding the control, made the active form (mouse input reaches it through the form).
qelValue formWith(const qelValue& control)
{
    auto* form = new qelFormObject(qelNil);
    form->controls = qelListOf({ control });
    qelValue value = qelFormValue(form);
    qelSetActiveForm(value);
    return value;
}

// A colour as the drawing calls take it (0x00BBGGRR) read back from the screen (0xRRGGBB).
uint32_t shown(uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

template<typename T> T* make(qelValue& holder, const qelValue& data)
{
    T* box = new T(data);
    holder = qelControlValue(box);
    box->rebuild();
    return box;
}

// A 20-row list in the box (0, 0, 100, 100) with 10-pixel arrows and thumb: 10 rows show.
qelValue scrollingData(int32_t items)
{
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 0 0 100 100)))");
    qelPut(data, "List", numbers(items));
    qelPut(data, "ThumbImage", solid(10, 10, 0x00FF00));
    qelPut(data, "UpArrowImage", solid(10, 10, 0x0000FF));
    qelPut(data, "DownArrowImage", solid(10, 10, 0x0000FF));
    qelPut(data, "DownArrowHighlight", solid(10, 10, 0xFF0000));
    return data;
}

} // namespace

TEST(ListBoxKeys, TypeAheadWrapsAndExaminesTheSelectedItemLast)
{
    UiFixture ui;
    qelValue holder;
    ListBox* box = make<ListBox>(holder, UiFixture::read(fruit));
    box->setSelection(0, 1, 0, 0);
    std::vector<int32_t> seen;
    for (int32_t key : { 'b', 'B', 'a', 'z' }) {
        EXPECT_EQ(box->key(key, 0), 0);
        seen.push_back(box->selection);
    }
    EXPECT_EQ(seen, (std::vector<int32_t> { 1, 2, 0, 0 }));
    // With no selection the search starts at the first item.
    box->setSelection(-1, 1, 0, 0);
    box->key('b', 0);
    EXPECT_EQ(box->selection, 1);
    // One item is not searched at all.
    qelValue single;
    ListBox* lone = make<ListBox>(single, UiFixture::read("(table (\"List\" (list \"Apple\")))"));
    EXPECT_EQ(lone->key('a', 0), 0);
    EXPECT_EQ(lone->selection, -1);
}

TEST(ListBoxKeys, NavigationTableAndNotification)
{
    struct Case {
        int32_t start;
        int32_t key;
        int32_t selection;
        int32_t result;
    } cases[] = {
        { -1, QEL_KEY_PAGE_DOWN, 3, 0 }, // visible - 2 with no selection
        { 2, QEL_KEY_PAGE_DOWN, 6, 0 },
        { 18, QEL_KEY_PAGE_DOWN, 19, 0 },
        { 7, QEL_KEY_PAGE_UP, 3, 0 },
        { -1, QEL_KEY_PAGE_UP, 0, 0 },
        { 5, QEL_KEY_HOME, 0, 0 },
        { 5, QEL_KEY_END, 19, 0 },
        { 5, QEL_KEY_UP, 4, 0 },
        { 0, QEL_KEY_UP, 0, 0 },
        { 5, QEL_KEY_DOWN, 6, 0 },
        { 19, QEL_KEY_DOWN, 19, 0 },
        { 4, QEL_KEY_ENTER, 4, 1 },
        { -1, QEL_KEY_ENTER, -1, 0 },
        { 4, 'q', 4, 0 },
    };
    UiFixture ui;
    for (const Case& c : cases) {
        qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 50)))");
        qelPut(data, "List", numbers(20));
        qelValue holder;
        ListBox* box = make<ListBox>(holder, data);
        box->setSelection(c.start, 1, 0, 0);
        EXPECT_EQ(box->key(c.key, 0), c.result) << c.key << " from " << c.start;
        EXPECT_EQ(box->selection, c.selection) << c.key << " from " << c.start;
        EXPECT_EQ(box->doubleClicked, c.key == QEL_KEY_ENTER && c.result);
    }

    // "SingleClickNotify" makes a keyboard selection report itself; "SelectionAction" makes it a
    // double click, even for a letter that finds nothing.
    qelValue data = UiFixture::read(fruit);
    qelPut(data, "SingleClickNotify", qelTrue);
    qelValue holder;
    ListBox* box = make<ListBox>(holder, data);
    EXPECT_EQ(box->key(QEL_KEY_DOWN, 0), 1);
    EXPECT_EQ(box->doubleClicked, 0);
    qelPut(data, "SelectionAction", "open");
    EXPECT_EQ(box->key('x', 0), 1);
    EXPECT_EQ(box->doubleClicked, 1);

    // An empty list: nothing to go to, no error.
    qelValue empty;
    ListBox* none = make<ListBox>(empty, UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 50)))"));
    for (int32_t key : { QEL_KEY_HOME, QEL_KEY_END, QEL_KEY_PAGE_UP, QEL_KEY_PAGE_DOWN, int32_t('a') })
        EXPECT_EQ(none->key(key, 0), 0);
    EXPECT_EQ(none->selection, -1);
    EXPECT_FALSE(none->canActivate());
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(ListBoxKeys, ControlCCopiesTheSelectedItemsText)
{
    UiFixture ui;
    qelValue data = UiFixture::read("(table (\"List\" (list \"Apple\" 42)))");
    qelValue holder;
    ListBox* box = make<ListBox>(holder, data);
    EXPECT_EQ(box->key('C', QEL_CONTROL_KEY), 0);
    box->setSelection(0, 1, 0, 0);
    box->key('c', QEL_CONTROL_KEY);
    box->setSelection(1, 1, 0, 0);
    box->key('C', QEL_CONTROL_KEY);
    EXPECT_EQ(ui.headless->clipboardWrites(), (std::vector<std::string> { "Apple", "42" }));
}

TEST(ListBoxVerbs, ItemsSelectionAndList)
{
    UiFixture ui;
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 50)) (\"SelectionIndex\" 1) "
                                    "(\"List\" (list \"a\" \"b\" \"a\" \"c\")))");
    qelValue control;
    Recording<ListBox>* box = make<Recording<ListBox>>(control, data);
    EXPECT_EQ(qelIntValue(qelPerform(control, "getSelection", qelNil)), 1);
    EXPECT_TRUE(qelPerform(control, "getSelectionStr", qelNil) == "b");
    EXPECT_TRUE(qelPerform(control, "getSelectionStr", 3) == "c");
    // In the single-selection box unsetting selects, like setting; neither draws.
    qelPerform(control, "unsetSelection", 3);
    EXPECT_EQ(box->selection, 3);
    EXPECT_EQ(qelIntValue(qelPerform(control, "addItem", "d")), 4);
    EXPECT_EQ(box->steps.size(), 1u);

    // Every item equal to the chosen one goes.
    // (The selection, 3, lies past the three items left: it moves to the last and draws.)
    qelPerform(control, "deleteItem", 0);
    EXPECT_EQ(box->selection, 2);
    EXPECT_TRUE(qelPrintValue(box->list, 1) == qelPrintValue(UiFixture::read("(list \"b\" \"c\" \"d\")"), 1));
    // Deleting the selected last item moves the selection to the new last item and draws.
    qelPerform(control, "setSelection", 2);
    qelPerform(control, "deleteItem", qelNil);
    EXPECT_EQ(box->selection, 1);
    EXPECT_EQ(box->steps.size(), 3u);

    // A new list sets the box up again: the selection goes back to "SelectionIndex".
    qelPerform(control, "setList", UiFixture::read("(list \"x\" \"y\")"));
    EXPECT_EQ(box->selection, 1);
    EXPECT_EQ(qelCount(qelPerform(control, "getList", qelNil)), 2);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(ListBoxMouse, DragBelowTheBoxScrollsEveryTenMilliseconds)
{
    // Press on row 1, drag 5 pixels below the box, hold, release.
    UiFixture ui("down 20 25\nmove 20 115\nwait 55\nup 20 115\n");
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 100)))");
    qelPut(data, "List", numbers(40));
    qelValue control;
    Recording<ListBox>* box = make<Recording<ListBox>>(control, data);
    qelValue form = formWith(control);
    ui.runScript();
    ASSERT_GE(box->steps.size(), 4u);
    // The press selects row 1; the drag the row under the pointer (10, which scrolls it into
    // view); then every 10 ms the next row.
    EXPECT_EQ(box->steps[1].selection, 1);
    EXPECT_EQ(box->steps[2].selection, 10);
    EXPECT_EQ(box->steps[2].topIndex, 1);
    std::vector<int32_t> gaps;
    for (size_t i = 3; i < box->steps.size(); ++i) {
        EXPECT_EQ(box->steps[i].selection, box->steps[i - 1].selection + 1);
        gaps.push_back(int32_t(box->steps[i].time - box->steps[i - 1].time));
    }
    EXPECT_EQ(gaps, std::vector<int32_t>(gaps.size(), 10));
    EXPECT_EQ(gaps.size(), 5u);
    EXPECT_EQ(box->topIndex, box->selection - 9);
}

TEST(ListBoxMouse, HeldArrowRepeatsFasterAndPausesOffTheArrow)
{
    UiFixture ui("down 95 95\nwait 400\nmove 40 40\nwait 300\nmove 95 95\nwait 30\nup 95 95\n");
    ui.port->drawImage(solid(640, 480, 0x00FF00), 0, 0, 0, 0, 0, 0);
    qelValue control;
    Recording<ListBox>* box = make<Recording<ListBox>>(control, scrollingData(200));
    qelValue form = formWith(control);
    ui.runScript();
    // The first step at the press, then the repeats.
    std::vector<int32_t> gaps;
    for (size_t i = 2; i < box->steps.size(); ++i) {
        EXPECT_EQ(box->steps[i].topIndex, box->steps[i - 1].topIndex + 1);
        gaps.push_back(int32_t(box->steps[i].time - box->steps[i - 1].time));
    }
    // 50 ms, then the counter / 10 after each step (the counter dropping by 5); the 300 ms off
    // the arrow hold no step.
    ASSERT_GE(gaps.size(), 8u);
    EXPECT_EQ(
        std::vector<int32_t>(gaps.begin(), gaps.begin() + 7), (std::vector<int32_t> { 50, 49, 49, 48, 48, 47, 47 }));
    int32_t paused = 0;
    for (int32_t gap : gaps)
        paused = std::max(paused, gap);
    EXPECT_GE(paused, 300);
    EXPECT_EQ(box->topIndex, int32_t(box->steps.size()) - 1);
    EXPECT_EQ(box->steps.size(), gaps.size() + 2);
    // The released look (the green screen under the box) is back after the release.
    EXPECT_EQ(ui.pixel(95, 95) & 0xFFFFFF, 0x00FF00u);
}

TEST(ListBoxMouse, RepeatCounterReachesOneMillisecond)
{
    int32_t counter = QEL_ARROW_COUNTER_START;
    std::vector<int32_t> waits { counter / 10 };
    for (int i = 0; i < 200; ++i) {
        counter = qelNextArrowCounter(counter);
        waits.push_back(counter / 10);
    }
    EXPECT_EQ(waits.front(), 50);
    EXPECT_EQ(waits.back(), 1);
    EXPECT_TRUE(std::is_sorted(waits.rbegin(), waits.rend()));
}

TEST(ListBoxMouse, ThumbFollowsThePointerWithinItsRange)
{
    // Track 80 pixels between the arrows, thumb 10: 70 pixels of travel for 10 first rows.
    struct Case {
        int32_t dragTo;
        int32_t topIndex;
    } cases[] = { { 50, 4 }, { 86, 10 }, { 300, 10 }, { -50, 0 } };
    for (const Case& c : cases) {
        std::string to = std::to_string(c.dragTo);
        UiFixture ui(("down 95 15\nmove 95 " + to + "\nup 95 " + to + "\n").c_str());
        qelValue control;
        Recording<ListBox>* box = make<Recording<ListBox>>(control, scrollingData(20));
        qelValue form = formWith(control);
        box->draw();
        EXPECT_EQ(box->thumbTop, 10);
        ui.runScript();
        EXPECT_EQ(box->topIndex, c.topIndex) << c.dragTo;
        EXPECT_EQ(box->draggingThumb, 0);
    }

    // A thumb as tall as the track cannot move, and nothing divides by zero.
    UiFixture ui("down 95 50\nmove 95 90\nup 95 90\n");
    qelValue data = scrollingData(20);
    qelPut(data, "ThumbImage", solid(10, 80, 0x00FF00));
    qelValue control;
    ListBox* box = make<ListBox>(control, data);
    qelValue form = formWith(control);
    box->draw();
    ui.runScript();
    EXPECT_EQ(box->topIndex, 0);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(ListBoxMouse, StripClickPagesUntilTheThumbPassesThePress)
{
    UiFixture ui("down 95 85\nwait 1000\nup 95 85\n");
    qelValue control;
    Recording<ListBox>* box = make<Recording<ListBox>>(control, scrollingData(100));
    qelValue form = formWith(control);
    box->draw();
    ui.runScript();
    std::vector<int32_t> tops;
    for (size_t i = 1; i < box->steps.size(); ++i)
        tops.push_back(box->steps[i].topIndex);
    // Pages of 10 rows at once, after 200 ms, then every 50 ms, until the thumb lies below y 85.
    ASSERT_GE(tops.size(), 3u);
    EXPECT_EQ(std::vector<int32_t>(tops.begin(), tops.begin() + 3), (std::vector<int32_t> { 10, 20, 30 }));
    EXPECT_EQ(box->steps[2].time - box->steps[1].time, 200u);
    EXPECT_EQ(box->steps[3].time - box->steps[2].time, 50u);
    EXPECT_GT(box->thumbTop + 10, 85);
    EXPECT_LE(box->thumbTop + 10 - 7, 85);
}

TEST(ListBoxMouse, ClicksSelectAndReportDoubleClicks)
{
    struct Case {
        const char* script;
        const char* extra;
        int32_t selection;
        int32_t doubleClicked;
        int32_t handled;
    } cases[] = {
        { "click 20 35\n", "", 2, 0, 0 },
        { "click 20 35\n", "(\"SingleClickNotify\" true)", 2, 0, 1 },
        { "dblclick 20 35\n", "", 2, 1, 1 },
        { "dblclick 20 35\n", "(\"DoubleClickNotify\" false)", 2, 1, 0 },
        // Below the last item: nothing selected, nothing reported.
        { "click 20 55\n", "(\"SingleClickNotify\" true)", -1, 0, 0 },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        qelValue data = UiFixture::read((std::string("(table (\"Hot Spot\" (rect 10 10 100 50)) ") + c.extra
            + " (\"List\" (list \"Apple\" \"Banana\" \"Berry\")))")
                                            .c_str());
        qelValue control;
        ListBox* box = make<ListBox>(control, data);
        int32_t handled = 0;
        class Counting : public qelFormObject {
        public:
            Counting(int32_t& n)
                : qelFormObject(qelNil)
                , m_n(n)
            {
            }
            void handleControl(const qelValue&) override { ++m_n; }
            int32_t& m_n;
        };
        auto* form = new Counting(handled);
        form->controls = qelListOf({ control });
        qelSetActiveForm(qelFormValue(form));
        ui.runScript();
        EXPECT_EQ(box->selection, c.selection) << c.script << c.extra;
        EXPECT_EQ(box->doubleClicked, c.doubleClicked) << c.script << c.extra;
        EXPECT_GE(handled, c.handled) << c.script << c.extra;
        EXPECT_LE(handled, c.handled ? 2 : 0) << c.script << c.extra;
    }
}

TEST(ListBoxDrawing, RowsHighlightOutlineAndDisabledLook)
{
    UiFixture ui;
    // A blue screen under the box.
    ui.port->drawImage(solid(640, 480, 0xFF0000), 0, 0, 0, 0, 0, 0);
    qelValue data = UiFixture::read(fruit);
    qelPut(data, "BackgroundColor", 0xFFFFFF);
    qelPut(data, "SelectionColor", 0x00FFFF);
    qelPut(data, "TextColor", 0);
    qelValue control;
    ListBox* box = make<ListBox>(control, data);
    box->setSelection(1, 1, 0, 0);
    box->draw();
    // Row 1 (y 20..29) carries the yellow bar; row 0 shows the screen under the box and its
    // text in black boxes of the test font.
    EXPECT_EQ(ui.pixel(100, 22) & 0xFFFFFF, shown(0x00FFFF));
    EXPECT_EQ(ui.pixel(100, 12) & 0xFFFFFF, shown(0xFF0000));
    EXPECT_EQ(ui.pixel(13, 14) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(box->selectedRect.isNil(), false);

    // Not selectable: no bar, but the focus outline (grey) while active.
    qelPut(data, "NotSelectable", qelTrue);
    qelPerform(control, "Initialize", qelNil);
    box->setSelection(1, 1, 0, 0);
    box->activate();
    EXPECT_EQ(ui.pixel(100, 22) & 0xFFFFFF, shown(0xFF0000));
    EXPECT_EQ(ui.pixel(100, 20) & 0xFFFFFF, 0x808080u);

    // Disabled: the screen copy taken under the box at its first draw.
    qelPut(data, "Disabled", qelTrue);
    box->draw();
    EXPECT_EQ(ui.pixel(100, 20) & 0xFFFFFF, shown(0xFF0000));
    EXPECT_EQ(ui.pixel(13, 14) & 0xFFFFFF, shown(0xFF0000));

    // A box never drawn enabled draws nothing while disabled.
    qelValue other;
    ListBox* hidden = make<ListBox>(other,
        UiFixture::read("(table (\"Hot Spot\" (rect 200 10 100 50)) (\"Disabled\" true) (\"List\" (list \"x\")))"));
    hidden->draw();
    EXPECT_EQ(ui.pixel(203, 14) & 0xFFFFFF, shown(0xFF0000));
}

TEST(ListBoxDrawing, OverflowingListWithoutScrollImagesIsSafe)
{
    UiFixture ui("click 105 20\nclick 20 20\n");
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 30)))");
    qelPut(data, "List", numbers(50));
    qelValue control;
    ListBox* box = make<ListBox>(control, data);
    qelValue form = formWith(control);
    box->draw();
    ui.runScript();
    EXPECT_EQ(box->selection, 1);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(MultiListBox, ClicksToggleAndReportMultipleChanges)
{
    UiFixture ui("click 20 15\nclick 20 35\nclick 20 15\n");
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 50)))");
    qelPut(data, "List", numbers(5));
    qelValue control;
    MultiListBox* box = make<MultiListBox>(control, data);
    qelValue form = formWith(control);
    ui.runScript();
    // Item 0 selected then deselected; item 2 selected and still current.
    EXPECT_TRUE(qelPrintValue(qelPerform(control, "getSelections", qelNil), 1) == "(intlist 2)");
    EXPECT_EQ(box->selection, 2);
    EXPECT_TRUE(qelIsTrue(qelPerform(control, "wereMultipleSelectionsMade", qelNil)));
    EXPECT_TRUE(qelPrintValue(box->changedIndices, 1) == "(intlist 0 2)");
}

TEST(MultiListBox, ShiftDragPaintsTheClickedItemsNewState)
{
    struct Case {
        bool shift;
        const char* initially;
        const char* after;
    } cases[] = {
        { true, "(intlist)", "(intlist 1 2 3 4)" },
        { true, "(intlist 1 2 3 4 6)", "(intlist 6)" },
        { false, "(intlist)", "(intlist 1)" },
    };
    for (const Case& c : cases) {
        UiFixture ui("down 20 25\nmove 20 35\nmove 20 45\nmove 20 55\nup 20 55\n");
        qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 100)))");
        qelPut(data, "List", numbers(8));
        qelValue control;
        MultiListBox* box = make<MultiListBox>(control, data);
        box->setSelections(UiFixture::read(c.initially));
        // Scripts give mouse presses no modifiers: the press is taken from the queue and tracked
        // with Shift held or not.
        qelEvent down;
        qelGetEvent(down, QEL_MOUSE_DOWN_EVENT, 1000);
        ASSERT_EQ(down.type, QEL_MOUSE_DOWN_EVENT);
        box->track(down.x, down.y, c.shift ? QEL_SHIFT_KEY : 0, 1);
        EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == c.after) << c.initially << c.shift;
    }
}

TEST(MultiListBox, KeysStatesAndItemChanges)
{
    UiFixture ui;
    qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 10 100 50)) (\"SelectionIndex\" 3))");
    qelPut(data, "List", numbers(12));
    qelValue control;
    MultiListBox* box = make<MultiListBox>(control, data);
    qelPerform(control, "setSelections", UiFixture::read("(list 0 2)"));
    EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == "(intlist 0 2 3)");

    // Down keeps every state; the current item moves only onto a selected item, but the target
    // is scrolled into view.
    box->key(QEL_KEY_DOWN, 0);
    EXPECT_EQ(box->selection, 3);
    EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == "(intlist 0 2 3)");
    box->setSelection(11, 0, 0, 0);
    EXPECT_EQ(box->topIndex, 7);

    // Space toggles the current item; with no current item the first one.
    EXPECT_EQ(box->key(QEL_KEY_SPACE, 0), 1);
    EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == "(intlist 0 2)");
    qelPerform(control, "clearAllSelections", qelNil);
    qelPut(data, "SelectionIndex", -1);
    qelPerform(control, "clearAllSelections", qelNil);
    box->key(QEL_KEY_SPACE, 0);
    EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == "(intlist 0)");

    // Added and deleted items keep one state each: a click on the added item is in range.
    qelPerform(control, "setSelections", UiFixture::read("(list 0 5)"));
    EXPECT_EQ(qelIntValue(qelPerform(control, "addItem", "novo")), 12);
    EXPECT_FALSE(qelIsTrue(qelPerform(control, "getSelectionState", 12)));
    qelPerform(control, "deleteItem", 1);
    EXPECT_EQ(qelCount(box->selectionStates), 12);
    EXPECT_TRUE(qelPrintValue(box->getSelections(), 1) == "(intlist 0 4)");
    box->setSelection(11, 1, 0, 0);
    EXPECT_TRUE(qelIsTrue(qelPerform(control, "getSelectionState", 11)));
    EXPECT_TRUE(recordedErrors().empty());
}
