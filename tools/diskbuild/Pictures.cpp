#include "tools/diskbuild/Pictures.h"

#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextNotation.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/text/TextDraw.h"
#include "tools/diskbuild/Bytes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using platform::gfx::Brush;
using platform::gfx::Rect;

namespace {

int32_t intEntry(const qelValue& table, const char* key, int32_t defaultValue)
{
    qelValue value = qelTableOf(table)->get(key);
    return value.type() == QEL_INT_TYPE ? value.payload() : defaultValue;
}

void fill(platform::gfx::MemoryDc& dc, const Rect& rect, int32_t color)
{
    Brush brush;
    brush.color = platform::gfx::ColorRef(color);
    dc.fillRect(rect, brush);
}

// The room a centred line keeps on either side: clear of a button's frame and bevel (1 + 2
// pixels) by one more.
constexpr int centredMargin = 4;
// Why: below 8 points a label is no longer readable on the program's 640 x 480 screens.
constexpr int32_t smallestCentredPoints = 8;

void drawTexts(platform::gfx::MemoryDc& dc, const qelValue& texts, int width, int height)
{
    qelListObject* list = qelListObjectOf(texts);
    if (!list)
        return;
    for (int32_t i = 0; i < list->count; ++i) {
        qelValue line = list->elementAt(i);
        if (qelCount(line) < 5)
            continue;
        qelValue text = qelGet(line, 0);
        qelFontObject* font = qelFontOf(qelGet(line, 3));
        if (!text.isString() || !font)
            continue;
        font->select(dc);
        dc.setTextColor(platform::gfx::ColorRef(qelIntValue(qelGet(line, 4))));
        dc.setBkMode(platform::gfx::BkMode::Transparent);
        std::string_view characters(qelCString(text));
        platform::gfx::Size extent = platform::text::textExtent(dc, characters);
        int x = qelIntValue(qelGet(line, 1));
        int y = qelIntValue(qelGet(line, 2));
        // A line centred across the picture (a button's label) that would come closer than the
        // margin to its sides is drawn a point smaller, until it fits or reaches the smallest size.
        qelValue smaller = qelGet(line, 3);
        for (int32_t points = qelFontSize(smaller) - 1;
             x == -1 && extent.width > width - 2 * centredMargin && points >= smallestCentredPoints; --points) {
            smaller = qelFontValue(qelFontName(smaller), points, qelFontStyle(smaller));
            qelFontOf(smaller)->select(dc);
            extent = platform::text::textExtent(dc, characters);
        }
        if (x == -1)
            x = (width - extent.width) / 2;
        if (y == -1)
            y = (height - extent.height) / 2;
        platform::text::textOut(dc, x, y, characters);
    }
}

// The framework's 0x00BBGGRR colour as a surface pixel 0x00RRGGBB.
uint32_t surfacePixel(int32_t color)
{
    uint32_t c = uint32_t(color);
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Fills the polygon (even-odd rule) sampling each pixel at its centre, so that two shapes that
// share an edge never both cover a pixel.
void fillPolygon(platform::gfx::Surface& surface, const std::vector<std::pair<int, int>>& points, uint32_t pixel)
{
    if (points.size() < 3)
        return;
    std::vector<double> crossings;
    for (int y = 0; y < surface.height(); ++y) {
        double cy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            auto [x0, y0] = points[i];
            auto [x1, y1] = points[(i + 1) % points.size()];
            if ((y0 <= cy) == (y1 <= cy))
                continue;
            crossings.push_back(x0 + (cy - y0) * double(x1 - x0) / double(y1 - y0));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            for (int x = std::max(0, int(std::ceil(crossings[i] - 0.5))); x < surface.width(); ++x) {
                if (x + 0.5 > crossings[i + 1])
                    break;
                surface.setPixel(x, y, pixel);
            }
        }
    }
}

void fillEllipse(platform::gfx::Surface& surface, int left, int top, int width, int height, uint32_t pixel)
{
    if (width <= 0 || height <= 0)
        return;
    double rx = width / 2.0;
    double ry = height / 2.0;
    for (int y = std::max(0, top); y < std::min(surface.height(), top + height); ++y) {
        for (int x = std::max(0, left); x < std::min(surface.width(), left + width); ++x) {
            double dx = (x + 0.5 - left - rx) / rx;
            double dy = (y + 0.5 - top - ry) / ry;
            if (dx * dx + dy * dy <= 1.0)
                surface.setPixel(x, y, pixel);
        }
    }
}

// "Shapes": (list "polygon" colour x y x y ...) or (list "ellipse" colour x y w h), in order.
void drawShapes(platform::gfx::Surface& surface, const qelValue& shapes)
{
    qelListObject* list = qelListObjectOf(shapes);
    if (!list)
        return;
    for (int32_t i = 0; i < list->count; ++i) {
        qelValue shape = list->elementAt(i);
        int32_t count = qelCount(shape);
        if (count < 2 || !qelGet(shape, 0).isString())
            continue;
        std::string kind = qelCString(qelGet(shape, 0));
        uint32_t pixel = surfacePixel(qelIntValue(qelGet(shape, 1)));
        if (kind == "ellipse" && count >= 6) {
            fillEllipse(surface, qelIntValue(qelGet(shape, 2)), qelIntValue(qelGet(shape, 3)),
                qelIntValue(qelGet(shape, 4)), qelIntValue(qelGet(shape, 5)), pixel);
        } else if (kind == "polygon") {
            std::vector<std::pair<int, int>> points;
            for (int32_t k = 2; k + 1 < count; k += 2)
                points.emplace_back(qelIntValue(qelGet(shape, k)), qelIntValue(qelGet(shape, k + 1)));
            fillPolygon(surface, points, pixel);
        }
    }
}

} // namespace

bool drawPicture(const qelValue& description, platform::gfx::Surface& surface, std::string& error)
{
    if (!qelTableOf(description)) {
        error = "the description is not a table";
        return false;
    }
    int width = intEntry(description, "Width", 0);
    int height = intEntry(description, "Height", 0);
    // Why: the size comes from a hand-written file; the surface refuses what it cannot hold.
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        error = "Width and Height must be between 1 and 4096";
        return false;
    }
    surface = platform::gfx::Surface(width, height);
    platform::gfx::MemoryDc dc(surface);
    fill(dc, Rect::fromSize(0, 0, width, height), intEntry(description, "Color", 0xFFFFFF));

    qelValue border = qelTableOf(description)->get("Border");
    if (border.type() == QEL_INT_TYPE) {
        int b = intEntry(description, "BorderWidth", 1);
        fill(dc, Rect::fromSize(0, 0, width, b), border.payload());
        fill(dc, Rect::fromSize(0, height - b, width, b), border.payload());
        fill(dc, Rect::fromSize(0, 0, b, height), border.payload());
        fill(dc, Rect::fromSize(width - b, 0, b, height), border.payload());
    }

    if (qelListObject* boxes = qelListObjectOf(qelTableOf(description)->get("Boxes"))) {
        for (int32_t i = 0; i < boxes->count; ++i) {
            qelValue box = boxes->elementAt(i);
            if (qelCount(box) < 5)
                continue;
            fill(dc,
                Rect::fromSize(qelIntValue(qelGet(box, 0)), qelIntValue(qelGet(box, 1)), qelIntValue(qelGet(box, 2)),
                    qelIntValue(qelGet(box, 3))),
                qelIntValue(qelGet(box, 4)));
        }
    }
    drawShapes(surface, qelTableOf(description)->get("Shapes"));
    drawTexts(dc, qelTableOf(description)->get("Texts"), width, height);
    return true;
}

platform::gfx::Dib indexedDib(const platform::gfx::Surface& surface)
{
    std::vector<uint32_t> colors;
    std::vector<uint8_t> indexes(size_t(surface.width()) * size_t(surface.height()));
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            uint32_t pixel = surface.pixel(x, y) & 0xFFFFFF;
            auto found = std::find(colors.begin(), colors.end(), pixel);
            if (found == colors.end()) {
                // Why: one byte per pixel addresses 256 colours.
                if (colors.size() == 256)
                    return {};
                colors.push_back(pixel);
                found = colors.end() - 1;
            }
            indexes[size_t(y) * size_t(surface.width()) + size_t(x)] = uint8_t(found - colors.begin());
        }
    }
    platform::gfx::Dib dib = platform::gfx::Dib::create(surface.width(), surface.height(), 8, int(colors.size()));
    for (size_t i = 0; i < colors.size(); ++i) {
        dib.colors[i].red = uint8_t(colors[i] >> 16);
        dib.colors[i].green = uint8_t(colors[i] >> 8);
        dib.colors[i].blue = uint8_t(colors[i]);
    }
    for (int y = 0; y < surface.height(); ++y)
        std::copy_n(&indexes[size_t(y) * size_t(surface.width())], surface.width(), dib.row(y));
    return dib;
}

bool writeBitmapFile(const platform::gfx::Surface& surface, const std::string& path, std::string& error)
{
    platform::gfx::Dib dib = indexedDib(surface);
    if (!dib.isValid())
        dib = platform::gfx::dibFromSurface(surface);
    std::vector<uint8_t> bytes = platform::gfx::encodeBmp(dib);
    if (bytes.empty() || !writeBytes(path, bytes)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool writePictureFile(const std::string& description, const std::string& path, std::string& error)
{
    qelValue value = qelDecodeText(qelStringValueN(description.data(), int32_t(description.size())));
    platform::gfx::Surface surface;
    if (!drawPicture(value, surface, error)) {
        error = path + ": " + error;
        return false;
    }
    return writeBitmapFile(surface, path, error);
}

void drawTo(const std::string& description, const std::string& path)
{
    std::string error;
    if (!writePictureFile(description, path, error))
        throw Failure { error };
}
