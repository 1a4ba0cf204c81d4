// Radio buttons kept by a radio group, and the plain group that shows, hides, enables and draws
// its members together.

#include "PressProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/Factories.h"
#include "framework/ui/Group.h"
#include "framework/ui/Perform.h"
#include "framework/ui/RadioButton.h"
#include "framework/ui/RadioGroup.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t on = 0x00FF00;
constexpr uint32_t dim = 0x808080;

// Three 20 x 20 buttons "A", "B", "C" at x 10, 40, 70 in a group "Opcoes" made from the form's
// resources; without a deselected picture each shows the screen under it.
struct ThreeButtons {
    explicit ThreeButtons(UiFixture& ui)
    {
        paintPattern(ui);
        group = qelMakeControl(UiFixture::read("(table (\"Class\" \"RadioGroup\") (\"List\" (list)))"));
        ui.environment->setGlobal("Opcoes", group);
        const char* names[] = { "A", "B", "C" };
        for (int i = 0; i < 3; ++i) {
            std::string text = std::string("(table (\"Class\" \"RadioButton\") (\"Name\" \"") + names[i]
                + "\") (\"Hot Spot\" (rect " + std::to_string(10 + 30 * i)
                + " 10 20 20)) (\"RadioGroup\" (reference \"Opcoes\")))";
            qelValue data = UiFixture::read(text.c_str());
            qelPut(data, "SelectedImage", solidImage(20, 20, on));
            qelPut(data, "DisabledImage", solidImage(20, 20, dim));
            buttons[i] = qelMakeControl(data);
            qelPerform(group, "AddControl", buttons[i]);
        }
        qelControlOf(group)->initialize();
    }
    bool isSelected(int i) const { return qelIsTrue(qelPerform(buttons[i], "IsSelected", qelNil)); }
    uint32_t look(UiFixture& ui, int i) const { return ui.pixel(15 + 30 * i, 15); }

    qelValue group;
    qelValue buttons[3];
};

} // namespace

TEST(RadioGroup, SetSelectedChoosesOneMemberAndLocksIt)
{
    UiFixture ui;
    ThreeButtons set(ui);
    // Before the first draw the state is the control's, whatever the data says.
    qelPut(set.buttons[0], "Selected", qelTrue);
    EXPECT_FALSE(set.isSelected(0));
    qelValue form;
    currentFormWith({ set.buttons[0], set.buttons[1], set.buttons[2], set.group }, form);
    EXPECT_TRUE(set.isSelected(0));
    EXPECT_EQ(set.look(ui, 0), pixelOf(on));
    EXPECT_EQ(set.look(ui, 1), patternPixel(45, 15));

    qelPerform(set.group, "SetSelected", "B");
    EXPECT_FALSE(set.isSelected(0));
    EXPECT_TRUE(set.isSelected(1));
    EXPECT_FALSE(set.isSelected(2));
    EXPECT_EQ(set.look(ui, 0), patternPixel(15, 15));
    EXPECT_EQ(set.look(ui, 1), pixelOf(on));
    // The chosen member is disabled and never hit; the one deselected is enabled again.
    EXPECT_TRUE(qelIsTrue(qelGet(set.buttons[1], "Disabled")));
    EXPECT_FALSE(qelIsTrue(qelGet(set.buttons[0], "Disabled")));
    EXPECT_FALSE(qelControlOf(set.buttons[1])->hitTest(45, 15));
    EXPECT_TRUE(qelControlOf(set.buttons[0])->hitTest(15, 15));

    // A name no member has deselects them all.
    qelPerform(set.group, "SetSelected", "Z");
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(set.isSelected(i)) << i;
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(RadioGroup, AClickSelectsAndTellsTheGroupAReleaseOutsideDoesNot)
{
    struct Case {
        const char* script;
        bool chosen;
    } cases[] = {
        { "down 45 15\nup 45 15\n", true },
        { "down 45 15\nmove 45 200\nup 45 200\n", false },
        { "down 45 15\nmove 45 200\nmove 46 16\nup 46 16\n", true },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        ThreeButtons set(ui);
        qelValue form;
        HandlingForm* handling
            = currentFormWith({ set.buttons[0], set.buttons[1], set.buttons[2], set.group }, form);
        qelPerform(set.group, "SetSelected", "A");
        ui.runScript();
        EXPECT_EQ(set.isSelected(1), c.chosen) << c.script;
        EXPECT_EQ(set.isSelected(0), !c.chosen) << c.script;
        EXPECT_EQ(handling->handled, c.chosen ? 1 : 0) << c.script;
        EXPECT_EQ(set.look(ui, 1), c.chosen ? pixelOf(on) : patternPixel(45, 15)) << c.script;
        EXPECT_EQ(set.look(ui, 0), c.chosen ? patternPixel(15, 15) : pixelOf(on)) << c.script;
        if (c.chosen) {
            // Chosen by a click, it stays enabled but is not hit again while selected.
            EXPECT_FALSE(qelIsTrue(qelGet(set.buttons[1], "Disabled")));
            EXPECT_FALSE(qelControlOf(set.buttons[1])->hitTest(45, 15));
        }
    }
}

TEST(RadioGroup, DisableOnTheSelectedButtonDeselectsItWithoutTheGroup)
{
    UiFixture ui;
    ThreeButtons set(ui);
    qelValue form;
    currentFormWith({ set.buttons[0], set.buttons[1], set.buttons[2], set.group }, form);
    qelPerform(set.group, "SetSelected", "B");
    qelPerform(set.buttons[1], "Disable", qelTrue);
    EXPECT_FALSE(set.isSelected(1));
    EXPECT_EQ(set.look(ui, 1), pixelOf(dim));
    EXPECT_FALSE(set.isSelected(0));
    // False on a selected button does nothing; on a deselected one it enables it.
    qelPerform(set.group, "SetSelected", "C");
    qelPerform(set.buttons[2], "Disable", qelFalse);
    EXPECT_TRUE(set.isSelected(2));
    qelPerform(set.buttons[1], "Disable", qelFalse);
    EXPECT_EQ(set.look(ui, 1), patternPixel(45, 15));
}

TEST(Group, VerbsShowHideEnableAndKeepTheMemberList)
{
    UiFixture ui;
    qelValue group = qelMakeControl(UiFixture::read("(table (\"Class\" \"Group\") (\"Enabled\" 7))"));
    qelValue a = qelMakeControl(UiFixture::read("(table (\"Class\" \"HotSpot\") (\"Name\" \"a\"))"));
    qelValue b = qelMakeControl(UiFixture::read("(table (\"Class\" \"HotSpot\") (\"Name\" \"b\"))"));
    // The first verb makes the group ready: hidden and disabled itself.
    EXPECT_TRUE(qelPerform(group, "isVisible", qelNil).isNil());
    EXPECT_TRUE(qelPerform(group, "isEnabled", qelNil) == qelMakeInt(7));
    EXPECT_FALSE(qelControlOf(group)->isVisible());
    EXPECT_FALSE(qelControlOf(group)->isEnabled());
    // Without "List" the list made at initialisation is the one stored and grown.
    qelValue list = qelGet(group, "List");
    qelPerform(group, "AddControl", a);
    qelPerform(group, "AddControl", b);
    qelPerform(group, "AddControl", a);
    EXPECT_EQ(qelCount(list), 3);
    qelPerform(group, "DelControl", a);
    EXPECT_EQ(qelCount(list), 1);
    EXPECT_TRUE(qelGet(list, 0) == b);
    qelPerform(group, "AddControl", a);

    qelPerform(group, "Show", qelFalse);
    EXPECT_TRUE(qelGet(a, "Hidden") == qelTrue);
    EXPECT_TRUE(qelGet(b, "Hidden") == qelTrue);
    qelPerform(group, "Show", "yes");
    EXPECT_TRUE(qelGet(a, "Hidden") == qelFalse);
    qelPerform(group, "Enable", qelFalse);
    EXPECT_TRUE(qelGet(a, "Disabled") == qelTrue);
    EXPECT_TRUE(qelGet(b, "Disabled") == qelTrue);
    // Verbs the group does not know are not passed on.
    qelPut(group, "Help", "ajuda");
    EXPECT_TRUE(qelPerform(group, "getHelpString", qelNil).isNil());
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(Group, ShowingAndHidingDrawsTheMembers)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue bitmap = qelMakeControl(UiFixture::read(
        "(table (\"Class\" \"Bitmap\") (\"X\" 10) (\"Y\" 10) (\"Save Background\" true))"));
    qelPut(bitmap, "Image", solidImage(20, 20, on));
    qelValue group = qelMakeControl(UiFixture::read("(table (\"Class\" \"Group\"))"));
    ui.environment->setGlobal("Foto", bitmap);
    qelPerform(group, "AddControl", qelMakeReference("Foto"));
    qelPerform(group, "Show", qelTrue);
    EXPECT_EQ(ui.pixel(15, 15), pixelOf(on));
    qelPerform(group, "Show", qelFalse);
    EXPECT_EQ(ui.pixel(15, 15), patternPixel(15, 15));
    qelPerform(group, "Show", qelTrue);
    qelPerform(group, "Enable", qelFalse);
    // Disabling draws nothing until the members are drawn.
    EXPECT_EQ(ui.pixel(15, 15), pixelOf(on));
    qelPerform(group, "Draw", qelNil);
    EXPECT_EQ(ui.pixel(15, 15), patternPixel(15, 15));
}
