// The drawing port through the drawing interface, on a headless window: pixels in the offscreen
// buffer, refresh rectangles in the window's update region, attribute caching by counting the
// pens and brushes the port makes, text with the box-glyph test font.

#include "WindowFixture.h"

#include "framework/display/ContextImage.h"
#include "framework/display/ContextValue.h"
#include "framework/display/DibImage.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "framework/display/PaletteObject.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/Bmp.h"
#include "platform/text/TestFontProvider.h"

#include <gtest/gtest.h>

using platform::gfx::Rect;
using platform::gfx::Surface;

namespace {

constexpr int32_t red = 0x0000FF; // colour references are 0x00BBGGRR
constexpr uint32_t redPixel = 0xFF0000;
constexpr int32_t green = 0x00FF00;
constexpr uint32_t greenPixel = 0x00FF00;

// The box of pixels of one value in a surface; empty when there is none.
Rect boxOf(const Surface& s, uint32_t pixel)
{
    Rect box { INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN };
    bool any = false;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) == pixel) {
                any = true;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return any ? box : Rect {};
}

// The drawing port as the window maker, and the box-glyph font, before the window is made.
struct PortSetUp {
    PortSetUp()
    {
        qelInstallWindowObjectMaker();
        qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
    }
};

struct Port : PortSetUp {
    explicit Port(platform::gfx::Size screen = { 640, 480 }, bool maximize = false)
        : fixture(screen, maximize)
    {
        port = dynamic_cast<qelWindowObject*>(fixture.window);
        qelSetMainPort(fixture.windowValue);
        fixture.system->window().validate(nullptr);
    }
    ~Port()
    {
        qelSetMainPort(qelNil);
        qelSetFontProvider(nullptr);
    }
    const Surface& pixels() const { return *port->offscreen(); }
    Rect invalidated() const { return fixture.system->window().updateRect(); }
    void validate() { fixture.system->window().validate(nullptr); }

    WindowFixture fixture;
    qelWindowObject* port = nullptr;
};

// A bottom-up 24-bit DIB image of w x h whose pixel (x, y) from the top is pixel(x, y).
template<typename F> qelValue dibImage(int w, int h, F pixel)
{
    platform::gfx::Dib dib = platform::gfx::Dib::create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = pixel(x, y);
            uint8_t* row = dib.row(y);
            row[3 * x] = uint8_t(p);
            row[3 * x + 1] = uint8_t(p >> 8);
            row[3 * x + 2] = uint8_t(p >> 16);
        }
    std::vector<uint8_t> packed = platform::gfx::encodeBmp(dib, false);
    return qelImageObject::create(qelBufferFromMemory(packed.data(), int32_t(packed.size()), 1), qelStringValue("dib"));
}

} // namespace

TEST(Port, StartsBlackWithWhiteColourTransparentBackAndWholeClip)
{
    Port p;
    EXPECT_EQ(boxOf(p.pixels(), 0), (Rect { 0, 0, 640, 480 }));
    EXPECT_EQ(p.port->color, 0xFFFFFF);
    EXPECT_EQ(p.port->backColor, -1);
    EXPECT_EQ(p.port->autoRefresh, 1);
    EXPECT_EQ(p.port->clipField().width, 640);
    EXPECT_EQ(p.port->clipField().height, 480);
}

TEST(Port, RectangleWithOriginDrawsInsideAndRefreshesOnePixelWiderInTheMaximizedWindow)
{
    Port p({ 800, 600 }, true);
    ASSERT_EQ(p.port->mediaLeft, 80);
    ASSERT_EQ(p.port->mediaTop, 60);
    qelSetOrigin(100, 0);
    qelRectangle(5, 5, 10, 10, red);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 105, 5, 115, 15 }));
    EXPECT_EQ(p.invalidated(), (Rect { 185, 65, 196, 76 }));
    // The port's colour is what it was before the call.
    EXPECT_EQ(p.port->color, 0xFFFFFF);
}

TEST(Port, LinesLeaveOutTheirLastPointAndAnEmptyPolylineDrawsNothing)
{
    Port p;
    qelSetColor(red);
    qelDrawLine(10, 20, 15, 20);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 20, 15, 21 }));
    EXPECT_EQ(p.invalidated(), (Rect { 10, 20, 16, 21 }));

    p.validate();
    int32_t none[2] = { 1, 1 };
    qelDrawPolyline(0, none);
    EXPECT_TRUE(p.invalidated().isEmpty());
}

TEST(Port, ClipNarrowsDrawingAndResetClipRestoresTheWholeBuffer)
{
    Port p;
    qelSetOrigin(10, 10);
    qelClipRect(0, 0, 20, 20);
    EXPECT_EQ(p.port->clipField().left, 10);
    qelRectangle(-5, -5, 100, 100, red);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 10, 30, 30 }));
    qelResetClip();
    qelRectangle(40, 40, 5, 5, green);
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 50, 50, 55, 55 }));
    EXPECT_EQ(p.port->clipField().width, 640);
}

TEST(Port, TextTakesEachAlignmentInItsBox)
{
    // The test font's glyphs are boxes 5 pixels wide on a 6-pixel advance, 8 high.
    struct Case {
        int32_t alignment;
        int left;
    } cases[] = { { 0, 10 }, { 1, 34 }, { 2, 58 }, { 7, 10 } };
    for (const Case& c : cases) {
        Port p;
        qelSetColor(red);
        qelDrawTextInRect(qelStringValue("AB"), 10, 10, 60, 20, c.alignment, 0);
        EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { c.left, 10, c.left + 11, 18 })) << c.alignment;
        EXPECT_EQ(p.invalidated(), (Rect { 10, 10, 71, 31 }));
    }
}

TEST(Port, TextWithoutABoxRefreshesItsExtentOrIsDrawnAtThePoint)
{
    Port p;
    qelSetColor(red);
    qelDrawTextInRect(qelStringValue("ABC"), 7, 9, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 7, 9, 24, 17 }));
    // Three 6-pixel advances by a 10-pixel cell, plus the refresh margin.
    EXPECT_EQ(p.invalidated(), (Rect { 7, 9, 26, 20 }));

    p.validate();
    qelSetAutoRefresh(0);
    qelSetColor(green);
    qelDrawTextInRect(qelStringValue("A"), 100, 100, 0, 30, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 100, 100, 105, 108 }));
    EXPECT_TRUE(p.invalidated().isEmpty());
}

TEST(Port, BackColourMakesTextOpaqueAndMinusOneTransparent)
{
    Port p;
    qelSetColor(red);
    EXPECT_EQ(qelSetBackColor(green), -1);
    qelDrawTextInRect(qelStringValue("A"), 0, 0, 0, 0, 0, 0);
    // The cell (advance by height) is filled in the back colour around the glyph.
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 0, 0, 6, 10 }));
    EXPECT_EQ(qelSetBackColor(-1), green);
    qelDrawTextInRect(qelStringValue("A"), 20, 0, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 0, 0, 6, 10 }));
}

TEST(Port, CachingMakesPensAndBrushesOnlyWhenTheColourChanges)
{
    Port p;
    p.fixture.environment.setBoolSetting("DisableDrawingAttributeCaching", 0);
    p.port->makeOffscreenBuffer();
    ASSERT_EQ(p.port->cachingDisabled(), 0);
    EXPECT_EQ(qelSetColor(red), 0xFFFFFF);
    EXPECT_EQ(qelSetColor(red), red);
    int32_t pens = p.port->pensMade;
    int32_t brushes = p.port->brushesMade;
    p.port->rectangle(0, 0, 5, 5);
    p.port->rectangle(10, 0, 5, 5);
    EXPECT_EQ(p.port->pensMade - pens, 1);
    EXPECT_EQ(p.port->brushesMade - brushes, 1);
    qelSetLineWidth(3);
    p.port->rectangle(20, 0, 5, 5);
    EXPECT_EQ(p.port->pensMade - pens, 2);
    EXPECT_EQ(p.port->brushesMade - brushes, 1);
}

TEST(Port, DisabledCachingMakesAPenAndABrushForEveryRectangle)
{
    Port p;
    p.fixture.environment.setBoolSetting("DisableDrawingAttributeCaching", 1);
    p.port->makeOffscreenBuffer();
    ASSERT_EQ(p.port->cachingDisabled(), 1);
    qelSetColor(red);
    int32_t pens = p.port->pensMade;
    int32_t brushes = p.port->brushesMade;
    for (int i = 0; i < 3; ++i)
        p.port->rectangle(i * 10, 0, 5, 5);
    EXPECT_EQ(p.port->pensMade - pens, 3);
    EXPECT_EQ(p.port->brushesMade - brushes, 3);
}

TEST(Port, ImagesDrawAtTheOriginAndStretch)
{
    Port p;
    qelValue image = dibImage(2, 2, [](int x, int y) { return x == 0 && y == 0 ? redPixel : greenPixel; });
    ASSERT_FALSE(image.isNil());
    qelSetOrigin(3, 4);
    p.port->drawImage(image, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 13, 14, 14, 15 }));
    EXPECT_EQ(p.invalidated(), (Rect { 13, 14, 16, 17 }));
    p.port->stretchImage(image, 100, 100, 6, 4);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 13, 14, 106, 106 }));
    EXPECT_EQ(p.pixels().pixel(103, 104), redPixel);
    EXPECT_EQ(p.pixels().pixel(105, 105), redPixel);
    EXPECT_EQ(p.pixels().pixel(106, 105), greenPixel);
    EXPECT_EQ(p.pixels().pixel(103, 106), greenPixel);
}

TEST(Port, MaskedImagesShowWhereTheMaskIsBlack)
{
    Port p;
    auto backdrop = [&] { qelRectangle(0, 0, 40, 40, 0x123456); };
    qelValue image = dibImage(4, 4, [](int, int) { return redPixel; });
    // Left half black (image shows), right half white (destination stays).
    qelValue mask = dibImage(4, 4, [](int x, int) { return x < 2 ? 0u : 0xFFFFFFu; });
    qelValue white = dibImage(4, 4, [](int, int) { return 0xFFFFFFu; });
    qelValue black = dibImage(4, 4, [](int, int) { return 0u; });

    backdrop();
    EXPECT_TRUE(qelSetImageMask(image, mask).isNil());
    p.port->drawImage(image, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 10, 12, 14 }));
    EXPECT_EQ(p.pixels().pixel(13, 13), platform::gfx::toPixel(0x123456));

    backdrop();
    qelSetImageMask(image, white);
    p.port->drawImage(image, 10, 10, 0, 0, 0, 0);
    EXPECT_TRUE(boxOf(p.pixels(), redPixel).isEmpty());

    backdrop();
    qelSetImageMask(image, black);
    p.port->drawImage(image, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 10, 14, 14 }));

    // A stretched masked image stretches its mask with it.
    backdrop();
    qelSetImageMask(image, mask);
    p.port->stretchImage(image, 10, 10, 8, 8);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 10, 14, 18 }));
}

TEST(Port, AlternateContextTakesDrawingWhilePaintStillCopiesTheOffscreenBuffer)
{
    Port p;
    EXPECT_EQ(qelMainPort()->useAlternateContext(1), 0);
    EXPECT_EQ(p.port->target(), p.port->offscreenDc());

    Surface page(100, 100, 0);
    platform::gfx::MemoryDc pageDc(page);
    qelValue previous = p.port->setAlternateContext(qelContextValue(&pageDc));
    EXPECT_TRUE(previous.isNil());
    EXPECT_EQ(p.port->useAlternateContext(1), 1);
    qelRectangle(1, 1, 3, 3, red);
    EXPECT_EQ(boxOf(page, redPixel), (Rect { 1, 1, 4, 4 }));
    EXPECT_TRUE(boxOf(p.pixels(), redPixel).isEmpty());

    // A paint while printing shows the offscreen buffer, not the page.
    p.fixture.system->window().invalidate(nullptr, false);
    p.fixture.send(platform::WM_PAINT);
    EXPECT_TRUE(boxOf(p.fixture.system->window().front(), redPixel).isEmpty());

    // Dropping the alternate context while it is the target sends drawing back to the buffer.
    p.port->setAlternateContext(qelNil);
    EXPECT_EQ(p.port->target(), p.port->offscreenDc());
    EXPECT_EQ(p.port->useAlternateContext(0), 1);
}

TEST(Port, PaintCopiesInvalidatedAreasToTheMediaOffset)
{
    Port p({ 800, 600 }, true);
    qelRectangle(0, 0, 10, 10, red);
    p.fixture.send(platform::WM_PAINT);
    const Surface& front = p.fixture.system->window().front();
    EXPECT_EQ(boxOf(front, redPixel), (Rect { 80, 60, 90, 70 }));
}

TEST(Port, FontsAreSelectedByValueAndMeasured)
{
    Port p;
    qelValue font = qelFontValue(qelStringValue("Arial"), 12, 2);
    EXPECT_TRUE(qelSetFont(font).isNil());
    EXPECT_EQ(qelSetFont(qelStringValue("NoSuchFont")), font);
    EXPECT_TRUE(p.port->font.isNil());
    int32_t w = 0, h = 0;
    qelStringWidth(qelStringValue("abcd"), &w, &h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 10);
    w = 30;
    h = 0;
    qelDrawTextMeasure(qelStringValue("aaa bbb ccc"), qelNil, &w, &h);
    EXPECT_EQ(h, 30);
    int32_t ascent = 0, descent = 0;
    qelFontMetrics(font, &ascent, &descent, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(ascent, 8);
    EXPECT_EQ(descent, 2);
    EXPECT_TRUE(p.port->font.isNil());
}

TEST(Port, CaretFollowsFocusAndTheMediaOffset)
{
    Port p({ 800, 600 }, true);
    p.port->onFocusGained();
    qelShowCaret(5, 6, 2, 12);
    platform::Window& window = p.fixture.system->window();
    EXPECT_TRUE(window.caretVisible());
    EXPECT_EQ(window.caretRect(), (Rect { 85, 66, 87, 78 }));
    // The port keeps the caret as a rectangle in its own coordinates.
    EXPECT_EQ(p.port->caretRect(), (Rect { 5, 6, 7, 18 }));
    p.port->onFocusLost();
    EXPECT_FALSE(window.hasCaret());
    EXPECT_EQ(p.port->caretActive, 1);
    p.port->onFocusGained();
    EXPECT_TRUE(window.caretVisible());
    EXPECT_EQ(window.caretRect(), (Rect { 85, 66, 87, 78 }));
    qelHideCaret();
    EXPECT_FALSE(window.hasCaret());
    EXPECT_EQ(p.port->caretActive, 0);
}

TEST(Port, GrabbedImagesCopyTheBufferAndDrawBack)
{
    Port p;
    qelRectangle(10, 10, 4, 4, red);
    qelValue grabbed = p.port->grabImage(8, 8, 8, 8);
    EXPECT_EQ(qelImageOf(grabbed)->width(), 8);
    qelRectangle(0, 0, 40, 40, 0);
    p.port->drawImage(grabbed, 20, 20, 0, 0, 0, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 22, 22, 26, 26 }));
    qelValue blank = p.port->newContext(qelListOf({ qelMakeInt(5), qelMakeInt(3) }));
    EXPECT_EQ(qelImageOf(blank)->width(), 5);
    EXPECT_EQ(qelImageOf(blank)->height(), 3);
}

TEST(Port, TextMapPagesStopBelowTheClipAndPutTheColoursBack)
{
    Port p;
    qelValue fonts = qelListOf({ qelFontValue(qelStringValue("Arial"), 10, 0) });
    auto run = [](int32_t x, int32_t y, const char* text, std::initializer_list<qelValue> more) {
        qelValue r = qelListOf({ qelMakeInt(x), qelMakeInt(y), qelStringValue(text) });
        for (const qelValue& v : more)
            qelAddItem(r, v);
        return r;
    };
    qelValue runs = qelListOf({
        run(0, 0, "A", {}),
        run(0, 20, "B", { qelMakeInt(0), qelMakeInt(green) }),
        run(0, 40, "C", {}),
        run(0, 200, "D", {}),
    });
    qelValue pages = qelListOf({ qelListOf({ runs }) });
    qelValue map = qelMakers().textMapValue(50, 60, fonts, pages);
    qelSetColor(red);
    qelClipRect(0, 15, 100, 40);
    EXPECT_EQ(qelDrawTextMap(map, 10, 5, 0, 0), 1);
    // A above the clip is clipped away; B takes its own colour, which C (without one) keeps; D
    // below the clip is never reached.
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 10, 25, 15, 53 }));
    EXPECT_TRUE(boxOf(p.pixels(), redPixel).isEmpty());
    EXPECT_EQ(p.invalidated(), (Rect { 10, 5, 60, 65 }));
    EXPECT_EQ(p.port->color, red);
    qelResetClip();
    qelSetColor(0xFFFFFF);
    qelDrawTextInRect(qelStringValue("E"), 100, 100, 0, 0, 0, 0);
    EXPECT_EQ(p.pixels().pixel(100, 100), 0xFFFFFFu);
    // From a start index past the clip top the first visible run is that one.
    EXPECT_EQ(qelDrawTextMapEx(map, 10, 5, 0, 1, 2), 2);
}

TEST(Port, ShowingABackgroundTakesItsPaletteAndResetsTheOrigin)
{
    Port p;
    platform::gfx::Dib dib = platform::gfx::Dib::create(4, 4, 8, 236);
    dib.colors[0] = { 0, 0, 255, 0 };
    std::vector<uint8_t> packed = platform::gfx::encodeBmp(dib, false);
    qelValue image
        = qelImageObject::create(qelBufferFromMemory(packed.data(), int32_t(packed.size()), 1), qelStringValue("bmp"));
    qelSetOrigin(30, 30);
    p.port->selectPalette(image, 0, 0, 4, 4);
    EXPECT_EQ(p.port->originX, 0);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 0, 0, 4, 4 }));
    auto palette = qelPaletteData(qelMainWindowPalette());
    ASSERT_TRUE(palette);
    // Pure red is a system colour: its blue moves off it.
    EXPECT_EQ(palette->entries[10], (platform::gfx::PaletteEntry { 255, 0, 1, 0 }));
    EXPECT_TRUE(p.port->previousPalette().isNil());
    EXPECT_EQ(p.invalidated(), (Rect { 0, 0, 4, 4 }));
}

TEST(Port, FramedRegionsDrawTheirOutlineAndKeepTheColour)
{
    Port p;
    qelFrameRegion(qelRectValue(10, 10, 5, 4), red);
    EXPECT_EQ(boxOf(p.pixels(), redPixel), (Rect { 10, 10, 16, 15 }));
    EXPECT_EQ(p.pixels().pixel(12, 12), 0u);
    EXPECT_EQ(p.port->color, 0xFFFFFF);
    const int32_t triangle[] = { 50, 50, 60, 50, 55, 58 };
    qelFrameRegion(qelPolygonValue(triangle, 3), green);
    EXPECT_EQ(boxOf(p.pixels(), greenPixel), (Rect { 50, 50, 61, 59 }));
}
