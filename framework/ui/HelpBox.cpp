#include "framework/ui/HelpBox.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/StringObject.h"

namespace {

qelValue helpFont()
{
    return qelFontValue("Arial", 9, 0);
}

} // namespace

void qelHelpBox::wait(const qelValue& text, int32_t x, int32_t y)
{
    helpText = text;
    pointerX = x;
    pointerY = y;
    rolloverTime = qelClockNow();
}

void qelHelpBox::follow(int32_t x, int32_t y)
{
    if (helpText.isNil())
        return;
    pointerX = x;
    pointerY = y;
}

void qelHelpBox::remove(bool refresh)
{
    helpText = qelNil;
    if (helpBoxBackground.isNil())
        return;
    qelValue background = helpBoxBackground;
    helpBoxBackground = qelNil;
    qelShowImageAt(background, helpBoxX, helpBoxY, 0, 0, 0, 0);
    if (refresh)
        qelRefreshWindowArea(0, 0, 0, 0);
}

void qelHelpBox::measure(const qelValue& text, int32_t& width, int32_t& height)
{
    // The longest line itself is measured (the last line counts too), so the box is as wide as
    // that line whichever line it is.
    int32_t length = qelCount(text);
    int32_t lines = 1;
    int32_t longestStart = 0;
    int32_t longest = 0;
    int32_t start = 0;
    for (int32_t i = 0; i <= length; ++i) {
        if (i < length && qelCharAt(text, i) != '\n')
            continue;
        if (i - start > longest) {
            longest = i - start;
            longestStart = start;
        }
        if (i < length)
            ++lines;
        start = i + 1;
    }
    int32_t w = 0;
    int32_t h = 0;
    if (lines > 1) {
        qelMeasureString(qelMid(text, longestStart, longest), helpFont(), &w, &h);
        h *= lines;
    } else {
        qelMeasureString(text, helpFont(), &w, &h);
    }
    width = w + 7;
    height = h + 3;
}

void qelHelpBox::place(
    int32_t px, int32_t py, int32_t w, int32_t h, int32_t originX, int32_t originY, int32_t& x, int32_t& y)
{
    int32_t mediaWidth = qelMediaWidth();
    int32_t mediaHeight = qelMediaHeight();
    if (py + h + 20 > mediaHeight || px + w + 20 > mediaWidth) {
        x = px - w - 20;
        y = py - h - 20;
    } else {
        x = px + 20;
        y = py + 20;
    }
    x -= originX;
    y -= originY;
    if (y < 0)
        y = 5;
    else if (y > mediaHeight)
        y = mediaHeight - 5 - h;
    if (x < 0)
        x = 5;
    else if (x > mediaWidth)
        x = mediaWidth - 5 - w;
}

void qelHelpBox::tick(int32_t originX, int32_t originY)
{
    if (helpText.isNil())
        return;
    if (!helpText.isString()) {
        qelValue bad = helpText;
        // Reported once: the text is dropped so that later ticks do not repeat the report.
        helpText = qelNil;
        qelError("Bad Rollover Text: " + bad);
        return;
    }
    if (int32_t(qelClockNow() - rolloverTime) < QEL_HELP_BOX_DELAY_MS)
        return;
    qelValue text = helpText;
    int32_t w = 0;
    int32_t h = 0;
    measure(text, w, h);
    int32_t x = 0;
    int32_t y = 0;
    place(pointerX, pointerY, w, h, originX, originY, x, y);

    helpBoxX = x;
    helpBoxY = y;
    helpBoxBackground = qelGrabWindowImage(x, y, w, h);
    qelRectangle(x, y, w, h, QEL_HELP_BOX_COLOR);
    qelFrameRegion(qelRectValue(x, y, w - 1, h - 1), 1);

    qelValue previousFont = qelSetFont(helpFont());
    int32_t previousBack = qelSetBackColor(-1);
    int32_t previousColor = qelSetColor(1);
    qelDrawTextInRect(text, x + 3, y + 1, w - 4, h - 2, 0, 1);
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
    helpText = qelNil;
}
