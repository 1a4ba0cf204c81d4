#pragma once

// Lists (type 8): growable arrays in two kinds behind one type code. The general list (kind 5)
// holds value handles; the int-list (kind 3, IntList.h) holds bare 32-bit integers. Callers tell
// them apart by kind().
//
// A full list grows by `growth` percent of its capacity (at least one cell). left, right, mid
// and the sorted copies share their elements with the source; copy copies them (qelCopy), so
// nested lists, strings and buffers are duplicated.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <initializer_list>

constexpr int32_t QEL_GENERAL_LIST = 5;
constexpr int32_t QEL_INT_LIST = 3;

class qelListObject : public qelObject {
public:
    // A capacity of 0 or less becomes 4.
    qelListObject(int32_t capacity, int32_t growth);
    ~qelListObject() override;

    // "(list 1 2)" for display; with `quoted` set one element per line, lined up under the first.
    qelValue printString(int32_t typeCode, int32_t quoted) const override;

    // Virtual operations after the root's, in this order.
    virtual int32_t kind() const;
    // Both answer the new count.
    virtual int32_t appendInt(int32_t n);
    virtual int32_t append(const qelValue& value);
    // Appends the value unless an equal element is present.
    virtual void addUnique(const qelValue& value);
    // Removes and answers the last element; nil when empty.
    virtual qelValue pop();
    // Removes every element equal to the value, closing the gaps; answers how many went.
    virtual int32_t remove(const qelValue& value);
    virtual qelValue copy() const;
    // New lists sharing elements: the first n, the last n (empty unless n is below the count),
    // and n from start (empty unless start is inside the list). All are cut at the list's end.
    virtual qelValue left(int32_t n) const;
    virtual qelValue right(int32_t n) const;
    virtual qelValue mid(int32_t start, int32_t n) const;
    // Outside 0..count-1 these report "List index out of range: " + index and read nil or 0.
    virtual qelValue elementAt(int32_t index) const;
    virtual int32_t intAt(int32_t index) const;
    // The first index at or after start whose element equals the value, or -1.
    virtual int32_t find(const qelValue& value, int32_t start) const;
    // A new list sharing the elements in order: qelCollate when the first of a pair is a string,
    // else qelCompare; descending swaps the operands. Equal elements keep their order.
    virtual qelValue sortedCopy(int32_t descending) const;
    // For a list of lists: by element `firstColumn` of each row, ties broken by the following
    // columns up to `lastColumn`.
    virtual qelValue sortByColumns(int32_t descending, int32_t firstColumn, int32_t lastColumn) const;
    virtual qelValue sortByColumn(int32_t descending, int32_t column) const;
    // Merges two lists sorted in the given order into a new list; an element that both hold at
    // the same point is written once.
    virtual qelValue merge(const qelValue& other, int32_t descending) const;
    // Searches positions start-1 down to 0 (start 0 means count-1), so the start position itself
    // is never examined; -1 when none matches.
    virtual int32_t reverseFind(const qelValue& value, int32_t start) const;
    virtual void putAt(int32_t index, const qelValue& value);

    // The handle cell of element `index` (general lists only; the caller checks the range).
    qelValue& cell(int32_t index) { return elements[index]; }

    int32_t capacity = 0;
    int32_t count = 0;
    int32_t growth = 100;
    // The cells: the list's own below, or a block of their own once there are more.
    qelValue* elements = nullptr;

protected:
    // For the int-list: the fields without a cell array.
    struct NoCells { };
    qelListObject(NoCells, int32_t capacity, int32_t growth);
    // The capacity after one growth step.
    int32_t grownCapacity() const;
    // Reports "List index out of range: " + index when the index is outside the list.
    bool checkIndex(int32_t index) const;

private:
    // The object takes a block of the allocator's 256-byte class whatever its fields, so a list
    // made with up to ownCellCount cells keeps them in the rest of that block: one allocation
    // instead of two for the short lists content is full of. The allocator zero-fills the object,
    // so these are nil cells from the start. Once the list grows they move to a block of their own.
    static constexpr int32_t ownCellCount = 12;
    qelValue* ownCells() { return reinterpret_cast<qelValue*>(m_ownCells); }
    alignas(qelValue) unsigned char m_ownCells[ownCellCount * sizeof(qelValue)];
};

// The list object of a list value (either kind), or null.
qelListObject* qelListObjectOf(const qelValue& value);

// A new list value; kind 3 makes an int-list, any other kind a general list.
qelValue qelMakeList(int32_t capacity, int32_t growth, int32_t kind);
// A general list of growth 100 holding the values given.
qelValue qelListOf(std::initializer_list<qelValue> values);

// Value-level operations; a value that is not a list gives nil, -1 or nothing.
qelValue qelPop(const qelValue& list);
void qelAddUnique(const qelValue& list, const qelValue& value);
// intAt of a list; any other collection through qelGet and qelIntValue.
int32_t qelIntAt(const qelValue& collection, int32_t index);
// The integers of an int-list, valid while it lives and does not grow; null for anything else.
int32_t* qelIntListData(const qelValue& list);
qelValue qelSortedList(const qelValue& list, int32_t descending);
qelValue qelMergeSortedLists(const qelValue& a, const qelValue& b, int32_t descending);
// The elements of a that b also holds, in a's order (an int-list when both are int-lists).
qelValue qelListIntersection(const qelValue& a, const qelValue& b);
// A copy of a, then each element of b that the copy does not hold yet.
qelValue qelListUnion(const qelValue& a, const qelValue& b);
// A list of lists sorted by one column.
qelValue qelSortLists(const qelValue& list, int32_t column, int32_t descending);
// Removes every element equal to the value and answers how many went (-1 for a non-list). This
// is what positioning a list does (qelStreamSeek on a list value).
int32_t qelListRemove(const qelValue& list, const qelValue& value);
