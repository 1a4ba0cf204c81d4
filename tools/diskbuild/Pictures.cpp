#include "tools/diskbuild/Pictures.h"

#include "framework/display/Font.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/text/TextDraw.h"

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
        if (x == -1)
            x = (width - extent.width) / 2;
        if (y == -1)
            y = (height - extent.height) / 2;
        platform::text::textOut(dc, x, y, characters);
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
    drawTexts(dc, qelTableOf(description)->get("Texts"), width, height);
    return true;
}
