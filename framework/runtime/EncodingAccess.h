#pragma once

// The few list, table and buffer operations that the encoder, the decoder and the text notation
// reader use, gathered so that their hot loops call the objects directly.

#include "framework/runtime/Buffer.h"
#include "framework/runtime/IntList.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"

#include <cstring>
#include <utility>

namespace qelEncodingAccess {

inline qelValue makeList(int32_t capacity, int32_t kind)
{
    return qelMakeList(capacity, 100, kind);
}

inline void append(const qelValue& list, const qelValue& item)
{
    if (qelListObject* l = qelListObjectOf(list))
        l->append(item);
}

// Appends to a general list that makeList has just made with room for every element the
// caller will add, moving the item in: no growth check and no reference count traffic.
inline void appendToNewList(const qelValue& list, qelValue&& item)
{
    qelListObject* l = qelListObjectOf(list);
    if (!l)
        return;
    if (l->count < l->capacity && l->elements)
        l->elements[l->count++] = std::move(item);
    else
        l->append(item);
}

inline int32_t listKind(const qelValue& list)
{
    qelListObject* l = qelListObjectOf(list);
    return l ? l->kind() : QEL_GENERAL_LIST;
}

inline int32_t listCount(const qelValue& list)
{
    qelListObject* l = qelListObjectOf(list);
    return l ? l->count : 0;
}

inline int32_t listCapacity(const qelValue& list)
{
    qelListObject* l = qelListObjectOf(list);
    return l ? l->capacity : 0;
}

// Element i of a general list (in range).
inline qelValue elementAt(const qelValue& list, int32_t i)
{
    qelListObject* l = qelListObjectOf(list);
    if (!l || i < 0 || i >= l->count)
        return qelNil;
    if (l->kind() == QEL_INT_LIST)
        return qelMakeInt(static_cast<qelIntListObject*>(l)->ints[i]);
    return l->elements[i];
}

inline int32_t intAt(const qelValue& list, int32_t i)
{
    qelListObject* l = qelListObjectOf(list);
    if (!l || i < 0 || i >= l->count)
        return 0;
    return l->intAt(i);
}

// Fills a new int-list (made with capacity `count`) with the integers.
inline void setInts(const qelValue& list, const int32_t* ints, int32_t count)
{
    qelListObject* l = qelListObjectOf(list);
    if (!l || l->kind() != QEL_INT_LIST)
        return;
    if (count <= l->capacity) {
        auto* intList = static_cast<qelIntListObject*>(l);
        if (count)
            std::memcpy(intList->ints, ints, size_t(count) * sizeof(int32_t));
        intList->count = count;
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        l->appendInt(ints[i]);
}

inline int32_t removeAll(const qelValue& list, const qelValue& value)
{
    return qelListRemove(list, value);
}

// Tables as the decoders make them: growth 100 %, fill 75 %.
inline qelValue makeTable(int32_t capacity)
{
    return qelTable(capacity, 100, 75);
}

inline void put(const qelValue& table, const qelValue& key, const qelValue& value)
{
    if (qelTableObject* t = qelTableOf(table))
        t->put(key, value);
}

inline bool tableFind(const qelValue& table, const qelValue& key, qelValue& found)
{
    qelTableObject* t = qelTableOf(table);
    if (!t)
        return false;
    int32_t slot = t->find(key);
    if (slot < 0)
        return false;
    found = t->values[slot];
    return true;
}

inline int32_t tableCapacity(const qelValue& table)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->capacity : 0;
}

inline int32_t tableCount(const qelValue& table)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->count : 0;
}

inline int32_t firstSlot(const qelValue& table)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->firstIndex() : -1;
}

inline int32_t nextSlot(const qelValue& table, int32_t slot)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->nextIndex(slot) : -1;
}

inline const qelValue& keyAt(const qelValue& table, int32_t slot)
{
    return qelTableOf(table)->keys[slot];
}

inline const qelValue& valueAt(const qelValue& table, int32_t slot)
{
    return qelTableOf(table)->values[slot];
}

inline qelValue makeBuffer(int32_t size)
{
    return qelBuffer(size);
}

inline uint8_t* bufferData(const qelValue& buffer)
{
    qelBufferObject* b = qelBufferOf(buffer);
    return b ? b->bytes() : nullptr;
}

inline int32_t bufferLength(const qelValue& buffer)
{
    qelBufferObject* b = qelBufferOf(buffer);
    return b ? b->length : 0;
}

inline int32_t bufferSize(const qelValue& buffer)
{
    qelBufferObject* b = qelBufferOf(buffer);
    return b ? b->size : 0;
}

inline void setBufferLength(const qelValue& buffer, int32_t n)
{
    qelSetBufferLength(buffer, n);
}

} // namespace qelEncodingAccess
