// The text combo: Enter and the loss of the focus write the field's text into the combo box's
// selected entry, "isDuplicate" finds a repeat on either side of the selection and puts the
// activation text back in the field and in the list; and the editing combo box driving a real
// text field.

#include "UiFixture.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/ComboEdit.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/TextCombo.h"
#include "framework/ui/TextField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* comboData = "(table (\"Name\" \"Lista\") (\"EditHotSpot\" (rect 10 10 120 20)) (\"DropButtonWidth\" 20) "
                        "(\"List\" (list \"Alfa\" \"Beta\" \"Gama\" \"Beta\")))";

struct ComboBench {
    // A combo box with the selection at `selected` and a text combo field that edits it, named
    // by `link` ("value": the control itself, "name": its "Name"), on the active form.
    ComboBench(int32_t selected, const char* link = "value")
    {
        box = new ComboBox(UiFixture::read(comboData));
        boxValue = qelControlValue(box);
        qelValue data = UiFixture::read("(table (\"Hot Spot\" (rect 10 100 150 20)))");
        if (std::string(link) == "value")
            qelPut(data, "ComboControl", boxValue);
        else if (std::string(link) == "name")
            qelPut(data, "ComboControl", "Lista");
        field = new TextCombo(data);
        fieldValue = qelControlValue(field);
        form = new qelFormObject(qelNil);
        form->controls = qelListOf({ boxValue, fieldValue });
        qelSetActiveForm(qelFormValue(form));
        box->draw();
        box->setSelection(selected, 0);
        field->setProperty("StringValue", qelGet(box->list, selected));
        form->setActiveControl(fieldValue, 1);
    }
    void type(const char* text)
    {
        field->setSelection(field->textLength, 0);
        for (const char* p = text; *p; ++p)
            field->key(uint8_t(*p), 0);
    }
    std::string item(int32_t i) { return qelCString(qelGet(box->list, i)); }
    std::string text() { return qelCString(field->text()); }
    bool duplicate() { return qelIsTrue(qelPerform(fieldValue, "isDuplicate", qelNil)); }

    ComboBox* box = nullptr;
    qelValue boxValue;
    TextCombo* field = nullptr;
    qelValue fieldValue;
    qelFormObject* form = nullptr;
};

} // namespace

TEST(TextCombo, EnterWritesTheEntryAndARepeatIsUndone)
{
    UiFixture ui;
    ComboBench b(0);
    b.type("Gama");
    EXPECT_EQ(b.field->key(13, 0), 1);
    EXPECT_EQ(b.item(0), "Gama");
    EXPECT_EQ(b.field->selectionEnd, 4);
    EXPECT_EQ(b.field->selectionAnchor, 0);
    // "Gama" stands at 2 as well: the field and the entry get "Alfa" back.
    EXPECT_TRUE(b.duplicate());
    EXPECT_EQ(b.text(), "Alfa");
    EXPECT_EQ(b.item(0), "Alfa");
}

TEST(TextCombo, AnEditWithoutARepeatIsKept)
{
    UiFixture ui;
    ComboBench b(0, "name");
    b.type("Delta");
    b.field->key(13, 0);
    b.field->setSelection(2, -1);
    EXPECT_FALSE(b.duplicate());
    EXPECT_EQ(b.item(0), "Delta");
    EXPECT_EQ(b.text(), "Delta");
    EXPECT_EQ(b.field->selectionEnd, 2);
}

TEST(TextCombo, ARepeatAfterTheSelectionCountsToo)
{
    // "Beta" at 1 (selected) and at 3; then at 3 (selected) and at 1.
    for (int32_t selected : { 1, 3 }) {
        UiFixture ui;
        ComboBench b(selected);
        b.type("Beta");
        b.field->key(13, 0);
        EXPECT_TRUE(b.duplicate()) << selected;
    }
}

TEST(TextCombo, LeavingTheFieldWritesTheEntryWithoutSelecting)
{
    UiFixture ui;
    ComboBench b(2);
    b.type("Teta");
    b.field->setSelection(1, -1);
    b.form->setActiveControl(b.boxValue, 1);
    EXPECT_EQ(b.item(2), "Teta");
    EXPECT_EQ(b.field->selectionEnd, b.field->selectionAnchor);
}

TEST(TextCombo, WithoutAComboBoxNothingIsSent)
{
    UiFixture ui;
    ComboBench b(0, "none");
    b.type("Gama");
    b.field->key(13, 0);
    b.form->setActiveControl(b.boxValue, 1);
    EXPECT_EQ(b.item(0), "Alfa");
    EXPECT_FALSE(b.duplicate());
}

TEST(ComboEdit, DrivesARealTextField)
{
    UiFixture ui("click 50 20\nclick 50 45\n");
    auto* field = new TextField(UiFixture::read("(table (\"Name\" \"campo\") (\"Hot Spot\" (rect 10 10 100 20)))"));
    qelValue fieldValue = qelControlValue(field);
    qelValue data = UiFixture::read(
        "(table (\"EditHotSpot\" (rect 10 10 120 20)) (\"DropButtonWidth\" 20) (\"EditControl\" \"campo\") "
        "(\"List\" (list \"Apple\" \"Banana\" \"Berry\" 7 \"Cherry\")))");
    auto* edit = new ComboEdit(data);
    qelValue control = qelControlValue(edit);
    auto* form = new qelFormObject(qelNil);
    form->controls = qelListOf({ control, fieldValue });
    qelSetActiveForm(qelFormValue(form));
    edit->draw();
    ASSERT_TRUE(edit->editControl == fieldValue);

    // A new selection is written into the field, wholly selected.
    edit->setSelection(2, 0);
    EXPECT_STREQ(qelCString(field->text()), "Berry");
    EXPECT_EQ(field->selectionEnd, 5);
    EXPECT_EQ(field->selectionAnchor, 0);
    // Text typed into the field becomes the selected item when the list opens; the field takes
    // the focus back when the list closes, with the new selection in it.
    form->setActiveControl(fieldValue, 1);
    field->setSelection(5, -1);
    for (const char* p = "s!"; *p; ++p)
        field->key(*p, 0);
    ui.runScript();
    EXPECT_STREQ(qelCString(qelGet(edit->list, 2)), "Berrys!");
    EXPECT_EQ(edit->selection, 1);
    EXPECT_STREQ(qelCString(field->text()), "Banana");
    EXPECT_TRUE(form->activeControl == fieldValue);
    EXPECT_EQ(field->focused, 1);
    EXPECT_TRUE(recordedErrors().empty());
}
