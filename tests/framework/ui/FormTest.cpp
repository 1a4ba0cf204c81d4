// Forms and controls made from their tables: factories and registrations, property lookup,
// hit-testing, activation, opening and closing, and actions.

#include "UiFixture.h"

#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Factories.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/Navigation.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

namespace {

// A form made current and opened, as navigation does.
qelFormObject* openForm(const qelValue& form)
{
    qelSetActiveForm(form);
    qelFormOf(form)->open(qelNil);
    return qelFormOf(form);
}

const char* nameOf(const qelValue& control)
{
    return qelCString(qelGet(control, "Name"));
}

} // namespace

TEST(Factories, ClassesComeFromTheRegistryAndTablesAreShared)
{
    UiFixture ui;
    // A registered class named by a table: its own object, over that very table.
    qelValue table = UiFixture::read("(table (\"Class\" \"TextCombo\") (\"Name\" \"campo\"))");
    qelValue control = qelMakeControl(table);
    ASSERT_EQ(control.type(), QEL_CONTROL_TYPE);
    EXPECT_STREQ(qelControlOf(control)->className(), "TextCombo");
    qelPut(control, "Hidden", qelTrue);
    EXPECT_TRUE(qelTableOf(table)->get("Hidden") == qelTrue);

    // Every class built here is registered and makes instances; an instance's end leaves the
    // prototype in place.
    for (const char* name :
        { "Button", "HotSpot", "Bitmap", "TextField", "TextCombo", "Group", "RadioGroup", "Scroller", "VideoView",
            "PhotoView" }) {
        qelNamedObject* prototype = qelClassPrototype(qelStringValue(name));
        ASSERT_TRUE(dynamic_cast<qelControlObject*>(prototype)) << name;
        {
            qelValue made
                = qelMakeControl(UiFixture::read((std::string("(table (\"Class\" \"") + name + "\"))").c_str()));
            EXPECT_STREQ(qelControlOf(made)->className(), name);
        }
        EXPECT_STREQ(prototype->className(), name);
    }

    // An unregistered class gives a plain control; a form table without a registered class a
    // plain form named by its "Name", else by its class name.
    EXPECT_STREQ(qelControlOf(qelMakeControl(UiFixture::read("(table (\"Class\" \"Nothing\"))")))->className(),
        "qelControlObject");
    qelValue named = qelMakeFormFromData(UiFixture::read("(table (\"Class\" \"Nothing\") (\"Name\" \"Inicio\"))"));
    EXPECT_TRUE(qelFormOf(named)->name == "Inicio");
    qelValue unnamed = qelMakeForm("qelFormObject", qelTable(1, 100, 75), qelNil);
    EXPECT_TRUE(qelFormOf(unnamed)->name == "qelFormObject");
    EXPECT_TRUE(recordedErrors().empty());

    // Control data without a class is an error that names the data.
    qelMakeControl(UiFixture::read("(table (\"Name\" \"x\"))"));
    ASSERT_EQ(recordedErrors().size(), 1u);
    EXPECT_EQ(recordedErrors()[0].rfind("Control data must have a 'Class' property:\n(table", 0), 0u);
}

TEST(Factories, ARegistryEntryThatIsAReferenceIsFollowed)
{
    UiFixture ui;
    qelValue classes = qelLoadResource("Classes");
    qelTableOf(classes)->put("Botao", qelMakeReference("ButtonPrototype"));
    ui.environment->setGlobal("ButtonPrototype", qelTableOf(classes)->get("Button"));
    qelValue control = qelMakeControl(UiFixture::read("(table (\"Class\" \"Botao\"))"));
    EXPECT_STREQ(qelControlOf(control)->className(), "Button");
}

TEST(Factories, WithoutAnEnvironmentEveryTableIsPlain)
{
    qelInstallFormLayer();
    qelValue control = qelMakeControl(UiFixture::read("(table (\"Class\" \"Button\"))"));
    EXPECT_STREQ(qelControlOf(control)->className(), "qelControlObject");
    // The text notation makes real forms and controls, and they print back as they were read.
    qelValue form = UiFixture::read("(form (\"Class\" \"X\"))");
    ASSERT_TRUE(qelFormOf(form));
    EXPECT_STREQ(qelCString(qelPrintValue(form, 1)), "(form (\"Class\" \"X\"))");
    EXPECT_STREQ(qelCString(qelPrintValue(control, 1)), "(control (\"Class\" \"Button\"))");
    qelResetMakers();
    qelResetServices();
}

TEST(Controls, StateComesFromProperties)
{
    UiFixture ui;
    struct Case {
        const char* table;
        int visible;
        int enabled;
    } cases[] = {
        { "(table (\"Class\" \"HotSpot\"))", 1, 1 },
        { "(table (\"Class\" \"HotSpot\") (\"Hidden\" true) (\"Disabled\" false))", 0, 0 },
        { "(table (\"Class\" \"HotSpot\") (\"Disabled\" \"yes\"))", 1, 0 },
        { "(table (\"Class\" \"HotSpot\") (\"Disabled\" 1.0))", 1, 1 },
    };
    for (const Case& c : cases) {
        qelValue value = qelMakeControl(UiFixture::read(c.table));
        qelControlObject* control = qelControlOf(value);
        EXPECT_EQ(control->isVisible(), c.visible) << c.table;
        EXPECT_EQ(control->isEnabled(), c.enabled) << c.table;
        EXPECT_EQ(control->canActivate(), c.enabled) << c.table;
    }

    qelValue plain = qelMakeControl(UiFixture::read("(table (\"Class\" \"none\") (\"Help\" \"ajuda\"))"));
    EXPECT_EQ(qelControlOf(plain)->hotSpotWidth(), 0);
    EXPECT_TRUE(qelPerform(plain, "Key", qelListOf({ 13, 0 })) == qelFalse);
    EXPECT_TRUE(qelPerform(plain, "getHelpString", qelNil).isNil());
    qelPerformAction(plain, "Activate");
    EXPECT_TRUE(qelGet(plain, "Active") == qelTrue);

    qelValue spot = qelMakeControl(
        UiFixture::read("(table (\"Class\" \"HotSpot\") (\"Help\" \"ajuda\") (\"Hot Spot\" (rect 10 20 30 40)))"));
    EXPECT_TRUE(qelPerformAction(spot, "getHelpString") == "ajuda");
    EXPECT_EQ(qelLeft(spot), 10);
    EXPECT_EQ(qelWidth(spot), 30);
    qelPut(spot, "Hidden", qelTrue);
    EXPECT_TRUE(qelPerformAction(spot, "getHelpString").isNil());
    // Not the current form's active control: the tracking flag is left alone.
    EXPECT_EQ(qelControlOf(spot)->setFormTracking(1), 0);
}

TEST(Forms, PropertiesThenResources)
{
    UiFixture ui;
    qelValue form = UiFixture::read("(form (\"Class\" \"qelFormObject\") (\"Name\" \"A\") (\"Cor\" 1)"
                                    " (\"Resource Table\" (table (\"Cor\" 2) (\"Fundo\" 3))))");
    qelFormObject* object = openForm(form);
    EXPECT_TRUE(qelGet(form, "Cor") == 1);
    EXPECT_TRUE(qelGet(form, "Fundo") == 3);
    EXPECT_TRUE(qelGet(form, "Nada").isNil());
    EXPECT_TRUE(qelContainsKey(form, "Fundo"));
    qelPut(form, "Fundo", 4);
    EXPECT_TRUE(qelGet(form, "Fundo") == 4);
    EXPECT_TRUE(qelTableOf(object->resources)->get("Fundo") == 3);
    EXPECT_TRUE(qelGet(form, "LoadedResourceTable") == object->resources);

    // Without "Origin X" and a background picture: at 0, the media area's size.
    EXPECT_EQ(object->originX, 0);
    EXPECT_EQ(object->width, 640);
    EXPECT_EQ(object->height, 480);

    EXPECT_TRUE(qelPerformAction(form, "Refresh").isNil());
    EXPECT_TRUE(qelPerformAction(form, "DrawControls").isNil());
    qelPerformAction(qelNil, "Draw");
    qelPerform(qelTable(1, 100, 75), "Draw", qelNil);
    EXPECT_EQ(recordedErrors(),
        (std::vector<std::string>(2, "Bad type for argument 1 of qelPerform(frmOrCtrl,action,data).")));
    object->close();
    EXPECT_TRUE(object->resources.isNil());
    EXPECT_FALSE(qelContainsKey(form, "LoadedResourceTable"));
}

TEST(Forms, TheEarlierControlWinsWhereControlsOverlap)
{
    UiFixture ui;
    qelValue form = UiFixture::read(R"((form ("Class" "qelFormObject") ("Origin X" 100) ("Origin Y" 50)
        ("Resource Table" (table ("Control List" (list
            (control ("Class" "HotSpot") ("Name" "escondido") ("Hidden" true) ("Hot Spot" (rect 0 0 50 50)))
            (control ("Class" "HotSpot") ("Name" "primeiro") ("Hot Spot" (rect 0 0 50 50)))
            (control ("Class" "HotSpot") ("Name" "segundo") ("Hot Spot" (rect 25 25 50 50)) ("Auto Activate" true))
            (control ("Class" "HotSpot") ("Name" "terceiro") ("Disabled" true) ("Hot Spot" (rect 60 0 20 20)))
            (control ("Class" "HotSpot") ("Name" "quarto") ("Hot Spot" (rect 80 0 20 20)) ("Auto Activate" 1))))))))");
    qelFormObject* object = openForm(form);
    EXPECT_STREQ(nameOf(object->controlAt(130, 80)), "primeiro");
    EXPECT_STREQ(nameOf(object->controlAt(160, 110)), "segundo");
    EXPECT_TRUE(object->controlAt(165, 55).isNil());
    EXPECT_STREQ(nameOf(object->controlAt(185, 55)), "quarto");
    EXPECT_TRUE(object->controlAt(30, 30).isNil());
    // Only the boolean true gives the focus at creation; open activates the control.
    EXPECT_STREQ(nameOf(object->activeControl), "segundo");
    EXPECT_TRUE(qelGet(object->activeControl, "Active") == qelTrue);
    EXPECT_STREQ(nameOf(object->findControl("Name", "quarto")), "quarto");

    // A disabled control loses the focus; the focus cannot go to it.
    object->setControlEnabled(object->activeControl, 0);
    EXPECT_TRUE(object->activeControl.isNil());
    object->setActiveControl(object->findControl("Name", "terceiro"), 1);
    EXPECT_TRUE(object->activeControl.isNil());

    // While a control tracks, a press anywhere goes to the active control.
    qelValue fourth = object->findControl("Name", "quarto");
    object->setActiveControl(fourth, 1);
    object->setTracking(1);
    EXPECT_EQ(qelControlOf(fourth)->setFormTracking(1), 1);
    object->mouseMove(130, 80, 0);
    EXPECT_TRUE(object->rolloverControl.isNil());
    object->setTracking(0);
    object->mouseMove(130, 80, 0);
    EXPECT_STREQ(nameOf(object->rolloverControl), "primeiro");
}

TEST(Forms, RetainedResourcesKeepTheControlsAcrossClosing)
{
    UiFixture ui;
    const char* text = R"((form ("Class" "qelFormObject") ("Retain Resources" true)
        ("Resource Table" (table ("Control List" (list (control ("Class" "HotSpot") ("Name" "a"))))))))";
    qelValue form = UiFixture::read(text);
    qelFormObject* object = openForm(form);
    qelValue first = qelListObjectOf(object->controls)->elementAt(0);
    qelPut(first, "Marca", 7);
    object->close();
    openForm(form);
    EXPECT_TRUE(qelListObjectOf(object->controls)->elementAt(0) == first);
    EXPECT_TRUE(qelGet(first, "Marca") == 7);

    qelPut(form, "Retain Resources", qelFalse);
    object->close();
    EXPECT_TRUE(object->controls.isNil());
    openForm(form);
    EXPECT_FALSE(object->controls.isNil());
}
