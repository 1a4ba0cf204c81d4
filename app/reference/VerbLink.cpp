#include "app/reference/VerbLink.h"

#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

void VerbLink::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    if (data.isString()) {
        qelValue list = qelResolve(getProperty("Lista"));
        if (!qelControlOf(list))
            list = findControl("Name", qelValue("Lista"));
        if (qelControlOf(list))
            qelPerform(list, "SetText", data);
    }
    VLTextDialog::open(data);

    int32_t x = hasProperty("Origin X") ? qelIntValue(qelResolve(getProperty("Origin X"))) : 0;
    int32_t y = hasProperty("Origin Y") ? qelIntValue(qelResolve(getProperty("Origin Y"))) : 0;
    qelValue background
        = hasProperty("Background Image") ? qelLoadImageResource(getProperty("Background Image")) : qelNil;
    bool measured = background.type() == QEL_IMAGE_TYPE;
    // Without a size the frame is a small square at the origin: nearly every press closes it.
    int32_t w = hasProperty("Width") ? qelIntValue(qelResolve(getProperty("Width")))
        : measured                   ? qelWidth(background)
                                     : 5;
    int32_t h = hasProperty("Height") ? qelIntValue(qelResolve(getProperty("Height")))
        : measured                    ? qelHeight(background)
                                      : 5;
    m_frameRect = qelRectValue(x, y, w, h);
}

void VerbLink::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (!qelContainsPoint(m_frameRect, x, y))
        endDialog();
    VLTextDialog::mouseDown(x, y, modifiers, clicks);
}
