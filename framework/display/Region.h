#pragma once

// Regions (type 11): the framework's rectangles, points and polygons. A region keeps its
// bounding box (right and bottom exclusive for rectangles made from a size) and, for a polygon,
// its points with a closing copy of the first one, so that the last edge closes the outline.
// Regions never change once made.

#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"

#include <cstdint>
#include <vector>

class qelRegionObject final : public qelObject, public qelRegionProtocol {
public:
    qelRegionObject(int32_t left, int32_t top, int32_t right, int32_t bottom, std::vector<int32_t> points = {});

    // "(rect l t)" for a point, "(rect l t w h)" for another rectangle, "(region (x y)...)" for a
    // polygon (its closing point not written).
    qelValue printString(int32_t typeCode, int32_t quoted) const override;
    qelValue copy() const override;

    int32_t pointCount() const { return int32_t(m_points.size() / 2); }
    // x, y pairs, the last pair a copy of the first; empty for a rectangle or a point.
    const std::vector<int32_t>& points() const { return m_points; }

    const int32_t left;
    const int32_t top;
    const int32_t right;
    const int32_t bottom;

private:
    std::vector<int32_t> m_points;
};

qelValue qelRegionValue(int32_t left, int32_t top, int32_t right, int32_t bottom);
qelValue qelRectValue(int32_t x, int32_t y, int32_t width, int32_t height);
qelValue qelPointValue(int32_t x, int32_t y);
// A polygon through `count` points (x, y pairs); the closing copy of the first point is added
// and the box is that of the points. Fewer than one point gives a point region at (0, 0).
qelValue qelPolygonValue(const int32_t* xy, int32_t count);
// A rectangle with the region's box and no points: a polygon copies as its bounding box.
qelValue qelCopyRegion(const qelValue& region);

// The region object of a value, or null.
qelRegionObject* qelRegionOf(const qelValue& value);

// "qelContainsPoint(rgn,QELINT,QELINT)": the box with its edges, then for a polygon the
// crossing count of a ray towards growing x.
int32_t qelContainsPoint(const qelValue& region, int32_t x, int32_t y);
// Draws the region's outline in `color` on the main port and puts the colour back.
void qelFrameRegion(const qelValue& region, int32_t color);
