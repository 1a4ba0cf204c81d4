#pragma once

// Shared by the generic operations' sources: how they reach objects of later layers.

#include "framework/runtime/IndexProtocol.h"
#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

// The interface P of the value's object, or null when the object does not offer it.
template<typename P> P* qelProtocolOf(const qelValue& value)
{
    return dynamic_cast<P*>(value.object());
}

// The value a reference (type 26) names, resolved again while it names another reference (up to
// a small depth, so a reference naming itself ends as nil). Other values come back unchanged.
qelValue qelResolvedValue(const qelValue& value);
