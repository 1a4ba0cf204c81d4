// The photo view: the photo and its frame drawn and erased with the screen put back, the verbs,
// and the caption panel's size and place (laid out by a stand-in for the caption's text view
// that needs a given number of lines), which closes on a press or after seven seconds.

#include "ScreenProbe.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"
#include "framework/ui/Factories.h"
#include "framework/ui/MediaControlObject.h"
#include "framework/ui/Perform.h"
#include "framework/ui/PhotoView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t green = 0x00FF00;

// Lays out a caption of "Lines" lines, which fits a text rectangle of (Lines + 1) line heights
// less the panel's 12-pixel margin; records the rectangles it is given.
class CaptionStandIn : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    qelValue perform(const qelValue& action, const qelValue& data) override
    {
        if (action == "TotalPages") {
            qelValue spot = getProperty("Hot Spot");
            rects.push_back({ qelLeft(spot), qelTop(spot), qelWidth(spot), qelHeight(spot) });
            int32_t needed = (getInt("Lines", 1) + 1) * lineHeight - 12;
            int32_t h = std::max(qelHeight(spot), 1);
            return qelMakeInt((needed + h - 1) / h);
        }
        if (action == "Draw") {
            ++draws;
            enabledWhenDrawn = isEnabled() != 0;
        }
        return qelNil;
    }
    struct Rect {
        int32_t x, y, w, h;
        bool operator==(const Rect&) const = default;
    };
    std::vector<Rect> rects;
    int32_t lineHeight = 1;
    int draws = 0;
    bool enabledWhenDrawn = false;
};

struct Photo {
    Photo(UiFixture& ui, int32_t left, int32_t lines, const char* caption = "Ipê amarelo")
    {
        paintPattern(ui);
        qelMeasureString(caption, qelNil, &textWidth, &lineHeight);
        // The caption's view starts disabled, so that the form does not draw it by itself.
        view = new CaptionStandIn(UiFixture::read("(table (\"Disabled\" true))"));
        view->lineHeight = lineHeight;
        view->setInt("Lines", lines);
        viewValue = qelControlValue(view);
        std::string data = "(table (\"Class\" \"PhotoView\") (\"Hot Spot\" (rect " + std::to_string(left)
            + " 90 120 90)) (\"X\" " + std::to_string(left) + ") (\"Y\" 90))";
        control = qelMakeControl(UiFixture::read(data.c_str()));
        photo = dynamic_cast<PhotoView*>(qelControlOf(control));
        // As the form does when it builds its controls.
        photo->initialize();
        qelPut(control, "Caption", caption);
        qelPut(control, "CaptionView", viewValue);
        qelPerform(control, "SetPhoto", solidImage(120, 90, green));
        photo->draw();
    }

    CaptionStandIn* view = nullptr;
    qelValue viewValue;
    qelValue control;
    PhotoView* photo = nullptr;
    int32_t textWidth = 0;
    int32_t lineHeight = 0;
};

} // namespace

TEST(PhotoView, DrawnOverTheSavedScreenAndErasedBackToIt)
{
    UiFixture ui;
    Photo p(ui, 100, 1);
    ASSERT_NE(p.photo, nullptr);
    EXPECT_EQ(ui.pixel(150, 120), green);
    // "SetPhoto" with nil changes nothing.
    qelPerform(p.control, "SetPhoto", qelNil);
    EXPECT_EQ(p.photo->photoReady, 1);
    qelPut(p.control, "Disabled", qelTrue);
    p.photo->draw();
    EXPECT_EQ(ui.pixel(150, 120), patternPixel(150, 120));
    EXPECT_EQ(p.photo->photoReady, 0);
}

TEST(PhotoView, TheCaptionPanelFitsItsTextAndStaysInsideTheMediaArea)
{
    struct Case {
        int32_t left;
        int32_t lines;
        bool fitsFirst; // two line heights, as wide as the text
        int32_t panelWidth; // when it does not fit at once
    } cases[] = {
        { 100, 1, true, 0 },
        // Three lines: the panel keeps its width of 200 and grows to four line heights.
        { 100, 3, false, 200 },
        // Near the right edge the panel narrows to end 10 pixels inside the media area.
        { 500, 3, false, 640 - 10 - (500 + 120 - 40) },
    };
    for (const Case& c : cases) {
        UiFixture ui("wait 100\ndown 5 5\nup 5 5\n");
        Photo p(ui, c.left, c.lines);
        std::vector<uint32_t> before = screenCopy(ui);
        EXPECT_EQ(p.photo->track(c.left + 10, 100, 0, 1), 0) << c.left << " " << c.lines;
        int32_t x = c.left + 120 - 40, y = 90 + 90 - 30;
        const auto& last = p.view->rects.back();
        if (c.fitsFirst) {
            EXPECT_EQ(last, (CaptionStandIn::Rect { x + 8, y + 6, p.textWidth + 2, 2 * p.lineHeight - 12 }));
        } else {
            int32_t height = (c.lines + 1) * p.lineHeight;
            EXPECT_EQ(last, (CaptionStandIn::Rect { x + 8, y + 6, c.panelWidth - 14, height - 12 })) << c.left;
        }
        EXPECT_EQ(p.view->draws, 1);
        EXPECT_TRUE(p.view->enabledWhenDrawn);
        // The press closed the panel, put the screen back and disabled the caption's view again,
        // so the form's next redraw leaves it off the photo.
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.left << " " << c.lines;
        EXPECT_EQ(p.view->isEnabled(), 0) << c.left << " " << c.lines;
    }
}

TEST(PhotoView, ACaptionThatNeverFitsStopsGrowingAtTheMediaAreasHeight)
{
    UiFixture ui("wait 100\ndown 5 5\nup 5 5\n");
    Photo p(ui, 100, 100000);
    EXPECT_EQ(p.photo->track(110, 100, 0, 1), 0);
    EXPECT_LE(p.view->rects.back().h, 480);
}

TEST(PhotoView, AFrameShowsOnlyWithItsMask)
{
    constexpr uint32_t red = 0xFF0000;
    for (bool masked : { false, true }) {
        UiFixture ui;
        paintPattern(ui);
        qelValue control
            = qelMakeControl(UiFixture::read("(table (\"Class\" \"PhotoView\") (\"Hot Spot\" (rect 90 80 "
                                             "140 110)) (\"X\" 100) (\"Y\" 90) (\"FrameX\" 90) (\"FrameY\" 80))"));
        auto* photo = dynamic_cast<PhotoView*>(qelControlOf(control));
        ASSERT_NE(photo, nullptr);
        // A red frame ten pixels wider than the photo on each side; a black mask shows all of it.
        qelPut(control, "Frame", solidImage(140, 110, pixelOf(red)));
        if (masked)
            qelPut(control, "FrameMask", solidImage(140, 110, 0));
        photo->initialize();
        qelPerform(control, "SetPhoto", solidImage(120, 90, green));
        photo->draw();
        EXPECT_EQ(ui.pixel(92, 82), masked ? red : patternPixel(92, 82)) << masked;
        EXPECT_EQ(ui.pixel(150, 120), green) << masked;
    }
}
