// Regions and the geometry accessors: point in polygon, print forms, copies, and the position and
// size of every kind of value.

#include "../runtime/ErrorRecorder.h"

#include "framework/display/ContextImage.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

#include <gtest/gtest.h>

namespace {

std::string printed(const qelValue& v)
{
    return qelCString(qelPrintValue(v, 1));
}

} // namespace

TEST(Region, PointInRegionTable)
{
    // A triangle, a concave "U" and a rectangle; edges, vertices and the box's edges included.
    const int32_t triangle[] = { 0, 0, 10, 0, 5, 10 };
    const int32_t u[] = { 0, 0, 3, 0, 3, 6, 6, 6, 6, 0, 9, 0, 9, 9, 0, 9 };
    qelValue t = qelPolygonValue(triangle, 3);
    qelValue c = qelPolygonValue(u, 8);
    const int32_t diamond[] = { 5, 0, 10, 5, 5, 10, 0, 5 };
    qelValue d = qelPolygonValue(diamond, 4);
    qelValue r = qelRectValue(10, 20, 30, 40);
    struct Case {
        const qelValue* region;
        int32_t x, y;
        int32_t inside;
    } cases[] = {
        { &t, 5, 5, 1 },
        { &t, 5, 1, 1 },
        { &t, 1, 8, 0 }, // in the box, outside the slanted edge
        { &t, 9, 8, 0 },
        { &t, 11, 5, 0 }, // outside the box
        { &t, 5, 10, 0 }, // the apex itself: both of its edges cross there
        { &t, 3, 0, 1 }, // on the top edge: the ray runs along it
        { &d, 2, 5, 1 }, // the ray passes through the vertex (10, 5): counted once
        { &d, 9, 1, 0 },
        { &c, 1, 3, 1 },
        { &c, 4, 3, 0 }, // inside the notch
        { &c, 8, 3, 1 },
        { &c, 4, 8, 1 },
        { &c, 5, 6, 1 }, // on the notch's bottom edge
        { &r, 10, 20, 1 },
        { &r, 40, 60, 1 }, // right and bottom edges are inside
        { &r, 41, 60, 0 },
        { &r, 9, 30, 0 },
    };
    for (const Case& k : cases)
        EXPECT_EQ(qelContainsPoint(*k.region, k.x, k.y), k.inside) << printed(*k.region) << " " << k.x << "," << k.y;
}

TEST(Region, PrintFormsCopiesAndTypeErrors)
{
    qelValue rect = qelRectValue(10, 20, 30, 40);
    EXPECT_EQ(printed(rect), "(rect 10 20 30 40)");
    EXPECT_EQ(qelRegionOf(rect)->right, 40);
    EXPECT_EQ(qelRegionOf(rect)->bottom, 60);
    EXPECT_EQ(printed(qelPointValue(5, 6)), "(rect 5 6)");
    const int32_t triangle[] = { 1, 2, 7, 3, 4, 9 };
    qelValue polygon = qelPolygonValue(triangle, 3);
    EXPECT_EQ(printed(polygon), "(region (1 2) (7 3) (4 9))");
    EXPECT_EQ(qelRegionOf(polygon)->pointCount(), 4);
    qelValue copy = qelCopy(polygon);
    EXPECT_EQ(printed(copy), "(rect 1 2 6 7)");
    EXPECT_EQ(qelRegionOf(copy)->pointCount(), 0);

    ErrorRecorder errors;
    EXPECT_EQ(qelContainsPoint(qelStringValue("x"), 0, 0), 0);
    EXPECT_EQ(errors.messages,
        std::vector<std::string> { "Bad type for argument 1 of qelContainsPoint(rgn,QELINT,QELINT)." });
}

namespace {

class Placed final : public qelObject, public qelGeometryProtocol {
public:
    int32_t geometryLeft() override { return 1; }
    int32_t geometryTop() override { return 2; }
    int32_t geometryWidth() override { return 3; }
    int32_t geometryHeight() override { return 4; }
};

} // namespace

TEST(Region, GeometryOfEveryKindOfValue)
{
    qelValue region = qelRegionValue(5, 6, 25, 16);
    qelValue image = qelMakeContextImage(7, 8);
    qelEncodedFields map;
    map.ints[0] = 300;
    map.ints[1] = 200;
    qelValue textMap = qelMakers().textMapValue(300, 200, qelNil, qelNil);
    qelValue movie = qelMakeObjectValue(QEL_MOVIE_TYPE, new Placed);
    qelValue control = qelMakeObjectValue(QEL_CONTROL_TYPE, new Placed);
    qelValue form = qelMakeObjectValue(QEL_FORM_TYPE, new Placed);
    struct Case {
        const char* name;
        qelValue value;
        int32_t left, top, width, height; // -1: the type error
    } cases[] = {
        { "region", region, 5, 6, 20, 10 },
        { "image", image, -1, -1, 7, 8 },
        { "text map", textMap, -1, -1, 300, 200 },
        { "movie", movie, 1, 2, 3, 4 },
        { "control", control, 1, 2, 3, 4 },
        { "form", form, 1, 2, 3, 4 },
        { "string", qelStringValue("s"), -1, -1, -1, -1 },
        { "nil", qelNil, -1, -1, -1, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ErrorRecorder errors;
        std::vector<std::string> expected;
        auto check = [&](int32_t (*accessor)(const qelValue&), int32_t want, const char* signature) {
            int32_t got = accessor(c.value);
            if (want == -1) {
                EXPECT_EQ(got, 0);
                expected.push_back(std::string("Bad type for argument 1 of ") + signature + ".");
            } else {
                EXPECT_EQ(got, want);
            }
        };
        check(qelLeft, c.left, "qelLeft(ctrlFrmMov)");
        check(qelTop, c.top, "qelTop(ctrlFrmMov)");
        check(qelWidth, c.width, "qelWidth(imgMovTxtRgn)");
        check(qelHeight, c.height, "qelHeight(imgMovTxtRgn)");
        EXPECT_EQ(errors.messages, expected);
    }
}
