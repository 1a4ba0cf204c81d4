#include "framework/runtime/List.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/IntList.h"
#include "framework/runtime/ListSort.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

// The own cells must leave the object within one block of the 256-byte class.
static_assert(sizeof(qelListObject) <= 256, "a list object takes one block of the 256-byte class");

namespace {

int32_t initialCapacity(int32_t capacity)
{
    return capacity > 0 ? capacity : 4;
}

// The order of two elements when sorting: collation when the first is a string.
int32_t sortRelation(const qelValue& a, const qelValue& b)
{
    return a.isString() ? qelCollate(a, b) : qelCompare(a, b);
}

// The order of two elements when merging: collation only when both are strings.
int32_t mergeRelation(const qelValue& a, const qelValue& b)
{
    return a.isString() && b.isString() ? qelCollate(a, b) : qelCompare(a, b);
}

// Element-wise order of two lists over the shorter length; int-lists take part through their
// elements as int values, so no cell array of theirs is touched.
int32_t listRelation(const qelValue& a, const qelValue& b, bool collate)
{
    qelListObject* left = qelListObjectOf(a);
    qelListObject* right = qelListObjectOf(b);
    if (!left || !right)
        return 0;
    int32_t shorter = std::min(left->count, right->count);
    bool bothGeneral = left->kind() == QEL_GENERAL_LIST && right->kind() == QEL_GENERAL_LIST;
    for (int32_t i = 0; i < shorter; ++i) {
        int32_t result;
        if (bothGeneral)
            result = collate ? qelCollate(left->cell(i), right->cell(i)) : qelCompare(left->cell(i), right->cell(i));
        else
            result = collate ? qelCollate(left->elementAt(i), right->elementAt(i))
                             : qelCompare(left->elementAt(i), right->elementAt(i));
        if (result)
            return result;
    }
    return 0;
}

const bool listRelationInstalled = (qelSetListRelation(listRelation), true);

qelListObject* newGeneralList(int32_t capacity, int32_t growth)
{
    return new qelListObject(capacity, growth);
}

qelValue wrap(qelListObject* list)
{
    return qelMakeObjectValue(QEL_LIST_TYPE, list);
}

qelValue sortRows(const qelListObject& list, int32_t descending, int32_t firstColumn, int32_t lastColumn)
{
    std::vector<int32_t> order(static_cast<size_t>(list.count));
    for (int32_t i = 0; i < list.count; ++i)
        order[size_t(i)] = i;
    const qelValue* rows = list.elements;
    qelStableSortPositions(order, [&](int32_t x, int32_t y) {
        const qelValue& first = descending ? rows[y] : rows[x];
        const qelValue& second = descending ? rows[x] : rows[y];
        for (int32_t column = firstColumn;; ++column) {
            int32_t result = sortRelation(qelCellAt(first, column), qelCellAt(second, column));
            if (result || column >= lastColumn)
                return result;
        }
    });
    qelListObject* sorted = newGeneralList(list.capacity, list.growth);
    if (!sorted)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (int32_t position : order)
        sorted->append(rows[position]);
    return wrap(sorted);
}

} // namespace

qelListObject::qelListObject(int32_t capacity_, int32_t growth_)
    : capacity(initialCapacity(capacity_))
    , growth(growth_)
{
    (void)listRelationInstalled;
    elements = capacity <= ownCellCount ? ownCells() : qelNewCells(capacity);
    if (!elements)
        capacity = 0;
}

qelListObject::qelListObject(NoCells, int32_t capacity_, int32_t growth_)
    : capacity(initialCapacity(capacity_))
    , growth(growth_)
{
}

qelListObject::~qelListObject()
{
    if (elements == ownCells()) {
        for (int32_t i = 0; i < capacity; ++i)
            elements[i].~qelValue();
    } else if (elements) {
        qelFreeCells(elements, capacity);
    }
}

int32_t qelListObject::grownCapacity() const
{
    // At least one more cell, whatever the growth percentage, and never past the 32-bit range.
    int64_t increment = int64_t(capacity) * growth / 100;
    if (increment < 1)
        increment = 1;
    return int32_t(std::min<int64_t>(int64_t(capacity) + increment, std::numeric_limits<int32_t>::max()));
}

bool qelListObject::checkIndex(int32_t index) const
{
    if (index >= 0 && index < count)
        return true;
    qelError(("List index out of range: " + std::to_string(index)).c_str());
    return false;
}

int32_t qelListObject::kind() const
{
    return QEL_GENERAL_LIST;
}

int32_t qelListObject::appendInt(int32_t n)
{
    return append(qelMakeInt(n));
}

int32_t qelListObject::append(const qelValue& value)
{
    if (count == capacity) {
        // The value may be one of this list's cells, which growing moves: hold it first.
        qelValue held = value;
        int32_t newCapacity = grownCapacity();
        qelValue* grown = elements == ownCells() ? qelMoveCells(elements, count, newCapacity)
                                                 : qelResizeCells(elements, capacity, count, newCapacity);
        if (!grown)
            return count;
        elements = grown;
        capacity = newCapacity;
        elements[count++] = std::move(held);
        return count;
    }
    elements[count++] = value;
    return count;
}

void qelListObject::addUnique(const qelValue& value)
{
    if (find(value, 0) < 0)
        append(value);
}

qelValue qelListObject::pop()
{
    if (count == 0)
        return qelNil;
    return std::move(elements[--count]);
}

int32_t qelListObject::remove(const qelValue& value)
{
    qelValue target = value;
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (elements[i] == target)
            continue;
        if (kept != i)
            elements[kept] = std::move(elements[i]);
        ++kept;
    }
    int32_t removed = count - kept;
    for (int32_t i = kept; i < count; ++i)
        elements[i] = qelNil;
    count = kept;
    return removed;
}

qelValue qelListObject::copy() const
{
    qelListObject* duplicate = newGeneralList(capacity, growth);
    if (!duplicate)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    qelValue result = wrap(duplicate);
    for (int32_t i = 0; i < count; ++i)
        duplicate->append(qelCopy(elements[i]));
    return result;
}

qelValue qelListObject::left(int32_t n) const
{
    n = std::clamp(n, 0, count);
    qelListObject* part = newGeneralList(n, 100);
    if (!part)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (int32_t i = 0; i < n; ++i)
        part->append(elements[i]);
    return wrap(part);
}

qelValue qelListObject::right(int32_t n) const
{
    if (n < 0 || n >= count)
        return wrap(newGeneralList(4, 100));
    qelListObject* part = newGeneralList(n, 100);
    if (!part)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (int32_t i = count - n; i < count; ++i)
        part->append(elements[i]);
    return wrap(part);
}

qelValue qelListObject::mid(int32_t start, int32_t n) const
{
    if (start < 0 || start >= count || n <= 0)
        return wrap(newGeneralList(4, 100));
    n = std::min(n, count - start);
    qelListObject* part = newGeneralList(n, 100);
    if (!part)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (int32_t i = start; i < start + n; ++i)
        part->append(elements[i]);
    return wrap(part);
}

qelValue qelListObject::elementAt(int32_t index) const
{
    if (!checkIndex(index))
        return qelNil;
    return elements[index];
}

int32_t qelListObject::intAt(int32_t index) const
{
    if (!checkIndex(index))
        return 0;
    return qelIntValue(elements[index]);
}

int32_t qelListObject::find(const qelValue& value, int32_t start) const
{
    for (int32_t i = std::max(start, 0); i < count; ++i) {
        if (elements[i] == value)
            return i;
    }
    return -1;
}

qelValue qelListObject::sortedCopy(int32_t descending) const
{
    std::vector<int32_t> order(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        order[size_t(i)] = i;
    qelStableSortPositions(order, [&](int32_t x, int32_t y) {
        return descending ? sortRelation(elements[y], elements[x]) : sortRelation(elements[x], elements[y]);
    });
    qelListObject* sorted = newGeneralList(capacity, growth);
    if (!sorted)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (int32_t position : order)
        sorted->append(elements[position]);
    return wrap(sorted);
}

qelValue qelListObject::sortByColumns(int32_t descending, int32_t firstColumn, int32_t lastColumn) const
{
    return sortRows(*this, descending, firstColumn, lastColumn);
}

qelValue qelListObject::sortByColumn(int32_t descending, int32_t column) const
{
    return sortRows(*this, descending, column, column);
}

qelValue qelListObject::merge(const qelValue& otherValue, int32_t descending) const
{
    qelListObject* other = qelListObjectOf(otherValue);
    int32_t otherCount = other ? other->count : 0;
    qelListObject* merged = newGeneralList(std::max(capacity, other ? other->capacity : 0), growth);
    if (!merged)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    qelValue result = wrap(merged);
    int32_t i = 0, j = 0;
    while (i < count && j < otherCount) {
        const qelValue& a = elements[i];
        qelValue b = other->elementAt(j);
        int32_t order = descending ? mergeRelation(b, a) : mergeRelation(a, b);
        if (order < 0) {
            merged->append(a);
            ++i;
        } else {
            merged->append(b);
            ++j;
            if (order == 0)
                ++i;
        }
    }
    for (; i < count; ++i)
        merged->append(elements[i]);
    for (; j < otherCount; ++j)
        merged->append(other->elementAt(j));
    return result;
}

int32_t qelListObject::reverseFind(const qelValue& value, int32_t start) const
{
    if (start == 0)
        start = count - 1;
    for (int32_t i = std::min(start, count) - 1; i >= 0; --i) {
        if (elements[i] == value)
            return i;
    }
    return -1;
}

void qelListObject::putAt(int32_t index, const qelValue& value)
{
    if (checkIndex(index))
        elements[index] = value;
}

qelListObject* qelListObjectOf(const qelValue& value)
{
    return value.type() == QEL_LIST_TYPE ? value.objectAs<qelListObject>() : nullptr;
}

qelValue qelMakeList(int32_t capacity, int32_t growth, int32_t kind)
{
    if (kind == QEL_INT_LIST)
        return wrap(new qelIntListObject(capacity, growth));
    return wrap(newGeneralList(capacity, growth));
}

qelValue qelListOf(std::initializer_list<qelValue> values)
{
    qelListObject* list = newGeneralList(int32_t(values.size()), 100);
    if (!list)
        return qelMakeObjectValue(QEL_LIST_TYPE, nullptr);
    for (const qelValue& value : values)
        list->append(value);
    return wrap(list);
}

qelValue qelPop(const qelValue& list)
{
    qelListObject* object = qelListObjectOf(list);
    return object ? object->pop() : qelNil;
}

void qelAddUnique(const qelValue& list, const qelValue& value)
{
    if (qelListObject* object = qelListObjectOf(list))
        object->addUnique(value);
}

int32_t qelIntAt(const qelValue& collection, int32_t index)
{
    if (qelListObject* object = qelListObjectOf(collection))
        return object->intAt(index);
    return qelIntValue(qelGet(collection, index));
}

int32_t* qelIntListData(const qelValue& list)
{
    qelListObject* object = qelListObjectOf(list);
    if (!object || object->kind() != QEL_INT_LIST)
        return nullptr;
    return static_cast<qelIntListObject*>(object)->ints;
}

qelValue qelSortedList(const qelValue& list, int32_t descending)
{
    qelListObject* object = qelListObjectOf(list);
    return object ? object->sortedCopy(descending) : qelNil;
}

qelValue qelMergeSortedLists(const qelValue& a, const qelValue& b, int32_t descending)
{
    qelListObject* object = qelListObjectOf(a);
    return object ? object->merge(b, descending) : qelNil;
}

qelValue qelListIntersection(const qelValue& a, const qelValue& b)
{
    qelListObject* first = qelListObjectOf(a);
    qelListObject* second = qelListObjectOf(b);
    if (!first || !second)
        return qelNil;
    if (first->kind() == QEL_INT_LIST && second->kind() == QEL_INT_LIST) {
        qelValue result = qelMakeList(first->count, 100, QEL_INT_LIST);
        qelListObject* common = qelListObjectOf(result);
        for (int32_t i = 0; i < first->count; ++i) {
            int32_t n = first->intAt(i);
            if (second->find(qelMakeInt(n), 0) >= 0)
                common->appendInt(n);
        }
        return result;
    }
    qelValue result = qelMakeList(first->count, 100, QEL_GENERAL_LIST);
    qelListObject* common = qelListObjectOf(result);
    for (int32_t i = 0; i < first->count; ++i) {
        qelValue element = first->elementAt(i);
        if (second->find(element, 0) >= 0)
            common->append(element);
    }
    return result;
}

qelValue qelListUnion(const qelValue& a, const qelValue& b)
{
    qelValue result = qelCopy(a);
    qelListObject* joined = qelListObjectOf(result);
    qelListObject* second = qelListObjectOf(b);
    if (!joined || !second)
        return result;
    for (int32_t i = 0; i < second->count; ++i)
        joined->addUnique(second->elementAt(i));
    return result;
}

qelValue qelSortLists(const qelValue& list, int32_t column, int32_t descending)
{
    qelListObject* object = qelListObjectOf(list);
    if (!object) {
        qelArgTypeError("qelSortLists(lstOfLst,QELINT,QELORDER)", 1);
        return qelNil;
    }
    return object->sortByColumn(descending, column);
}

int32_t qelListRemove(const qelValue& list, const qelValue& value)
{
    qelListObject* object = qelListObjectOf(list);
    return object ? object->remove(value) : -1;
}
