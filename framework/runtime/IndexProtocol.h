#pragma once

// What the generic value operations ask of a keyed index object (a value of type 25). The index
// object implements this interface beside its object root; qelCount, qelGet, qelPut and
// qelContainsKey reach it through these operations and rely only on their results.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelIndexProtocol {
public:
    virtual ~qelIndexProtocol() = default;

    // The number of entries.
    virtual int32_t count() = 0;
    // The value stored under the key; nil when the key is absent.
    virtual qelValue get(const qelValue& key) = 0;
    // Stores the value under the key.
    virtual void put(const qelValue& key, const qelValue& value) = 0;
    // Nonzero when the index holds the key.
    virtual int32_t containsKey(const qelValue& key) = 0;
};
