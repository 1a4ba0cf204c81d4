// The almanac's registrations and class set: every registered name makes a form of its class.

#include "app/shell/ClassSet.h"
#include "app/shell/Registrations.h"
#include "app/shell/VelarimApp.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Object.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormLayer.h"
#include "framework/ui/FormObject.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(Registrations, TheTableHoldsEachNameOnceWithTheAgendaFirst)
{
    std::set<std::string> names;
    int named = 0;
    for (const VelarimRegistration& row : velarimRegistrations) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        named += row.named ? 1 : 0;
        // A two-name registration opens under its class's name.
        if (!row.named)
            EXPECT_STREQ(row.name, row.className);
    }
    EXPECT_EQ(named, 139);
    for (std::size_t i = 0; i < velarimAgendaRegistrationCount; ++i) {
        std::string name = velarimRegistrations[i].name;
        EXPECT_TRUE(name.starts_with("Ag") || name.starts_with("PopUpMenu")) << name;
    }
}

TEST(Registrations, EveryRegisteredNameMakesAFormOfItsClass)
{
    qelInstallFormLayer();
    {
        VelarimApp app(qelNil);
        velarimRegister(0, velarimRegistrations.size());
        for (const VelarimRegistration& row : velarimRegistrations) {
            qelFormObject* form = qelFormOf(qelGet(app.globals, qelValue(row.name)));
            ASSERT_NE(form, nullptr) << row.name;
            EXPECT_STREQ(form->className(), row.className) << row.name;
            // The form opens under its registered name when it has one of its own.
            qelValue name = form->getProperty("Name");
            if (row.named)
                EXPECT_EQ(std::string(qelCString(name)), row.name);
        }
    }
    qelResetMakers();
    qelResetServices();
}

TEST(ClassSet, EachPrototypeMakesInstancesOfItsOwnClassAndHelpContext)
{
    VelarimApp app(qelNil);
    struct Case {
        const char* className;
        int32_t helpContext;
    };
    // The section screens open the help's index; the preferences and the base's structure dialog
    // their own pages; the rest the framework's first page.
    for (Case c : { Case { "MainForm", -1 }, Case { "AgenMesForm", -1 }, Case { "BuscaDialog", -1 },
             Case { "PrefsDlg", 17 }, Case { "BDMCDialog", 32 }, Case { "InfosForm", 0 }, Case { "QuitDlg", 0 },
             Case { "PopUpMenu1", 0 } }) {
        qelNamedObject* prototype = qelClassPrototype(qelValue(c.className));
        ASSERT_NE(prototype, nullptr) << c.className;
        qelValue data = qelTable(4, 100, 75);
        qelPut(data, qelValue("Class"), qelValue(c.className));
        qelValue instance = qelMakeObjectValue(QEL_FORM_TYPE, prototype->newInstance(data));
        qelFormObject* form = qelFormOf(instance);
        ASSERT_NE(form, nullptr) << c.className;
        EXPECT_STREQ(form->className(), c.className);
        // The data is the instance's property table.
        EXPECT_EQ(std::string(qelCString(form->getProperty("Class"))), c.className);
        int32_t context = 0;
        if (auto* screen = dynamic_cast<qelMediaFormObject*>(form))
            context = screen->helpContext();
        else if (auto* dialog = dynamic_cast<qelMediaDialogObject*>(form))
            context = dialog->helpContext();
        EXPECT_EQ(context, c.helpContext) << c.className;
    }
}

} // namespace
