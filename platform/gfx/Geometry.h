#pragma once

// Integer points, sizes and rectangles in device pixels. A rectangle covers [left, right) x
// [top, bottom): the right and bottom edges are outside it, as every drawing call assumes.

#include <algorithm>
#include <climits>
#include <cstdint>

namespace platform::gfx {

// Coordinates computed in 64 bits and brought back into int range, so that sums of
// far-away coordinates saturate instead of overflowing.
constexpr int clampToInt(int64_t v)
{
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : int(v);
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect fromSize(int x, int y, int w, int h)
    {
        return { x, y, clampToInt(int64_t(x) + w), clampToInt(int64_t(y) + h) };
    }
    // Sizes of rectangles made from far-apart coordinates are cut to INT_MAX.
    int width() const { return clampToInt(int64_t(right) - left); }
    int height() const { return clampToInt(int64_t(bottom) - top); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect intersected(const Rect& o) const
    {
        Rect r { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom) };
        if (r.isEmpty())
            return {};
        return r;
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    Rect united(const Rect& o) const
    {
        if (isEmpty())
            return o;
        if (o.isEmpty())
            return *this;
        return { std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom) };
    }
    Rect translated(int64_t dx, int64_t dy) const
    {
        return { clampToInt(left + dx), clampToInt(top + dy), clampToInt(right + dx), clampToInt(bottom + dy) };
    }
    bool operator==(const Rect&) const = default;
};

} // namespace platform::gfx
