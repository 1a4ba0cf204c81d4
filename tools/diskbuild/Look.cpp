#include "tools/diskbuild/Look.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/Dib.h"
#include "tools/diskbuild/Bytes.h"
#include "tools/diskbuild/Pictures.h"

#include <vector>

namespace {

void append(qelValue& listValue, const qelValue& element)
{
    qelListObjectOf(listValue)->append(element);
}

qelValue entry(const qelValue& table, const char* key)
{
    qelTableObject* object = qelTableOf(table);
    return object ? object->get(key) : qelNil;
}

int32_t color(const qelValue& table, const char* key)
{
    qelValue value = entry(table, key);
    return value.type() == QEL_INT_TYPE ? value.payload() : 0;
}

// A picture description as Pictures.h reads it.
struct Picture {
    qelValue table = qelTable(8, 100, 75);
    qelValue boxes = qelMakeList(8, 100, QEL_GENERAL_LIST);
    qelValue shapes = qelMakeList(8, 100, QEL_GENERAL_LIST);
    qelValue texts = qelMakeList(4, 100, QEL_GENERAL_LIST);

    Picture(int width, int height, int32_t ground)
    {
        qelTableOf(table)->put("Width", width);
        qelTableOf(table)->put("Height", height);
        qelTableOf(table)->put("Color", ground);
        qelTableOf(table)->put("Boxes", boxes);
        qelTableOf(table)->put("Shapes", shapes);
        qelTableOf(table)->put("Texts", texts);
    }
    void box(int x, int y, int w, int h, int32_t c) { append(boxes, qelListOf({ x, y, w, h, c })); }
    void text(const qelValue& characters, int x, int y, const qelValue& font, int32_t c)
    {
        append(texts, qelListOf({ characters, x, y, font, c }));
    }
    // A raised (or, pressed, sunken) frame of the period: light on the top and left edges,
    // shadow on the bottom and right.
    void bevel(int x, int y, int w, int h, int32_t light, int32_t shadow, int width)
    {
        box(x, y, w, width, light);
        box(x, y, width, h, light);
        box(x, y + h - width, w, width, shadow);
        box(x + w - width, y, width, h, shadow);
    }
    // The icon's shapes, given on a grid of `grid` units, scaled into the square at x, y.
    void icon(const qelValue& shapesOfIcon, int x, int y, int size, int grid, int32_t ink)
    {
        qelListObject* source = qelListObjectOf(shapesOfIcon);
        if (!source || grid <= 0)
            return;
        for (int32_t i = 0; i < source->count; ++i) {
            qelValue shape = source->elementAt(i);
            int32_t n = qelCount(shape);
            if (n < 2)
                continue;
            qelValue scaled = qelMakeList(n, 100, QEL_GENERAL_LIST);
            append(scaled, qelGet(shape, 0));
            // A shape without its own colour (nil) takes the ink.
            qelValue own = qelGet(shape, 1);
            append(scaled, own.type() == QEL_INT_TYPE ? own : qelValue(ink));
            bool ellipse = qelGet(shape, 0) == "ellipse";
            for (int32_t k = 2; k < n; ++k) {
                int v = qelIntValue(qelGet(shape, k));
                bool isSize = ellipse && k >= 4;
                int origin = isSize ? 0 : ((k % 2 == 0) ? x : y);
                append(scaled, origin + (v * size + grid / 2) / grid);
            }
            append(shapes, scaled);
        }
    }
};

bool save(Picture& picture, const std::string& path, std::string& error)
{
    platform::gfx::Surface surface;
    if (!drawPicture(picture.table, surface, error))
        return false;
    std::vector<uint8_t> bytes = platform::gfx::encodeBmp(platform::gfx::dibFromSurface(surface));
    if (bytes.empty() || !writeBytes(path, bytes)) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

bool drawLook(const qelValue& style, const std::string& folder, std::string& error)
{
    qelValue faces = entry(style, "Faces");
    qelValue button = entry(style, "Button");
    qelValue icons = entry(style, "Icons");
    qelValue looks = entry(style, "Looks");
    qelValue words = entry(style, "Words");
    int grid = qelIntValue(entry(icons, "Grid"));
    int band = qelIntValue(entry(style, "BandHeight"));
    qelTableObject* lookTable = qelTableOf(looks);
    if (!lookTable || !qelTableOf(faces) || !qelTableOf(button) || !qelTableOf(words)) {
        error = "the style needs \"Faces\", \"Button\", \"Looks\" and \"Words\"";
        return false;
    }
    // Why: the band sits above the screens' own content; a screen of 480 rows keeps most of them.
    if (band < 24 || band > 120) {
        error = "\"BandHeight\" must be between 24 and 120";
        return false;
    }

    // The labelled buttons, each in its four states.
    qelTableObject* labels = qelTableOf(entry(button, "Labels"));
    int bw = qelIntValue(entry(button, "Width"));
    int bh = qelIntValue(entry(button, "Height"));
    for (int32_t slot = labels ? labels->firstIndex() : -1; slot >= 0; slot = labels->nextIndex(slot)) {
        std::string base = qelCString(labels->keyAt(slot));
        qelValue label = labels->valueAt(slot);
        struct State {
            const char* suffix;
            const char* face;
            const char* ink;
            bool sunken;
        };
        for (const State& state : { State { "up", "Face", "Ink", false }, State { "down", "Pressed", "PressedInk", true },
                 State { "off", "Disabled", "DisabledInk", false }, State { "over", "Rollover", "Ink", false } }) {
            Picture picture(bw, bh, color(button, state.face));
            picture.box(0, 0, bw, bh, color(button, "Frame"));
            picture.box(1, 1, bw - 2, bh - 2, color(button, state.face));
            picture.bevel(1, 1, bw - 2, bh - 2, color(button, state.sunken ? "Shadow" : "Light"),
                color(button, state.sunken ? "Light" : "Shadow"), 2);
            picture.text(label, -1, -1, entry(faces, "Button"), color(button, state.ink));
            if (!save(picture, folder + "/" + base + "_" + state.suffix + ".bmp", error))
                return false;
        }
    }

    // The icons on the button face, for the screens' picture buttons.
    qelTableObject* iconTable = qelTableOf(entry(icons, "Shapes"));
    int iconSize = qelIntValue(entry(icons, "Size"));
    // Why: icons are small pictures on buttons; the drawing loops cover the whole square.
    if (iconTable && (iconSize < 8 || iconSize > 128)) {
        error = "the icons' \"Size\" must be between 8 and 128";
        return false;
    }
    for (int32_t slot = iconTable ? iconTable->firstIndex() : -1; slot >= 0; slot = iconTable->nextIndex(slot)) {
        Picture picture(iconSize, iconSize, color(button, "Face"));
        picture.icon(iconTable->valueAt(slot), 0, 0, iconSize, grid, color(button, "Ink"));
        if (!save(picture, folder + "/ico" + qelCString(iconTable->keyAt(slot)) + ".bmp", error))
            return false;
    }

    // Per section: the header band, the placeholder screen and the placeholder dialog.
    for (int32_t slot = lookTable->firstIndex(); slot >= 0; slot = lookTable->nextIndex(slot)) {
        std::string name = qelCString(lookTable->keyAt(slot));
        qelValue look = lookTable->valueAt(slot);
        qelValue title = entry(look, "Title");
        int32_t bandColor = color(look, "Band");
        int32_t accent = color(look, "Accent");
        int32_t ground = color(look, "Ground");
        int32_t ink = color(look, "Ink");
        qelValue iconShapes = iconTable ? iconTable->get(entry(look, "Icon")) : qelNil;

        Picture header(640, band, bandColor);
        header.box(0, band - 4, 640, 4, accent);
        header.icon(iconShapes, 14, (band - 4 - 32) / 2, 32, grid, accent);
        header.text(title, 58, (band - 4 - 30) / 2, entry(faces, "Title"), color(look, "BandInk"));
        if (!save(header, folder + "/band_" + name + ".bmp", error))
            return false;

        Picture screen(640, 480, ground);
        screen.box(0, 0, 640, band - 4, bandColor);
        screen.box(0, band - 4, 640, 4, accent);
        screen.icon(iconShapes, 14, (band - 4 - 32) / 2, 32, grid, accent);
        screen.text(title, 58, (band - 4 - 30) / 2, entry(faces, "Title"), color(look, "BandInk"));
        screen.box(60, 150, 520, 170, color(look, "Panel"));
        screen.bevel(60, 150, 520, 170, accent, bandColor, 2);
        screen.icon(iconShapes, 96, 203, 64, grid, accent);
        screen.text(entry(words, "Preparing"), 190, 200, entry(faces, "Heading"), ink);
        screen.text(entry(words, "Soon"), 190, 236, entry(faces, "Body"), ink);
        screen.box(0, 470, 640, 10, bandColor);
        if (!save(screen, folder + "/prep_" + name + ".bmp", error))
            return false;

        Picture dialog(360, 220, color(look, "Panel"));
        dialog.box(0, 0, 360, 32, bandColor);
        dialog.text(title, 12, 4, entry(faces, "Heading"), color(look, "BandInk"));
        dialog.bevel(0, 0, 360, 220, accent, bandColor, 2);
        dialog.text(entry(words, "Preparing"), -1, 70, entry(faces, "Body"), ink);
        dialog.text(entry(words, "Soon"), -1, 104, entry(faces, "Small"), ink);
        if (!save(dialog, folder + "/prepdlg_" + name + ".bmp", error))
            return false;
    }
    return true;
}
