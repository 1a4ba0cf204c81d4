#pragma once

// Deep equality of value trees for round-trip tests: strings by all their bytes, floats by their
// bits, lists element by element (kind included), tables by their keys and values whatever the
// slot order, holders and dates by their stored fields.

#include "framework/runtime/Date.h"
#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Holder.h"
#include "framework/runtime/StringObject.h"

#include <cstring>

inline bool valueTreeEqual(const qelValue& a, const qelValue& b)
{
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case QEL_NIL_TYPE:
        return true;
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
    case QEL_FLOAT_TYPE:
    case QEL_UNIQUE_TYPE:
        return a.bits() == b.bits();
    case QEL_STRING_TYPE: {
        auto* x = qelStringOf(a);
        auto* y = qelStringOf(b);
        return x->length() == y->length() && std::memcmp(x->chars(), y->chars(), size_t(x->length())) == 0;
    }
    case QEL_BUFFER_TYPE: {
        int32_t n = qelEncodingAccess::bufferLength(a);
        return n == qelEncodingAccess::bufferLength(b)
            && (n == 0 || std::memcmp(qelBufferData(a), qelBufferData(b), size_t(n)) == 0);
    }
    case QEL_LIST_TYPE: {
        int32_t n = qelEncodingAccess::listCount(a);
        if (n != qelEncodingAccess::listCount(b) || qelEncodingAccess::listKind(a) != qelEncodingAccess::listKind(b))
            return false;
        for (int32_t i = 0; i < n; ++i) {
            if (!valueTreeEqual(qelEncodingAccess::elementAt(a, i), qelEncodingAccess::elementAt(b, i)))
                return false;
        }
        return true;
    }
    case QEL_TABLE_TYPE: {
        if (qelEncodingAccess::tableCount(a) != qelEncodingAccess::tableCount(b))
            return false;
        for (int32_t s = qelEncodingAccess::firstSlot(a); s >= 0; s = qelEncodingAccess::nextSlot(a, s)) {
            qelValue found;
            if (!qelEncodingAccess::tableFind(b, qelEncodingAccess::keyAt(a, s), found)
                || !valueTreeEqual(qelEncodingAccess::valueAt(a, s), found))
                return false;
        }
        return true;
    }
    case QEL_DATE_TYPE:
        return qelDateOf(a)->dateWord == qelDateOf(b)->dateWord && qelDateOf(a)->timeWord == qelDateOf(b)->timeWord;
    default: {
        const qelHolderObject* x = qelHolderOf(a);
        const qelHolderObject* y = qelHolderOf(b);
        if (!x || !y)
            return a.object() == b.object();
        const qelEncodedFields& f = x->fields();
        const qelEncodedFields& g = y->fields();
        return std::memcmp(f.ints, g.ints, sizeof f.ints) == 0 && f.points == g.points
            && valueTreeEqual(f.values[0], g.values[0]) && valueTreeEqual(f.values[1], g.values[1]);
    }
    }
}
