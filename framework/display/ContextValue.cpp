#include "framework/display/ContextValue.h"

qelValue qelContextValue(platform::gfx::Dc* dc)
{
    return qelMakeObjectValue(QEL_CONTEXT_TYPE, new qelContextObject(dc));
}

qelValue qelContextValue(platform::gfx::Dc* dc, std::shared_ptr<void> owner)
{
    return qelMakeObjectValue(QEL_CONTEXT_TYPE, new qelContextObject(dc, std::move(owner)));
}

platform::gfx::Dc* qelContextDc(const qelValue& value)
{
    if (value.type() != QEL_CONTEXT_TYPE)
        return nullptr;
    auto* context = dynamic_cast<qelContextObject*>(value.object());
    return context ? context->dc : nullptr;
}
