// The combo box: opening by a click, holding open, committing or leaving the selection, the
// listed controls disabled while open, the screen under the list put back exactly, the keyboard
// for the open and the closed box, its verbs, and the edit variant's text field.

#include "UiFixture.h"

#include "framework/display/ContextImage.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/ComboEdit.h"
#include "framework/ui/Factories.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Field (10, 10, 120, 20) with a 20-pixel button; rows of the test font are 10 pixels, so the
// open list is (10, 31, 120, 57) and row i starts at y 32 + 10 i.
const char* fruitCombo = "(table (\"EditHotSpot\" (rect 10 10 120 20)) (\"DropButtonWidth\" 20) "
                         "(\"List\" (list \"Apple\" \"Banana\" \"Berry\" 7 \"Cherry\")))";

class CountingForm : public qelFormObject {
public:
    CountingForm()
        : qelFormObject(qelNil)
    {
    }
    void handleControl(const qelValue&) override { ++handled; }
    int32_t handled = 0;
};

struct OnForm {
    qelValue control;
    qelValue other;
    ComboBox* box = nullptr;
    CountingForm* form = nullptr;
};

// The combo box and a hot spot it disables while open, on the active form; drawn once, as the
// form's opening does.
template<typename T = ComboBox> OnForm comboOnForm(const qelValue& data)
{
    OnForm s;
    s.box = new T(data);
    s.control = qelControlValue(s.box);
    s.other = qelMakeControl(UiFixture::read("(table (\"Class\" \"HotSpot\") (\"Hot Spot\" (rect 300 300 10 10)))"));
    qelPut(data, "ControlsToDisable", qelListOf({ s.other }));
    s.form = new CountingForm();
    s.form->controls = qelListOf({ s.control, s.other });
    qelSetActiveForm(qelFormValue(s.form));
    s.box->draw();
    return s;
}

bool disabled(const qelValue& control)
{
    return qelIsTrue(qelGet(control, "Disabled"));
}

} // namespace

TEST(ComboBoxMouse, OpenHoldCommitAndLeave)
{
    struct Case {
        const char* script;
        int32_t selection;
        int32_t isDown;
        int32_t handled;
    } cases[] = {
        // A click on the field opens the list and holds it open.
        { "click 50 20\n", 0, 1, 0 },
        // A second click on the field closes it without a change.
        { "click 50 20\nclick 50 20\n", 0, 0, 0 },
        // A click in the held list commits the row under the pointer.
        { "click 50 20\nclick 50 55\n", 2, 0, 1 },
        // A press on the field dragged into the list commits where it is released.
        { "down 50 20\nmove 50 45\nup 50 45\n", 1, 0, 1 },
        // A release outside the list leaves the selection.
        { "click 50 20\ndown 50 55\nmove 300 200\nup 300 200\n", 0, 0, 0 },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        qelValue data = UiFixture::read(fruitCombo);
        OnForm s = comboOnForm(data);
        s.box->setSelection(0, 0);
        ui.runScript();
        EXPECT_EQ(s.box->selection, c.selection) << c.script;
        EXPECT_EQ(s.box->isDown, c.isDown) << c.script;
        EXPECT_EQ(s.form->handled, c.handled) << c.script;
        // While open the listed control is disabled and the hot spot covers the list.
        EXPECT_EQ(disabled(s.other), c.isDown == 1) << c.script;
        EXPECT_EQ(qelHeight(qelGet(s.control, "Hot Spot")), c.isDown ? 78 : 20) << c.script;
        EXPECT_TRUE(recordedErrors().empty());
    }
}

TEST(ComboBoxMouse, ScreenUnderTheListComesBackExactly)
{
    UiFixture ui("click 50 20\n");
    // A picture whose every pixel differs from its neighbours above and below.
    qelValue picture = qelMakeContext(qelListOf({ 640, 480 }));
    auto* dc = dynamic_cast<qelContextImageObject*>(picture.object())->dc();
    for (int y = 0; y < 120; ++y) {
        platform::gfx::Brush brush;
        brush.color = platform::gfx::ColorRef(0x010203 * (y + 1));
        dc->fillRect(platform::gfx::Rect::fromSize(0, y, 640, 1), brush);
    }
    ui.port->drawImage(picture, 0, 0, 0, 0, 0, 0);
    std::vector<uint32_t> before;
    for (int y = 25; y < 100; ++y)
        before.push_back(ui.pixel(60, y));
    qelValue data = UiFixture::read(fruitCombo);
    qelPut(data, "DrawBorder", qelTrue);
    OnForm s = comboOnForm(data);
    ui.runScript();
    ASSERT_EQ(s.box->isDown, 1);
    // The list (white, with a black border) covers the picture until it closes.
    EXPECT_EQ(ui.pixel(60, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(ui.pixel(60, 88) & 0xFFFFFF, 0x010000u);
    qelPerform(s.control, "closeUp", qelNil);
    std::vector<uint32_t> after;
    for (int y = 25; y < 100; ++y)
        after.push_back(ui.pixel(60, y));
    // The field (no selection: nothing drawn) and everything under the list are as they were.
    EXPECT_EQ(after, before);
}

TEST(ComboBoxKeys, OpenAndClosedTables)
{
    struct Case {
        bool open;
        int32_t start;
        int32_t key;
        int32_t result;
        int32_t selection;
        int32_t highlight;
    } cases[] = {
        { false, 2, QEL_KEY_HOME, 1, 0, 2 },
        { false, 2, QEL_KEY_END, 1, 4, 2 },
        { false, 2, QEL_KEY_UP, 1, 1, 2 },
        { false, 0, QEL_KEY_UP, 0, 0, 0 },
        { false, 2, QEL_KEY_DOWN, 1, 3, 2 },
        { false, 4, QEL_KEY_DOWN, 0, 4, 4 },
        { false, 2, QEL_KEY_ENTER, 0, 2, 2 },
        // Open: the keys move only the highlight and report false; Enter commits.
        { true, 2, QEL_KEY_HOME, 0, 2, 0 },
        { true, 2, QEL_KEY_END, 0, 2, 4 },
        { true, 2, QEL_KEY_UP, 0, 2, 1 },
        { true, 2, QEL_KEY_DOWN, 0, 2, 3 },
        { true, 2, QEL_KEY_PAGE_UP, 0, 2, 0 },
        { true, 0, QEL_KEY_PAGE_DOWN, 0, 0, 4 },
        // Letters search from the first item, strings only, and commit at once.
        { true, 3, 'b', 1, 1, 1 },
        { false, 3, 'C', 1, 4, 4 },
        { false, 3, 'z', 0, 3, 3 },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        OnForm s = comboOnForm(UiFixture::read(fruitCombo));
        s.box->setSelection(c.start, 0);
        s.box->highlight = c.start;
        if (c.open)
            s.box->openList(1);
        EXPECT_EQ(s.box->key(c.key, 0), c.result) << c.open << " " << c.key;
        EXPECT_EQ(s.box->selection, c.selection) << c.open << " " << c.key;
        EXPECT_EQ(s.box->highlight, c.highlight) << c.open << " " << c.key;
        bool stillOpen = c.open && c.key != QEL_KEY_ENTER && !(c.key >= 'a' && c.key <= 'z');
        EXPECT_EQ(s.box->isDown, stillOpen) << c.open << " " << c.key;
    }
}

TEST(ComboBoxVerbs, SelectionListAndKeys)
{
    UiFixture ui;
    qelValue data = UiFixture::read(fruitCombo);
    OnForm s = comboOnForm(data);
    // No selection: the closed box draws nothing, not even its button.
    EXPECT_EQ(ui.pixel(120, 15), 0u);
    EXPECT_TRUE(qelPerform(s.control, "getSelectionStr", qelNil).isNil());
    qelPerform(s.control, "setSelection", 1);
    EXPECT_NE(ui.pixel(40, 15), 0u);
    // The selected item itself is replaced.
    qelPerform(s.control, "setSelectionStr", "Blueberry");
    EXPECT_TRUE(qelGet(qelPerform(s.control, "getList", qelNil), 1) == "Blueberry");
    EXPECT_TRUE(qelPerform(s.control, "getSelectionStr", qelNil) == "Blueberry");
    // "onKey" ends by selecting the highlighted row, so a key sent to the closed box returns to
    // the row last highlighted.
    s.box->highlight = 1;
    EXPECT_TRUE(qelIsTrue(qelPerform(s.control, "onKey", QEL_KEY_DOWN)));
    EXPECT_EQ(qelIntValue(qelPerform(s.control, "getSelection", qelNil)), 1);
    // Open, then closed by the verb without a change; deactivation closes too.
    s.box->openList(1);
    EXPECT_TRUE(qelIsTrue(qelPerform(s.control, "isDown", qelNil)));
    s.box->moveHighlight(3, 0);
    qelPerform(s.control, "closeUp", qelNil);
    EXPECT_EQ(s.box->selection, 1);
    EXPECT_FALSE(disabled(s.other));
    s.box->openList(1);
    s.box->deactivate();
    EXPECT_EQ(s.box->isDown, 0);
    // A new list sets the box up again.
    qelPerform(s.control, "setList", UiFixture::read("(list \"x\" \"y\")"));
    EXPECT_EQ(qelCount(qelPerform(s.control, "getList", qelNil)), 2);
    EXPECT_EQ(s.box->listHeight, 11 * 2 + 2);
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(ComboBoxMouse, LongListScrollsOnlyTheView)
{
    // Eight items, five rows, with a thumb: the strip below the thumb pages the view.
    UiFixture ui("click 50 20\nclick 125 80\n");
    qelValue data = UiFixture::read("(table (\"EditHotSpot\" (rect 10 10 120 20)) (\"DropButtonWidth\" 20) "
                                    "(\"MaxItems\" 5))");
    qelValue items = qelMakeList(8, 100, QEL_GENERAL_LIST);
    for (const char* name : { "a", "b", "c", "d", "e", "f", "g", "h" })
        qelAddItem(items, name);
    qelPut(data, "List", items);
    qelPut(data, "ThumbImage", qelMakeContext(qelListOf({ 10, 10 })));
    OnForm s = comboOnForm(data);
    s.box->setSelection(0, 0);
    ui.runScript();
    EXPECT_EQ(s.box->isDown, 1);
    EXPECT_EQ(s.box->listHasScrollBar, 1);
    EXPECT_EQ(s.box->listTopIndex, 3);
    EXPECT_EQ(s.box->highlight, 0);
    EXPECT_EQ(s.box->selection, 0);
}

namespace {

// The text field the edit variant drives: it notes the verbs it gets and answers its text.
class StubTextField : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    int32_t canActivate() override { return 1; }
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        std::string verb = qelCString(action);
        if (verb == "stringValue")
            return text;
        if (verb == "replaceSel")
            text = data;
        verbs.push_back(data.isString() ? verb + " " + qelCString(data) : verb);
        return qelNil;
    }
    qelValue text;
    std::vector<std::string> verbs;
};

} // namespace

TEST(ComboEdit, DrivesItsTextField)
{
    UiFixture ui("click 50 20\nclick 50 45\n");
    auto* field = new StubTextField(UiFixture::read("(table (\"Name\" \"campo\") (\"Hot Spot\" (rect 10 10 100 20)))"));
    qelValue fieldValue = qelControlValue(field);
    qelValue data = UiFixture::read(fruitCombo);
    qelPut(data, "EditControl", "campo");
    auto* edit = new ComboEdit(data);
    qelValue control = qelControlValue(edit);
    auto* form = new CountingForm();
    form->controls = qelListOf({ control, fieldValue });
    qelSetActiveForm(qelFormValue(form));
    edit->draw();
    ASSERT_TRUE(edit->editControl == fieldValue);

    // The field draws itself for the closed box; then a new selection is written into it, fully
    // selected.
    edit->setSelection(2, 0);
    EXPECT_EQ(field->verbs, (std::vector<std::string> { "Draw", "selectAll", "replaceSel Berry", "selectAll" }));
    // Typed text becomes the selected item when the list opens; the field takes the focus back
    // when it closes.
    field->text = "Blackberry";
    ui.runScript();
    EXPECT_TRUE(qelGet(edit->list, 2) == "Blackberry");
    EXPECT_EQ(edit->selection, 1);
    EXPECT_TRUE(qelCString(field->text) == std::string("Banana"));
    EXPECT_TRUE(form->activeControl == fieldValue);
    EXPECT_TRUE(recordedErrors().empty());
}

// Number properties count whether written as ints, floats or strings of digits.
TEST(ComboBoxVerbs, NumberPropertiesReadAsNumbersInAnyForm)
{
    UiFixture ui;
    std::vector<int32_t> rowHeights;
    for (const char* spacing : { "5", "5.0", "\"5\"", "nil" }) {
        qelValue data = UiFixture::read((std::string("(table (\"EditHotSpot\" (rect 10 10 120 20)) (\"LineSpacing\" ")
            + spacing + ") (\"List\" (list \"Apple\" \"Banana\")))").c_str());
        OnForm s = comboOnForm(data);
        rowHeights.push_back(s.box->rowHeight);
        qelSetActiveForm(qelNil);
    }
    // Rows of the test font are 10 pixels; the spacing adds 5, and a missing one nothing.
    EXPECT_EQ(rowHeights, (std::vector<int32_t> { 15, 15, 15, 10 }));
}
