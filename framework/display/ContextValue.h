#pragma once

// Drawing-context values (type 14): a reference-counted handle on a device context that it
// does not own. The port's offscreen buffer, a printer page and a context image's pixels are
// reached through such values.

#include "framework/runtime/Value.h"
#include "platform/gfx/Dc.h"

#include <memory>

class qelContextObject final : public qelObject {
public:
    explicit qelContextObject(platform::gfx::Dc* dc, std::shared_ptr<void> owner = nullptr)
        : dc(dc)
        , m_owner(std::move(owner))
    {
    }
    platform::gfx::Dc* const dc;

private:
    // Keeps the context alive while the value exists, when the context belongs to an image.
    std::shared_ptr<void> m_owner;
};

// Wraps the device context without taking ownership of it.
qelValue qelContextValue(platform::gfx::Dc* dc);
// Wraps a context that `owner` keeps alive, sharing that ownership.
qelValue qelContextValue(platform::gfx::Dc* dc, std::shared_ptr<void> owner);
// The device context a context value holds; null for anything else.
platform::gfx::Dc* qelContextDc(const qelValue& value);
