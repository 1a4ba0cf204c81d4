#include "framework/display/Transition.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Fade.h"
#include "framework/display/Image.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/sys/Random.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

using platform::gfx::Rect;

namespace {

// Codes 2 and 3 play on this stage whatever the media size.
constexpr int32_t stageWidth = 640;
constexpr int32_t stageHeight = 480;

platform::Window* openWindow()
{
    platform::WindowSystem* system = qelWindowSystem();
    return system && system->window().isOpen() ? &system->window() : nullptr;
}

// Holds the window's pending repaint back while a transition draws, and gives it back after.
class HeldRepaint {
public:
    explicit HeldRepaint(platform::Window& window)
        : m_window(window)
        , m_pending(window.updateRect())
    {
        window.validate(nullptr);
    }
    ~HeldRepaint()
    {
        if (!m_pending.isEmpty())
            m_window.invalidate(&m_pending, false);
    }

private:
    platform::Window& m_window;
    Rect m_pending;
};

// Draws pieces from the source into the front buffer and waits for their times.
class Player {
public:
    Player(platform::Window& window, const qelTransitionSource& source, const Rect& clip, int32_t time)
        : m_window(window)
        , m_front(window.front())
        , m_source(source)
        , m_clip(clip.intersected(window.front().bounds()))
        , m_time(time < 0 ? 0 : time)
        , m_start(qelClockNow())
    {
        if (source.dc)
            m_sourceArea = source.dc->deviceBounds().translated(source.offsetX, source.offsetY);
    }

    void piece(int64_t x, int64_t y, int64_t w, int64_t h)
    {
        if (w <= 0 || h <= 0 || !m_source.dc)
            return;
        Rect r { platform::gfx::clampToInt(x), platform::gfx::clampToInt(y), platform::gfx::clampToInt(x + w),
            platform::gfx::clampToInt(y + h) };
        r = r.intersected(m_clip).intersected(m_sourceArea);
        if (r.isEmpty())
            return;
        m_front.bitBlt(r.left, r.top, r.width(), r.height(), *m_source.dc, r.left - m_source.offsetX,
            r.top - m_source.offsetY, platform::gfx::RasterOp::SrcCopy);
        m_window.frontChanged(r);
    }

    // Waits until start + time x numerator / denominator; what was drawn is shown first.
    void waitFor(int64_t numerator, int64_t denominator)
    {
        if (denominator <= 0)
            return;
        uint32_t target
            = m_start + uint32_t(int64_t(m_time) * std::clamp<int64_t>(numerator, 0, denominator) / denominator);
        if (platform::timeReached(qelClockNow(), target))
            return;
        m_window.flush();
        qelPaceUntil(target);
    }

    void finish(const Rect& whole)
    {
        piece(whole.left, whole.top, whole.width(), whole.height());
        m_window.flush();
    }

private:
    platform::Window& m_window;
    platform::gfx::MemoryDc m_front;
    qelTransitionSource m_source;
    Rect m_clip;
    Rect m_sourceArea;
    int32_t m_time;
    uint32_t m_start;
};

// Codes 2 and 3: the frame around the rectangle grown by d and e, strips of thickness s.
void frame(Player& p, const Rect& rect, int64_t v, int32_t s)
{
    int64_t x = rect.left, y = rect.top, w = rect.width(), h = rect.height();
    int64_t d = 320 - v;
    int64_t e = 240 - int64_t(double(v) / 320.0 * 240.0);
    p.piece(x - d - s, y - e - s, w + 2 * d + 2 * s, s);
    p.piece(x - d - s, y + h + e, w + 2 * d + 2 * s, s);
    p.piece(x - d - s, y - e - s, s, h + 2 * e + 2 * s);
    p.piece(x + w + d, y - e - s, s, h + 2 * e + 2 * s);
}

void frameTransition(Player& p, const Rect& rect, int32_t code, int32_t s, int32_t stageLeft)
{
    // The counter's lower bound, in stage coordinates.
    int64_t x = rect.left - stageLeft, w = rect.width();
    int64_t lower = x <= 320 ? 0 : 320 - x;
    if (stageWidth - (x + w) > 320 && stageWidth - (x + w) > x)
        lower = x + w - 320;
    int64_t range = 320 - lower;
    if (code == 2) {
        for (int64_t v = 320; v >= lower; v -= s) {
            frame(p, rect, v, s);
            p.waitFor(320 - v, range);
        }
    } else {
        for (int64_t v = lower / s * s; v <= 320; v += s) {
            frame(p, rect, v, s);
            p.waitFor(v - lower, range);
        }
    }
}

void zoom(qelWindowObject& port, platform::Window& window, int32_t n, int32_t time, int32_t x, int32_t y, int32_t width,
    int32_t height)
{
    int32_t mediaWidth = port.width, mediaHeight = port.height;
    // With no time to spend the zoom ends at once: the whole picture is shown below.
    if (n > 0 && time > 0 && port.offscreenDc()) {
        int32_t previousTimer = qelTimerId() ? qelTimerPeriod() : 0;
        qelStartTimer(time);
        qelTransitionSource source { port.offscreenDc(), port.mediaLeft, port.mediaTop };
        Player p(window, source, Rect::fromSize(port.mediaLeft, port.mediaTop, mediaWidth, mediaHeight), 0);
        double left = x, top = y, right = double(x) + width, bottom = double(y) + height;
        double dl = left / n, dt = top / n, dr = (mediaWidth - right) / n, db = (mediaHeight - bottom) / n;
        left -= dl;
        top -= dt;
        int64_t topBand = int64_t(dt + 1), bottomBand = int64_t(db + 1);
        int64_t leftBand = int64_t(dl + 1), rightBand = int64_t(dr + 1);
        auto at = [](double v, int32_t offset) { return int64_t(v) + offset; };
        for (int32_t i = 0; i < n; ++i) {
            qelEvent tick;
            qelGetEvent(tick, QEL_TICK_EVENT, -1);
            int32_t ox = port.mediaLeft, oy = port.mediaTop;
            p.piece(at(left, ox), at(top, oy), int64_t(right - left + 1), topBand);
            p.piece(at(left, ox), at(bottom, oy), int64_t(right - left + dr + 1), bottomBand);
            p.piece(at(left, ox), at(top, oy), leftBand, int64_t(bottom - top + 1));
            p.piece(at(right, ox), at(top, oy), rightBand, int64_t(bottom - top + 1));
            window.flush();
            left -= dl;
            right += dr;
            top -= dt;
            bottom += db;
        }
        qelStopTimer();
        // The application's periodic timer goes on as it was.
        if (previousTimer > 0)
            qelStartTimer(previousTimer);
    }
    qelRefreshWindowArea(0, 0, mediaWidth, mediaHeight);
    qelFlushEvents(QEL_TICK_EVENT);
}

bool disabled()
{
    return qelGetBoolSetting(qelStringValue("Disable Transitions"), 0) != 0;
}

} // namespace

void qelPlayTransition(platform::Window& window, const qelTransitionSource& source, int32_t code, const Rect& requested,
    int32_t step, int32_t time, const Rect& clip)
{
    // Only the part on the screen is played, so the piece count stays bounded by its pixels.
    Rect rect = requested.intersected(clip).intersected(window.front().bounds());
    if (code < 2 || code > 11 || rect.isEmpty())
        return;
    int32_t s = std::max(step, 1);
    HeldRepaint held(window);
    // The frames of codes 2 and 3 lie around the rectangle; every other piece is cut to it.
    Player p(window, source, code <= 3 ? clip : rect, time);
    int64_t x = rect.left, y = rect.top, w = rect.width(), h = rect.height();
    switch (code) {
    case 2:
    case 3:
        frameTransition(p, rect, code, s, clip.left);
        break;
    case 4:
        for (int64_t c = x; c < x + w; c += s) {
            p.piece(c, y, s, h);
            p.waitFor(c - x, w);
        }
        break;
    case 5:
        for (int64_t c = x + w - s; c > x - s; c -= s) {
            p.piece(c, y, s, h);
            p.waitFor(w - (c - x), w);
        }
        break;
    case 6:
        for (int64_t r = y; r < y + h; r += s) {
            p.piece(x, r, w, s);
            p.waitFor(r - y, h);
        }
        break;
    case 7: {
        // Blocks cover the rectangle; the last column and row are cut at its edges.
        int64_t columns = (w + s - 1) / s, rows = (h + s - 1) / s;
        int64_t n = columns * rows;
        std::vector<int64_t> order(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        for (int64_t i = 0; i < n; ++i)
            std::swap(order[size_t(i)], order[size_t(platform::randomNext() % n)]);
        for (int64_t i = 0; i < n; ++i) {
            int64_t k = order[size_t(i)];
            p.piece(x + k % columns * s, y + k / columns * s, s, s);
            p.waitFor(i, n);
        }
        break;
    }
    default:
        // 8 to 11: s passes of one-pixel rows or columns, every s-th one.
        for (int64_t pass = 0; pass < s; ++pass) {
            bool rows = code == 8 || code == 10;
            int64_t extent = rows ? h : w;
            for (int64_t r = pass; r < extent; r += s) {
                if (code == 8)
                    p.piece(x, y + r, w, 1);
                else if (code == 10)
                    p.piece(x, y + h - r - 1, w, 1);
                else if (code == 9)
                    p.piece(x + r, y, 1, h);
                else
                    p.piece(x + w - r - 1, y, 1, h);
            }
            p.waitFor(pass, s);
        }
        break;
    }
    p.finish(rect);
    if (code == 2 || code == 3)
        p.finish(Rect::fromSize(clip.left, clip.top, stageWidth, stageHeight));
}

void qelPortTransition(qelWindowObject& port, int32_t code, int32_t step, int32_t time, int32_t x, int32_t y,
    int32_t width, int32_t height)
{
    if (disabled())
        return;
    int32_t left = platform::gfx::clampToInt(int64_t(x) + port.originX);
    int32_t top = platform::gfx::clampToInt(int64_t(y) + port.originY);
    if (width < 0)
        width = port.width - left;
    if (height < 0)
        height = port.height - top;
    if (code == 13) {
        qelPortFadeOut(port, port.color, time);
        return;
    }
    if (code == 12) {
        qelPortFadeIn(port, port.color, time);
        return;
    }
    platform::Window* window = openWindow();
    if (!window)
        return;
    if (code == 1) {
        HeldRepaint held(*window);
        zoom(port, *window, step, time, left, top, width, height);
        return;
    }
    if (code < 2 || code > 11 || !port.offscreenDc())
        return;
    // The pieces come straight from the offscreen buffer, which maps 1:1 onto the media area.
    qelTransitionSource source { port.offscreenDc(), port.mediaLeft, port.mediaTop };
    Rect rect = Rect::fromSize(left + port.mediaLeft, top + port.mediaTop, width, height);
    Rect media = Rect::fromSize(port.mediaLeft, port.mediaTop, port.width, port.height);
    qelPlayTransition(*window, source, code, rect, step == 0 && code == 7 ? 16 : step, time, media);
}

void qelPortDibTransition(qelWindowObject& port, const qelValue& image, int32_t code, int32_t step, int32_t time,
    int32_t x, int32_t y, int32_t width, int32_t height)
{
    platform::Window* window = openWindow();
    qelImageObject* picture = qelImageOf(image);
    if (!window || !picture || code < 2 || code > 11 || width <= 0 || height <= 0
        || width > platform::gfx::Surface::maxSide || height > platform::gfx::Surface::maxSide)
        return;
    // The image is drawn once at the rectangle's size; the pieces come from it.
    platform::gfx::Surface pixels(width, height, 0);
    platform::gfx::MemoryDc dc(pixels);
    picture->renderIntoContext(dc, 0, 0, width, height, 0, 0, qelNil, platform::gfx::RasterOp::SrcCopy);
    Rect rect = Rect::fromSize(x + port.originX + port.mediaLeft, y + port.originY + port.mediaTop, width, height);
    qelTransitionSource source { &dc, rect.left, rect.top };
    Rect media = Rect::fromSize(port.mediaLeft, port.mediaTop, port.width, port.height);
    qelPlayTransition(*window, source, code, rect, step == 0 && code == 7 ? 16 : step, time, media);
}

void qelTransition(int32_t code, int32_t time, int32_t step, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (qelWindowObject* port = qelMainPort())
        qelPortTransition(*port, code, step, time, x, y, width, height);
}

int64_t qelDIBBits(const uint8_t* dib, size_t size)
{
    if (!dib || size < 4)
        return -1;
    uint32_t headerSize = uint32_t(dib[0]) | uint32_t(dib[1]) << 8 | uint32_t(dib[2]) << 16 | uint32_t(dib[3]) << 24;
    // The fields read below must be inside the header, and the header inside the buffer.
    if (headerSize < 12 || headerSize > size)
        return -1;
    bool core = headerSize == 12;
    uint32_t bits = core ? uint32_t(dib[10]) | uint32_t(dib[11]) << 8 : uint32_t(dib[14]) | uint32_t(dib[15]) << 8;
    if (!core && headerSize < 16)
        return -1;
    uint64_t colours = 0;
    if (bits != 24) {
        uint32_t used = 0;
        if (headerSize >= 36)
            used = uint32_t(dib[32]) | uint32_t(dib[33]) << 8 | uint32_t(dib[34]) << 16 | uint32_t(dib[35]) << 24;
        colours = used ? used : bits < 32 ? uint64_t(1) << bits : 0;
    }
    uint64_t offset = uint64_t(headerSize) + colours * (core ? 3 : 4);
    return offset <= size ? int64_t(offset) : -1;
}
