#pragma once

#include <cstdint>
#include <vector>

// A stable bottom-up merge sort of element positions.
//
// The value relations that lists sort by are not strict weak orders (an int and a float compare
// by their truncated difference, floats collate by it, so "equal" is not transitive). Sorting
// algorithms that assume a strict weak order may then run past the ends of the array; a merge
// sort only ever compares two positions that exist, so any three-way comparison is safe here.
//
// `compare(a, b)` answers a negative number when position a goes before position b, 0 when they
// may stay in either order, a positive number otherwise. Equal positions keep their order.
template<typename Compare> void qelStableSortPositions(std::vector<int32_t>& positions, Compare compare)
{
    size_t count = positions.size();
    if (count < 2)
        return;
    std::vector<int32_t> scratch(count);
    std::vector<int32_t>* from = &positions;
    std::vector<int32_t>* to = &scratch;
    for (size_t width = 1; width < count; width *= 2) {
        for (size_t low = 0; low < count; low += 2 * width) {
            size_t middle = low + width < count ? low + width : count;
            size_t high = low + 2 * width < count ? low + 2 * width : count;
            size_t left = low, right = middle, out = low;
            while (left < middle && right < high) {
                if (compare((*from)[left], (*from)[right]) > 0)
                    (*to)[out++] = (*from)[right++];
                else
                    (*to)[out++] = (*from)[left++];
            }
            while (left < middle)
                (*to)[out++] = (*from)[left++];
            while (right < high)
                (*to)[out++] = (*from)[right++];
        }
        std::swap(from, to);
    }
    if (from != &positions)
        positions.swap(scratch);
}
