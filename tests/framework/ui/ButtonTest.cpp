// The image push button: its drawn states, the press it follows, the background it puts back
// under every image, the pictures added while the pointer rests on it, and its flash.

#include "PressProbe.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"
#include "framework/ui/Button.h"
#include "framework/ui/Perform.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t red = 0x0000FF;
constexpr uint32_t green = 0x00FF00;
constexpr uint32_t blue = 0xFF0000;

qelValue buttonData(const char* extra = "")
{
    return UiFixture::read((std::string("(table (\"Hot Spot\" (rect 10 10 40 40))") + extra + ")").c_str());
}

} // namespace

TEST(Button, DrawsItsUpDisabledAndHiddenStates)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue data = buttonData();
    qelPut(data, "UpImage", solidImage(40, 40, red));
    qelPut(data, "DisabledImage", solidImage(40, 40, blue));
    auto* button = new Button(data);
    qelValue keep = qelControlValue(button);
    button->draw();
    EXPECT_EQ(ui.pixel(30, 30), pixelOf(red));
    qelPut(keep, "Disabled", qelTrue);
    button->draw();
    EXPECT_EQ(ui.pixel(30, 30), pixelOf(blue));
    // Hidden without a new layout: the background saved at the first draw comes back.
    qelPut(keep, "Hidden", qelTrue);
    button->draw();
    EXPECT_EQ(ui.pixel(30, 30), patternPixel(30, 30));
    EXPECT_EQ(ui.pixel(49, 49), patternPixel(49, 49));

    // "Draw" while hidden lays out first: the button's last look becomes the background.
    qelPut(keep, "Hidden", qelFalse);
    qelPut(keep, "Disabled", qelFalse);
    button->draw();
    qelPut(keep, "Hidden", qelTrue);
    qelPerform(keep, "Draw", qelNil);
    EXPECT_EQ(ui.pixel(30, 30), pixelOf(red));
}

TEST(Button, APressCountsWhenThePointerWasLastInside)
{
    struct Case {
        const char* script;
        int handled;
        std::vector<uint32_t> seen; // at the start, after each change, at the end
    } cases[] = {
        { "down 20 20\nup 20 20\n", 1, { green, red } },
        { "down 20 20\nmove 200 200\nup 200 200\n", 0, { green, red, red } },
        { "down 20 20\nmove 200 200\nmove 25 25\nup 25 25\n", 1, { green, red, green, red } },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        qelValue data = buttonData("(\"Sound\" \"clique\")");
        qelPut(data, "UpImage", solidImage(40, 40, red));
        qelPut(data, "DownImage", solidImage(40, 40, green));
        auto* button = new Probing<Button>(data, ui, 30, 30);
        qelValue form;
        HandlingForm* handling = currentFormWith({ qelControlValue(button) }, form);
        ui.runScript();
        std::vector<uint32_t> want = pixelsOf(c.seen);
        EXPECT_EQ(handling->handled, c.handled) << c.script;
        // A drag that crosses nothing draws nothing: only crossings add probes.
        std::vector<uint32_t> crossings;
        for (size_t i = 0; i < button->seen.size(); ++i)
            if (i == 0 || i + 1 == button->seen.size() || button->seen[i] != button->seen[i - 1])
                crossings.push_back(button->seen[i]);
        EXPECT_EQ(crossings, want) << c.script;
    }
}

TEST(Button, WithoutAnUpImageItIsInvisibleUntilPressed)
{
    UiFixture ui("down 20 20\nup 20 20\n");
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    qelValue data = buttonData();
    qelPut(data, "DownImage", solidImage(40, 40, green));
    auto* button = new Probing<Button>(data, ui, 30, 30);
    qelValue form;
    currentFormWith({ qelControlValue(button) }, form);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    ui.runScript();
    EXPECT_EQ(button->seen.front(), pixelOf(green));
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}

TEST(Button, TheSavedBackgroundCoversEveryImageAndGoesBackAtTheRectanglesCorner)
{
    // The down image at (10, 10) and a smaller disabled image above and left of it: the saved
    // area spans both, so releasing leaves no column of the down image behind.
    {
        UiFixture ui("down 20 20\nup 20 20\n");
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        qelValue data = buttonData("(\"DownX\" 10) (\"DownY\" 10) (\"DisabledX\" 5) (\"DisabledY\" 5)");
        qelPut(data, "DownImage", solidImage(40, 40, green));
        qelPut(data, "DisabledImage", solidImage(20, 20, blue));
        qelValue form;
        currentFormWith({ qelControlValue(new Button(data)) }, form);
        ui.runScript();
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
    }
    // A down image inside "ImageRect": the background goes back at the rectangle's corner, so
    // nothing outside the rectangle changes and the up image is gone while pressed.
    {
        UiFixture ui("down 20 20\nup 20 20\n");
        paintPattern(ui);
        qelValue data = UiFixture::read(
            "(table (\"Hot Spot\" (rect 10 10 40 40)) (\"ImageRect\" (rect 10 10 40 40)) (\"DownX\" 20) (\"DownY\" 20))");
        qelPut(data, "UpImage", solidImage(40, 40, red));
        qelPut(data, "DownImage", solidImage(20, 20, green));
        class Pressed : public Button {
        public:
            Pressed(const qelValue& data, UiFixture& ui)
                : Button(data)
                , m_ui(ui)
            {
            }
            void trackStart() override
            {
                corner = m_ui.pixel(15, 15);
                inside = m_ui.pixel(25, 25);
                outside = m_ui.pixel(55, 55);
            }
            uint32_t corner = 0, inside = 0, outside = 0;

        private:
            UiFixture& m_ui;
        };
        auto* button = new Pressed(data, ui);
        qelValue form;
        currentFormWith({ qelControlValue(button) }, form);
        ui.runScript();
        EXPECT_EQ(button->corner, patternPixel(15, 15));
        EXPECT_EQ(button->inside, pixelOf(green));
        EXPECT_EQ(button->outside, patternPixel(55, 55));
        EXPECT_EQ(ui.pixel(15, 15), pixelOf(red));
    }
}

TEST(Button, ADownXWithoutDownYPressesAtTheTopOfTheWindow)
{
    UiFixture ui("down 20 20\nup 20 20\n");
    qelValue data = buttonData("(\"DownX\" 10)");
    qelPut(data, "UpImage", solidImage(40, 40, red));
    qelPut(data, "DownImage", solidImage(40, 40, green));
    auto* button = new Probing<Button>(data, ui, 30, 5);
    qelValue form;
    currentFormWith({ qelControlValue(button) }, form);
    ui.runScript();
    EXPECT_EQ(button->seen.front(), pixelOf(green));
}

TEST(Button, AddedImagesShowWhileThePointerRestsAndTheirScreensComeBack)
{
    UiFixture ui;
    paintPattern(ui);
    std::vector<uint32_t> before = screenCopy(ui);
    struct Case {
        const char* what;
        qelValue added;
        std::vector<std::pair<int, uint32_t>> shown; // x = y of a probe, its colour while shown
    } cases[] = {
        { "table",
            qelTable(4, 100, 75),
            { { 105, pixelOf(green) } } },
        { "list",
            qelListOf({ qelListOf({ solidImage(10, 10, green), 100, 100 }),
                qelListOf({ solidImage(10, 10, blue), 200, 200 }) }),
            { { 105, pixelOf(green) }, { 205, pixelOf(blue) } } },
        // The second element has no picture: the first stays shown until the pointer leaves,
        // and then its screen comes back too.
        { "list stopped by a missing picture",
            qelListOf({ qelListOf({ solidImage(10, 10, green), 100, 100 }), qelListOf({ qelNil, 200, 200 }) }),
            { { 105, pixelOf(green) }, { 205, patternPixel(205, 205) } } },
    };
    qelPut(cases[0].added, "Image", solidImage(10, 10, green));
    qelPut(cases[0].added, "Origin X", 100);
    qelPut(cases[0].added, "Origin Y", 100);
    for (const Case& c : cases) {
        qelValue data = buttonData();
        qelPut(data, "AddedImage", c.added);
        auto* button = new Button(data);
        qelValue keep = qelControlValue(button);
        button->draw();
        button->rolloverOn(20, 20, 0);
        for (auto [at, colour] : c.shown)
            EXPECT_EQ(ui.pixel(at, at), colour) << c.what << " at " << at;
        button->rolloverOff(20, 20, 0, qelNil);
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.what;
        // The data keeps its pictures: the saved screens went into a copy.
        EXPECT_EQ(qelTypeOf(c.added.type() == QEL_TABLE_TYPE ? qelGet(c.added, "Image") : qelGet(qelGet(c.added, 0), 0)),
            QEL_IMAGE_TYPE);
    }
}

TEST(Button, AFlashShowsTheDownImageForATenthOfASecond)
{
    UiFixture ui;
    paintPattern(ui);
    qelValue data = buttonData();
    qelPut(data, "UpImage", solidImage(40, 40, red));
    auto* button = new Button(data);
    qelValue keep = qelControlValue(button);
    button->draw();
    std::vector<uint32_t> before = screenCopy(ui);
    uint32_t start = ui.headless->now();
    // Without a down image a flash does nothing and takes no time.
    button->flash();
    EXPECT_EQ(ui.headless->now(), start);

    qelPut(keep, "DownImage", solidImage(40, 40, green));
    button->flash();
    EXPECT_GE(ui.headless->now() - start, 100u);
    EXPECT_EQ(firstDifference(screenCopy(ui), before), "");
}
