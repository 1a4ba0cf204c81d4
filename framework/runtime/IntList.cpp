#include "framework/runtime/IntList.h"
#include "framework/runtime/Allocator.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"

#include <algorithm>
#include <cstring>

// The general list's own cells fill its block; the int-list, which leaves them unused, must still
// fit the same block.
static_assert(sizeof(qelIntListObject) <= 256, "an int-list takes one block of the 256-byte class");

namespace {

int32_t* newInts(int32_t capacity)
{
    return static_cast<int32_t*>(qelAlloc(sizeof(int32_t) * size_t(capacity)));
}

void freeInts(int32_t* ints, int32_t capacity)
{
    if (ints)
        qelFree(ints, sizeof(int32_t) * size_t(capacity));
}

int32_t integerOrder(int32_t a, int32_t b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

qelIntListObject::qelIntListObject(int32_t capacity_, int32_t growth_)
    : qelListObject(NoCells {}, capacity_, growth_)
{
    ints = newInts(capacity);
    if (!ints)
        capacity = 0;
}

qelIntListObject::~qelIntListObject()
{
    freeInts(ints, capacity);
}

int32_t qelIntListObject::kind() const
{
    return QEL_INT_LIST;
}

int32_t qelIntListObject::appendInt(int32_t n)
{
    if (count == capacity) {
        int32_t newCapacity = grownCapacity();
        int32_t* grown = newInts(newCapacity);
        if (!grown)
            return count;
        if (count)
            std::memcpy(grown, ints, sizeof(int32_t) * size_t(count));
        freeInts(ints, capacity);
        ints = grown;
        capacity = newCapacity;
    }
    ints[count++] = n;
    return count;
}

int32_t qelIntListObject::append(const qelValue& value)
{
    return appendInt(qelIntValue(value));
}

void qelIntListObject::addUnique(const qelValue& value)
{
    if (find(value, 0) < 0)
        append(value);
}

qelValue qelIntListObject::pop()
{
    if (count == 0)
        return qelNil;
    return qelMakeInt(ints[--count]);
}

int32_t qelIntListObject::remove(const qelValue& value)
{
    int32_t target = qelIntValue(value);
    int32_t* end = std::remove(ints, ints + count, target);
    int32_t removed = count - int32_t(end - ints);
    count -= removed;
    return removed;
}

qelValue qelIntListObject::slice(int32_t first, int32_t n, int32_t newCapacity) const
{
    auto* part = new qelIntListObject(newCapacity, 100);
    qelValue result = qelMakeObjectValue(QEL_LIST_TYPE, part);
    if (part) {
        for (int32_t i = first; i < first + n; ++i)
            part->appendInt(ints[i]);
    }
    return result;
}

qelValue qelIntListObject::copy() const
{
    auto* duplicate = new qelIntListObject(capacity, growth);
    qelValue result = qelMakeObjectValue(QEL_LIST_TYPE, duplicate);
    if (duplicate) {
        for (int32_t i = 0; i < count; ++i)
            duplicate->appendInt(ints[i]);
    }
    return result;
}

qelValue qelIntListObject::left(int32_t n) const
{
    n = std::clamp(n, 0, count);
    return slice(0, n, n);
}

qelValue qelIntListObject::right(int32_t n) const
{
    if (n < 0 || n >= count)
        return slice(0, 0, 4);
    return slice(count - n, n, n);
}

qelValue qelIntListObject::mid(int32_t start, int32_t n) const
{
    if (start < 0 || start >= count || n <= 0)
        return slice(0, 0, 4);
    n = std::min(n, count - start);
    return slice(start, n, n);
}

qelValue qelIntListObject::elementAt(int32_t index) const
{
    if (!checkIndex(index))
        return qelNil;
    return qelMakeInt(ints[index]);
}

int32_t qelIntListObject::intAt(int32_t index) const
{
    if (!checkIndex(index))
        return 0;
    return ints[index];
}

int32_t qelIntListObject::find(const qelValue& value, int32_t start) const
{
    int32_t target = qelIntValue(value);
    for (int32_t i = std::max(start, 0); i < count; ++i) {
        if (ints[i] == target)
            return i;
    }
    return -1;
}

qelValue qelIntListObject::sortedCopy(int32_t descending) const
{
    qelValue result = copy();
    auto* sorted = static_cast<qelIntListObject*>(qelListObjectOf(result));
    if (sorted) {
        if (descending)
            std::stable_sort(sorted->ints, sorted->ints + sorted->count, [](int32_t a, int32_t b) { return a > b; });
        else
            std::stable_sort(sorted->ints, sorted->ints + sorted->count);
    }
    return result;
}

qelValue qelIntListObject::sortByColumns(int32_t, int32_t, int32_t) const
{
    qelArgTypeError("qelSortLists(lstOfLst,QELINT,QELORDER)", 1);
    return qelNil;
}

qelValue qelIntListObject::sortByColumn(int32_t, int32_t) const
{
    qelArgTypeError("qelSortLists(lstOfLst,QELINT,QELORDER)", 1);
    return qelNil;
}

qelValue qelIntListObject::merge(const qelValue& otherValue, int32_t descending) const
{
    qelListObject* other = qelListObjectOf(otherValue);
    int32_t otherCount = other ? other->count : 0;
    auto* merged = new qelIntListObject(std::max(capacity, other ? other->capacity : 0), growth);
    qelValue result = qelMakeObjectValue(QEL_LIST_TYPE, merged);
    if (!merged)
        return result;
    int32_t i = 0, j = 0;
    while (i < count && j < otherCount) {
        int32_t a = ints[i];
        int32_t b = other->intAt(j);
        int32_t order = descending ? integerOrder(b, a) : integerOrder(a, b);
        if (order < 0) {
            merged->appendInt(a);
            ++i;
        } else {
            merged->appendInt(b);
            ++j;
            if (order == 0)
                ++i;
        }
    }
    for (; i < count; ++i)
        merged->appendInt(ints[i]);
    for (; j < otherCount; ++j)
        merged->appendInt(other->intAt(j));
    return result;
}

int32_t qelIntListObject::reverseFind(const qelValue& value, int32_t start) const
{
    int32_t target = qelIntValue(value);
    if (start == 0)
        start = count - 1;
    for (int32_t i = std::min(start, count) - 1; i >= 0; --i) {
        if (ints[i] == target)
            return i;
    }
    return -1;
}

void qelIntListObject::putAt(int32_t index, const qelValue& value)
{
    if (checkIndex(index))
        ints[index] = qelIntValue(value);
}
