#include "framework/ui/UiRefresh.h"

#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/WindowObject.h"

void qelUiUpdateWindow()
{
    if (qelWindowObject* port = qelMainPort())
        port->update();
}

void qelUiSetCursor(const qelValue& cursor)
{
    qelSetCursor(cursor);
}
