#include "framework/ui/Group.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/Perform.h"

Group::~Group() = default;

void Group::init()
{
    qelValue list = getProperty("List");
    if (hasProperty("List") && list.type() == QEL_LIST_TYPE) {
        members = list;
    } else {
        members = qelMakeList(4, 100, 0);
        setProperty("List", members);
    }
    setBool("Disabled", 1);
    setBool("Hidden", 1);
    initialized = 1;
}

qelValue Group::member(int32_t index)
{
    return index < qelCount(members) ? qelResolve(qelGet(members, index)) : qelNil;
}

qelValue Group::perform(const qelValue& action, const qelValue& data)
{
    if (!initialized)
        init();
    if (action == "isVisible")
        return getProperty("Visible");
    if (action == "isEnabled")
        return getProperty("Enabled");
    if (action == "Show")
        show(qelIsTrue(data));
    else if (action == "Enable")
        enable(qelIsTrue(data));
    else if (action == "AddControl")
        addControl(data);
    else if (action == "DelControl")
        delControl(data);
    else if (action == "Draw")
        drawMembers();
    return qelNil;
}

void Group::show(int32_t flag)
{
    // The count is read at every step: a member's draw may change the list.
    for (int32_t i = 0; i < qelCount(members); ++i) {
        qelValue control = member(i);
        qelPut(control, "Hidden", qelMakeBoolean(!flag));
        qelPerform(control, "Draw", qelNil);
    }
}

void Group::enable(int32_t flag)
{
    for (int32_t i = 0; i < qelCount(members); ++i)
        qelPut(member(i), "Disabled", qelMakeBoolean(!flag));
}

void Group::addControl(const qelValue& control)
{
    qelAddItem(members, control, 1);
}

void Group::delControl(const qelValue& control)
{
    if (qelListObject* list = qelListObjectOf(members))
        list->remove(control);
}

void Group::drawMembers()
{
    for (int32_t i = 0; i < qelCount(members); ++i)
        qelPerform(member(i), "Draw", qelNil);
}
