#include "app/shell/NamedControl.h"

#include "framework/runtime/Resource.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"

qelValue namedControl(qelFormObject& form, const char* name)
{
    qelValue value = qelResolve(form.getProperty(name));
    if (qelControlOf(value))
        return value;
    return form.findControl("Name", qelValue(name));
}
