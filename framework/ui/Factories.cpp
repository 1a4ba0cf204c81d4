#include "framework/ui/Factories.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"

namespace {

// The data's entry under the key; data that holds no entries (nil) has none.
qelValue entryOf(const qelValue& data, const char* key)
{
    int32_t type = data.type();
    if (type != QEL_TABLE_TYPE && type != QEL_CONTROL_TYPE && type != QEL_FORM_TYPE)
        return qelNil;
    return qelGet(data, key);
}

// A new object made by the prototype registered under the data's "Class", or null.
qelNamedObject* instanceOfClass(const qelValue& data)
{
    qelValue className = entryOf(data, "Class");
    if (className.isNil())
        return nullptr;
    qelEnvironment* environment = qelCurrentEnv();
    if (!environment || environment->globals.isNil())
        return nullptr;
    qelValue registry = qelLoadResource("Classes");
    qelTableObject* classes = qelTableOf(registry);
    if (!classes || classes->find(className) < 0)
        return nullptr;
    qelValue prototype = qelResolve(classes->get(className));
    auto* named = prototype.object() ? dynamic_cast<qelNamedObject*>(prototype.object()) : nullptr;
    return named ? named->newInstance(data) : nullptr;
}

} // namespace

qelValue qelMakeFormFromData(const qelValue& data)
{
    qelNamedObject* made = instanceOfClass(data);
    auto* form = made ? dynamic_cast<qelFormObject*>(made) : nullptr;
    if (made && !form) {
        // A class of another kind (a control class named by a form table) cannot be a form;
        // the table still gives one.
        qelValue discard = qelMakeObjectValue(QEL_OBJECT_TYPE, made);
    }
    if (!form)
        form = new qelFormObject(data);
    if (form->name.isNil()) {
        form->name = qelResolve(entryOf(data, "Name"));
        if (form->name.isNil())
            form->name = qelStringValue(form->className());
    }
    return qelFormValue(form);
}

qelValue qelMakeControl(const qelValue& data)
{
    if (entryOf(data, "Class").isNil())
        qelError("Control data must have a 'Class' property:\n" + qelValue(data));
    qelNamedObject* made = instanceOfClass(data);
    // Every registered control class derives from the control root; anything else in the
    // registry under that name is wrapped as it is, so the value still answers its class.
    return qelMakeObjectValue(QEL_CONTROL_TYPE, made ? made : new qelControlObject(data));
}

qelValue qelMakeForm(const qelValue& className, const qelValue& resourceTable, const qelValue& name)
{
    qelValue table = qelTable(3, 100, 75);
    qelTableObject* entries = qelTableOf(table);
    entries->put("Class", className);
    entries->put("Resource Table", resourceTable);
    entries->put("Name", name);
    return qelMakeFormFromData(table);
}
