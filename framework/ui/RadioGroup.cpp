#include "framework/ui/RadioGroup.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/Perform.h"

RadioGroup::~RadioGroup() = default;

qelValue RadioGroup::perform(const qelValue& action, const qelValue& data)
{
    if (action == "Notify" || action == "SetSelected") {
        if (!initialized)
            init();
        select(data);
        return qelNil;
    }
    return Group::perform(action, data);
}

void RadioGroup::select(const qelValue& name)
{
    for (int32_t i = 0; i < qelCount(members); ++i) {
        qelValue control = member(i);
        qelValue own = qelGet(control, "Name");
        bool chosen = own.isString() && name.isString() && own == name;
        qelPerform(control, "Select", qelMakeBoolean(chosen));
    }
}
