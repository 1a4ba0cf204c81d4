#include "framework/runtime/Table.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

namespace {

// The deleted-slot marker: one unique value for the whole run, made when the first table is.
qelValue deletedMarker;

bool isDeletedKey(const qelValue& key)
{
    return key.type() == QEL_UNIQUE_TYPE && key.bits() == deletedMarker.bits();
}

int32_t scaledFill(int32_t capacity, int32_t fillPercent)
{
    int64_t limit = int64_t(capacity) * fillPercent / 100;
    return int32_t(
        std::clamp<int64_t>(limit, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

qelTableObject::qelTableObject(int32_t capacity_, int32_t growPercent_, int32_t fillPercent)
    : capacity(std::max(capacity_, 1))
    , growPercent(growPercent_)
    , fillLimit(scaledFill(std::max(capacity_, 1), fillPercent))
{
    if (deletedMarker.isNil())
        deletedMarker = qelMakeUnique();
    keys = qelNewCells(capacity);
    values = qelNewCells(capacity);
    if (!keys || !values) {
        qelFreeCells(keys, capacity);
        qelFreeCells(values, capacity);
        keys = values = nullptr;
        capacity = 0;
    }
}

qelTableObject::~qelTableObject()
{
    qelFreeCells(keys, capacity);
    qelFreeCells(values, capacity);
}

int32_t qelTableObject::homeSlot(const qelValue& key) const
{
    int32_t slot = qelHash(key) % capacity;
    return slot < 0 ? slot + capacity : slot;
}

bool qelTableObject::isLive(int32_t slot) const
{
    const qelValue& key = keys[slot];
    return !key.isNil() && !isDeletedKey(key);
}

int32_t qelTableObject::find(const qelValue& key) const
{
    if (capacity == 0)
        return -1;
    int32_t home = homeSlot(key);
    int32_t slot = home;
    do {
        const qelValue& held = keys[slot];
        if (held.isNil())
            return -1;
        if (!isDeletedKey(held) && held == key)
            return slot;
        slot = slot + 1 == capacity ? 0 : slot + 1;
    } while (slot != home);
    return -1;
}

void qelTableObject::put(const qelValue& key, const qelValue& value)
{
    if (capacity == 0)
        return;
    // Either may be a cell of this table, which growing replaces: hold both first.
    qelValue heldKey = key;
    qelValue heldValue = value;
    for (;;) {
        int32_t home = homeSlot(heldKey);
        int32_t slot = home;
        int32_t firstDeleted = -1;
        int32_t target = -1;
        do {
            const qelValue& held = keys[slot];
            if (held.isNil()) {
                target = slot;
                break;
            }
            if (isDeletedKey(held)) {
                if (firstDeleted < 0)
                    firstDeleted = slot;
            } else if (held == heldKey) {
                values[slot] = std::move(heldValue);
                return;
            }
            slot = slot + 1 == capacity ? 0 : slot + 1;
        } while (slot != home);
        if (firstDeleted >= 0)
            target = firstDeleted;
        if (target >= 0) {
            keys[target] = std::move(heldKey);
            values[target] = std::move(heldValue);
            ++count;
            return;
        }
        // Every slot is live and none holds the key.
        if (growPercent <= 0) {
            qelError("Hash table full");
            return;
        }
        if (!grow())
            return;
    }
}

bool qelTableObject::grow()
{
    int64_t increment = std::max<int64_t>(int64_t(capacity) * growPercent / 100, 1);
    int64_t wanted = std::min<int64_t>(int64_t(capacity) + increment, std::numeric_limits<int32_t>::max());
    if (wanted == capacity) {
        qelError("Hash table full");
        return false;
    }
    int32_t newCapacity = int32_t(wanted);
    qelValue* newKeys = qelNewCells(newCapacity);
    qelValue* newValues = qelNewCells(newCapacity);
    if (!newKeys || !newValues) {
        qelFreeCells(newKeys, newCapacity);
        qelFreeCells(newValues, newCapacity);
        return false;
    }
    qelValue* oldKeys = std::exchange(keys, newKeys);
    qelValue* oldValues = std::exchange(values, newValues);
    int32_t oldCapacity = std::exchange(capacity, newCapacity);
    fillLimit = int32_t(int64_t(fillLimit) * newCapacity / oldCapacity);
    count = 0;
    // The new arrays have room for every live pair, so these puts neither grow nor fail.
    for (int32_t slot = 0; slot < oldCapacity; ++slot) {
        qelValue& key = oldKeys[slot];
        if (!key.isNil() && !isDeletedKey(key))
            put(key, oldValues[slot]);
    }
    qelFreeCells(oldKeys, oldCapacity);
    qelFreeCells(oldValues, oldCapacity);
    return true;
}

qelValue qelTableObject::get(const qelValue& key) const
{
    int32_t slot = find(key);
    return slot < 0 ? qelNil : values[slot];
}

int32_t qelTableObject::remove(const qelValue& key)
{
    int32_t slot = find(key);
    if (slot < 0)
        return -1;
    keys[slot] = deletedMarker;
    values[slot] = qelNil;
    return --count;
}

qelValue qelTableObject::valueAt(int32_t slot) const
{
    if (slot < 0 || slot >= capacity) {
        qelError(("Table index out of range: " + std::to_string(slot)).c_str());
        return qelNil;
    }
    return values[slot];
}

qelValue qelTableObject::keyAt(int32_t slot) const
{
    if (slot < 0 || slot >= capacity) {
        qelError(("Table index out of range: " + std::to_string(slot)).c_str());
        return qelNil;
    }
    return isDeletedKey(keys[slot]) ? qelNil : keys[slot];
}

int32_t qelTableObject::firstIndex() const
{
    return nextIndex(-1);
}

int32_t qelTableObject::nextIndex(int32_t slot) const
{
    for (int32_t next = std::max(slot + 1, 0); next < capacity; ++next) {
        if (isLive(next))
            return next;
    }
    return -1;
}

qelValue qelTableObject::copy() const
{
    auto* duplicate = new qelTableObject(capacity, growPercent, 0);
    qelValue result = qelMakeObjectValue(QEL_TABLE_TYPE, duplicate);
    if (!duplicate)
        return result;
    duplicate->fillLimit = fillLimit;
    for (int32_t slot = firstIndex(); slot >= 0; slot = nextIndex(slot))
        duplicate->put(keys[slot], qelCopy(values[slot]));
    return result;
}

qelValue qelTable(int32_t capacity, int32_t growPercent, int32_t fillPercent)
{
    if (capacity < 1) {
        qelError("qelTable(QELINT,QELINT,QELINT): Argument 1 must be greater than zero.");
        capacity = 1;
    }
    return qelMakeObjectValue(QEL_TABLE_TYPE, new qelTableObject(capacity, growPercent, fillPercent));
}

qelTableObject* qelTableOf(const qelValue& value)
{
    return value.type() == QEL_TABLE_TYPE ? value.objectAs<qelTableObject>() : nullptr;
}
