#include "framework/ui/PhotoView.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/Perform.h"

#include <algorithm>

namespace {

constexpr int32_t panelGrey = 0xC0C0C0;
constexpr int32_t white = 0xFFFFFF;
constexpr int32_t shadow = 0x808080;
constexpr int32_t mouseDownMask = 0x20;
// How long a caption stays open without a press.
constexpr int32_t captionMilliseconds = 7000;
// The panel's usual width, and the gap it keeps from the media area's right edge.
constexpr int32_t panelWidth = 200;
constexpr int32_t rightGap = 10;

bool isImage(const qelValue& value)
{
    return value.type() == QEL_IMAGE_TYPE;
}

// Sets the caption view's text rectangle and lays the caption out in it; answers its page count.
// The rectangle goes to the view's "TextRegion" as well: a text view keeps the region of its first
// initialisation there and lays out in it from then on, so a new "Hot Spot" alone would leave
// every later trial in the first rectangle and the panel would grow without the text ever fitting.
int32_t layCaption(const qelValue& view, const qelValue& caption, int32_t x, int32_t y, int32_t w, int32_t h)
{
    qelValue rect = qelRectValue(x, y, w, h);
    qelPut(view, "Hot Spot", rect);
    qelPut(view, "TextRegion", rect);
    qelPerform(view, "Initialize", qelNil);
    qelPerform(view, "SetText", caption);
    qelValue pages = qelPerform(view, "TotalPages", qelNil);
    return pages.type() == QEL_INT_TYPE ? pages.payload() : 1;
}

} // namespace

PhotoView::PhotoView(const qelValue& data)
    : qelMediaControlObject(data)
{
}

PhotoView::~PhotoView() = default;

void PhotoView::readPlaces()
{
    area = hasProperty("Hot Spot") ? getProperty("Hot Spot") : getProperty("Region");
    photoX = getInt("X", 0);
    photoY = getInt("Y", 0);
    if (hasProperty("Frame")) {
        frameX = getInt("FrameX", 0);
        frameY = getInt("FrameY", 0);
    }
}

void PhotoView::init()
{
    readPlaces();
    photo = qelNil;
    frame = qelNil;
    savedScreen = qelNil;
    photoReady = 0;
    qelValue given = getProperty("Photo");
    if (isImage(given))
        setPhoto(given);
}

void PhotoView::setPhoto(const qelValue& image)
{
    if (image.isNil())
        return;
    photoReady = 0;
    photo = qelMakeContext(image);
    qelValue mask = qelResolve(getProperty("Mask"));
    if (isImage(mask))
        qelSetImageMask(photo, mask);
    if (isImage(photo))
        photoReady = 1;
    qelValue frameImage = qelResolve(getProperty("Frame"));
    qelValue frameMask = qelResolve(getProperty("FrameMask"));
    if (isImage(frameImage) && isImage(frameMask)) {
        frame = frameImage;
        qelSetImageMask(frame, frameMask);
    }
}

void PhotoView::showScreenBack()
{
    if (isImage(savedScreen))
        qelShowImageAt(savedScreen, qelLeft(area), qelTop(area), 0, 0, 0, 0);
    savedScreen = qelNil;
}

void PhotoView::erase()
{
    showScreenBack();
    photo = qelNil;
    frame = qelNil;
    photoReady = 0;
}

void PhotoView::draw()
{
    if (!isEnabled()) {
        erase();
        return;
    }
    if (!photoReady)
        return;
    if (savedScreen.isNil() && !area.isNil())
        savedScreen = qelGrabWindowImage(qelLeft(area), qelTop(area), qelWidth(area), qelHeight(area));
    if (!frame.isNil())
        qelShowImageAt(frame, frameX, frameY, 0, 0, 0, 0);
    qelShowImageAt(photo, photoX, photoY, 0, 0, 0, 0);
}

void PhotoView::redraw()
{
    showScreenBack();
    readPlaces();
    if (!area.isNil())
        savedScreen = qelGrabWindowImage(qelLeft(area), qelTop(area), qelWidth(area), qelHeight(area));
    if (!frame.isNil())
        qelShowImageAt(frame, frameX, frameY, 0, 0, 0, 0);
    // With no photo ever installed only the frame (if any) shows.
    if (photoReady)
        qelShowImageAt(photo, photoX, photoY, 0, 0, 0, 0);
}

qelValue PhotoView::drawPanel(int32_t x, int32_t y, int32_t w, int32_t h, int32_t fillColour)
{
    qelValue under = qelGrabWindowImage(x, y, w, h);
    qelRectangle(x, y, w, h, fillColour);
    int32_t previousBack = qelSetBackColor(-1);
    int32_t previousColour = qelSetColor(white);
    qelDrawLine(x, y + h - 1, x, y);
    qelDrawLine(x, y, x + w - 1, y);
    qelDrawLine(x + 4, y + h - 5, x + w - 5, y + h - 5);
    qelDrawLine(x + w - 5, y + 4, x + w - 5, y + h - 5);
    qelSetColor(shadow);
    qelDrawLine(x + w - 1, y, x + w - 1, y + h - 1);
    qelDrawLine(x + w - 1, y + h - 1, x, y + h - 1);
    qelDrawLine(x + 4, y + h - 4, x + 4, y + 4);
    qelDrawLine(x + 4, y + 4, x + w - 4, y + 4);
    qelSetColor(previousColour);
    qelSetBackColor(previousBack);
    return under;
}

qelValue PhotoView::showCaption(int32_t& x, int32_t y, int32_t width, int32_t)
{
    qelValue caption = getProperty("Caption");
    if (!caption.isString() || qelCount(caption) < 1)
        return qelNil;
    qelValue view = getProperty("CaptionView");
    int32_t textWidth = 0;
    int32_t lineHeight = 0;
    qelMeasureString(caption, qelGet(view, "Font"), &textWidth, &lineHeight);
    lineHeight = std::max(lineHeight, 1);
    // The panel grows a line at a time until the caption fits one page, but never past the
    // media area's height: a word wider than the panel would never fit.
    int32_t height = lineHeight;
    do {
        height += lineHeight;
    } while (layCaption(view, caption, x + 8, y + 6, width - 14, height - 12) > 1 && height < qelMediaHeight());
    if (height == 2 * lineHeight) {
        width = textWidth + 16;
        layCaption(view, caption, x + 8, y + 6, textWidth + 2, height - 12);
    }
    if (x + width + rightGap > qelMediaWidth()) {
        x = qelMediaWidth() - rightGap - width;
        layCaption(view, caption, x + 8, y + 6, width - 14, height - 12);
    }
    qelValue under = drawPanel(x, y, width, height, panelGrey);
    qelSetBackColor(-1);
    qelPut(view, "Disabled", qelFalse);
    qelPerform(view, "Draw", qelNil);
    qelRefreshWindowArea(0, 0, 0, 0);
    qelPerform(view, "FlushBackground", qelNil);
    return under;
}

int32_t PhotoView::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (!hasProperty("Hot Spot") || !hasProperty("Caption"))
        return qelMediaControlObject::track(x, y, modifiers, clicks);
    int32_t l = qelLeft(area), t = qelTop(area), w = qelWidth(area), h = qelHeight(area);
    int32_t panelX = l + w - w / 3;
    int32_t panelY = t + h - h / 3;
    int32_t width = panelX + panelWidth + rightGap > qelMediaWidth() ? qelMediaWidth() - rightGap - panelX : panelWidth;
    qelValue under = showCaption(panelX, panelY, width, 100);
    if (under.isNil())
        return qelMediaControlObject::track(x, y, modifiers, clicks);
    qelEvent press;
    qelPeekEvent(press, mouseDownMask, captionMilliseconds);
    qelFlushEvents(mouseDownMask);
    qelShowImageAt(under, panelX, panelY, 0, 0, 0, 0);
    // The caption view was enabled only to draw inside the panel; left enabled, the form's next
    // redraw would paint the caption over the photo without its panel and the view would take
    // clicks meant for the photo.
    qelPut(getProperty("CaptionView"), "Disabled", qelTrue);
    return 0;
}

qelValue PhotoView::perform(const qelValue& action, const qelValue& data)
{
    if (action == "Initialize") {
        init();
        if (hasProperty("Photo")) {
            qelValue loaded = qelLoadImageResource(getProperty("Photo"));
            if (isImage(loaded))
                setPhoto(loaded);
        }
        return qelNil;
    }
    if (action == "SetPhoto") {
        if (!data.isNil())
            setPhoto(qelResolve(data));
        return qelNil;
    }
    if (action == "Redraw") {
        redraw();
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}
