// The text view over a headless window with the box-glyph test font (characters 6 pixels wide,
// lines 12 pixels apart): loading, the verbs, hit-testing, scroll arithmetic, keys, the scroll
// part under the mouse, and what each mode draws.

#include "../ui/UiFixture.h"
#include "RichTextSupport.h"

#include "framework/display/ContextImage.h"
#include "framework/display/Geometry.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Environment.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/ListScrolling.h"
#include "platform/gfx/Dc.h"
#include "tests/support/Golden.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// Twenty numbered lines, each its own paragraph.
std::string lines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "linha " + std::to_string(i) + "\\par ";
    return text;
}

struct View {
    qelValue value;
    TextView* view = nullptr;
    qelValue perform(const char* verb, const qelValue& data = qelNil)
    {
        return view->perform(qelValue(verb), data);
    }
    int32_t getInt(const char* verb) { return qelIntValue(perform(verb)); }
    // Verbs without data, separated by blanks.
    void performAll(const std::string& verbs)
    {
        for (size_t at = 0; at < verbs.size();) {
            size_t end = verbs.find(' ', at);
            if (end == std::string::npos)
                end = verbs.size();
            perform(verbs.substr(at, end - at).c_str());
            at = end + 1;
        }
    }
};

// A view made from its properties in text notation, with the text put in as it is.
View makeView(const char* properties, const std::string& text)
{
    // Drawing reads the text map's fields through the maker hooks.
    qelInstallTextMapMaker();
    qelValue data = UiFixture::read(properties);
    if (!text.empty())
        qelPut(data, qelValue("Text"), qelStringValueN(text.data(), int32_t(text.size())));
    View v;
    v.view = new TextView(data);
    v.value = qelControlValue(v.view);
    v.view->initialize();
    return v;
}

// A scrolling view 60 pixels high (five lines) with a 16-pixel scroll part drawn as grey boxes.
const char* scrollingView = R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 216 60))
    ("Scroll" (table ("ScrollRegion" (rect 220 20 16 60)) ("DefaultDraw" true)
                     ("ButtonHeight" 12) ("ThumbHeight" 8)))))";
const char* pagedView = R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 200 60))))";

qelValue solidPicture(int32_t w, int32_t h, platform::gfx::ColorRef colour)
{
    qelValue image = qelMakeContext(qelListOf({ w, h }));
    platform::gfx::Brush brush;
    brush.color = colour;
    auto* context = dynamic_cast<qelContextImageObject*>(image.object());
    context->dc()->fillRect(platform::gfx::Rect::fromSize(0, 0, w, h), brush);
    return image;
}

struct TextViewTest : ::testing::Test {
    TextViewTest() { richtext_test::useTestFont(); }
    UiFixture ui;
};

std::filesystem::path golden(const char* name)
{
    // From the test data folder, which is absolute whatever path the compiler was given.
    return std::filesystem::path(QEL_TEST_DATA) / ".." / "framework" / "richtext" / "golden" / name;
}

} // namespace

TEST_F(TextViewTest, LoadingAndTheVerbTable)
{
    View v = makeView(pagedView, "um\\page dois {\\uldb liga}!\\{jump:Segunda\\}\\page tr\\'eas");
    EXPECT_EQ(v.getInt("TotalPages"), 3);
    EXPECT_EQ(v.getInt("CurrentPage"), 1);
    // The string is wrapped in a group that starts with a paragraph.
    EXPECT_TRUE(v.perform("hotspotList").isNil() || qelCount(v.perform("hotspotList")) == 0);

    struct Step {
        const char* verb;
        int32_t page;
    } flips[] = { { "PrevPage", 1 }, { "NextPage", 2 }, { "NextPage", 3 }, { "NextPage", 3 }, { "PrevPage", 2 } };
    for (const Step& s : flips) {
        v.perform(s.verb);
        EXPECT_EQ(v.getInt("CurrentPage"), s.page) << s.verb;
    }
    // Page 2 has the link's hot area.
    EXPECT_EQ(qelCount(v.perform("hotspotList")), 1);

    // Nil and "" keep the text; a text that resolves to nothing leaves no text.
    v.perform("SetText", qelNil);
    v.perform("SetText", qelValue(""));
    EXPECT_EQ(v.getInt("TotalPages"), 3);
    v.perform("SetText", qelValue(42));
    EXPECT_EQ(v.getInt("TotalPages"), 0);
    EXPECT_EQ(v.getInt("CurrentPage"), 1);
    EXPECT_TRUE(v.perform("hotspotList").isNil());

    // A ready text map is kept as it is.
    qelValue map = qelTextMapValue(10, 10, qelMakeList(4, 100, 0), qelListOf({ qelListOf({ qelMakeList(4, 100, 0) }) }));
    v.perform("SetText", map);
    EXPECT_EQ(v.getInt("TotalPages"), 1);
    EXPECT_TRUE(v.view->preparedMap);

    // Markers in a paged view: unknown ones answer -1; no line arithmetic without lines.
    v.perform("SetText", qelValue("a {\\uldb marker}!\\{jump:Aqui\\} b"));
    EXPECT_EQ(v.getInt("GotoMarker"), -1);
    EXPECT_EQ(qelIntValue(v.perform("GotoMarker", qelValue("Aqui"))), qelIntValue(qelGet(v.view->markers, qelValue("Aqui"))));
    EXPECT_EQ(v.getInt("GetValue"), 0);
    v.perform("SetTextRun", qelValue(3));
    v.perform("LineDown");
    EXPECT_EQ(v.getInt("GetValue"), 0);

    // "StrippedRTF" parses the text as it stands; an image list must be a table.
    v.perform("SetImageList", qelValue("x"));
    EXPECT_TRUE(v.view->imageList.isNil());
    v.perform("SetImageList", qelTable(4, 100, 75));
    EXPECT_FALSE(v.view->imageList.isNil());
    EXPECT_TRUE(v.perform("NoSuchVerb").isNil());
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(TextViewTest, ScrollArithmetic)
{
    struct Case {
        int lineCount;
        const char* script; // verbs separated by blanks
        int32_t max;
        int32_t value;
    } cases[] = {
        // Five lines fit; the wrapping group's leading paragraph is a line of its own.
        { 4, "", 0, 0 },
        { 4, "End LineDown PageDown", 0, 0 },
        { 20, "", 16, 0 },
        { 20, "LineUp PageUp", 16, 0 },
        { 20, "LineDown LineDown", 16, 2 },
        { 20, "PageDown", 16, 5 },
        { 20, "PageDown PageDown PageDown PageDown", 16, 16 },
        { 20, "End", 16, 16 },
        { 20, "End LineDown PageDown", 16, 16 },
        { 20, "End PageUp LineUp", 16, 10 },
        { 20, "End Home", 16, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lineCount) + " lines: " + c.script);
        View v = makeView(scrollingView, lines(c.lineCount));
        EXPECT_EQ(v.view->scrollMax, c.max);
        EXPECT_EQ(v.view->pageInc, 5);
        v.performAll(c.script);
        EXPECT_EQ(v.getInt("GetValue"), c.value);
        EXPECT_EQ(v.view->scrollOffset, -12 * c.value);
    }

    View v = makeView(scrollingView, lines(20));
    struct SetCase {
        int32_t set;
        int32_t got;
    } sets[] = { { 99, 16 }, { -3, 0 }, { 7, 7 } };
    for (const SetCase& s : sets) {
        v.perform("SetValue", qelValue(s.set));
        EXPECT_EQ(v.getInt("GetValue"), s.got) << s.set;
    }
    // Page flips are refused while the text is longer than the view.
    v.perform("NextPage");
    EXPECT_EQ(v.getInt("CurrentPage"), 1);
    // Marker jumps put the marked line at the top.
    View m = makeView(scrollingView, lines(10) + "{\\uldb marker}!\\{jump:Fim\\}fim\\par " + lines(10));
    int32_t run = qelIntValue(m.perform("GotoMarker", qelValue("Fim")));
    ASSERT_GT(run, 0);
    int32_t runY = qelIntValue(qelGet(qelGet(qelTextMapPageRuns(m.view->text, 0), run), 1));
    EXPECT_EQ(m.getInt("GetValue"), (runY - 21) / 12);
    EXPECT_GE(m.getInt("GetValue"), 10);
}

TEST_F(TextViewTest, ScrollTableVariants)
{
    // "SometimesShowScroll": the full width while the text fits, 16 pixels less once it overflows.
    const char* sometimes = R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 216 60))
        ("Scroll" (table ("ScrollRegion" (rect 220 20 16 60)) ("SometimesShowScroll" true)))))";
    View fits = makeView(sometimes, lines(3));
    EXPECT_EQ(qelTextMapOf(fits.view->text)->width, 216);
    EXPECT_EQ(fits.view->scrollMax, 0);
    View overflows = makeView(sometimes, lines(20));
    EXPECT_EQ(qelTextMapOf(overflows.view->text)->width, 200);
    EXPECT_EQ(overflows.view->scrollMax, 16);

    // A lower bound: Home shows it, End the last line.
    const char* bounded = R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 216 60))
        ("Scroll" (table ("ScrollRegion" (rect 220 20 16 60)) ("Min" 2) ("Value" 7)))))";
    View b = makeView(bounded, lines(20));
    EXPECT_EQ(b.getInt("GetValue"), 2);
    b.performAll("End");
    EXPECT_EQ(b.getInt("GetValue"), 16);
    b.performAll("Home");
    EXPECT_EQ(b.getInt("GetValue"), 2);

    // Without a region or a width the scroll part is a 16-pixel strip right of the text.
    View bare = makeView(R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 216 60)) ("Scroll" (table))))",
        lines(20));
    EXPECT_EQ(richtext_test::describe(bare.view->textRegion), "(rect 20 20 200 60)");
    EXPECT_EQ(richtext_test::describe(bare.view->scrollRegion), "(rect 236 20 16 60)");
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(TextViewTest, KeysScrollAndNeverNotifyTheForm)
{
    View v = makeView(scrollingView, lines(20));
    struct KeyCase {
        int32_t code;
        int32_t value;
    } keys[] = { { QEL_KEY_DOWN, 1 }, { QEL_KEY_PAGE_DOWN, 6 }, { QEL_KEY_UP, 5 }, { QEL_KEY_END, 16 },
        { QEL_KEY_PAGE_UP, 11 }, { QEL_KEY_HOME, 0 }, { 'A', 0 } };
    for (const KeyCase& k : keys) {
        EXPECT_EQ(v.view->key(k.code, 0), 0);
        EXPECT_EQ(v.getInt("GetValue"), k.value) << k.code;
    }
}

TEST_F(TextViewTest, HitTesting)
{
    // "ver" is a link on the first text line, a picture follows it, then plain text.
    View v = makeView(pagedView, "{\\uldb ver}!\\{jump:Segunda\\} {bmc azul.bmp\\} texto");
    qelValue images = qelTable(4, 100, 75);
    qelPut(images, qelValue("azul.bmp"), solidPicture(20, 10, 0xFF0000));
    v.perform("SetImageList", images);
    v.perform("SetText", qelValue("{\\uldb ver}!\\{jump:Segunda\\} {bmc azul.bmp\\} texto"));
    qelValue link = qelGet(qelGet(v.perform("hotspotList"), 0), 0);
    qelValue picture = qelGet(qelGet(v.view->bitmaps, 0), 0);
    ASSERT_EQ(link.type(), QEL_REGION_TYPE);
    ASSERT_EQ(picture.type(), QEL_REGION_TYPE);

    struct Case {
        const char* what;
        int32_t x, y;
        int32_t hit;
        const char* context;
    } cases[] = {
        { "link", qelLeft(link) + 2, qelTop(link) + 2, 1, "jump:Segunda" },
        { "picture", qelLeft(picture) + 2, qelTop(picture) + 2, 1, nullptr },
        { "plain text", qelLeft(picture) + qelWidth(picture) + 10, qelTop(link) + 2, 1, nullptr },
        { "empty space past the end of the text", 150, 70, 1, nullptr },
        { "right of the region", 230, 30, 0, nullptr },
        { "below the region", 30, 90, 0, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(v.view->hitTest(c.x, c.y), c.hit);
        qelValue context = v.perform("GetContext");
        if (c.context)
            EXPECT_EQ(std::string(qelCString(context)), c.context);
        else
            EXPECT_TRUE(context.isNil());
        EXPECT_EQ(v.view->hotFlag, c.context != nullptr);
    }
    // Hidden, or without hot areas and a scroll part, the view is never hit.
    qelPut(v.value, qelValue("Hidden"), qelTrue);
    EXPECT_EQ(v.view->hitTest(qelLeft(link) + 2, qelTop(link) + 2), 0);
    qelPut(v.value, qelValue("Hidden"), qelFalse);
    v.perform("ClearText");
    EXPECT_EQ(v.view->hitTest(150, 70), 0);
}

TEST(TextViewMouse, ScrollPartUnderTheMouse)
{
    // Scroll part (220, 20, 16, 60): up button 20..31, thumb from 32, down button 68..79.
    struct Case {
        const char* what;
        const char* script;
        int32_t value;
    } cases[] = {
        { "a click on the down button", "down 228 74\nup 228 74\n", 1 },
        // A step at once, one after 250 ms and one 50 ms later.
        { "the down button held for 340 ms", "down 228 74\nwait 340\nup 228 74\n", 3 },
        { "held, but the pointer left the button", "down 228 74\nmove 100 74\nwait 400\nup 100 74\n", 1 },
        { "a click on the track below the thumb", "down 228 60\nup 228 60\n", 5 },
        // Lines 5, 10, 15: the thumb (8 pixels, 28 of travel for 16 lines) then covers the pointer.
        { "the track held until the thumb reaches the pointer", "down 228 60\nwait 2000\nup 228 60\n", 15 },
        { "the thumb dragged to the bottom", "down 228 34\nmove 228 80\nup 228 80\n", 16 },
        { "the thumb dragged half way", "down 228 34\nmove 228 48\nup 228 48\n", 8 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UiFixture ui(c.script);
        richtext_test::useTestFont();
        View v = makeView(scrollingView, lines(20));
        auto* form = new qelFormObject(qelNil);
        form->controls = qelListOf({ v.value });
        qelValue formValue = qelFormValue(form);
        qelSetActiveForm(formValue);
        ui.runScript();
        EXPECT_EQ(v.getInt("GetValue"), c.value);
        EXPECT_EQ(v.view->pressedPart, 0);
        EXPECT_EQ(v.view->scrollOffset, -12 * v.getInt("GetValue"));
        qelSetActiveForm(qelNil);
    }
}

TEST_F(TextViewTest, ThumbPlacement)
{
    View v = makeView(scrollingView, lines(20));
    // Travel: 60 - 12 - 12 - 8 = 28 pixels for 16 lines.
    struct Case {
        int32_t value;
        int32_t thumbTop;
    } cases[] = { { 0, 32 }, { 16, 60 }, { 8, 46 }, { 1, 34 } };
    for (const Case& c : cases) {
        v.perform("SetValue", qelValue(c.value));
        EXPECT_EQ(qelTop(v.view->thumb), c.thumbTop) << c.value;
        EXPECT_EQ(v.view->valueFromThumb(), c.value) << c.value;
    }
}

TEST(TextViewDrawing, GoldensOfEachMode)
{
    struct Case {
        const char* name;
        const char* properties;
        std::string text;
        const char* verbs;
        bool picture = false;
    } cases[] = {
        { "paged.png", pagedView, "{\\uldb liga\\'e7\\'e3o}!\\{jump:X\\} e texto\\par \\box1 caixa\\par mais\\page dois",
            "NextPage PrevPage" },
        { "scrolled.png", scrollingView, lines(20), "LineDown LineDown" },
        { "scrolled-end.png", scrollingView, lines(20), "End" },
        // The picture's top scrolled above the view: its lower rows are drawn two pixels below
        // the view's top.
        { "scrolled-picture.png", scrollingView, lines(3) + "{bmc azul.bmp\\}\\par " + lines(10),
            "LineDown LineDown LineDown LineDown LineDown", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiFixture ui;
        richtext_test::useTestFont();
        qelRectangle(0, 0, 640, 480, 0xFFFFFF);
        View v = makeView(c.properties, "");
        if (c.picture) {
            qelValue images = qelTable(4, 100, 75);
            qelPut(images, qelValue("azul.bmp"), solidPicture(30, 40, 0xFF0000));
            v.perform("SetImageList", images);
        }
        v.perform("SetText", qelStringValueN(c.text.data(), int32_t(c.text.size())));
        v.perform("Draw");
        v.performAll(c.verbs);
        v.perform("Draw");
        EXPECT_TRUE(qel::test::matchesGolden(*ui.port->offscreen(), golden(c.name).string()));
    }
}

TEST_F(TextViewTest, DisabledViewPutsTheBackgroundBack)
{
    qelRectangle(0, 0, 640, 480, 0x00FF00);
    View v = makeView(pagedView, "texto");
    v.perform("Draw");
    // The first line is the wrapping group's empty paragraph; the text is on the second.
    EXPECT_NE(ui.pixel(21, 36), 0x00FF00u) << "the text drew over the background";
    // The background changes under the view; while disabled, the view puts back what it saved.
    qelPut(v.value, qelValue("Disabled"), qelTrue);
    v.perform("Draw");
    EXPECT_EQ(ui.pixel(21, 36), 0x00FF00u);
    EXPECT_TRUE(v.view->viewBackground.isNil());
}
