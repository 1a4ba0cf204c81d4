#include "framework/display/Fade.h"

#include "framework/display/PaletteObject.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/window/Messages.h"
#include "platform/window/Presentation.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>

using platform::gfx::Rect;

namespace {

// Frames of a fade are at least this far apart: the display shows no more.
constexpr uint32_t frameMs = 15;
// Over every other layer (movie pictures included): a palette fade changes every shown colour.
constexpr int fadeLayerRank = 1000;

// Blends the media area of what is shown with the fade colour.
class FadeLayer final : public platform::PresentationLayer {
public:
    bool active() const override { return m_active; }
    void compose(platform::gfx::Surface& shown, Rect& dirty) override
    {
        Rect area = m_area.intersected(shown.bounds());
        int w = m_weight;
        uint32_t cr = (m_pixel >> 16) & 0xFF, cg = (m_pixel >> 8) & 0xFF, cb = m_pixel & 0xFF;
        for (int y = area.top; y < area.bottom; ++y) {
            uint32_t* row = shown.row(y);
            for (int x = area.left; x < area.right; ++x) {
                uint32_t p = row[x];
                uint32_t r = (((p >> 16) & 0xFF) * uint32_t(128 - w) + cr * uint32_t(w)) >> 7;
                uint32_t g = (((p >> 8) & 0xFF) * uint32_t(128 - w) + cg * uint32_t(w)) >> 7;
                uint32_t b = ((p & 0xFF) * uint32_t(128 - w) + cb * uint32_t(w)) >> 7;
                row[x] = r << 16 | g << 8 | b;
            }
        }
        dirty = dirty.isEmpty() ? area
                                : Rect { std::min(dirty.left, area.left), std::min(dirty.top, area.top),
                                      std::max(dirty.right, area.right), std::max(dirty.bottom, area.bottom) };
    }

    void start(const Rect& area, int32_t color)
    {
        m_area = area;
        m_pixel = platform::gfx::toPixel(uint32_t(color));
        m_active = true;
        platform::addPresentationLayer(this, fadeLayerRank);
    }
    void setWeight(int weight) { m_weight = std::clamp(weight, 0, 128); }
    void stop()
    {
        m_active = false;
        platform::removePresentationLayer(this);
    }

private:
    Rect m_area;
    uint32_t m_pixel = 0;
    int m_weight = 0;
    bool m_active = false;
};

FadeLayer& fadeLayer()
{
    static FadeLayer* layer = new FadeLayer;
    return *layer;
}

platform::Window* openWindow()
{
    platform::WindowSystem* system = qelWindowSystem();
    return system && system->window().isOpen() ? &system->window() : nullptr;
}

Rect mediaArea(const qelWindowObject& port)
{
    return Rect::fromSize(port.mediaLeft, port.mediaTop, port.width, port.height);
}

bool emulated()
{
    return qelGetBoolSetting(qelStringValue("EmulatePaletteFades"), 1) != 0;
}

// A palette value that has lost its data cannot be faded (a nil palette is the system's).
bool checkPalette(const qelValue& palette)
{
    if (!palette.isNil() && !qelPaletteData(palette)) {
        qelError("Trying to use a deallocated palette!\n");
        return false;
    }
    return true;
}

// Runs the blend over `time` ms: the weight towards the colour goes from `from` to `to` (0 or
// 128) as k = elapsed x 128 / time. Each weight is shown as it is reached.
void runBlend(platform::Window* window, const Rect& area, int32_t color, int from, int to, int32_t time)
{
    bool blend = window && emulated();
    FadeLayer& layer = fadeLayer();
    if (blend) {
        layer.setWeight(from);
        layer.start(area, color);
    }
    uint32_t start = qelClockNow();
    int last = -1;
    while (true) {
        uint32_t now = qelClockNow();
        int64_t elapsed = std::min<int64_t>(int32_t(now - start) < 0 ? 0 : int32_t(now - start), time);
        int k = int(elapsed * 128 / time);
        if (blend && k != last) {
            layer.setWeight(from + (to - from) * k / 128);
            window->frontChanged(area);
            window->flush();
            last = k;
        }
        if (elapsed >= time || !window)
            break;
        uint32_t next = now + frameMs;
        uint32_t end = start + uint32_t(time);
        qelPaceUntil(platform::timeReached(next, end) ? end : next);
    }
    if (blend)
        layer.stop();
}

void fillFront(platform::Window* window, const Rect& area, int32_t color)
{
    if (!window)
        return;
    window->front().fill(area, platform::gfx::toPixel(uint32_t(color)));
    window->frontChanged(area);
}

} // namespace

void qelPaceUntil(uint32_t deadline)
{
    if (!qelWindowSystem())
        return;
    while (!platform::timeReached(qelClockNow(), deadline))
        qelWait(int32_t(deadline - qelClockNow()));
}

qelValue qelFadePalette(int32_t color)
{
    auto base = qelPaletteData(qelSystemPaletteValue());
    platform::gfx::Palette palette = base ? *base : platform::gfx::Palette {};
    for (int i = 10; i <= 245; ++i) {
        palette.entries[size_t(i)].red = platform::gfx::redOf(uint32_t(color));
        palette.entries[size_t(i)].green = platform::gfx::greenOf(uint32_t(color));
        palette.entries[size_t(i)].blue = platform::gfx::blueOf(uint32_t(color));
    }
    return qelMakePaletteValue(palette);
}

int32_t qelCanFadeDisplay()
{
    return qelIsPaletteDisplay() || emulated() ? 1 : 0;
}

void qelPortFadeOut(qelWindowObject& port, int32_t color, int32_t time)
{
    qelValue fade = qelFadePalette(color);
    if (!checkPalette(port.palette()))
        return;
    platform::Window* window = openWindow();
    Rect area = mediaArea(port);
    // A time of 0 or less would divide by zero: the screen takes the colour at once.
    if (time > 0)
        runBlend(window, area, color, 0, 128, time);
    port.setColor(color);
    if (platform::gfx::MemoryDc* offscreen = port.offscreenDc())
        offscreen->fillRect(offscreen->deviceBounds(), platform::gfx::Brush { uint32_t(color) });
    fillFront(window, area, color);
    if (window)
        window->flush();
    if (platform::gfx::MemoryDc* offscreen = port.offscreenDc())
        offscreen->selectPalette(qelPaletteData(fade));
    port.realizedPalette = fade;
}

void qelPortFadeIn(qelWindowObject& port, int32_t color, int32_t time)
{
    if (!checkPalette(port.palette()))
        return;
    platform::Window* window = openWindow();
    Rect area = mediaArea(port);
    port.setColor(color);
    port.realizedPalette = qelFadePalette(color);
    bool blend = window && time > 0 && emulated();
    if (blend) {
        // The picture goes to the screen under the layer at full colour: nothing shows early.
        fadeLayer().setWeight(128);
        fadeLayer().start(area, color);
    } else {
        fillFront(window, area, color);
        if (window)
            window->flush();
    }
    if (window && port.offscreenDc()) {
        platform::gfx::MemoryDc front(window->front());
        front.bitBlt(area.left, area.top, area.width(), area.height(), *port.offscreenDc(), 0, 0,
            platform::gfx::RasterOp::SrcCopy);
        if (!blend)
            window->frontChanged(area);
    }
    if (time > 0)
        runBlend(window, area, color, 128, 0, time);
    if (window) {
        window->frontChanged(area);
        window->flush();
    }
    port.realizedPalette = port.palette();
}
