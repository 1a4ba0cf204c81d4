// Content names these control classes in its forms: each name makes a real control of that
// class, which a form readies as it builds it (a group hides itself, a label reads its region).

#include "UiFixture.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/ui/Factories.h"
#include "framework/ui/StaticText.h"

#include <gtest/gtest.h>

TEST(ControlSet, EveryClassNameMakesItsOwnControl)
{
    UiFixture ui;
    for (const char* name :
        { "Button", "CheckBox", "RadioButton", "Group", "RadioGroup", "Bitmap", "HotSpot", "StaticText" }) {
        qelValue made = qelMakeControl(UiFixture::read((std::string("(table (\"Class\" \"") + name + "\"))").c_str()));
        ASSERT_TRUE(qelControlOf(made)) << name;
        EXPECT_STREQ(qelControlOf(made)->className(), name);
    }

    // A control list as a form file holds it; the form readies each control it builds.
    qelValue controls = UiFixture::read(R"((list
            (control ("Class" "Group") ("Name" "Grupo"))
            (control ("Class" "StaticText") ("Name" "Titulo") ("TextRegion" (rect 10 20 30 40)))))");
    ASSERT_EQ(qelCount(controls), 2);
    for (int32_t i = 0; i < 2; ++i)
        qelControlOf(qelGet(controls, i))->initialize();
    EXPECT_FALSE(qelControlOf(qelGet(controls, 0))->isVisible());
    auto* label = dynamic_cast<StaticText*>(qelControlOf(qelGet(controls, 1)));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->initialized, 1);
    EXPECT_EQ(label->regionTop, 20);
    EXPECT_TRUE(recordedErrors().empty());
}
