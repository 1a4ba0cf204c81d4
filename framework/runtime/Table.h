#pragma once

// Tables (type 9): hash tables keyed by any value, with open addressing and linear probing over
// two parallel arrays of handles, keys and values.
//
// A key's home slot is qelHash(key) modulo the capacity (a negative remainder has the capacity
// added); probing steps to the next slot, from the last slot back to slot 0. A slot is empty when
// its key is nil, deleted when its key is the run-wide deleted marker (a unique value no caller
// holds), live otherwise. Removal leaves the marker so that probe chains stay intact. A table
// grows only when every slot is live: by `growPercent` percent of its capacity (at least one
// slot), putting the live pairs again in slot order. Slot order is what iteration and the binary
// encoding see, so it is the same on every run.

#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <cstdint>
#include <new>
#include <utility>

class qelTableObject : public qelObject {
public:
    // A capacity below 1 becomes 1.
    qelTableObject(int32_t capacity, int32_t growPercent, int32_t fillPercent);
    ~qelTableObject() override;

    // "(table (key value)" with one pair per line, lined up under the first.
    qelValue printString(int32_t typeCode, int32_t quoted) const override;

    // Stores or replaces. A full table that may not grow reports "Hash table full" and stores
    // nothing. A nil key is not stored (a slot whose key is nil is an empty slot).
    void put(const qelValue& key, const qelValue& value);
    // The same, taking over the caller's key and value; neither may be a cell of this table.
    void putMoved(qelValue&& key, qelValue&& value);
    // Takes over the key for a put whose value comes next: the value cell of the key's slot,
    // which holds the value stored before (if any) and is valid until the table changes again;
    // null when the key cannot be stored (nil, or a full table that may not grow).
    qelValue* cellForKey(qelValue&& key);
    // The same for a key known to be a string without an embedded NUL whose content hash is given.
    qelValue* cellForStringKey(qelValue&& key, int32_t hash);
    // The same, for a reader that knows where the probe for such a key stops in this table:
    // `slot`, empty when `added`, else holding the key object itself. Null when the slot is not
    // so (the caller then takes the probing way).
    qelValue* cellAtKnownSlot(int32_t slot, qelStringObject* key, int32_t hash, bool added);
    // The slot of the key, or -1.
    int32_t find(const qelValue& key) const;
    // The value under the key, nil when absent.
    qelValue get(const qelValue& key) const;
    // Answers the new count, or -1 when the key is absent.
    int32_t remove(const qelValue& key);

    // Slot access: outside 0..capacity-1 reports "Table index out of range: " + slot and reads nil.
    // The key of a deleted slot reads nil.
    qelValue valueAt(int32_t slot) const;
    qelValue keyAt(int32_t slot) const;
    // The lowest live slot (above `slot`), or -1.
    int32_t firstIndex() const;
    int32_t nextIndex(int32_t slot) const;
    // Same capacity and growth; keys shared, values through qelCopy, put in slot order.
    qelValue copy() const;

    bool isLive(int32_t slot) const;

    int32_t capacity = 0;
    int32_t count = 0;
    int32_t growPercent = 0;
    // capacity * fill percent / 100, rescaled on growth; kept with the table, never used.
    int32_t fillLimit = 0;
    qelValue* keys = nullptr;
    qelValue* values = nullptr;

private:
    // Beside each slot, what lookups can tell without reaching the key object: whether the key is
    // a string without an embedded NUL and, if so, its hash. Two such strings with different
    // hashes differ.
    struct KeyTag {
        int32_t hash = 0;
        int32_t plainString = 0;
    };
    // Points keys, values and the tags at new nil slots; false when memory was refused.
    bool takeSlots(int32_t capacity);
    // Releases the cells of slots that takeSlots made and returns their memory.
    void releaseSlots(qelValue* keys, qelValue* values, KeyTag* tags, int32_t capacity);
    bool cannotMatch(int32_t slot, bool plainKey, int32_t hash) const;

    int32_t homeSlot(int32_t hash) const
    {
        // Tables start at a few slots and double, so the capacity is mostly a power of two: the
        // remainder made non-negative is then the hash's low bits, without a division.
        if ((capacity & (capacity - 1)) == 0)
            return int32_t(uint32_t(hash) & uint32_t(capacity - 1));
        int32_t slot = hash % capacity;
        return slot < 0 ? slot + capacity : slot;
    }
    qelValue* cellForKeyProbing(qelValue&& key);
    bool grow();

    KeyTag* m_tags = nullptr;
    // The tags of a table of up to 8 slots.
    static constexpr int32_t inlineTagCount = 8;
    KeyTag m_inlineTags[inlineTagCount];
    // The object takes a block of the allocator's 256-byte class whatever its fields, so a table
    // made with up to ownSlotCount slots keeps its keys and values in the rest of that block
    // (zero-filled with the object: nil cells). Once it grows they move to a block of their own.
    static constexpr int32_t ownSlotCount = 4;
    qelValue* ownCells() { return reinterpret_cast<qelValue*>(m_ownCells); }
    alignas(qelValue) unsigned char m_ownCells[2 * ownSlotCount * sizeof(qelValue)];
};

inline qelValue* qelTableObject::cellForKey(qelValue&& key)
{
    if (key.type() == QEL_STRING_TYPE) {
        auto* string = key.objectAs<qelStringObject>();
        if (string && !string->holdsNul()) {
            int32_t hash = string->hash();
            return cellForStringKey(std::move(key), hash);
        }
    }
    return cellForKeyProbing(std::move(key));
}

inline qelValue* qelTableObject::cellForStringKey(qelValue&& key, int32_t hash)
{
    // The key is stored here when its probe meets an empty slot after string keys that cached
    // hashes tell apart, as the full probe would do. Empty slots hold nil keys, so the key is
    // moved in without releasing anything.
    if (capacity > 0) {
        int32_t home = homeSlot(hash);
        int32_t slot = home;
        for (;;) {
            const qelValue& held = keys[slot];
            if (held.isNil()) {
                m_tags[slot] = KeyTag { hash, 1 };
                new (&keys[slot]) qelValue(std::move(key));
                ++count;
                return &values[slot];
            }
            // Deleted slots and keys that may match take the full probe.
            if (held.type() != QEL_STRING_TYPE || !m_tags[slot].plainString || m_tags[slot].hash == hash)
                break;
            slot = slot + 1 == capacity ? 0 : slot + 1;
            if (slot == home)
                break;
        }
    }
    return cellForKeyProbing(std::move(key));
}

inline qelValue* qelTableObject::cellAtKnownSlot(int32_t slot, qelStringObject* key, int32_t hash, bool added)
{
    if (uint32_t(slot) >= uint32_t(capacity))
        return nullptr;
    qelValue& held = keys[slot];
    if (added) {
        if (!held.isNil())
            return nullptr;
        m_tags[slot] = KeyTag { hash, 1 };
        new (&held) qelValue(qelMakeObjectValue(QEL_STRING_TYPE, key));
        ++count;
    } else if (held.object() != key) {
        return nullptr;
    }
    return &values[slot];
}

inline void qelTableObject::putMoved(qelValue&& key, qelValue&& value)
{
    if (qelValue* cell = cellForKey(std::move(key)))
        *cell = std::move(value);
}

// "qelTable(QELINT,QELINT,QELINT)": a new table value. A capacity below 1 reports
// "qelTable(QELINT,QELINT,QELINT): Argument 1 must be greater than zero." and makes capacity 1.
qelValue qelTable(int32_t capacity, int32_t growPercent, int32_t fillPercent);

// The table object of a table value, or null.
qelTableObject* qelTableOf(const qelValue& value);
