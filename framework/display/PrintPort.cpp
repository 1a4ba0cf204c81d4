#include "framework/display/PrintPort.h"

#include "framework/display/ContextValue.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Port.h"
#include "framework/runtime/Print.h"

namespace {

void usePrinterContext(platform::gfx::Dc* dc)
{
    qelPortObject* port = qelPortOf(qelMainPortValue());
    if (!port)
        return;
    if (dc) {
        // The value wraps the page's context without owning it: the job keeps it.
        port->setAlternateContext(qelContextValue(dc));
        port->useAlternateContext(1);
    } else {
        port->useAlternateContext(0);
        port->setAlternateContext(qelContextValue(nullptr));
    }
}

} // namespace

void qelInstallPrintPort()
{
    qelPrintHooksNow().usePrinterContext = usePrinterContext;
}
