// Transitions and fades on a small headless window whose back end keeps every presented frame
// with its virtual time: fade frames equal the blend formula pixel for pixel, fades end in the
// colour in both buffers, every bitmap code covers its whole rectangle, and the switches and
// edge rules hold.

#include "framework/display/Transition.h"
#include "framework/display/AppWindow.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Fade.h"
#include "framework/display/Font.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/sys/Random.h"
#include "platform/text/TestFontProvider.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <memory>
#include <variant>
#include <vector>

using platform::gfx::Rect;
using platform::gfx::Surface;

namespace {

constexpr int mediaWidth = 64;
constexpr int mediaHeight = 48;

struct Frame {
    uint32_t time;
    Surface shown;
};

class FrameBackend : public platform::HeadlessBackend {
public:
    using HeadlessBackend::HeadlessBackend;
    void present(const Surface& front, const Rect& dirty) override
    {
        HeadlessBackend::present(front, dirty);
        frames.push_back({ now(), shown() });
    }
    std::vector<Frame> frames;
};

class TestEnvironment : public qelEnvironmentBase { };

// A picture whose every pixel differs from its neighbours.
uint32_t patternPixel(int x, int y)
{
    return uint32_t((x * 37 + y * 11) & 0xFF) << 16 | uint32_t((x * 5 + y * 29) & 0xFF) << 8 | uint32_t((x * y) & 0xFF);
}

uint32_t blend(uint32_t p, uint32_t c, int w)
{
    auto channel = [&](int shift) {
        return ((((p >> shift) & 0xFF) * uint32_t(128 - w) + ((c >> shift) & 0xFF) * uint32_t(w)) >> 7) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

struct Screen {
    Screen()
    {
        qelInstallWindowObjectMaker();
        qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
        platform::HeadlessBackend::Options options;
        options.screen = { mediaWidth, mediaHeight };
        options.exitWhenStuck = false;
        options.quietLimitMs = 0x7FFFFFFF;
        auto b = std::make_unique<FrameBackend>(options);
        b->setScript(std::get<platform::Script>(platform::Script::parse("wait 86400000\n")));
        backend = b.get();
        system = std::make_unique<platform::WindowSystem>(std::move(b));
        qelSetWindowSystem(system.get());
        environment.makeCurrent();
        environment.setSetting("MediaWidth", mediaWidth);
        environment.setSetting("MediaHeight", mediaHeight);
        qelFreeEventQueue();
        qelClearScreenSizeCache();
        windowValue = qelCreateMainWindow();
        port = dynamic_cast<qelWindowObject*>(qelWindowOf(windowValue));
        qelSetMainPort(windowValue);
        system->window().validate(nullptr);
        // The first take makes the event pool.
        qelEvent first;
        qelGetEvent(first, QEL_ALL_EVENTS, 0);
    }
    ~Screen()
    {
        qelSetMainPort(qelNil);
        qelDestroyMainWindow(windowValue);
        windowValue = qelNil;
        qelFreeEventQueue();
        qelSetWindowSystem(nullptr);
        qelSetFontProvider(nullptr);
    }

    Surface& front() { return system->window().front(); }
    const Surface& offscreen() { return *port->offscreen(); }
    void fillOffscreen(uint32_t (*pixel)(int, int))
    {
        Surface& s = const_cast<Surface&>(offscreen());
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.setPixel(x, y, pixel(x, y));
    }
    void fillFront(uint32_t pixel)
    {
        front().fill(pixel);
        system->window().frontChanged(front().bounds());
        system->window().flush();
        backend->frames.clear();
    }

    FrameBackend* backend = nullptr;
    std::unique_ptr<platform::WindowSystem> system;
    TestEnvironment environment;
    qelValue windowValue;
    qelWindowObject* port = nullptr;
};

// Pixels of `s` inside `r` that differ from `expected(x, y)`.
template<typename F> int mismatches(const Surface& s, const Rect& r, F expected)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += s.pixel(x, y) != expected(x, y);
    return n;
}

} // namespace

TEST(Fade, FramesFollowTheBlendAndEndInTheColourInBothBuffers)
{
    Screen screen;
    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    Surface picture = screen.offscreen();
    const int32_t colour = 0x302010; // 0x00BBGGRR
    const uint32_t colourPixel = 0x102030;
    Rect all { 0, 0, mediaWidth, mediaHeight };

    // Fade in from the colour: weight k shows (c x (128 - k) + p x k) >> 7.
    qelSetColor(colour);
    uint32_t start = qelClockNow();
    qelTransition(12, 1000, 0, 0, 0, -1, -1);
    EXPECT_EQ(qelClockNow() - start, 1000u);
    std::vector<int> weights;
    for (const Frame& f : screen.backend->frames) {
        int k = int(int64_t(f.time - start) * 128 / 1000);
        weights.push_back(k);
        ASSERT_EQ(
            mismatches(f.shown, all, [&](int x, int y) { return blend(picture.pixel(x, y), colourPixel, 128 - k); }), 0)
            << "frame at " << (f.time - start) << " ms";
    }
    std::sort(weights.begin(), weights.end());
    weights.erase(std::unique(weights.begin(), weights.end()), weights.end());
    EXPECT_GE(std::count_if(weights.begin(), weights.end(), [](int k) { return k > 0 && k < 128; }), 3);
    EXPECT_EQ(screen.backend->shown(), picture);
    EXPECT_EQ(screen.front(), picture);

    // Fade out to the colour: weight k shows (p x (128 - k) + c x k) >> 7.
    screen.backend->frames.clear();
    start = qelClockNow();
    qelTransition(13, 600, 0, 0, 0, -1, -1);
    int checked = 0;
    for (const Frame& f : screen.backend->frames) {
        int k = int(int64_t(f.time - start) * 128 / 600);
        if (k > 0 && k < 128) {
            ASSERT_EQ(
                mismatches(f.shown, all, [&](int x, int y) { return blend(picture.pixel(x, y), colourPixel, k); }), 0);
            ++checked;
        }
    }
    EXPECT_GE(checked, 3);
    Surface coloured(mediaWidth, mediaHeight, colourPixel);
    EXPECT_EQ(screen.offscreen(), coloured);
    EXPECT_EQ(screen.front(), coloured);
    EXPECT_EQ(screen.backend->shown(), coloured);
    EXPECT_EQ(screen.port->color, colour);
}

TEST(Fade, NoTimeJumpsToTheEndAndDisabledTransitionsDoNothing)
{
    Screen screen;
    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    Surface picture = screen.offscreen();
    qelSetColor(1);
    uint32_t start = qelClockNow();
    qelTransition(12, 0, 0, 0, 0, -1, -1);
    qelTransition(12, -5, 0, 0, 0, -1, -1);
    EXPECT_EQ(screen.backend->shown(), picture);
    qelTransition(13, 0, 0, 0, 0, -1, -1);
    EXPECT_EQ(qelClockNow(), start) << "no waiting";
    EXPECT_EQ(screen.backend->shown(), Surface(mediaWidth, mediaHeight, 0x010000));

    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    screen.environment.setBoolSetting("Disable Transitions", 1);
    for (int code = 1; code <= 13; ++code)
        qelTransition(code, 300, 0, 0, 0, -1, -1);
    EXPECT_EQ(qelClockNow(), start);
    EXPECT_EQ(screen.front(), Surface(mediaWidth, mediaHeight, 0));
    EXPECT_EQ(screen.offscreen(), picture);
    EXPECT_TRUE(screen.backend->frames.empty());
}

TEST(Fade, WithoutEmulationKeepsTimingAndEndStates)
{
    Screen screen;
    screen.environment.setBoolSetting("EmulatePaletteFades", 0);
    EXPECT_EQ(qelCanFadeDisplay(), 0);
    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    Surface picture = screen.offscreen();
    qelSetColor(0x0000FF);
    uint32_t start = qelClockNow();
    qelTransition(12, 400, 0, 0, 0, -1, -1);
    EXPECT_EQ(qelClockNow() - start, 400u);
    for (const Frame& f : screen.backend->frames)
        EXPECT_TRUE(f.shown == picture || f.shown == Surface(mediaWidth, mediaHeight, 0xFF0000)) << "no blend";
    EXPECT_EQ(screen.backend->shown(), picture);
}

TEST(Transition, EveryBitmapCodeCoversItsWholeRectangle)
{
    Screen screen;
    // Sides that are not multiples of the steps, to catch uncovered remnants.
    const Rect rect = Rect::fromSize(5, 3, 37, 29);
    for (int code = 2; code <= 11; ++code) {
        for (int step : { 0, 4, 7 }) {
            SCOPED_TRACE(::testing::Message() << "code " << code << " step " << step);
            screen.fillOffscreen(patternPixel);
            screen.fillFront(0);
            uint32_t start = qelClockNow();
            qelTransition(code, 200, step, rect.left, rect.top, rect.width(), rect.height());
            EXPECT_LE(qelClockNow() - start, 210u) << "paced by the time, not more";
            EXPECT_EQ(mismatches(screen.front(), rect, patternPixel), 0);
            EXPECT_EQ(screen.backend->shown(), screen.front());
            if (code >= 4) {
                // Nothing outside the rectangle.
                EXPECT_EQ(mismatches(screen.front(), { 0, 0, mediaWidth, rect.top }, [](int, int) { return 0u; }), 0);
                EXPECT_EQ(
                    mismatches(screen.front(), { rect.right, 0, mediaWidth, mediaHeight }, [](int, int) { return 0u; }),
                    0);
            }
        }
    }
}

TEST(Transition, PiecesComeInOrderAndBlocksFollowTheSeed)
{
    Screen screen;
    // Code 8 with step 4 over 40 rows: after the first two passes rows 0, 1, 4, 5... are new.
    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    qelTransition(8, 400, 4, 0, 0, mediaWidth, 40);
    ASSERT_FALSE(screen.backend->frames.empty());
    const Surface& first = screen.backend->frames.front().shown;
    for (int y = 0; y < 40; ++y) {
        bool drawn = y % 4 <= 1;
        EXPECT_EQ(first.pixel(3, y), drawn ? patternPixel(3, y) : 0u) << "row " << y;
    }

    // A negative width reaches the media's right edge.
    screen.fillFront(0);
    qelTransition(4, 100, 0, 10, 0, -1, mediaHeight);
    EXPECT_EQ(mismatches(screen.front(), { 10, 0, mediaWidth, mediaHeight }, patternPixel), 0);
    EXPECT_EQ(mismatches(screen.front(), { 0, 0, 10, mediaHeight }, [](int, int) { return 0u; }), 0);

    // Code 7 with step 0 draws 16 x 16 blocks in an order the generator's seed fixes.
    auto firstBlocks = [&] {
        screen.fillFront(0);
        platform::randomSeed(42);
        qelTransition(7, 1200, 0, 0, 0, mediaWidth, mediaHeight);
        return screen.backend->frames.front().shown;
    };
    Surface once = firstBlocks();
    EXPECT_EQ(firstBlocks(), once);
    for (int by = 0; by < mediaHeight; by += 16)
        for (int bx = 0; bx < mediaWidth; bx += 16) {
            bool drawn = once.pixel(bx, by) == patternPixel(bx, by);
            EXPECT_EQ(once.pixel(bx + 15, by + 15) == patternPixel(bx + 15, by + 15), drawn) << "whole blocks";
        }
}

TEST(Transition, ZoomGrowsToTheMediaAreaOnTicksAndKeepsTheFrameworkTimer)
{
    Screen screen;
    screen.fillOffscreen(patternPixel);
    screen.fillFront(0);
    qelStartTimer(250);
    uint32_t start = qelClockNow();
    qelTransition(1, 20, 5, 20, 16, 10, 8);
    EXPECT_GE(qelClockNow() - start, 100u) << "five ticks of 20 ms";
    EXPECT_EQ(mismatches(screen.front(), { 0, 0, mediaWidth, mediaHeight }, patternPixel), 0);
    EXPECT_EQ(qelTimerId(), 1);
    EXPECT_EQ(qelTimerPeriod(), 250);
    qelEvent tick;
    qelPeekEvent(tick, QEL_TICK_EVENT, 0);
    EXPECT_EQ(tick.type, 0) << "queued ticks are removed";
    qelStopTimer();
}

TEST(Transition, ZoomWithNoTimeEndsAtOnceShowingTheWholePicture)
{
    for (int32_t time : { 0, -20 }) {
        Screen screen;
        screen.fillOffscreen(patternPixel);
        screen.fillFront(0);
        qelStartTimer(250);
        uint32_t start = qelClockNow();
        qelTransition(1, time, 5, 20, 16, 10, 8);
        EXPECT_LT(qelClockNow() - start, 20u) << time;
        EXPECT_EQ(mismatches(screen.front(), { 0, 0, mediaWidth, mediaHeight }, patternPixel), 0) << time;
        EXPECT_EQ(qelTimerPeriod(), 250) << time;
        qelStopTimer();
    }
}

TEST(Transition, DibBitsOffsets)
{
    auto header = [](uint32_t size, uint16_t bits, uint32_t used, size_t total) {
        std::vector<uint8_t> b(total, 0);
        for (int i = 0; i < 4; ++i)
            b[size_t(i)] = uint8_t(size >> (8 * i));
        if (size == 12) {
            b[10] = uint8_t(bits);
        } else {
            b[14] = uint8_t(bits);
            for (int i = 0; i < 4 && size >= 36; ++i)
                b[size_t(32 + i)] = uint8_t(used >> (8 * i));
        }
        return b;
    };
    struct Case {
        std::vector<uint8_t> dib;
        int64_t offset;
    } cases[] = {
        { header(12, 8, 0, 2000), 12 + 256 * 3 },
        { header(40, 8, 0, 2000), 40 + 256 * 4 },
        { header(40, 4, 3, 2000), 40 + 3 * 4 },
        { header(40, 24, 7, 2000), 40 },
        { header(40, 8, 0, 500), -1 },
        { header(300, 8, 0, 100), -1 },
        { header(40, 8, 0x40000000, 2000), -1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(qelDIBBits(c.dib.data(), c.dib.size()), c.offset);
}
