#pragma once

// A plain object that keeps the stored fields of a value whose real class belongs to a part of
// the framework that has not installed its makers (see MakerHooks.h). It prints as that class
// prints where the printed form reads back (regions, fonts, forms, controls) and encodes back to
// the same bytes.

#include "framework/runtime/MakerHooks.h"

class qelHolderObject final : public qelObject {
public:
    qelHolderObject(int32_t type, qelEncodedFields fields)
        : m_type(type)
        , m_fields(std::move(fields))
    {
    }

    qelValue printString(int32_t typeCode, int32_t quoted) const override;

    int32_t type() const { return m_type; }
    const qelEncodedFields& fields() const { return m_fields; }

private:
    int32_t m_type;
    qelEncodedFields m_fields;
};

// A value of the type over a new holder.
qelValue qelMakeHolderValue(int32_t type, qelEncodedFields fields);
// The holder of a value, or null when the value holds something else.
const qelHolderObject* qelHolderOf(const qelValue& value);
