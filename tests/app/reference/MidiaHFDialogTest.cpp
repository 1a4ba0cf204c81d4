// The item dialog's related entries: each link context "word:Form;target" either ends the
// dialog with the jump it names or leaves it open.

#include "app/reference/MidiaHFDialog.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A text view that answers "GetContext" with the link it is given.
class LinkView : public qelControlObject {
public:
    using qelControlObject::qelControlObject;
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        return action == "GetContext" ? context : qelNil;
    }
    qelValue context;
};

} // namespace

TEST(MidiaHFDialog, RelatedEntriesJumpOrStay)
{
    UiFixture ui;
    auto* view = new LinkView(UiFixture::read("(table (\"Name\" \"Verbetes\") (\"HyperLink\" true))"));
    qelValue viewValue = qelControlValue(view);
    struct Case {
        const char* context;
        const char* result; // the dialog's answer in text notation, "" when it stays open
    } cases[] = {
        { "Brasil:VerbeteForm;Brasil ", "(table (\"Jump\" true) (\"Form\" \"VerbeteForm\") (\"Data\" (table (\"Text\" \"brasil\") (\"FullList\" true))))" },
        { "foto:MidiasForm; Arara-azul-grande", "(table (\"Jump\" true) (\"Form\" \"MidiasForm\") (\"Data\" (table (\"Text\" \"arara-azul-grande\") (\"FullList\" true))))" },
        { "mapa:AtlasForm; Brasil ", "(table (\"Jump\" true) (\"Form\" \"AtlasForm\") (\"Data\" \"Brasil\"))" },
        { "x:CreditsForm", "(table (\"Jump\" true) (\"Form\" \"CreditsForm\") (\"Data\" nil))" },
        // A text link needs exactly its form and target.
        { "x:VerbeteForm;a;b", "" },
        { "x:MidiasForm", "" },
        // Without its ":" a context names no form.
        { "VerbeteForm;Brasil", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.context);
        auto* dialog = new MidiaHFDialog(qelTable(4, 100, 75));
        qelValue dialogValue = qelFormValue(dialog);
        view->context = qelValue(c.context);
        dialog->handleControl(viewValue);
        qelValue result = dialog->result();
        if (*c.result == 0) {
            EXPECT_TRUE(result.isNil());
            continue;
        }
        ASSERT_EQ(result.type(), QEL_TABLE_TYPE);
        EXPECT_TRUE(qelIsTrue(qelGet(result, "Jump")));
        qelValue expected = UiFixture::read(c.result);
        EXPECT_STREQ(qelCString(qelGet(result, "Form")), qelCString(qelGet(expected, "Form")));
        qelValue data = qelGet(result, "Data");
        qelValue wanted = qelGet(expected, "Data");
        if (wanted.type() == QEL_TABLE_TYPE) {
            ASSERT_EQ(data.type(), QEL_TABLE_TYPE);
            EXPECT_STREQ(qelCString(qelGet(data, "Text")), qelCString(qelGet(wanted, "Text")));
            EXPECT_TRUE(qelIsTrue(qelGet(data, "FullList")));
        } else if (wanted.isNil()) {
            EXPECT_TRUE(data.isNil());
        } else {
            EXPECT_STREQ(qelCString(data), qelCString(wanted));
        }
    }
}
