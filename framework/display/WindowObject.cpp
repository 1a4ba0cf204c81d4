#include "framework/display/WindowObject.h"

#include "framework/display/ContextImage.h"
#include "framework/display/ContextValue.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/PaletteObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/text/TextDraw.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

using platform::gfx::Dc;
using platform::gfx::Rect;
using namespace platform::text;

namespace {

constexpr int32_t white = 0xFFFFFF;

std::string_view textOf(const qelValue& text)
{
    qelStringObject* s = qelStringOf(text);
    if (!s)
        return {};
    return { s->chars(), size_t(s->length()) };
}

int32_t add(int32_t a, int32_t b)
{
    return platform::gfx::clampToInt(int64_t(a) + b);
}

// A size of 0 draws an image at its own size: makes w and h the size that was drawn, for the
// refresh after drawing or stretching.
void fillInDrawnSize(const qelValue& image, int32_t& w, int32_t& h)
{
    if (image.type() == QEL_IMAGE_TYPE) {
        if (w == 0)
            w = qelWidth(image);
        if (h == 0)
            h = qelHeight(image);
    }
}

platform::Window* openWindow()
{
    platform::WindowSystem* system = qelWindowSystem();
    if (!system || !system->window().isOpen())
        return nullptr;
    return &system->window();
}

} // namespace

qelPortObject* qelPortOf(const qelValue& window)
{
    return dynamic_cast<qelPortObject*>(qelWindowOf(window));
}

qelWindowObject::qelWindowObject() = default;

qelWindowObject::~qelWindowObject()
{
    m_palette = qelNil;
    m_previousPalette = qelNil;
    m_target = qelNil;
    m_alternateContext = qelNil;
    m_offscreenContext = qelNil;
}

void qelWindowObject::onCreate()
{
    qelWindowBase::onCreate();
}

Dc* qelWindowObject::target() const
{
    return qelContextDc(m_target);
}

void qelWindowObject::makeOffscreenBuffer()
{
    // A true-colour display: the palette-display flag stays 0.
    m_paletteDisplay = 0;
    int32_t w = std::clamp(width, 1, platform::gfx::Surface::maxSide);
    int32_t h = std::clamp(height, 1, platform::gfx::Surface::maxSide);
    m_offscreen = std::make_unique<platform::gfx::Surface>(w, h, 0);
    m_offscreenDc = std::make_unique<platform::gfx::MemoryDc>(*m_offscreen);
    m_offscreenContext = qelContextValue(m_offscreenDc.get());
    m_target = m_offscreenContext;
    m_clip = { 0, 0, w, h };
    m_hasPen = m_hasBrush = false;
    targetChanged();
    selectFontInto(*m_offscreenDc, font);
    // The first attributes are applied whatever the cache says.
    m_cachingDisabled = 0;
    backColor = 0;
    setBackColor(-1);
    color = 0;
    setColor(white);
    hasFocus = 0;
    caretActive = 0;
    m_alternateContext = qelNil;
    m_cachingDisabled = qelGetBoolSetting(qelStringValue("DisableDrawingAttributeCaching"), 0);
}

void qelWindowObject::freeOffscreenBuffer()
{
    m_target = qelNil;
    m_alternateContext = qelNil;
    m_offscreenContext = qelNil;
    m_palette = qelNil;
    m_offscreenDc.reset();
    m_offscreen.reset();
    m_hasPen = m_hasBrush = false;
}

void qelWindowObject::blit(const Rect& rect)
{
    platform::WindowSystem* system = qelWindowSystem();
    if (!system || !m_offscreenDc)
        return;
    platform::gfx::Surface& front = system->window().front();
    platform::gfx::MemoryDc screen(front);
    // Always from the offscreen buffer: while printing the target is the printer's page.
    screen.bitBlt(rect.left, rect.top, rect.width(), rect.height(), *m_offscreenDc, rect.left - mediaLeft,
        rect.top - mediaTop, platform::gfx::RasterOp::SrcCopy);
    if (mediaLeft != 0) {
        int32_t screenWidth = qelScreenWidth();
        int32_t screenHeight = qelScreenHeight();
        platform::gfx::Brush black { 0 };
        screen.fillRect({ 0, 0, screenWidth, mediaTop }, black);
        screen.fillRect({ 0, mediaTop + height, screenWidth, screenHeight }, black);
        screen.fillRect({ 0, mediaTop, mediaLeft, mediaTop + height }, black);
        screen.fillRect({ mediaLeft + width, mediaTop, screenWidth, mediaTop + height }, black);
    }
}

void qelWindowObject::onFocusGained()
{
    hasFocus = 1;
    if (!caretActive)
        return;
    if (platform::Window* window = openWindow()) {
        window->createCaret(m_caret.width(), m_caret.height());
        window->setCaretPos(m_caret.left + mediaLeft, m_caret.top + mediaTop);
        window->showCaret();
    }
}

void qelWindowObject::onFocusLost()
{
    hasFocus = 0;
    if (!caretActive)
        return;
    if (platform::Window* window = openWindow()) {
        window->hideCaret();
        window->destroyCaret();
    }
}

Rect qelWindowObject::refreshRect(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    int64_t left = int64_t(x) + originX + mediaLeft;
    int64_t top = int64_t(y) + originY + mediaTop;
    return { platform::gfx::clampToInt(left), platform::gfx::clampToInt(top), platform::gfx::clampToInt(left + w + 1),
        platform::gfx::clampToInt(top + h + 1) };
}

void qelWindowObject::invalidateWindow(const Rect& rect)
{
    if (platform::Window* window = openWindow())
        window->invalidate(&rect, false);
}

void qelWindowObject::refresh(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (autoRefresh)
        invalidateWindow(refreshRect(x, y, w, h));
}

void qelWindowObject::targetChanged()
{
    // The new target has none of the old one's attributes: the back colour and the font are
    // applied at once, pens, brushes and the text colour at the next drawing.
    if (Dc* dc = target()) {
        if (backColor == -1) {
            dc->setBkMode(platform::gfx::BkMode::Transparent);
        } else {
            dc->setBkMode(platform::gfx::BkMode::Opaque);
            dc->setBkColor(platform::gfx::ColorRef(backColor) & 0xFFFFFF);
        }
        if (!dc->font())
            selectFontInto(*dc, font);
    }
    m_penWidthCache = -1;
    m_penColorCache = -1;
    m_brushColorCache = -1;
    m_textColorApplied = false;
    m_hasPen = m_hasBrush = false;
}

void qelWindowObject::makePenCurrent()
{
    Dc* dc = target();
    if (!dc)
        return;
    if (m_hasPen && m_penColorCache == color && m_penWidthCache == m_lineWidth && !m_cachingDisabled)
        return;
    platform::gfx::Pen pen;
    pen.width = std::max(m_lineWidth, 1);
    pen.color = platform::gfx::ColorRef(color) & 0xFFFFFF;
    dc->selectPen(pen);
    ++pensMade;
    m_hasPen = true;
    m_penColorCache = color;
    m_penWidthCache = m_lineWidth;
}

void qelWindowObject::makeBrushCurrent()
{
    Dc* dc = target();
    if (!dc)
        return;
    if (m_hasBrush && m_brushColorCache == color && !m_cachingDisabled)
        return;
    dc->selectBrush({ platform::gfx::ColorRef(color) & 0xFFFFFF });
    ++brushesMade;
    m_hasBrush = true;
    m_brushColorCache = color;
}

void qelWindowObject::makeTextColorCurrent()
{
    Dc* dc = target();
    if (!dc)
        return;
    if (m_textColorApplied && m_textColorCache == color && !m_cachingDisabled)
        return;
    dc->setTextColor(platform::gfx::ColorRef(color) & 0xFFFFFF);
    ++textColorsApplied;
    m_textColorApplied = true;
    m_textColorCache = color;
}

int32_t qelWindowObject::setColor(int32_t newColor)
{
    int32_t previous = color;
    if (newColor == color && !m_cachingDisabled)
        return previous;
    color = newColor;
    return previous;
}

int32_t qelWindowObject::setBackColor(int32_t newColor)
{
    int32_t previous = backColor;
    if (newColor == backColor && !m_cachingDisabled)
        return previous;
    backColor = newColor;
    if (Dc* dc = target()) {
        if (newColor == -1) {
            dc->setBkMode(platform::gfx::BkMode::Transparent);
        } else {
            dc->setBkMode(platform::gfx::BkMode::Opaque);
            dc->setBkColor(platform::gfx::ColorRef(newColor) & 0xFFFFFF);
        }
    }
    return previous;
}

int32_t qelWindowObject::setLineWidth(int32_t newWidth)
{
    int32_t previous = m_lineWidth;
    m_lineWidth = newWidth;
    return previous;
}

void qelWindowObject::selectFontInto(Dc& dc, const qelValue& value)
{
    qelFontObject* f = qelFontOf(value);
    if (!f)
        f = qelFontOf(qelDefaultFont());
    if (f)
        f->select(dc);
}

qelValue qelWindowObject::setFont(const qelValue& newFont)
{
    qelValue previous = font;
    if (newFont == font && !m_cachingDisabled)
        return previous;
    if (Dc* dc = target())
        selectFontInto(*dc, newFont);
    font = newFont;
    return previous;
}

qelValue qelWindowObject::newContext(const qelValue& size)
{
    int32_t w = 0;
    int32_t h = 0;
    if (size.type() == QEL_REGION_TYPE) {
        w = qelWidth(size);
        h = qelHeight(size);
    } else if (size.type() == QEL_LIST_TYPE && qelCount(size) >= 2) {
        w = qelIntValue(qelGet(size, 0));
        h = qelIntValue(qelGet(size, 1));
    }
    // An image gives its size and its picture: the context is a copy that can be drawn on.
    qelImageObject* source = size.type() == QEL_IMAGE_TYPE ? qelImageOf(size) : nullptr;
    if (source) {
        w = qelWidth(size);
        h = qelHeight(size);
    }
    qelValue image = qelMakeContextImage(w, h);
    qelContextImageObject* context = qelContextImageOf(image);
    if (Dc* dc = target()) {
        if (context)
            context->dc()->selectPalette(dc->palette());
    }
    if (source && context && context->dc())
        source->drawIntoContext(*context->dc(), 0, 0, w, h, 0, 0, qelNil);
    return image;
}

void qelWindowObject::selectPalette(const qelValue& image, int32_t x, int32_t y, int32_t w, int32_t h)
{
    Dc* dc = target();
    if (!dc)
        return;
    qelValue newPalette = qelImagePalette(image);
    if (newPalette.isNil())
        newPalette = qelSystemPaletteValue();
    // The area the picture will cover is cleared in the port's colour first; in the target's
    // own coordinates, where the picture is drawn.
    makeBrushCurrent();
    dc->fillRect(Rect::fromSize(0, 0, w, h), dc->brush());
    dc->selectPalette(qelPaletteData(newPalette));
    m_previousPalette = m_palette;
    m_palette = newPalette;
    originX = 0;
    originY = 0;
    qelDrawImage(m_target, 0, 0, image, x, y, w, h);
    if (autoRefresh)
        invalidateWindow(Rect::fromSize(mediaLeft, mediaTop, w, h));
}

void qelWindowObject::drawImage(
    const qelValue& image, int32_t x, int32_t y, int32_t sx, int32_t sy, int32_t w, int32_t h)
{
    if (image.isNil())
        return;
    qelDrawImage(m_target, add(x, originX), add(y, originY), image, sx, sy, w, h);
    fillInDrawnSize(image, w, h);
    refresh(x, y, w, h);
}

void qelWindowObject::stretchImage(const qelValue& image, int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (image.isNil())
        return;
    qelStretchImage(m_target, add(x, originX), add(y, originY), image, 0, 0, w, h);
    fillInDrawnSize(image, w, h);
    refresh(x, y, w, h);
}

void qelWindowObject::update()
{
    if (platform::Window* window = openWindow())
        window->update();
}

qelValue qelWindowObject::grabImage(int32_t x, int32_t y, int32_t w, int32_t h)
{
    return qelMakeObjectValue(
        QEL_IMAGE_TYPE, new qelContextImageObject(m_target, add(x, originX), add(y, originY), w, h));
}

void qelWindowObject::copyToImage(const qelValue& image, int32_t x, int32_t y, int32_t w, int32_t h)
{
    qelDrawImage(image, 0, 0, m_target, add(x, originX), add(y, originY), w, h);
}

void qelWindowObject::rectangle(int32_t x, int32_t y, int32_t w, int32_t h)
{
    Dc* dc = target();
    if (!dc)
        return;
    makePenCurrent();
    makeBrushCurrent();
    int32_t left = add(x, originX);
    int32_t top = add(y, originY);
    dc->rectangle(left, top, add(left, w), add(top, h));
    refresh(x, y, w, h);
}

void qelWindowObject::polyline(int32_t count, const int32_t* points)
{
    Dc* dc = target();
    if (!dc || count <= 0 || !points)
        return;
    makePenCurrent();
    int32_t minX = points[0], maxX = points[0], minY = points[1], maxY = points[1];
    dc->moveTo(add(points[0], originX), add(points[1], originY));
    for (int32_t i = 0; i < count; ++i) {
        int32_t px = points[2 * i];
        int32_t py = points[2 * i + 1];
        minX = std::min(minX, px);
        maxX = std::max(maxX, px);
        minY = std::min(minY, py);
        maxY = std::max(maxY, py);
        dc->lineTo(add(px, originX), add(py, originY));
    }
    if (autoRefresh) {
        int64_t left = int64_t(minX) + originX + mediaLeft;
        int64_t top = int64_t(minY) + originY + mediaTop;
        int64_t right = int64_t(maxX) + originX + mediaLeft + 1;
        int64_t bottom = int64_t(maxY) + originY + mediaTop + 1;
        invalidateWindow({ platform::gfx::clampToInt(left), platform::gfx::clampToInt(top),
            platform::gfx::clampToInt(right), platform::gfx::clampToInt(bottom) });
    }
}

void qelWindowObject::drawText(
    const qelValue& text, int32_t x, int32_t y, int32_t w, int32_t h, int32_t alignment, int32_t wrap)
{
    Dc* dc = target();
    if (!dc)
        return;
    std::string_view chars = textOf(text);
    int32_t left = add(x, originX);
    int32_t top = add(y, originY);
    if (w != 0 && h != 0) {
        makeTextColorCurrent();
        unsigned format = drawTextNoPrefix | drawTextNoClip;
        if (wrap)
            format |= drawTextWordBreak;
        if (alignment == 1)
            format |= drawTextCenter;
        else if (alignment == 2)
            format |= drawTextRight;
        Rect box = Rect::fromSize(left, top, w, h);
        platform::text::drawText(*dc, chars, box, format);
        refresh(x, y, w, h);
        return;
    }
    if (autoRefresh) {
        int32_t tw = 0;
        int32_t th = 0;
        measureString(text, qelNil, &tw, &th);
        makeTextColorCurrent();
        Rect box = Rect::fromSize(left, top, tw, th);
        platform::text::drawText(*dc, chars, box, drawTextNoPrefix | drawTextNoClip | drawTextSingleLine);
        refresh(x, y, tw, th);
        return;
    }
    makeTextColorCurrent();
    platform::text::textOut(*dc, left, top, chars);
}

int32_t qelWindowObject::drawTextMap(
    const qelValue& textMap, int32_t page, int32_t x, int32_t y, int32_t keepColors, int32_t start)
{
    Dc* dc = target();
    qelEncodedFields map;
    if (!dc || textMap.type() != QEL_TEXTMAP_TYPE || !qelFieldsOf(textMap, map))
        return -1;
    const qelValue& fonts = map.values[0];
    qelValue runs = qelGet(qelGet(map.values[1], page), 0);
    if (start < 0)
        start = 0;
    makeTextColorCurrent();
    int32_t colorBefore = color;
    int32_t backBefore = backColor;
    int32_t firstVisible = -1;
    int32_t lastFont = -1;
    int32_t clipBottom = add(m_clip.top, m_clip.height);
    int32_t count = runs.type() == QEL_LIST_TYPE ? qelCount(runs) : 0;
    for (int32_t i = start; i < count; ++i) {
        qelValue run = qelGet(runs, i);
        if (run.type() != QEL_LIST_TYPE || qelCount(run) < 3)
            continue;
        int32_t rx = add(add(x, qelIntValue(qelGet(run, 0))), originX);
        int32_t ry = add(add(y, qelIntValue(qelGet(run, 1))), originY);
        if (ry > clipBottom)
            break;
        if (firstVisible == -1 && ry >= m_clip.top)
            firstVisible = i;
        int32_t fields = qelCount(run);
        qelValue fontIndex = fields > 3 ? qelGet(run, 3) : qelNil;
        if (fontIndex.type() == QEL_INT_TYPE && fontIndex.payload() != lastFont) {
            qelFontObject* f = qelFontOf(qelGet(fonts, fontIndex.payload()));
            if (f)
                f->select(*dc);
            lastFont = fontIndex.payload();
        }
        qelValue textColor = fields > 4 ? qelGet(run, 4) : qelNil;
        if (!keepColors && textColor.type() == QEL_INT_TYPE) {
            dc->setTextColor(platform::gfx::ColorRef(textColor.payload()) & 0xFFFFFF);
            m_textColorApplied = false;
            qelValue back = fields > 5 ? qelGet(run, 5) : qelNil;
            if (back.type() == QEL_INT_TYPE)
                setBackColor(back.payload());
        }
        platform::text::textOut(*dc, rx, ry, textOf(qelGet(run, 2)));
    }
    if (autoRefresh)
        invalidateWindow(
            Rect::fromSize(add(add(x, originX), mediaLeft), add(add(y, originY), mediaTop), map.ints[0], map.ints[1]));
    // The runs' fonts and colours are not left behind.
    selectFontInto(*dc, qelNil);
    font = qelNil;
    if (!keepColors) {
        dc->setTextColor(platform::gfx::ColorRef(colorBefore) & 0xFFFFFF);
        m_textColorApplied = true;
        m_textColorCache = colorBefore;
        setColor(colorBefore);
        int32_t saved = m_cachingDisabled;
        m_cachingDisabled = 1;
        setBackColor(backBefore);
        m_cachingDisabled = saved;
    }
    return firstVisible;
}

void qelWindowObject::updateRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    invalidateWindow(refreshRect(x, y, w, h));
    update();
}

void qelWindowObject::measureString(const qelValue& text, const qelValue& measureFont, int32_t* w, int32_t* h)
{
    Dc* dc = target();
    if (!dc)
        return;
    std::shared_ptr<const platform::gfx::Font> previous;
    qelFontObject* f = qelFontOf(measureFont);
    if (f)
        previous = f->select(*dc);
    if (!dc->font()) {
        std::string message = "Cannot measure size of string: ";
        message.append(textOf(text));
        qelError(message.c_str());
        return;
    }
    platform::gfx::Size extent = textExtent(*dc, textOf(text));
    if (f)
        dc->selectFont(previous);
    if (w)
        *w = extent.width;
    if (h)
        *h = extent.height;
}

void qelWindowObject::measureTextBox(const qelValue& text, const qelValue& measureFont, int32_t* w, int32_t* h)
{
    Dc* dc = target();
    if (!dc)
        return;
    std::shared_ptr<const platform::gfx::Font> previous;
    qelFontObject* f = qelFontOf(measureFont);
    if (f)
        previous = f->select(*dc);
    Rect box { 0, 0, w ? *w : 0, h ? *h : 0 };
    platform::text::drawText(
        *dc, textOf(text), box, drawTextCalcRect | drawTextWordBreak | drawTextNoPrefix | drawTextNoClip);
    if (f)
        dc->selectFont(previous);
    if (w)
        *w = box.right;
    if (h)
        *h = box.bottom;
}

void qelWindowObject::showCaret(int32_t x, int32_t y, int32_t w, int32_t h)
{
    int32_t left = add(x, originX);
    int32_t top = add(y, originY);
    m_caret = { left, top, add(left, w), add(top, h) };
    if (hasFocus && !caretActive) {
        if (platform::Window* window = openWindow()) {
            window->createCaret(w, h);
            window->setCaretPos(m_caret.left + mediaLeft, m_caret.top + mediaTop);
            window->showCaret();
        }
    }
    caretActive = 1;
}

void qelWindowObject::hideCaret()
{
    if (hasFocus && caretActive) {
        if (platform::Window* window = openWindow()) {
            window->hideCaret();
            window->destroyCaret();
        }
    }
    caretActive = 0;
}

void qelWindowObject::clipRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    int32_t left = add(x, originX);
    int32_t top = add(y, originY);
    if (Dc* dc = target())
        dc->intersectClipRect(Rect::fromSize(left, top, w, h));
    m_clip = { left, top, w, h };
}

void qelWindowObject::resetClip()
{
    Dc* dc = target();
    if (!dc)
        return;
    dc->resetClip();
    m_clip = { 0, 0, dc->deviceCaps(platform::gfx::DeviceCap::HorzRes),
        dc->deviceCaps(platform::gfx::DeviceCap::VertRes) };
}

int32_t qelWindowObject::setOrigin(int32_t x, int32_t y)
{
    originX = x;
    originY = y;
    return x;
}

qelValue qelWindowObject::setAlternateContext(const qelValue& context)
{
    qelValue previous = m_alternateContext;
    m_alternateContext = context;
    if (!previous.isNil() && qelContextDc(previous) == target()) {
        // Drawing was going to the old alternate context: it goes to the new one, or back to the
        // offscreen buffer when there is none, never to a context that has gone.
        m_target = context.isNil() ? m_offscreenContext : context;
        targetChanged();
    }
    return previous;
}

int32_t qelWindowObject::useAlternateContext(int32_t flag)
{
    if (!flag) {
        if (qelContextDc(m_target) != qelContextDc(m_offscreenContext)) {
            m_target = m_offscreenContext;
            targetChanged();
        }
        return 1;
    }
    if (m_alternateContext.isNil())
        return 0;
    m_target = m_alternateContext;
    targetChanged();
    return 1;
}

namespace {

qelWindowBase* makeWindowObject()
{
    return new qelWindowObject;
}

} // namespace

void qelInstallWindowObjectMaker()
{
    qelSetWindowMaker(makeWindowObject);
}
