#include "tools/diskbuild/Atlas.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/Surface.h"
#include "tools/diskbuild/Pictures.h"
#include "tools/diskbuild/Sources.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace {

// The size of the map being drawn: 384 x 288 unless the map list gives another.
constexpr int defaultWidth = 384;
constexpr int defaultHeight = 288;
int mapWidth = defaultWidth;
int mapHeight = defaultHeight;
// Why: a graticule every 10 degrees would hide a small map (the locator) under its lines.
constexpr int graticuleMinimumWidth = 200;

// The world map's look (tools/convert-world-atlas.py): sea, the land tones, ink.
constexpr uint32_t sea = 0xA8D0EC;
constexpr uint32_t graticule = 0x98C2E2;
constexpr uint32_t lands[] = { 0xD6E2A0, 0xECD696, 0xC8DEBE, 0xECC4AA, 0xDCCCE2 };
constexpr uint32_t neighbour = 0xEAE4CC;
constexpr uint32_t highlight = 0xE0A070;
constexpr uint32_t border = 0x8C826A;
constexpr uint32_t ink = 0x103820;
constexpr uint32_t ringColor = 0xC82020;

// Why: a country's map shows at least this many degrees across, so a city state is not a blur
// of a few pixels filling the frame.
constexpr double minimumSpan = 4.0;
// The margin around a country, as a part of its extent on each side.
constexpr double margin = 0.25;
// The rings that frame a country: at least this part of its largest ring's area, no farther
// than this many degrees from it (an overseas island or a far territory does not widen it).
constexpr double frameAreaShare = 0.3;
constexpr double frameDistance = 25.0;
// Below this many pixels across, the country gets a ring around it.
constexpr int visibleSize = 6;

struct Point {
    double lon;
    double lat;
};
using Ring = std::vector<Point>;

struct Shape {
    std::string code;
    std::vector<Ring> rings;
};

struct Box {
    double west = std::numeric_limits<double>::max();
    double south = std::numeric_limits<double>::max();
    double east = std::numeric_limits<double>::lowest();
    double north = std::numeric_limits<double>::lowest();
    void add(const Point& p)
    {
        west = std::min(west, p.lon);
        east = std::max(east, p.lon);
        south = std::min(south, p.lat);
        north = std::max(north, p.lat);
    }
    bool empty() const { return west > east; }
};

double wrap(double degrees)
{
    while (degrees >= 180.0)
        degrees -= 360.0;
    while (degrees < -180.0)
        degrees += 360.0;
    return degrees;
}

// The ring's longitudes made relative to centre and continuous (no jump of half the world
// between two neighbours), so a ring on the far side of the globe stays whole, out of view.
Ring relativeRing(const Ring& ring, double centre)
{
    Ring out;
    out.reserve(ring.size());
    double previous = 0.0;
    for (size_t i = 0; i < ring.size(); ++i) {
        double lon = wrap(ring[i].lon - centre);
        if (i > 0) {
            while (lon - previous > 180.0)
                lon -= 360.0;
            while (lon - previous < -180.0)
                lon += 360.0;
        }
        out.push_back({ lon, ring[i].lat });
        previous = lon;
    }
    return out;
}

double ringArea(const Ring& ring)
{
    double sum = 0.0;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
        sum += ring[j].lon * ring[i].lat - ring[i].lon * ring[j].lat;
    return std::abs(sum) / 2.0;
}

Box boxOf(const Ring& ring)
{
    Box box;
    for (const Point& p : ring)
        box.add(p);
    return box;
}

std::vector<Shape> readShapes(const std::string& path)
{
    std::string error;
    qelValue table = readNotationFile(path, error);
    if (!error.empty())
        throw Failure { error };
    qelValue items = qelTableOf(table) ? qelGet(table, "Formas") : qelNil;
    if (!qelListObjectOf(items))
        throw Failure { path + ": no \"Formas\" list" };
    std::vector<Shape> shapes;
    for (int32_t i = 0; i < qelCount(items); ++i) {
        qelValue item = qelGet(items, i);
        if (!qelListObjectOf(item) || qelCount(item) < 2 || !qelGet(item, 0).isString())
            throw Failure { path + ": item " + std::to_string(i + 1) + " is not (list code ring ...)" };
        Shape shape { qelCString(qelGet(item, 0)), {} };
        for (int32_t r = 1; r < qelCount(item); ++r) {
            qelValue ring = qelGet(item, r);
            int32_t count = qelListObjectOf(ring) ? qelCount(ring) : 0;
            if (count < 6 || count % 2 != 0)
                throw Failure { path + ": item " + std::to_string(i + 1) + " has a ring that is no list of points" };
            Ring points;
            points.reserve(size_t(count / 2));
            for (int32_t k = 0; k < count; k += 2)
                points.push_back({ qelIntValue(qelGet(ring, k)) / 100.0, qelIntValue(qelGet(ring, k + 1)) / 100.0 });
            shape.rings.push_back(std::move(points));
        }
        shapes.push_back(std::move(shape));
    }
    return shapes;
}

// The view: degrees to pixels, longitudes relative to its centre.
struct View {
    double centreLon = 0.0;
    double centreLat = 0.0;
    double scale = 1.0; // pixels per degree of latitude
    double xScale = 1.0; // pixels per degree of longitude

    double x(double relativeLon) const { return mapWidth / 2.0 + relativeLon * xScale; }
    double y(double lat) const { return mapHeight / 2.0 - (lat - centreLat) * scale; }
};

// A view that fits the box (longitudes relative to centreLon) into the map.
View fitView(const Box& box, double centreLon)
{
    View view;
    view.centreLon = centreLon;
    view.centreLat = (box.south + box.north) / 2.0;
    double shrink = std::max(0.2, std::cos(view.centreLat * M_PI / 180.0));
    double width = std::max(box.east - box.west, 0.01) * shrink;
    double height = std::max(box.north - box.south, 0.01);
    view.scale = std::min(mapWidth / width, mapHeight / height);
    view.xScale = view.scale * shrink;
    // The box's own centre, not the country's, in the middle.
    view.centreLon = centreLon + (box.west + box.east) / 2.0;
    return view;
}

class Canvas {
public:
    Canvas()
        : m_surface(mapWidth, mapHeight, sea)
    {
    }

    platform::gfx::Surface& surface() { return m_surface; }

    // Fills the rings together, even-odd, so holes stay open.
    void fill(const std::vector<std::vector<std::pair<double, double>>>& rings, uint32_t color)
    {
        std::vector<std::vector<double>> crossings(mapHeight);
        for (const auto& ring : rings) {
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                auto [x0, y0] = ring[j];
                auto [x1, y1] = ring[i];
                if (y0 == y1)
                    continue;
                double top = std::min(y0, y1);
                double bottom = std::max(y0, y1);
                int first = std::max(0, int(std::ceil(top - 0.5)));
                int last = std::min(mapHeight - 1, int(std::ceil(bottom - 0.5)) - 1);
                for (int row = first; row <= last; ++row) {
                    double cy = row + 0.5;
                    crossings[size_t(row)].push_back(x0 + (cy - y0) * (x1 - x0) / (y1 - y0));
                }
            }
        }
        for (int row = 0; row < mapHeight; ++row) {
            std::vector<double>& xs = crossings[size_t(row)];
            std::sort(xs.begin(), xs.end());
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                int from = std::max(0, int(std::ceil(xs[k] - 0.5)));
                int to = std::min(mapWidth - 1, int(std::ceil(xs[k + 1] - 0.5)) - 1);
                for (int x = from; x <= to; ++x)
                    m_surface.setPixel(x, row, color);
            }
        }
    }

    void line(double x0, double y0, double x1, double y1, uint32_t color)
    {
        // Why: an edge far outside the map is not walked pixel by pixel.
        if ((x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 >= mapWidth && x1 >= mapWidth)
            || (y0 >= mapHeight && y1 >= mapHeight))
            return;
        int steps = int(std::ceil(std::max(std::abs(x1 - x0), std::abs(y1 - y0))));
        steps = std::min(steps, 4 * (mapWidth + mapHeight));
        for (int s = 0; s <= steps; ++s) {
            double t = steps == 0 ? 0.0 : double(s) / steps;
            plot(int(std::floor(x0 + (x1 - x0) * t)), int(std::floor(y0 + (y1 - y0) * t)), color);
        }
    }

    void plot(int x, int y, uint32_t color)
    {
        if (x >= 0 && y >= 0 && x < mapWidth && y < mapHeight)
            m_surface.setPixel(x, y, color);
    }

    void circle(double cx, double cy, double radius, uint32_t color)
    {
        for (int a = 0; a < 360; ++a) {
            double r = a * M_PI / 180.0;
            for (double d = 0.0; d < 2.0; d += 1.0)
                plot(int(std::floor(cx + (radius + d) * std::cos(r))), int(std::floor(cy + (radius + d) * std::sin(r))), color);
        }
    }

private:
    platform::gfx::Surface m_surface;
};

using PixelRings = std::vector<std::vector<std::pair<double, double>>>;

PixelRings project(const Shape& shape, const View& view, Box& pixelBox)
{
    PixelRings out;
    for (const Ring& ring : shape.rings) {
        Ring relative = relativeRing(ring, view.centreLon);
        std::vector<std::pair<double, double>> points;
        points.reserve(relative.size());
        for (const Point& p : relative) {
            double x = view.x(p.lon);
            double y = view.y(p.lat);
            points.emplace_back(x, y);
            pixelBox.add({ x, y });
        }
        out.push_back(std::move(points));
    }
    return out;
}

bool visible(const Box& pixelBox)
{
    return !pixelBox.empty() && pixelBox.east >= 0 && pixelBox.west < mapWidth && pixelBox.north >= 0
        && pixelBox.south < mapHeight;
}

void drawGraticule(Canvas& canvas, const View& view)
{
    for (int lon = -180; lon < 180; lon += 10) {
        double x = view.x(wrap(lon - view.centreLon));
        canvas.line(x, 0, x, mapHeight - 1, graticule);
    }
    for (int lat = -80; lat <= 80; lat += 10) {
        double y = view.y(lat);
        canvas.line(0, y, mapWidth - 1, y, graticule);
    }
}

// The box framing a country: its largest ring and the large rings near it, with a margin,
// longitudes relative to the largest ring's centre (returned in centre).
Box countryFrame(const Shape& shape, double& centre)
{
    size_t largest = 0;
    double largestArea = -1.0;
    for (size_t i = 0; i < shape.rings.size(); ++i) {
        double area = ringArea(shape.rings[i]);
        if (area > largestArea) {
            largestArea = area;
            largest = i;
        }
    }
    Box main = boxOf(shape.rings[largest]);
    centre = (main.west + main.east) / 2.0;
    double centreLat = (main.south + main.north) / 2.0;
    Box frame;
    for (const Ring& ring : shape.rings) {
        Ring relative = relativeRing(ring, centre);
        Box box = boxOf(relative);
        double lon = (box.west + box.east) / 2.0;
        double lat = (box.south + box.north) / 2.0;
        if (&ring != &shape.rings[largest]
            && (ringArea(ring) < frameAreaShare * largestArea || std::hypot(lon, lat - centreLat) > frameDistance))
            continue;
        frame.add({ box.west, box.south });
        frame.add({ box.east, box.north });
    }
    double width = std::max(frame.east - frame.west, minimumSpan);
    double height = std::max(frame.north - frame.south, minimumSpan * 0.75);
    double midLon = (frame.west + frame.east) / 2.0;
    double midLat = (frame.south + frame.north) / 2.0;
    Box out;
    out.add({ midLon - width * (0.5 + margin), std::max(-89.0, midLat - height * (0.5 + margin)) });
    out.add({ midLon + width * (0.5 + margin), std::min(89.0, midLat + height * (0.5 + margin)) });
    return out;
}

platform::gfx::Surface drawMap(const std::vector<Shape>& shapes, const std::string& code, const Box* bounds)
{
    View view;
    const Shape* country = nullptr;
    for (const Shape& shape : shapes) {
        if (!code.empty() && shape.code == code)
            country = &shape;
    }
    if (!code.empty() && !country)
        throw Failure { "no outline for the country " + code };
    if (bounds) {
        double centre = (bounds->west + bounds->east) / 2.0;
        Box relative;
        relative.add({ bounds->west - centre, bounds->south });
        relative.add({ bounds->east - centre, bounds->north });
        view = fitView(relative, centre);
    } else {
        double centre = 0.0;
        Box frame = countryFrame(*country, centre);
        view = fitView(frame, centre);
    }

    Canvas canvas;
    if (mapWidth >= graticuleMinimumWidth)
        drawGraticule(canvas, view);
    std::vector<std::pair<PixelRings, const Shape*>> drawn;
    size_t index = 0;
    for (const Shape& shape : shapes) {
        Box pixelBox;
        PixelRings rings = project(shape, view, pixelBox);
        uint32_t tone = lands[index++ % std::size(lands)];
        if (!visible(pixelBox))
            continue;
        uint32_t color = &shape == country ? highlight : (country ? neighbour : tone);
        canvas.fill(rings, color);
        drawn.emplace_back(std::move(rings), &shape);
    }
    for (const auto& [rings, shape] : drawn) {
        for (const auto& ring : rings) {
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
                canvas.line(ring[j].first, ring[j].second, ring[i].first, ring[i].second, border);
        }
    }
    if (country) {
        Box pixelBox;
        project(*country, view, pixelBox);
        if (pixelBox.east - pixelBox.west < visibleSize && pixelBox.north - pixelBox.south < visibleSize)
            canvas.circle((pixelBox.west + pixelBox.east) / 2.0, (pixelBox.south + pixelBox.north) / 2.0, 7.0, ringColor);
    }
    // The frame.
    for (int x = 0; x < mapWidth; ++x) {
        canvas.plot(x, 0, ink);
        canvas.plot(x, mapHeight - 1, ink);
    }
    for (int y = 0; y < mapHeight; ++y) {
        canvas.plot(0, y, ink);
        canvas.plot(mapWidth - 1, y, ink);
    }
    return canvas.surface();
}

// The bitmap as an 8-bit BMP file with run-length encoded rows (a map is long runs of few
// colours, a tenth of its plain size).
std::vector<uint8_t> encodeRle8(const platform::gfx::Dib& dib)
{
    std::vector<uint8_t> pixels;
    for (int y = dib.height() - 1; y >= 0; --y) {
        const uint8_t* row = dib.row(y);
        int x = 0;
        while (x < dib.width()) {
            int run = 1;
            while (x + run < dib.width() && run < 255 && row[x + run] == row[x])
                ++run;
            pixels.push_back(uint8_t(run));
            pixels.push_back(row[x]);
            x += run;
        }
        pixels.push_back(0);
        pixels.push_back(0);
    }
    pixels.push_back(0);
    pixels.push_back(1);

    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    uint32_t offset = 14 + 40 + uint32_t(dib.colors.size()) * 4;
    out.push_back('B');
    out.push_back('M');
    put32(offset + uint32_t(pixels.size()));
    put32(0);
    put32(offset);
    put32(40);
    put32(uint32_t(dib.width()));
    put32(uint32_t(dib.height()));
    put16(1);
    put16(8);
    put32(uint32_t(platform::gfx::DibCompression::Rle8));
    put32(uint32_t(pixels.size()));
    put32(0);
    put32(0);
    put32(uint32_t(dib.colors.size()));
    put32(0);
    for (const platform::gfx::RgbQuad& c : dib.colors) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

} // namespace

bool buildAtlasMaps(const std::string& mapsPath, const std::string& shapesPath, const std::string& outFolder,
    std::string& error)
{
    try {
        std::vector<Shape> shapes = readShapes(shapesPath);
        qelValue table = readNotationFile(mapsPath, error);
        if (!error.empty())
            return false;
        qelValue maps = qelTableOf(table) ? qelGet(table, "Mapas") : qelNil;
        if (!qelListObjectOf(maps))
            throw Failure { mapsPath + ": no \"Mapas\" list" };
        for (int32_t i = 0; i < qelCount(maps); ++i) {
            qelValue item = qelGet(maps, i);
            std::string at = mapsPath + " item " + std::to_string(i + 1);
            if (!qelListObjectOf(item) || qelCount(item) < 3 || !qelGet(item, 0).isString() || !qelGet(item, 1).isString())
                throw Failure { at + ": not (list file code box)" };
            std::string file = qelCString(qelGet(item, 0));
            // Why: the name becomes a path; it must stay inside the output folder.
            if (file.empty() || file.find('/') != std::string::npos || file.find('\\') != std::string::npos
                || file[0] == '.')
                throw Failure { at + ": bad file name" };
            std::string code = qelCString(qelGet(item, 1));
            qelValue boxValue = qelGet(item, 2);
            Box bounds;
            bool hasBounds = qelListObjectOf(boxValue) && qelCount(boxValue) == 4;
            if (hasBounds) {
                bounds.add({ qelFloatValue(qelGet(boxValue, 0)), qelFloatValue(qelGet(boxValue, 1)) });
                bounds.add({ qelFloatValue(qelGet(boxValue, 2)), qelFloatValue(qelGet(boxValue, 3)) });
            } else if (code.empty()) {
                throw Failure { at + ": a map needs a country or a box" };
            }
            mapWidth = defaultWidth;
            mapHeight = defaultHeight;
            if (qelCount(item) >= 5) {
                mapWidth = qelIntValue(qelGet(item, 3));
                mapHeight = qelIntValue(qelGet(item, 4));
                // Why: the bitmap's sides are bounded, and a map needs room for its frame.
                if (mapWidth < 16 || mapHeight < 16 || mapWidth > 1024 || mapHeight > 1024)
                    throw Failure { at + ": a map is 16 to 1024 pixels on each side" };
            }
            platform::gfx::Surface surface = drawMap(shapes, code, hasBounds ? &bounds : nullptr);
            platform::gfx::Dib dib = indexedDib(surface);
            if (!dib.isValid())
                throw Failure { at + ": more than 256 colours" };
            std::vector<uint8_t> bytes = encodeRle8(dib);
            writeDiskFile(outFolder + "/" + file, bytes);
        }
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
