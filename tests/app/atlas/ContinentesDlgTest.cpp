// The continent chooser: where it places itself beside the menu item that opened it, how it
// reads a point (dialog, the parent's item, a parent menu, outside), and what it answers when run
// over the almanac's disk: a choice, a press outside everything, the pointer back on the parent.

#include "app/ClassSet.h"
#include "app/atlas/ContinentesDlg.h"
#include "app/shell/Registrations.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

qelValue parent(const qelValue& item, const qelValue& menu)
{
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, "SubItemRect", item);
    qelPut(table, "MenuRect", menu);
    return table;
}

std::string answer(const qelValue& result)
{
    if (result.isNil())
        return "nil";
    if (result.isString())
        return qelCString(result);
    return std::string(qelCString(qelGet(result, "Text"))) + " #" + std::to_string(qelIntValue(qelGet(result, "Index")));
}

} // namespace

TEST(ContinentesPlacement, BesideTheItemFlippingAtTheScreensEdges)
{
    // A 100 x 80 dialog beside an item at (200, 100), 120 x 20, on a 640 x 480 screen.
    struct Case {
        int itemX, itemY;
        int x, y;
        const char* what;
    } cases[] = {
        { 200, 100, 321, 95, "right of the item, 5 pixels above its top" },
        // x + w = 419 + 100 + 1 + 120 = 640: equal is not inside, so the dialog opens to the left.
        { 419, 100, 318, 95, "the right edge exactly on the screen's: to the left" },
        { 418, 100, 639 - 100, 95, "one pixel short of the edge: still to the right" },
        // y + h = 405 - 5 + 80 = 480: equal, so the bottom lines up 4 pixels below the item's.
        { 200, 405, 321, 405 + 20 + 4 - 80, "the bottom exactly on the screen's: bottom-aligned" },
        { 200, 404, 321, 399, "one pixel short: below the item's top" },
    };
    for (const Case& c : cases) {
        std::optional<CascadePlace> place = cascadePlacement(qelRectValue(c.itemX, c.itemY, 120, 20), 100, 80, 640, 480);
        ASSERT_TRUE(place) << c.what;
        EXPECT_EQ(place->x, c.x) << c.what;
        EXPECT_EQ(place->y, c.y) << c.what;
    }
    EXPECT_FALSE(cascadePlacement(qelNil, 100, 80, 640, 480)) << "a parent without its item's rectangle: no place";
}

TEST(ContinentesHitTest, TheDialogThenTheParentsFromTheInnermost)
{
    qelValue dialog = qelRectValue(300, 100, 100, 80);
    // The outer menu's item that opened the inner menu lies inside the inner menu's rectangle.
    qelValue parents = qelListOf({ parent(qelRectValue(50, 120, 100, 20), qelRectValue(40, 40, 120, 200)),
        parent(qelRectValue(180, 100, 100, 20), qelRectValue(140, 90, 160, 120)) });
    struct Case {
        int x, y;
        int hit;
        const char* what;
    } cases[] = {
        { 310, 110, cascadeInside, "inside the dialog" },
        { 300, 100, cascadeInside, "the dialog's corner" },
        { 200, 110, cascadeParentItem, "the inner menu's item that opened the dialog" },
        { 200, 150, cascadeParentMenu, "the inner menu away from that item" },
        { 145, 130, cascadeParentMenu, "the outer item under the inner menu: the inner menu is tested first" },
        { 60, 125, cascadeParentItem, "the outer menu's item, outside the inner menu" },
        { 60, 60, cascadeParentMenu, "the outer menu" },
        { 600, 400, cascadeOutside, "outside everything" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(cascadeHitTest(dialog, parents, c.x, c.y), c.hit) << c.what;
    EXPECT_EQ(cascadeHitTest(dialog, qelMakeList(4, 100, QEL_GENERAL_LIST), 200, 150), cascadeOutside)
        << "no parents: every point outside the dialog is outside";
}

class ContinentesRun : public testing::Test {
protected:
    std::string run(const char* script, const qelValue& data)
    {
        UiFixture ui(script);
        ui.environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        velarimRegisterClassPrototypes();
        velarimRegister(0, velarimRegistrations.size());
        std::string result = answer(qelRunDialog("ContinentesDlg", data));
        errors = recordedErrors();
        return result;
    }
    std::vector<std::string> errors;
};

TEST_F(ContinentesRun, AChoiceAnswersItsTextAndRowForTheMenusAbove)
{
    // The chooser opens where its resource says (360, 200); its list's first row is at the top.
    EXPECT_EQ(run("click 400 212\n", qelNil), "Europa #0");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ContinentesRun, APressOutsideEverythingClosesTheMenusToo)
{
    EXPECT_EQ(run("click 20 460\n", qelNil), "__CLOSE__");
    // Without parents, moving away never ends it: the press afterwards does.
    EXPECT_EQ(run("move 20 460\nmove 30 300\nclick 20 460\n", qelNil), "__CLOSE__");
}

TEST_F(ContinentesRun, AsACascadeItSitsBesideItsItemAndGivesWayToItsParent)
{
    qelValue data = qelTable(4, 100, 75);
    qelPut(data, "ParentsList",
        qelListOf({ parent(qelRectValue(100, 100, 80, 20), qelRectValue(90, 90, 100, 200)) }));
    qelPut(data, "UseDefaultPosition", qelTrue);
    // Beside the item: (181, 95). A press on the item that opened it is ignored; moving onto the
    // parent menu away from the item ends it for the parent.
    EXPECT_EQ(run("click 140 110\nmove 140 250\n", data), "__STAYOPEN__");
    EXPECT_EQ(run("click 220 107\n", data), "Europa #0") << "the first row, where the chooser placed itself";
}
