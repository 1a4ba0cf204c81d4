#pragma once

// The int-list: a list (type 8, kind 3) of bare signed 32-bit integers, for large tables of
// numbers such as archive directories and index results. It keeps the general list's capacity,
// count and growth, leaves its cell array empty, and holds `ints` instead. Values given to it
// are converted with qelIntValue; elements come back as int values.

#include "framework/runtime/List.h"

class qelIntListObject : public qelListObject {
public:
    qelIntListObject(int32_t capacity, int32_t growth);
    ~qelIntListObject() override;

    // "(intlist 1 2 3)"; for display only the first twelve integers and " ...".
    qelValue printString(int32_t typeCode, int32_t quoted) const override;

    int32_t kind() const override;
    int32_t appendInt(int32_t n) override;
    int32_t append(const qelValue& value) override;
    void addUnique(const qelValue& value) override;
    qelValue pop() override;
    int32_t remove(const qelValue& value) override;
    qelValue copy() const override;
    qelValue left(int32_t n) const override;
    qelValue right(int32_t n) const override;
    qelValue mid(int32_t start, int32_t n) const override;
    qelValue elementAt(int32_t index) const override;
    int32_t intAt(int32_t index) const override;
    int32_t find(const qelValue& value, int32_t start) const override;
    // Plain integer order.
    qelValue sortedCopy(int32_t descending) const override;
    // Rows of an int-list are not lists: both report the argument type error of qelSortLists and
    // give nil.
    qelValue sortByColumns(int32_t descending, int32_t firstColumn, int32_t lastColumn) const override;
    qelValue sortByColumn(int32_t descending, int32_t column) const override;
    qelValue merge(const qelValue& other, int32_t descending) const override;
    int32_t reverseFind(const qelValue& value, int32_t start) const override;
    void putAt(int32_t index, const qelValue& value) override;

    int32_t* ints = nullptr;

private:
    // A new int-list of the integers first .. first + n - 1.
    qelValue slice(int32_t first, int32_t n, int32_t newCapacity) const;
};
