#include "framework/display/DrawingInterface.h"

#include "framework/display/AppWindow.h"
#include "framework/display/Font.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

namespace {

qelValue& mainPortValue()
{
    static qelValue* value = new qelValue;
    return *value;
}

qelFontResolver& fontResolver()
{
    static qelFontResolver resolver = nullptr;
    return resolver;
}

// A font value as it is; a name through the resolver.
qelValue resolveFont(const qelValue& fontOrName)
{
    if (fontOrName.type() != QEL_STRING_TYPE)
        return fontOrName;
    qelFontResolver resolver = fontResolver();
    return resolver ? resolver(fontOrName) : qelNil;
}

} // namespace

void qelSetMainPort(const qelValue& window)
{
    mainPortValue() = window;
}

qelValue qelMainPortValue()
{
    return mainPortValue();
}

qelWindowObject* qelMainPort()
{
    return dynamic_cast<qelWindowObject*>(qelWindowOf(mainPortValue()));
}

void qelSetFontResolver(qelFontResolver resolver)
{
    fontResolver() = resolver;
}

qelValue qelMakeContext(const qelValue& size)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->newContext(size) : qelNil;
}

int32_t qelSetColor(int32_t color)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->setColor(color) : 0;
}

int32_t qelSetBackColor(int32_t color)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->setBackColor(color) : 0;
}

int32_t qelSetLineWidth(int32_t width)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->setLineWidth(width) : 0;
}

qelValue qelSetFont(const qelValue& fontOrName)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return qelNil;
    qelValue font = resolveFont(fontOrName);
    // Anything that is not a font selects the default font.
    return port->setFont(font.type() == QEL_FONT_TYPE ? font : qelNil);
}

void qelDrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    int32_t points[4] = { x1, y1, x2, y2 };
    qelDrawPolyline(2, points);
}

void qelDrawPolyline(int32_t count, const int32_t* points)
{
    if (qelWindowObject* port = qelMainPort())
        port->polyline(count, points);
}

void qelRectangle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t color)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    int32_t previous = port->setColor(color);
    port->rectangle(x, y, width, height);
    port->setColor(previous);
}

int32_t qelDrawTextMap(const qelValue& textMap, int32_t x, int32_t y, int32_t page, int32_t keepColors)
{
    return qelDrawTextMapEx(textMap, x, y, page, keepColors, 0);
}

int32_t qelDrawTextMapEx(const qelValue& textMap, int32_t x, int32_t y, int32_t page, int32_t keepColors, int32_t start)
{
    qelWindowObject* port = qelMainPort();
    return port ? port->drawTextMap(textMap, page, x, y, keepColors, start) : -1;
}

void qelDrawTextInRect(
    const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t alignment, int32_t wrap)
{
    if (qelWindowObject* port = qelMainPort())
        port->drawText(text, x, y, width, height, alignment, wrap);
}

int32_t qelSetAutoRefresh(int32_t flag)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return 0;
    int32_t previous = port->autoRefresh;
    port->autoRefresh = flag;
    return previous;
}

void qelShowCaret(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        port->showCaret(x, y, width, height);
}

void qelHideCaret()
{
    if (qelWindowObject* port = qelMainPort())
        port->hideCaret();
}

void qelMeasureString(const qelValue& text, const qelValue& fontOrName, int32_t* width, int32_t* height)
{
    if (qelWindowObject* port = qelMainPort())
        port->measureString(text, resolveFont(fontOrName), width, height);
}

void qelStringWidth(const qelValue& text, int32_t* width, int32_t* height)
{
    if (qelWindowObject* port = qelMainPort())
        port->measureString(text, qelNil, width, height);
}

void qelDrawTextMeasure(const qelValue& text, const qelValue& fontOrName, int32_t* width, int32_t* height)
{
    if (qelWindowObject* port = qelMainPort())
        port->measureTextBox(text, resolveFont(fontOrName), width, height);
}

void qelClipRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        port->clipRect(x, y, width, height);
}

void qelResetClip()
{
    if (qelWindowObject* port = qelMainPort())
        port->resetClip();
}

void qelSetOrigin(int32_t x, int32_t y, int32_t* previousX, int32_t* previousY)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (previousX)
        *previousX = port->originX;
    if (previousY)
        *previousY = port->originY;
    port->setOrigin(x, y);
}

void qelSetOriginXY(int32_t x, int32_t y, int32_t* previousX, int32_t* previousY)
{
    qelSetOrigin(x, y, previousX, previousY);
}

int32_t qelOriginX()
{
    qelWindowObject* port = qelMainPort();
    return port ? port->originX : 0;
}

int32_t qelOriginY()
{
    qelWindowObject* port = qelMainPort();
    return port ? port->originY : 0;
}

int32_t qelMediaWidth()
{
    return qelMediaSizeSetting("MediaWidth", 640);
}

int32_t qelMediaHeight()
{
    return qelMediaSizeSetting("MediaHeight", 480);
}

platform::gfx::Dc* qelMainWindowDC()
{
    qelWindowObject* port = qelMainPort();
    return port ? port->offscreenDc() : nullptr;
}

void qelFontMetrics(const qelValue& fontOrName, int32_t* ascent, int32_t* descent, int32_t* maxCharWidth,
    int32_t* internalLeading, int32_t* externalLeading, int32_t* overhang)
{
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    qelValue previous = qelSetFont(fontOrName);
    platform::gfx::Dc* dc = port->target();
    const platform::gfx::Font* font = dc ? dc->font().get() : nullptr;
    if (!font) {
        std::string message = "Cannot select font: ";
        message += qelCString(qelValueToString(fontOrName));
        qelError(message.c_str());
    } else {
        const platform::gfx::TextMetrics& m = font->metrics();
        if (ascent)
            *ascent = m.ascent;
        if (descent)
            *descent = m.descent;
        if (maxCharWidth)
            *maxCharWidth = m.maxCharWidth;
        if (internalLeading)
            *internalLeading = m.internalLeading;
        if (externalLeading)
            *externalLeading = m.externalLeading;
        if (overhang)
            *overhang = m.overhang;
    }
    port->setFont(previous);
}

qelValue qelMainWindowPalette()
{
    qelWindowObject* port = qelMainPort();
    return port ? port->palette() : qelNil;
}

void qelInvalidateMain(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        port->invalidateWindow(port->refreshRect(x, y, width, height));
}
