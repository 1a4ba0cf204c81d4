#include "framework/runtime/Table.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

// The own cells must leave the object within one block of the 256-byte class.
static_assert(sizeof(qelTableObject) <= 256, "a table object takes one block of the 256-byte class");

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

// Tells whether a probed key equals the key looked for, with the same answer as
// qelValue::operator==, which compares strings up to their first NUL. For the usual string key
// without an embedded NUL that needs no call: a held string is equal exactly when it starts with
// the key's bytes followed by a NUL. When its length is the key's, that means equal contents, and
// the cached hashes settle most mismatches first.
class KeyMatcher {
public:
    explicit KeyMatcher(const qelValue& key)
        : m_key(key)
    {
        if (key.type() == QEL_STRING_TYPE && key.object()) {
            auto* string = key.objectAs<qelStringObject>();
            m_hash = string->hash();
            if (!string->holdsNul())
                m_string = string;
        } else {
            m_hash = qelHash(key);
        }
    }

    int32_t hash() const { return m_hash; }
    bool isPlainString() const { return m_string != nullptr; }

    // `held` is a live key (neither nil nor the deleted marker).
    bool matches(const qelValue& held) const
    {
        if (!m_string)
            return held == m_key;
        if (held.type() != QEL_STRING_TYPE)
            return false;
        auto* other = held.objectAs<qelStringObject>();
        if (other == m_string)
            return true;
        if (!other)
            return held == m_key;
        int32_t length = m_string->length();
        if (other->length() == length)
            return other->hash() == m_hash && sameBytes(other->chars(), m_string->chars(), length);
        return other->length() > length && sameBytes(other->chars(), m_string->chars(), length + 1);
    }

private:
    static bool sameBytes(const char* a, const char* b, int32_t count) { return std::memcmp(a, b, size_t(count)) == 0; }

    const qelValue& m_key;
    const qelStringObject* m_string = nullptr;
    int32_t m_hash = 0;
};

} // namespace

bool qelTableObject::cannotMatch(int32_t slot, bool plainKey, int32_t hash) const
{
    return plainKey && m_tags[slot].plainString && m_tags[slot].hash != hash;
}

qelTableObject::qelTableObject(int32_t capacity_, int32_t growPercent_, int32_t fillPercent)
    : capacity(std::max(capacity_, 1))
    , growPercent(growPercent_)
    , fillLimit(scaledFill(std::max(capacity_, 1), fillPercent))
{
    if (deletedMarker.isNil())
        deletedMarker = qelMakeUnique();
    // The table's own cells and tags serve the slots it is made with, nil and zero from the
    // allocator's clearing.
    if (capacity <= ownSlotCount) {
        keys = ownCells();
        values = keys + capacity;
        m_tags = m_inlineTags;
    } else if (!takeSlots(capacity)) {
        capacity = 0;
    }
}

qelTableObject::~qelTableObject()
{
    releaseSlots(keys, values, m_tags, capacity);
}

namespace {

// Small tables (up to 8 slots) keep their keys and values in one block of the allocator's
// 256-byte class, and their key tags in the table object (which takes a block of that class
// too): one allocation for what takes three otherwise, and the pairs close together. Larger
// tables take a block for each, so that neither reaches the 4096-byte class before it needs to.
// The shared block is asked for whole, a size known here, which the allocator clears in a few
// wide stores.
constexpr size_t sharedBlockSize = 256;

bool cellsShareBlock(int32_t capacity)
{
    return 2 * sizeof(qelValue) * size_t(capacity) <= sharedBlockSize;
}

} // namespace

bool qelTableObject::takeSlots(int32_t newCapacity)
{
    qelValue* newKeys;
    qelValue* newValues;
    if (cellsShareBlock(newCapacity)) {
        // Zero-filled memory is nil cells.
        newKeys = static_cast<qelValue*>(qelAlloc(sharedBlockSize));
        newValues = newKeys ? newKeys + newCapacity : nullptr;
    } else {
        newKeys = qelNewCells(newCapacity);
        newValues = qelNewCells(newCapacity);
    }
    // A new table's inline tags are zero with the rest of the object; a growing one clears them.
    KeyTag* newTags = m_inlineTags;
    if (newCapacity > inlineTagCount)
        newTags = static_cast<KeyTag*>(qelAlloc(sizeof(KeyTag) * size_t(newCapacity)));
    else if (keys)
        std::fill(std::begin(m_inlineTags), std::end(m_inlineTags), KeyTag {});
    if (!newKeys || !newValues || !newTags) {
        releaseSlots(newKeys, newValues, newTags, newCapacity);
        return false;
    }
    keys = newKeys;
    values = newValues;
    m_tags = newTags;
    return true;
}

void qelTableObject::releaseSlots(qelValue* oldKeys, qelValue* oldValues, KeyTag* oldTags, int32_t oldCapacity)
{
    if (oldKeys == ownCells() || (oldKeys && cellsShareBlock(oldCapacity))) {
        // Keys and values side by side: in the object's block, or in a shared block returned here.
#pragma GCC unroll 4
        for (int32_t i = 0; i < 2 * oldCapacity; ++i)
            oldKeys[i].~qelValue();
        if (oldKeys != ownCells())
            qelFree(oldKeys, sharedBlockSize);
    } else if (!cellsShareBlock(oldCapacity)) {
        qelFreeCells(oldKeys, oldCapacity);
        qelFreeCells(oldValues, oldCapacity);
    }
    if (oldTags && oldCapacity > inlineTagCount)
        qelFree(oldTags, sizeof(KeyTag) * size_t(oldCapacity));
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
    KeyMatcher matcher(key);
    bool plainKey = matcher.isPlainString();
    int32_t hash = matcher.hash();
    int32_t home = homeSlot(hash);
    int32_t slot = home;
    do {
        const qelValue& held = keys[slot];
        if (held.isNil())
            return -1;
        if (!cannotMatch(slot, plainKey, hash) && !isDeletedKey(held) && matcher.matches(held))
            return slot;
        slot = slot + 1 == capacity ? 0 : slot + 1;
    } while (slot != home);
    return -1;
}

void qelTableObject::put(const qelValue& key, const qelValue& value)
{
    if (capacity == 0 || key.isNil())
        return;
    // Either may be a cell of this table, which growing replaces: hold both first.
    putMoved(qelValue(key), qelValue(value));
}

qelValue* qelTableObject::cellForKeyProbing(qelValue&& heldKey)
{
    // A nil key would sit in its slot looking empty while counted as live, so the count and the
    // pairs that iteration (and the encoder) sees would disagree: it is not stored.
    if (capacity == 0 || heldKey.isNil())
        return nullptr;
    KeyMatcher matcher(heldKey);
    bool plainKey = matcher.isPlainString();
    int32_t hash = matcher.hash();
    for (;;) {
        int32_t home = homeSlot(hash);
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
            } else if (!cannotMatch(slot, plainKey, hash) && matcher.matches(held)) {
                return &values[slot];
            }
            slot = slot + 1 == capacity ? 0 : slot + 1;
        } while (slot != home);
        if (firstDeleted >= 0)
            target = firstDeleted;
        if (target >= 0) {
            m_tags[target] = plainKey ? KeyTag { hash, 1 } : KeyTag {};
            keys[target] = std::move(heldKey);
            ++count;
            return &values[target];
        }
        // Every slot is live and none holds the key.
        if (growPercent <= 0) {
            qelError("Hash table full");
            return nullptr;
        }
        if (!grow())
            return nullptr;
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
    qelValue* oldKeys = keys;
    qelValue* oldValues = values;
    KeyTag* oldTags = m_tags;
    if (!takeSlots(newCapacity))
        return false;
    int32_t oldCapacity = std::exchange(capacity, newCapacity);
    fillLimit = int32_t(int64_t(fillLimit) * newCapacity / oldCapacity);
    count = 0;
    // The new slots have room for every live pair, so these puts neither grow nor fail.
    for (int32_t slot = 0; slot < oldCapacity; ++slot) {
        qelValue& key = oldKeys[slot];
        if (!key.isNil() && !isDeletedKey(key))
            putMoved(std::move(key), std::move(oldValues[slot]));
    }
    releaseSlots(oldKeys, oldValues, oldTags, oldCapacity);
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
