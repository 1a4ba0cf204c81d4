// TextView drawing: the saved form background, the colours and the clip to the text region; a
// page at a time, or the tall page moved by the scroll offset from the first line in view; the
// framed boxes and the pictures of the layout.

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/ui/UiRefresh.h"

namespace {

// Pictures are laid out and drawn at their own size at the screen's resolution.
constexpr int32_t screen_dpi = 96;

} // namespace

void TextView::refreshShown()
{
    qelUiUpdateWindow();
}

void TextView::draw()
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    bool hasSpot = hotSpotRegion.type() == QEL_REGION_TYPE;
    int32_t x = hasSpot ? qelLeft(hotSpotRegion) : 0;
    int32_t y = hasSpot ? qelTop(hotSpotRegion) : 0;
    if (!isEnabled()) {
        if (viewBackground.type() == QEL_IMAGE_TYPE) {
            port->drawImage(viewBackground, x, y, 0, 0, 0, 0);
            viewBackground = qelNil;
        }
        return;
    }
    if (!qelTextMapOf(text))
        return;
    hasForeColor = hasProperty(qelValue("ForegroundColor")) != 0;
    foreColor = getInt("ForegroundColor", 1);
    if (viewBackground.isNil() && hasSpot)
        viewBackground = port->grabImage(x, y, qelWidth(hotSpotRegion), qelHeight(hotSpotRegion));
    if (viewBackground.type() == QEL_IMAGE_TYPE)
        port->drawImage(viewBackground, x, y, 0, 0, 0, 0);
    int32_t previousBack = qelSetBackColor(backColor);
    int32_t previousColor = qelSetColor(foreColor);
    int32_t l = qelLeft(textRegion);
    int32_t t = qelTop(textRegion);
    int32_t w = qelWidth(textRegion);
    int32_t h = qelHeight(textRegion);
    if (scrollShown()) {
        prepareScrollImages();
        qelClipRect(l, t, w, h);
        drawScrolled();
    } else {
        qelClipRect(l, t, w, h);
        drawBoxes(currentPage - 1);
        if (currentPage >= 1 && currentPage <= pageCount)
            qelDrawTextMapEx(text, preparedMap ? l : 0, preparedMap ? t : 0, currentPage - 1, hasForeColor, 0);
        drawBitmaps(bitmaps, textRegion, screen_dpi, currentPage - 1);
    }
    qelResetClip();
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
    if (scrollShown())
        drawScrollButtons();
}

void TextView::drawScrolled()
{
    qelValue entry = topLine();
    drawBoxes(-1);
    drawBitmaps(bitmaps, textRegion, screen_dpi, -1);
    int32_t first = entry.isNil() ? 0 : qelGetInt(entry, qelValue("Run Num"));
    qelDrawTextMapEx(text, 0, scrollOffset, 0, hasForeColor, first);
}

qelValue TextView::topLine()
{
    // The last line that starts at or above the view's top: drawing from there covers every
    // visible line, and the lines above it fall outside the clip. The lines' y include the text
    // region's top, the scroll offset does not.
    int32_t count = qelCount(lineIndex);
    if (lineIndex.type() != QEL_LIST_TYPE || count == 0)
        return qelNil;
    int64_t top = int64_t(qelTop(textRegion)) - scrollOffset;
    int32_t low = 0;
    int32_t high = count - 1;
    while (low < high) {
        int32_t probe = low + (high - low + 1) / 2;
        if (qelGetInt(qelGet(lineIndex, probe), qelValue("Run Y")) <= top)
            low = probe;
        else
            high = probe - 1;
    }
    return qelGet(lineIndex, low);
}

void TextView::forEachOnPage(const qelValue& list, int32_t pageElement, int32_t page,
    const std::function<void(const qelValue& entry, const qelValue& region)>& draw)
{
    if (list.type() != QEL_LIST_TYPE)
        return;
    int32_t count = qelCount(list);
    for (int32_t i = 0; i < count; ++i) {
        qelValue entry = qelGet(list, i);
        qelValue p = qelGet(entry, pageElement);
        qelValue r = qelGet(entry, 0);
        if ((page == -1 || (p.type() == QEL_INT_TYPE && p.payload() == page)) && r.type() == QEL_REGION_TYPE)
            draw(entry, r);
    }
}

void TextView::drawBoxes(int32_t page)
{
    int64_t v0 = qelTop(textRegion);
    int64_t v1 = v0 + qelHeight(textRegion);
    forEachOnPage(boxes, 1, page, [&](const qelValue&, const qelValue& r) {
        int64_t y = int64_t(qelTop(r)) + scrollOffset;
        // A box whose top is outside the view is left out whole.
        if (v0 <= y && y < v1)
            qelRectangle(qelLeft(r), int32_t(y), qelWidth(r), qelHeight(r), boxColor);
    });
}

void TextView::drawBitmaps(const qelValue& list, const qelValue& region, int32_t dpi, int32_t page)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    int64_t v0 = qelTop(region);
    int64_t v1 = v0 + qelHeight(region);
    forEachOnPage(list, 2, page, [&](const qelValue& entry, const qelValue& r) {
        qelValue picture = qelGet(entry, 1);
        qelValue image = picture;
        int32_t w = 0;
        int32_t h = 0;
        bool scaled = false;
        if (picture.type() == QEL_LIST_TYPE) {
            // [image, width, height]: that size, whatever the resolution.
            image = qelGet(picture, 0);
            w = qelIntValue(qelGet(picture, 1));
            h = qelIntValue(qelGet(picture, 2));
            scaled = true;
        } else {
            int32_t s = dpi / screen_dpi;
            w = qelWidth(image) * s;
            h = qelHeight(image) * s;
            scaled = dpi != screen_dpi;
        }
        if (image.type() != QEL_IMAGE_TYPE || h <= 0 || w <= 0)
            return;
        int32_t left = qelLeft(r);
        int64_t y = int64_t(qelTop(r)) + scrollOffset;
        auto show = [&](const qelValue& shown, int64_t top, int64_t height) {
            if (scaled)
                qelShowImageStretched(shown, left, int32_t(top), w, int32_t(height));
            else
                port->drawImage(shown, left, int32_t(top), 0, 0, 0, 0);
        };
        if (v0 <= y && y < v1) {
            show(image, y, h);
        } else if (v0 <= y + h && y + h < v1) {
            // The top lies above the view: the rows hidden there are cut off.
            int32_t imageHeight = qelHeight(image);
            int32_t cut = int32_t((v0 - y) * imageHeight / h);
            qelValue rest = qelImageFromImage(image, 0, cut, qelWidth(image), imageHeight - cut);
            if (rest.type() == QEL_IMAGE_TYPE)
                show(rest, v0 + 2, y + h - v0);
        }
    });
}
