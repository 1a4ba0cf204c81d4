// Once the program's layers are installed, every framework control class that content can name
// is made as a real control of that class: none is left without its behaviour.

#include "app/Startup.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/ui/ControlObject.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ControlClasses, EachFrameworkClassIsARealControlOnceTheLayersAreInstalled)
{
    velarimInstallServices();
    for (const char* name : qelFrameworkControlClasses) {
        std::unique_ptr<qelNamedObject> prototype(qelMakeControlPrototype(name));
        ASSERT_NE(prototype, nullptr) << name;
        EXPECT_STREQ(prototype->className(), name);
        EXPECT_NE(dynamic_cast<qelControlObject*>(prototype.get()), nullptr) << name << " is not a control";
    }
}
