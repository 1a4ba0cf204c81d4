// The text field: the key table over a set of start states, the limits and the filter, mouse
// placement, dragging and word and line selection, clipboard round trips through the headless
// clipboard, sideways scrolling, drawing probes, focus and notifications, the verb table and the
// reformatting by "Format".

#include "UiFixture.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/ui/FieldFormat.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/TextField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t SHIFT = 1;
constexpr int32_t CTRL = 2;
constexpr int32_t ALT = 4;

class CountingForm : public qelFormObject {
public:
    CountingForm()
        : qelFormObject(qelNil)
    {
    }
    void handleControl(const qelValue&) override { ++handled; }
    int32_t handled = 0;
};

// The field (hot spot 10, 10, 200, 20: text area 12, 12, 196, 16) alone on the active form,
// focused. Characters of the test font are 6 pixels wide, so caret position i is at x 12 + 6 i.
struct Bench {
    explicit Bench(UiFixture& ui, const std::string& extra = "", const char* text = "abc def")
        : ui(ui)
    {
        std::string data = "(table (\"Name\" \"campo\") (\"Hot Spot\" (rect 10 10 200 20)) " + extra + ")";
        field = new TextField(UiFixture::read(data.c_str()));
        value = qelControlValue(field);
        if (text)
            field->setProperty("StringValue", qelStringValue(text));
        form = new CountingForm();
        form->controls = qelListOf({ value });
        qelSetActiveForm(qelFormValue(form));
        field->draw();
        form->setActiveControl(value, 1);
    }
    std::string text() { return qelCString(field->text()); }
    size_t beeps() { return ui.headless->beeps().size(); }

    UiFixture& ui;
    TextField* field = nullptr;
    qelValue value;
    CountingForm* form = nullptr;
};

} // namespace

TEST(TextFieldKeys, EachKeyOverStartStates)
{
    struct Case {
        const char* text;
        int32_t end, anchor; // the start selection
        int32_t code, modifiers;
        const char* expected;
        int32_t expectedEnd, expectedAnchor;
        int32_t result; // with "NotifyOnEachKey" true
        bool beeps;
    } cases[] = {
        // Moving, with and without Shift; a selection moves from its moving end.
        { "abc def", 3, 3, TextField::LEFT_KEY, 0, "abc def", 2, 2, 0, false },
        { "abc def", 3, 3, TextField::LEFT_KEY, SHIFT, "abc def", 2, 3, 0, false },
        { "abc def", 0, 0, TextField::LEFT_KEY, 0, "abc def", 0, 0, 0, false },
        { "abc def", 4, 1, TextField::LEFT_KEY, 0, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, TextField::RIGHT_KEY, 0, "abc def", 4, 4, 0, false },
        { "abc def", 4, 1, TextField::RIGHT_KEY, SHIFT, "abc def", 5, 1, 0, false },
        { "abc def", 7, 7, TextField::RIGHT_KEY, 0, "abc def", 7, 7, 0, false },
        { "abc def", 7, 7, TextField::LEFT_KEY, CTRL, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, TextField::LEFT_KEY, CTRL, "abc def", 0, 0, 0, false },
        { "abc def", 7, 7, TextField::LEFT_KEY, CTRL | SHIFT, "abc def", 3, 7, 0, false },
        { "abc def", 0, 0, TextField::RIGHT_KEY, CTRL, "abc def", 4, 4, 0, false },
        { "abc def", 4, 4, TextField::RIGHT_KEY, CTRL, "abc def", 7, 7, 0, false },
        { "abc def", 5, 5, TextField::HOME_KEY, 0, "abc def", 0, 0, 0, false },
        { "abc def", 5, 5, TextField::HOME_KEY, SHIFT, "abc def", 0, 5, 0, false },
        { "abc def", 2, 2, TextField::END_KEY, 0, "abc def", 7, 7, 0, false },
        { "abc def", 2, 2, TextField::END_KEY, SHIFT, "abc def", 7, 2, 0, false },
        // Deleting.
        { "abc def", 3, 3, 8, 0, "ab def", 2, 2, 1, false },
        { "abc def", 3, 3, 8, SHIFT, "ab def", 2, 2, 1, false },
        { "abc def", 4, 1, 8, 0, "adef", 1, 1, 1, false },
        { "abc def", 0, 0, 8, 0, "abc def", 0, 0, 1, false },
        { "abc def", 3, 3, TextField::DELETE_KEY, 0, "abcdef", 3, 3, 1, false },
        { "abc def", 1, 4, TextField::DELETE_KEY, 0, "adef", 1, 1, 1, false },
        { "abc def", 7, 7, TextField::DELETE_KEY, 0, "abc def", 7, 7, 1, false },
        { "abc def", 3, 3, TextField::DELETE_KEY, CTRL, "abc", 3, 3, 1, false },
        // Typing, over a caret and over a selection; Shift types, Ctrl and Alt do not.
        { "abc def", 3, 3, 'x', 0, "abcx def", 4, 4, 1, false },
        { "abc def", 3, 3, 'X', SHIFT, "abcX def", 4, 4, 1, false },
        { "abc def", 4, 1, 'x', 0, "axdef", 2, 2, 1, false },
        { "abc def", 7, 7, '\xE7' & 0xFF, 0, "abc def\xE7", 8, 8, 1, false },
        { "abc def", 3, 3, 'X', CTRL, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, 'X', ALT, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, 7, 0, "abc def", 3, 3, 0, true },
        { "abc def", 3, 3, 27, 0, "abc def", 3, 3, 0, true },
        { "abc def", 3, 3, 1 << 16, 0, "abc def", 3, 3, 0, true }, // F1
        // Keys that do nothing; Enter asks the form to handle the field.
        { "abc def", 3, 3, 13, 0, "abc def", 3, 3, 1, false },
        { "abc def", 3, 3, TextField::UP_KEY, 0, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, TextField::PAGE_DOWN_KEY, 0, "abc def", 3, 3, 0, false },
        { "abc def", 3, 3, TextField::INSERT_KEY, SHIFT, "abc def", 3, 3, 0, false },
        // The empty field has the one caret position 0.
        { "", 0, 0, TextField::END_KEY, 0, "", 0, 0, 0, false },
        { "", 0, 0, TextField::RIGHT_KEY, CTRL, "", 0, 0, 0, false },
        { "", 0, 0, 8, 0, "", 0, 0, 1, false },
        { "", 0, 0, TextField::DELETE_KEY, 0, "", 0, 0, 1, false },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        Bench b(ui, "(\"NotifyOnEachKey\" true)", c.text);
        b.field->setSelection(c.anchor, c.anchor);
        b.field->extendSelection(c.end);
        int32_t result = b.field->key(c.code, c.modifiers);
        std::string where = std::string(c.text) + " " + std::to_string(c.end) + "/" + std::to_string(c.anchor)
            + " key " + std::to_string(c.code) + " mod " + std::to_string(c.modifiers);
        EXPECT_EQ(b.text(), c.expected) << where;
        EXPECT_EQ(b.field->selectionEnd, c.expectedEnd) << where;
        EXPECT_EQ(b.field->selectionAnchor, c.expectedAnchor) << where;
        EXPECT_EQ(b.field->caretIndex, c.expectedEnd) << where;
        EXPECT_EQ(result, c.result) << where;
        EXPECT_EQ(b.beeps() > 0, c.beeps) << where;
    }
}

TEST(TextFieldKeys, EditsNotifyOnlyWhenAskedAndEnterReachesTheForm)
{
    UiFixture ui;
    Bench b(ui);
    b.field->setSelection(7, -1);
    EXPECT_EQ(b.field->key(8, 0), 0);
    EXPECT_EQ(b.field->key('z', 0), 0);
    b.form->key(13, 0);
    EXPECT_EQ(b.form->handled, 1);
    EXPECT_EQ(b.text(), "abc dez");
}

TEST(TextFieldKeys, UndoSwapsTheTextAndSelectionBothWays)
{
    UiFixture ui;
    Bench b(ui);
    b.field->setSelection(5, 4); // "d" selected
    b.field->key('x', 0);
    EXPECT_EQ(b.text(), "abc xef");
    b.field->key(26, CTRL);
    EXPECT_EQ(b.text(), "abc def");
    EXPECT_EQ(b.field->selectionEnd, 4);
    EXPECT_EQ(b.field->selectionAnchor, 5);
    b.field->key(26, CTRL);
    EXPECT_EQ(b.text(), "abc xef");
    EXPECT_EQ(b.field->selectionEnd, 5);
}

TEST(TextFieldLimits, RefusedEditsBeepAndKeepTheText)
{
    struct Case {
        const char* properties;
        const char* text;
        int32_t end, anchor;
        const char* typed; // typed one key at a time; a leading '\x16' pastes the clipboard
        const char* clipboard;
        const char* expected;
        int32_t expectedCaret;
        size_t beeps;
    } cases[] = {
        { "(\"MaxLength\" 5)", "abcde", 5, 5, "x", "", "abcde", 5, 1 },
        { "(\"MaxLength\" 5)", "abcde", 2, 1, "x", "", "axcde", 2, 0 },
        // Three characters over a one-character selection: refused, the caret at its start.
        { "(\"MaxLength\" 5)", "abcde", 2, 1, "\x16", "xyz", "abcde", 1, 1 },
        { "(\"MinValue\" 10)", "", 0, 0, "1", "", "", 0, 1 },
        { "(\"MaxValue\" 99)", "99", 2, 2, "9", "", "99", 2, 1 },
        { "(\"MaxValue\" 99)", "9", 1, 1, "8", "", "98", 2, 0 },
        // A limit that is not an int is 0 and refuses everything.
        { "(\"MaxLength\" \"5\")", "", 0, 0, "a", "", "", 0, 1 },
        { "(\"Filter\" \"0123456789\")", "1", 1, 1, "2a3", "", "123", 3, 1 },
        // Pasted text passes the filter and the typing rules as a whole.
        { "(\"Filter\" \"0123456789\")", "1", 1, 1, "\x16", "2a", "1", 1, 1 },
        { "", "ab", 2, 2, "\x16", "c\r\nd", "ab", 2, 1 },
        { "", "ab", 2, 2, "\x16", "c\x1A", "ab", 2, 1 },
        { "", "ab", 1, 1, "\x16", "Concei\xE7\xE3o", "aConcei\xE7\xE3ob", 10, 0 },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        Bench b(ui, c.properties, c.text);
        ui.headless->setClipboard(std::string(c.clipboard));
        b.field->setSelection(c.anchor, c.anchor);
        b.field->extendSelection(c.end);
        for (const char* p = c.typed; *p; ++p)
            b.field->key(uint8_t(*p), *p == '\x16' ? CTRL : 0);
        std::string where = std::string(c.properties) + " " + c.text + " + " + c.typed;
        EXPECT_EQ(b.text(), c.expected) << where;
        EXPECT_EQ(b.field->caretIndex, c.expectedCaret) << where;
        EXPECT_EQ(b.beeps(), c.beeps) << where;
        // The simple beep.
        if (c.beeps) {
            EXPECT_EQ(ui.headless->beeps()[0], 0xFFFFFFFFu) << where;
        }
    }
}

TEST(TextFieldClipboard, CopyCutAndPasteRoundTripThroughTheClipboard)
{
    UiFixture ui;
    Bench b(ui, "", "Concei\xE7\xE3o de Maria");
    b.field->setSelection(9, 0); // "Conceição"
    b.field->key(3, CTRL);
    ASSERT_EQ(ui.headless->clipboardWrites(), (std::vector<std::string> { "Concei\xE7\xE3o" }));
    b.field->setSelection(18, -1);
    b.field->key(22, CTRL);
    EXPECT_EQ(b.text(), "Concei\xE7\xE3o de MariaConcei\xE7\xE3o");
    // Cut takes the selection to the clipboard and out of the text.
    b.field->setSelection(18, 10);
    b.field->key(24, CTRL);
    EXPECT_EQ(ui.headless->clipboardWrites().back(), "de Maria");
    EXPECT_EQ(b.text(), "Concei\xE7\xE3o Concei\xE7\xE3o");
    // Copy without a selection leaves the clipboard alone; an empty clipboard pastes nothing.
    b.field->setSelection(3, -1);
    b.field->key(3, CTRL);
    EXPECT_EQ(ui.headless->clipboardWrites().size(), 2u);
    ui.headless->setClipboard(std::nullopt);
    b.field->key(22, CTRL);
    EXPECT_EQ(b.text(), "Concei\xE7\xE3o Concei\xE7\xE3o");
    EXPECT_TRUE(ui.headless->beeps().empty());
}

TEST(TextFieldMouse, ClicksDragsAndMultipleClicks)
{
    // Character i spans x 12 + 6 i to 18 + 6 i: its middle is 15 + 6 i.
    struct Case {
        const char* script;
        int32_t end, anchor;
    } cases[] = {
        { "click 26 20\n", 2, 2 }, // left half of "c"
        { "click 28 20\n", 3, 3 }, // right half of "c"
        { "click 150 20\n", 7, 7 }, // beyond the end
        { "click 11 20\n", 0, 0 },
        { "down 20 20\nmove 35 20\nmove 45 20\nup 45 20\n", 6, 1 },
        { "down 45 20\nmove 5 20\nup 5 20\n", 0, 6 }, // dragged out of the field to the left
        { "dblclick 40 20\n", 7, 4 }, // the second word, caret at its end
        { "dblclick 14 20\n", 3, 0 },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        Bench b(ui);
        ui.runScript();
        EXPECT_EQ(b.field->selectionEnd, c.end) << c.script;
        EXPECT_EQ(b.field->selectionAnchor, c.anchor) << c.script;
        EXPECT_EQ(b.form->handled, 0) << c.script;
    }
    // Three clicks select the whole text; Shift extends from the anchor.
    UiFixture ui;
    Bench b(ui);
    b.field->track(30, 20, 0, 3);
    EXPECT_EQ(b.field->selectionEnd, 7);
    EXPECT_EQ(b.field->selectionAnchor, 0);
}

TEST(TextFieldMouse, RightAlignedPositionsEndAtTheRightEdge)
{
    UiFixture ui;
    Bench b(ui, "(\"Align\" \"Right\")");
    EXPECT_EQ(b.field->caretPositions.front(), 196 - 42);
    EXPECT_EQ(b.field->caretPositions.back(), 196);
    // Clicks follow the positions where the text is shown: the right half of "c" is after it.
    b.field->key(TextField::HOME_KEY, 0);
    int32_t start = 12 + b.field->scrollOffset + 196 - 42;
    b.field->clickAt(start + 2 * 6 + 4, 0, false);
    EXPECT_EQ(b.field->caretIndex, 3);
}

TEST(TextFieldDrawing, ScrollsInStepsOfFiftyUnlessNotScrollable)
{
    std::string longText(60, 'm'); // 360 pixels in a 196-pixel area
    {
        UiFixture ui;
        Bench b(ui, "", longText.c_str());
        b.field->setSelection(60, -1);
        int32_t x = b.field->caretPositions[60] + b.field->scrollOffset;
        EXPECT_EQ(b.field->scrollOffset % 50, 0);
        EXPECT_LT(b.field->scrollOffset, 0);
        EXPECT_GE(x, 196 - 50);
        EXPECT_LT(x, 196);
        // Home brings the start back in whole steps.
        b.field->key(TextField::HOME_KEY, 0);
        EXPECT_EQ(b.field->scrollOffset, 0);
    }
    UiFixture ui;
    Bench b(ui, "(\"Scrollable\" false)", longText.c_str());
    b.field->setSelection(60, -1);
    EXPECT_EQ(b.field->scrollOffset, 0);
}

TEST(TextFieldDrawing, BackgroundSelectionCaretAndDisabledText)
{
    UiFixture ui;
    Bench b(ui, "(\"BackgroundColor\" 255) (\"SelectionColor\" 65280) (\"ForegroundColor\" 16711680)");
    // "ab" selected: x 12 ... 24; glyphs are boxes one pixel narrower than their advance, from
    // y 12 down to the baseline at 20.
    b.field->setSelection(2, 0);
    EXPECT_EQ(ui.pixel(60, 15) & 0xFFFFFF, 0xFF0000u) << "background";
    EXPECT_EQ(ui.pixel(17, 15) & 0xFFFFFF, 0x00FF00u) << "selection between the glyphs";
    EXPECT_EQ(ui.pixel(37, 15) & 0xFFFFFF, 0x0000FFu) << "text";
    EXPECT_TRUE(ui.port->caretActive);
    EXPECT_EQ(ui.port->caretRect().left, 12 + 12);

    // Unfocused: no highlight, no caret; disabled: grey text.
    b.form->setActiveControl(b.value, 0);
    b.field->setProperty("Disabled", qelTrue);
    b.field->draw();
    EXPECT_EQ(ui.pixel(17, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(ui.pixel(37, 15) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_FALSE(ui.port->caretActive);
}

TEST(TextFieldFocus, ActivationSelectsAllAndDeactivationCollapsesAndReports)
{
    UiFixture ui;
    Bench b(ui, "(\"NotifyKillFocus\" true)");
    EXPECT_EQ(b.field->selectionEnd, 7);
    EXPECT_EQ(b.field->selectionAnchor, 0);
    EXPECT_FALSE(b.field->isActive());
    b.form->setActiveControl(b.value, 0);
    EXPECT_EQ(b.form->handled, 1);
    EXPECT_EQ(b.field->selectionEnd, 1);
    EXPECT_EQ(b.field->selectionAnchor, 1);
    EXPECT_EQ(b.field->focused, 0);
}

TEST(TextFieldFocus, OnlyTheBooleanTrueReportsTheLossOfFocus)
{
    UiFixture ui;
    Bench b(ui, "(\"NotifyKillFocus\" 1)");
    b.form->setActiveControl(b.value, 0);
    EXPECT_EQ(b.form->handled, 0);
}

TEST(TextFieldVerbs, VerbTable)
{
    UiFixture ui;
    Bench b(ui);
    b.field->setSelection(1, -1);
    EXPECT_TRUE(qelPerform(b.value, "selectAll", qelNil).isNil());
    EXPECT_EQ(b.field->selectionEnd, 7);
    EXPECT_EQ(b.field->selectionAnchor, 0);
    qelPerform(b.value, "replaceSel", qelStringValue("xyz"));
    EXPECT_EQ(b.text(), "xyz");
    for (const char* verb : { "stringValue", "getText", "GetText" })
        EXPECT_TRUE(qelPerform(b.value, verb, qelNil) == "xyz") << verb;
    qelPerform(b.value, "setText", qelStringValue("novo texto"));
    EXPECT_EQ(b.text(), "novo texto");
    EXPECT_EQ(b.field->selectionEnd, 10);
    EXPECT_EQ(b.field->selectionAnchor, 0);
    qelPerform(b.value, "SetText", qelStringValue("outro"));
    EXPECT_EQ(b.text(), "outro");
    // Data that is not a string is the empty string.
    qelPerform(b.value, "replaceSel", qelMakeInt(5));
    EXPECT_EQ(b.text(), "");
    qelPerform(b.value, "deactivate", qelNil);
    EXPECT_EQ(b.field->focused, 0);
    // Other verbs reach the media control layer.
    b.field->setProperty("Help", qelStringValue("ajuda"));
    EXPECT_TRUE(qelPerform(b.value, "getHelpString", qelNil) == "ajuda");
    // Without the property the text is empty; a stored nil stays nil until activation.
    b.field->removeProperty("StringValue");
    EXPECT_TRUE(qelPerform(b.value, "stringValue", qelNil) == "");
    b.field->setProperty("StringValue", qelNil);
    EXPECT_TRUE(qelPerform(b.value, "stringValue", qelNil).isNil());
    b.field->activate();
    EXPECT_TRUE(qelPerform(b.value, "stringValue", qelNil) == "");
    EXPECT_TRUE(recordedErrors().empty());
}

TEST(TextFieldFormat, SetTextAndLeavingReformat)
{
    UiFixture ui;
    Bench b(ui, "(\"Format\" \"%.2lf\")", "");
    qelPerform(b.value, "SetText", qelStringValue("3.14159"));
    EXPECT_EQ(b.text(), "3.14");
    b.field->setSelection(4, 0);
    b.field->key('7', 0);
    b.form->setActiveControl(b.value, 0);
    EXPECT_EQ(b.text(), "7.00");

    b.field->setProperty("Format", qelStringValue("%d"));
    qelPerform(b.value, "SetText", qelStringValue("1"));
    EXPECT_EQ(recordedErrors(), (std::vector<std::string> { "Format type not allowed: %d" }));
}

TEST(TextFieldFormat, OnlyOneNumberConversionIsPrinted)
{
    struct Case {
        const char* format;
        const char* text;
        const char* expected; // null: refused
    } cases[] = {
        { "%.2lf", "3.14159", "3.14" },
        { "%ld", "42abc", "42" },
        { "%5.1lf kg", " -2.25", " -2.2 kg" },
        { "%%%03ld%%", "7", "%007%" },
        { "%-6ldfim", "12", "12    fim" },
        { "%lf", "abc", "0.000000" },
        { "%ld", "99999999999", "2147483647" },
        { "%d", "1", nullptr },
        { "%s lf", "1", nullptr },
        { "%n%ld", "1", nullptr },
        { "%ld%lf", "1", nullptr },
        { "%.400lf", "1", nullptr },
        { "%*ld", "1", nullptr },
        { "%lf%", "1", nullptr },
        { "plain", "1", nullptr },
    };
    for (const Case& c : cases) {
        std::optional<std::string> printed = qelFormatFieldNumber(c.format, c.text);
        if (c.expected)
            EXPECT_EQ(printed, std::optional<std::string>(c.expected)) << c.format;
        else
            EXPECT_FALSE(printed) << c.format;
    }
    // The largest allowed width and precision still fit in 255 characters.
    std::optional<std::string> wide = qelFormatFieldNumber("%99.99lf", "1e300");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), 255u);
}
