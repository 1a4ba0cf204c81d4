#include "framework/display/Region.h"

#include "framework/display/DrawingInterface.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <string>

qelRegionObject::qelRegionObject(int32_t left, int32_t top, int32_t right, int32_t bottom, std::vector<int32_t> points)
    : left(left)
    , top(top)
    , right(right)
    , bottom(bottom)
    , m_points(std::move(points))
{
}

namespace {

// Sizes in 32-bit wrap-around arithmetic, as the stored fields allow any box.
int32_t span(int32_t from, int32_t to)
{
    return int32_t(uint32_t(to) - uint32_t(from));
}

std::string number(int32_t n)
{
    return std::to_string(n);
}

} // namespace

qelValue qelRegionObject::printString(int32_t, int32_t) const
{
    std::string text;
    if (m_points.empty()) {
        if (left == right && top == bottom)
            text = "(rect " + number(left) + " " + number(top) + ")";
        else
            text = "(rect " + number(left) + " " + number(top) + " " + number(span(left, right)) + " "
                + number(span(top, bottom)) + ")";
    } else {
        text = "(region";
        for (int32_t i = 0; i + 1 < pointCount(); ++i)
            text += " (" + number(m_points[2 * i]) + " " + number(m_points[2 * i + 1]) + ")";
        text += ")";
    }
    return qelStringValue(text.c_str());
}

qelValue qelRegionObject::copy() const
{
    return qelRegionValue(left, top, right, bottom);
}

qelValue qelRegionValue(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return qelMakeObjectValue(QEL_REGION_TYPE, new qelRegionObject(left, top, right, bottom));
}

qelValue qelRectValue(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return qelRegionValue(x, y, int32_t(uint32_t(x) + uint32_t(width)), int32_t(uint32_t(y) + uint32_t(height)));
}

qelValue qelPointValue(int32_t x, int32_t y)
{
    return qelRegionValue(x, y, x, y);
}

qelValue qelPolygonValue(const int32_t* xy, int32_t count)
{
    if (count < 1 || !xy)
        return qelPointValue(0, 0);
    std::vector<int32_t> points(xy, xy + 2 * size_t(count));
    int32_t left = xy[0], right = xy[0], top = xy[1], bottom = xy[1];
    for (int32_t i = 1; i < count; ++i) {
        left = std::min(left, xy[2 * i]);
        right = std::max(right, xy[2 * i]);
        top = std::min(top, xy[2 * i + 1]);
        bottom = std::max(bottom, xy[2 * i + 1]);
    }
    points.push_back(xy[0]);
    points.push_back(xy[1]);
    return qelMakeObjectValue(QEL_REGION_TYPE, new qelRegionObject(left, top, right, bottom, std::move(points)));
}

qelRegionObject* qelRegionOf(const qelValue& value)
{
    if (value.type() != QEL_REGION_TYPE)
        return nullptr;
    return dynamic_cast<qelRegionObject*>(value.object());
}

qelValue qelCopyRegion(const qelValue& region)
{
    qelRegionObject* r = qelRegionOf(region);
    return r ? r->copy() : qelNil;
}

namespace {

// Where a vertex lies against the point: x less 1, greater 2, equal 0; plus y greater 8, less 4.
int vertexCode(int32_t vx, int32_t vy, int32_t x, int32_t y)
{
    int code = vx < x ? 1 : vx > x ? 2 : 0;
    if (vy > y)
        code += 8;
    else if (vy < y)
        code += 4;
    return code;
}

bool edgeCrossesRay(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t x, int32_t y)
{
    int c0 = vertexCode(x0, y0, x, y);
    int c1 = vertexCode(x1, y1, x, y);
    if (c0 == 2 || c1 == 2) {
        // A vertex on the ray itself counts through the edge that leaves it downwards only, so a
        // ray through a vertex is counted once.
        int upper = y1 < y0 ? c1 : c0;
        return upper == 2 && c0 != c1;
    }
    int both = c0 & c1;
    switch (both) {
    case 1:
    case 4:
    case 5:
    case 6:
    case 8:
    case 9:
    case 10:
        return false;
    case 2:
        return true;
    default:
        break;
    }
    if (((c0 | c1) & 3) == 0)
        return false;
    double dx = double(x0) - double(x1);
    if (dx == 0)
        return false;
    double m = (double(y0) - double(y1)) / dx;
    if (m == 0)
        return false;
    double crossing = (double(y) - (double(y0) - m * double(x0))) / m;
    return double(x) <= crossing;
}

} // namespace

int32_t qelContainsPoint(const qelValue& region, int32_t x, int32_t y)
{
    if (region.type() != QEL_REGION_TYPE) {
        qelArgTypeError("qelContainsPoint(rgn,QELINT,QELINT)", 1);
        return 0;
    }
    qelRegionObject* r = qelRegionOf(region);
    if (!r)
        return 0;
    if (x < r->left || x > r->right || y < r->top || y > r->bottom)
        return 0;
    int32_t count = r->pointCount();
    if (count == 0)
        return 1;
    const std::vector<int32_t>& p = r->points();
    int crossings = 0;
    for (int32_t i = 1; i <= count; ++i) {
        int32_t j = i % count;
        if (edgeCrossesRay(p[2 * (i - 1)], p[2 * (i - 1) + 1], p[2 * j], p[2 * j + 1], x, y))
            ++crossings;
    }
    return crossings & 1;
}

void qelFrameRegion(const qelValue& region, int32_t color)
{
    qelRegionObject* r = qelRegionOf(region);
    if (!r)
        return;
    int32_t previous = qelSetColor(color);
    if (r->pointCount() > 0) {
        qelDrawPolyline(r->pointCount(), r->points().data());
    } else {
        int32_t outline[10]
            = { r->left, r->top, r->right, r->top, r->right, r->bottom, r->left, r->bottom, r->left, r->top };
        qelDrawPolyline(5, outline);
    }
    qelSetColor(previous);
}
