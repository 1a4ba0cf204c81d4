#include "app/shell/CaptionDialog.h"

#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/Perform.h"

void CaptionDialog::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    VLTextDialog::open(data);
    if (data.type() == QEL_TABLE_TYPE && !qelGet(data, "Text").isNil()) {
        qelValue texto = qelResolve(getProperty("Texto"));
        qelPerform(texto, "SetText", qelGet(data, "Text"));
        qelPerformAction(texto, "Draw");
    }
    m_captionRect = qelRectValue(
        getInt("Origin X", 0), getInt("Origin Y", 0), getInt("Width", 5), getInt("Height", 5));
}

void CaptionDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    if (!qelContainsPoint(m_captionRect, x, y))
        endDialog();
    VLTextDialog::mouseDown(x, y, modifiers, clicks);
}
