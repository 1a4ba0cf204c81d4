#pragma once

#include <cstdint>

namespace recdb {

// -1, 0 or 1 as a is below, equal to or above b.
template<typename T> int threeWay(T a, T b)
{
    return (a > b) - (a < b);
}

// Orders two stored keys of one index, both in this machine's byte order. Answers a negative
// number, zero or a positive number. For a key type without an order the keys count as equal
// and *unordered is set. segments is the index's composite segment list (type 8), or null.
int compareKeys(
    int type, const uint8_t* a, int aLength, const uint8_t* b, int bLength, const uint8_t* segments, bool* unordered);

} // namespace recdb
