// The main window's picture and area services: a picture shown over the screen and the grabbed
// background that restores it exactly, grabs that follow the drawing origin, copies into an
// existing picture, and repaints of an area.

#include "WindowFixture.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "platform/text/TestFontProvider.h"

#include <gtest/gtest.h>

using platform::gfx::Rect;
using platform::gfx::Surface;

namespace {

constexpr int32_t red = 0x0000FF; // colour references are 0x00BBGGRR
constexpr uint32_t redPixel = 0xFF0000;
constexpr int32_t blue = 0xFF0000;
constexpr uint32_t bluePixel = 0x0000FF;

struct MainWindow {
    MainWindow()
    {
        qelInstallWindowObjectMaker();
        qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
        fixture = std::make_unique<WindowFixture>();
        port = dynamic_cast<qelWindowObject*>(fixture->window);
        qelSetMainPort(fixture->windowValue);
        fixture->system->window().validate(nullptr);
    }
    ~MainWindow()
    {
        qelSetMainPort(qelNil);
        fixture.reset();
        qelSetFontProvider(nullptr);
    }
    const Surface& pixels() const { return *port->offscreen(); }
    Rect invalidated() const { return fixture->system->window().updateRect(); }

    std::unique_ptr<WindowFixture> fixture;
    qelWindowObject* port = nullptr;
};

} // namespace

TEST(WindowServices, ShownPictureAreaGivesBackTheBackgroundThatRestoresItExactly)
{
    MainWindow w;
    qelRectangle(0, 0, 40, 40, red);
    qelRectangle(20, 20, 40, 40, blue);
    qelValue picture = qelGrabWindowImage(20, 20, 10, 10); // all blue
    ASSERT_EQ(qelWidth(picture), 10);

    qelValue saved = qelShowImageArea(picture, 5, 5, 10, 10);
    EXPECT_EQ(w.pixels().pixel(5, 5), bluePixel);
    EXPECT_EQ(w.pixels().pixel(14, 14), bluePixel);

    qelShowImageAt(saved, 5, 5, 0, 0, 0, 0); // 0 x 0: the picture's own size
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(w.pixels().pixel(x, y), redPixel) << x << "," << y;
}

TEST(WindowServices, GrabsFollowTheOriginAndCopiesRefreshAnExistingPicture)
{
    MainWindow w;
    qelRectangle(100, 100, 10, 10, red);
    qelSetOrigin(100, 100);
    qelValue grabbed = qelGrabWindowImage(0, 0, 10, 10);
    qelSetOrigin(0, 0);
    qelShowImageAt(grabbed, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(w.pixels().pixel(9, 9), redPixel);

    qelRectangle(100, 100, 10, 10, blue);
    qelCopyWindowArea(grabbed, 100, 100, 10, 10);
    qelShowImageAt(grabbed, 200, 200, 0, 0, 0, 0);
    EXPECT_EQ(w.pixels().pixel(205, 205), bluePixel);
}

TEST(WindowServices, RefreshInvalidatesOnlyANonEmptyArea)
{
    MainWindow w;
    qelSetAutoRefresh(0);
    qelRectangle(10, 10, 5, 5, red);
    qelRefreshWindowArea(0, 0, 0, 0);
    EXPECT_TRUE(w.invalidated().isEmpty());
    qelRefreshWindowArea(10, 10, 5, 5);
    // Painting already ran inside the call, so the area is no longer pending; the screen shows it.
    EXPECT_TRUE(w.invalidated().isEmpty());
    EXPECT_EQ(w.fixture->system->window().front().pixel(12, 12), redPixel);
}

TEST(WindowServices, ObjectAreasBlankAndGrabWhatTheWindowShows)
{
    MainWindow w;
    qelRectangle(0, 0, 30, 30, red);
    qelValue area = qelRectValue(2, 3, 8, 6);
    qelObjectRectIn(area, blue);
    EXPECT_EQ(w.pixels().pixel(2, 3), bluePixel);
    EXPECT_EQ(w.pixels().pixel(9, 8), bluePixel);
    EXPECT_EQ(w.pixels().pixel(10, 9), redPixel);
    qelValue again = qelGrabObjectImage(area);
    EXPECT_EQ(qelWidth(again), 8);
    EXPECT_EQ(qelHeight(again), 6);
}

TEST(WindowServices, MediaSizeComesFromItsSettingsKeptInsideTheWindowsBounds)
{
    RecordingEnvironment environment;
    environment.makeCurrent();
    EXPECT_EQ(qelMediaWidth(), 640);
    EXPECT_EQ(qelMediaHeight(), 480);
    const struct {
        int32_t setting;
        int32_t width;
    } cases[] = { { 800, 800 }, { 1, 1 }, { 0, 1 }, { -30, 1 }, { 8192, 8192 }, { 100000, 8192 } };
    for (const auto& c : cases) {
        environment.setSetting("MediaWidth", qelMakeInt(c.setting));
        EXPECT_EQ(qelMediaWidth(), c.width) << c.setting;
    }
}
