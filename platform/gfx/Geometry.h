#pragma once

// Integer points, sizes and rectangles in device pixels. A rectangle covers [left, right) x
// [top, bottom): the right and bottom edges are outside it, as every drawing call assumes.

#include <algorithm>

namespace platform::gfx {

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

    static Rect fromSize(int x, int y, int w, int h) { return { x, y, x + w, y + h }; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect intersected(const Rect& o) const
    {
        Rect r { std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom) };
        if (r.isEmpty())
            return {};
        return r;
    }
    Rect translated(int dx, int dy) const { return { left + dx, top + dy, right + dx, bottom + dy }; }
    bool operator==(const Rect&) const = default;
};

} // namespace platform::gfx
