// The list chooser over a patterned screen: where it opens beside a parent menu's item and where
// it flips at the media area's edges, what a press or a move over the dialog, the parent menus
// and elsewhere does, the result table for the ways of picking a row, the list loaded by kind,
// the review's region buttons, and the highlight pictures whose backgrounds come back.
//
// The dialog's picture is 200 x 150; "Lista" is a plain list box of strings, rows of 10 pixels.

#include "app/reference/ListasDlg.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"
#include "tests/framework/ui/ScreenProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t red = 0x0000FF;
constexpr uint32_t blue = 0xFF0000;

const char* const resource
    = "(table (\"Resource Table\" (table (\"Class\" \"ListasDlg\")"
      " (\"Origin X\" 100) (\"Origin Y\" 50) (\"dbID\" 0)"
      " (\"Lista\" (control (\"Class\" \"ListBox\") (\"Name\" \"Lista\")"
      "   (\"Hot Spot\" (rect 10 10 250 100)) (\"SingleClickNotify\" true)))"
      " (\"Brasil\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Brasil\") (\"Hot Spot\" (rect 10 120 50 20))))"
      " (\"Mundo\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Mundo\") (\"Hot Spot\" (rect 70 120 50 20))))"
      " (\"Fechar\" (control (\"Class\" \"HotSpot\") (\"Name\" \"Fechar\") (\"Action\" \"close\")"
      "   (\"Hot Spot\" (rect 130 120 50 20))))"
      " (\"Control List\" (list (reference \"Lista\") (reference \"Brasil\") (reference \"Mundo\")"
      "   (reference \"Fechar\"))))))";

// The review lists are the review's own; here each region answers its own strings.
class ProbeListas : public ListasDlg {
public:
    using ListasDlg::ListasDlg;
    std::vector<int32_t> loads;

protected:
    qelValue loadList(int32_t kind, int32_t category) override
    {
        loads.push_back(kind * 100 + category);
        if (kind == 3)
            return qelListOf({ qelValue("Janeiro"), qelValue("->Artigo") });
        return ListasDlg::loadList(kind, category);
    }
};

class ListasDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-listas-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        // Entry categories: 0 is every entry, 2 a category of three.
        qelValue archive = qelCreateArchive(qelValue((root / "Media" / "IDCatLst.DTT").string().c_str()), 0);
        for (std::initializer_list<int32_t> ids :
            { std::initializer_list<int32_t> { 7, 8, 9, 11, 12 }, { 7 }, { 9, 11, 12 } }) {
            qelValue list = qelMakeList(4, 100, QEL_INT_LIST);
            for (int32_t id : ids)
                qelAddItem(list, qelMakeInt(id));
            qelArchiveOf(archive)->add(list);
        }
        qelArchiveOf(archive)->flush();
        paintPattern(ui);
        before = screenCopy(ui);
        ListasDlg::s_selectedIndex = -1;
        dialog = qelFormValue(object = new ProbeListas(UiFixture::read(resource)));
    }
    void TearDown() override { fs::remove_all(root); }
    // A fresh disk, screen and dialog for the next case of a table.
    void reset()
    {
        TearDown();
        SetUp();
    }

    qelValue data(const char* text = "(table)")
    {
        qelValue table = UiFixture::read(text);
        qelPut(table, "Background", solidImage(200, 150, 0xFFFFFF));
        return table;
    }
    void open(const qelValue& openingData)
    {
        qelSetActiveForm(dialog);
        object->open(openingData);
    }
    qelValue control(const char* name) { return object->findControl("Name", qelValue(name)); }
    // Picks a row as a click on it does.
    void pick(int32_t row)
    {
        qelPerform(control("Lista"), "setSelection", qelMakeInt(row));
        object->handleControl(control("Lista"));
    }
    std::string finish()
    {
        qelValue result = object->result();
        object->close();
        return describe(result);
    }
    static std::string describe(const qelValue& result)
    {
        if (result.isNil())
            return "nil";
        if (result.isString())
            return qelCString(result);
        std::string out = qelCString(qelGet(result, "Text"));
        out += " " + std::to_string(qelIntValue(qelGet(result, "Index")));
        if (qelGet(result, "FullList") == qelTrue)
            out += " full";
        return out;
    }

    UiFixture ui;
    fs::path root;
    std::vector<uint32_t> before;
    ProbeListas* object = nullptr;
    qelValue dialog;
};

// A rectangle as "left,top,width,height".
std::string rectText(const qelValue& rect)
{
    return std::to_string(qelLeft(rect)) + "," + std::to_string(qelTop(rect)) + "," + std::to_string(qelWidth(rect))
        + "," + std::to_string(qelHeight(rect));
}

// A parent menu at (20, 40, 80, 100) whose item (20, 60, 80, 12) opened the dialog.
qelValue parents(int32_t left = 20, int32_t top = 40)
{
    qelValue parent = qelTable(4, 100, 75);
    qelPut(parent, "MenuRect", qelRectValue(left, top, 80, 100));
    qelPut(parent, "SubItemRect", qelRectValue(left, top + 20, 80, 12));
    return qelListOf({ parent });
}

} // namespace

TEST_F(ListasDlgTest, OpensBesideTheParentItemAndFlipsAtTheEdges)
{
    // The 200 x 150 dialog beside the item at (left, top + 20, 80, 12) of a 640 x 480 media area.
    struct Case {
        int32_t left;
        int32_t top;
        int32_t x;
        int32_t y;
    } cases[] = {
        { 20, 40, 101, 55 },
        // 361 + 200 reaches 561 < 640: still on the right; 380 + 81 + 200 passes: on the left.
        { 280, 40, 361, 55 },
        { 380, 40, 179, 55 },
        // Its bottom would pass 480: bottom-aligned with the item, four pixels lower.
        { 20, 330, 101, 216 },
    };
    for (const Case& c : cases) {
        reset();
        qelValue d = data("(table (\"UseDefaultPosition\" true) (\"Origin X\" 5) (\"Offset X\" 7))");
        qelPut(d, "ParentsList", parents(c.left, c.top));
        open(d);
        // The data's origin and offsets are not used for a dialog placed beside its item.
        EXPECT_EQ(object->originX, c.x) << c.left << "," << c.top;
        EXPECT_EQ(object->originY, c.y) << c.left << "," << c.top;
        EXPECT_EQ(rectText(object->m_frameRect), std::to_string(c.x) + "," + std::to_string(c.y) + ",200,150");
        finish();
    }
}

TEST_F(ListasDlgTest, AStandaloneDialogTakesTheDataOriginAndOffsetsAndFitsItsList)
{
    open(data("(table (\"Origin X\" 30) (\"Offset X\" 5) (\"Offset Y\" -10))"));
    EXPECT_EQ(object->originX, 35);
    EXPECT_EQ(object->originY, 40);
    // The list box, 250 wide at 10, is narrowed to end three pixels inside the 200-wide picture.
    EXPECT_EQ(rectText(qelControlOf(control("Lista"))->getProperty("Hot Spot")), "10,10,187,100");
    finish();
}

TEST_F(ListasDlgTest, HitTestFindsTheDialogThenTheParentsFromTheLast)
{
    qelValue chain = parents();
    // A second menu to the right whose own item covers part of the first menu's rectangle.
    qelValue second = qelTable(4, 100, 75);
    qelPut(second, "MenuRect", qelRectValue(100, 200, 60, 60));
    qelPut(second, "SubItemRect", qelRectValue(30, 100, 10, 10));
    qelAddItem(chain, second);
    qelValue d = data("(table (\"Origin X\" 300) (\"Origin Y\" 300))");
    qelPut(d, "ParentsList", chain);
    open(d);
    struct Case {
        int32_t x;
        int32_t y;
        int32_t hit;
    } cases[] = {
        { 300, 300, 3 },
        { 499, 449, 3 },
        // The last menu decides first: its item inside the first menu's rectangle.
        { 35, 105, 2 },
        { 110, 210, 1 },
        { 25, 65, 2 },
        { 25, 45, 1 },
        { 5, 5, 0 },
        { 600, 460, 0 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(object->hitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    finish();
}

TEST_F(ListasDlgTest, TheResultForEachWayOfPicking)
{
    struct Case {
        const char* data;
        int32_t row;
        // The result as "Text Index" (plus " full"); the rows of an int list show no text here.
        const char* result;
    } cases[] = {
        // A list given by the data: the picked row's position, whatever was selected at opening.
        { "(table (\"BrowseList\" (list \"a\" \"b\" \"c\" \"d\" \"e\")) (\"Selected\" 2))", 4, "e 4" },
        // With "FullList": the picked element's value.
        { "(table (\"BrowseList\" (list \"5\" \"6\" \"70\" \"8\")) (\"FullList\" true))", 2, "70 70 full" },
        // Category 0 loaded by kind: the whole list, so "FullList" and the element.
        { "(table (\"SCatID\" 0))", 3, " 11 full" },
        // Another category loaded by kind: the position.
        { "(table (\"SCatID\" 2))", 1, " 1" },
        // Nothing selected: the list does not end the dialog.
        { "(table (\"BrowseList\" (list \"a\" \"b\")))", -1, "nil" },
    };
    for (const Case& c : cases) {
        reset();
        open(data(c.data));
        if (c.row >= 0)
            pick(c.row);
        else
            object->handleControl(control("Lista"));
        EXPECT_EQ(object->done, c.row >= 0 ? 1 : 0) << c.data;
        qelValue result = object->result();
        object->close();
        std::string got = describe(result);
        if (!result.isNil() && !qelGet(result, "Text").isString())
            got = " " + got.substr(got.find(' ') + 1);
        EXPECT_EQ(got, c.result) << c.data;
        EXPECT_EQ(ListasDlg::s_selectedIndex, c.row) << c.data;
    }
}

TEST_F(ListasDlgTest, ABrowseListIsShownAndNothingIsLoaded)
{
    open(data("(table (\"BrowseList\" (list \"x\" \"y\")) (\"dbID\" 3) (\"SCatID\" 4) (\"Selected\" 1))"));
    EXPECT_TRUE(object->loads.empty());
    EXPECT_EQ(qelCount(qelPerformAction(control("Lista"), "getList")), 2);
    EXPECT_EQ(qelIntValue(qelPerformAction(control("Lista"), "getSelection")), 1);
    // The kind given by the data goes to the list box too.
    EXPECT_EQ(qelIntValue(qelControlOf(control("Lista"))->getProperty("dbID")), 3);
    finish();
}

TEST_F(ListasDlgTest, TheReviewRegionButtonsSwitchTheListAndEachOther)
{
    open(data("(table (\"dbID\" 3) (\"SCatID\" 12) (\"Retro98\" true))"));
    EXPECT_EQ(object->loads, std::vector<int32_t>({ 312 }));
    EXPECT_EQ(object->m_use98, 1);
    object->handleControl(control("Mundo"));
    EXPECT_EQ(qelControlOf(control("Mundo"))->getProperty("Disabled"), qelTrue);
    EXPECT_EQ(qelControlOf(control("Brasil"))->getProperty("Disabled"), qelFalse);
    object->handleControl(control("Brasil"));
    EXPECT_EQ(qelControlOf(control("Brasil"))->getProperty("Disabled"), qelTrue);
    EXPECT_EQ(qelControlOf(control("Mundo"))->getProperty("Disabled"), qelFalse);
    EXPECT_EQ(object->done, 0);
    // "Fechar" is the framework's close: nothing picked.
    object->handleControl(control("Fechar"));
    EXPECT_EQ(object->done, 1);
    EXPECT_EQ(finish(), "nil");
}

TEST_F(ListasDlgTest, PressesAndMovesOverTheDialogTheParentsAndElsewhere)
{
    struct Case {
        const char* what;
        bool move;
        int32_t x;
        int32_t y;
        bool withParents;
        int32_t done;
        int32_t selectedAfter;
        const char* result;
    } cases[] = {
        { "move over the parent menu", true, 25, 45, true, 1, 2, "__STAYOPEN__" },
        { "move over the opening item", true, 25, 65, true, 0, 2, "nil" },
        { "move outside everything", true, 5, 5, true, 0, 2, "nil" },
        // Ending for a parent or for a press outside forgets the selected row.
        { "press on the parent menu", false, 25, 45, true, 1, -1, "__STAYOPEN__" },
        { "press on the opening item", false, 25, 65, true, 0, 2, "nil" },
        { "press outside everything", false, 5, 5, true, 1, -1, "nil" },
        { "press outside, no parents", false, 25, 45, false, 1, -1, "nil" },
        { "press inside", false, 490, 445, true, 0, 2, "nil" },
    };
    for (const Case& c : cases) {
        reset();
        ListasDlg::s_selectedIndex = 3;
        qelValue d = data("(table (\"Origin X\" 300) (\"Origin Y\" 300) (\"BrowseList\" (list \"a\" \"b\" \"c\" \"d\"))"
                          " (\"Selected\" 2))");
        if (c.withParents)
            qelPut(d, "ParentsList", parents());
        open(d);
        if (c.move)
            object->mouseMove(c.x, c.y, 0);
        else
            object->mouseDown(c.x, c.y, 0, 1);
        EXPECT_EQ(object->done, c.done) << c.what;
        EXPECT_EQ(ListasDlg::s_selectedIndex, c.selectedAfter) << c.what;
        EXPECT_EQ(finish(), c.result) << c.what;
    }
}

TEST_F(ListasDlgTest, HighlightPicturesAreDrawnAndTheirBackgroundsComeBack)
{
    // Two pictures as a list, overlapping each other, away from the dialog at (100, 50).
    qelValue d = data();
    qelPut(d, "AddedImage",
        qelListOf({ qelListOf({ solidImage(30, 20, red), qelMakeInt(400), qelMakeInt(300) }),
            qelListOf({ solidImage(30, 20, blue), qelMakeInt(420), qelMakeInt(310) }) }));
    open(d);
    EXPECT_EQ(ui.pixel(401, 301), pixelOf(red));
    EXPECT_EQ(ui.pixel(425, 315), pixelOf(blue));
    EXPECT_TRUE(object->m_addedImages.shown());
    finish();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");

    // One picture as a table.
    reset();
    qelValue single = qelTable(4, 100, 75);
    qelPut(single, "Image", solidImage(16, 8, red));
    qelPut(single, "Origin X", qelMakeInt(5));
    qelPut(single, "Origin Y", qelMakeInt(400));
    d = data();
    qelPut(d, "AddedImage", single);
    open(d);
    EXPECT_EQ(ui.pixel(20, 407), pixelOf(red));
    finish();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

TEST_F(ListasDlgTest, TheDialogsOwnPictureAndTheDatasBothComeBack)
{
    // The resource's picture is drawn first, the data's over part of it; closing puts back the
    // screen under both (one kept background would leave the first picture on the screen).
    qelValue own = qelTable(4, 100, 75);
    qelPut(own, "Image", solidImage(16, 8, red));
    qelPut(own, "Origin X", qelMakeInt(5));
    qelPut(own, "Origin Y", qelMakeInt(400));
    object->setProperty("AddedImage", own);
    qelValue overlapping = qelTable(4, 100, 75);
    qelPut(overlapping, "Image", solidImage(16, 8, blue));
    qelPut(overlapping, "Origin X", qelMakeInt(12));
    qelPut(overlapping, "Origin Y", qelMakeInt(404));
    qelValue d = data();
    qelPut(d, "AddedImage", overlapping);
    open(d);
    EXPECT_EQ(ui.pixel(6, 401), pixelOf(red));
    EXPECT_EQ(ui.pixel(20, 410), pixelOf(blue));
    EXPECT_EQ(object->m_addedImages.savedCount(), 2);
    finish();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

TEST_F(ListasDlgTest, APictureThatCannotBeDrawnEndsTheHighlightsAndOnlyWhatWasCoveredComesBack)
{
    qelValue d = data();
    qelPut(d, "AddedImage",
        qelListOf({ qelListOf({ solidImage(30, 20, red), qelMakeInt(400), qelMakeInt(300) }),
            qelListOf({ qelNil, qelMakeInt(10), qelMakeInt(10) }),
            qelListOf({ solidImage(30, 20, blue), qelMakeInt(500), qelMakeInt(400) }) }));
    open(d);
    EXPECT_EQ(ui.pixel(401, 301), pixelOf(red));
    EXPECT_EQ(ui.pixel(505, 405), patternPixel(505, 405));
    EXPECT_EQ(object->m_addedImages.savedCount(), 1);
    finish();
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}
