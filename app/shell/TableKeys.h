#pragma once

// Reading a value that should be a table but may be anything (resource data, a screen's
// properties, a dialog's answer): whether it holds a key, and what stands under the key.

#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"

// Whether the value is a table holding the key; anything else holds nothing.
inline bool tableHolds(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t && t->find(key) >= 0;
}

// The value under the key, a resource reference resolved; nil when the value is no table.
inline qelValue tableEntry(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t ? qelResolve(t->get(key)) : qelNil;
}
