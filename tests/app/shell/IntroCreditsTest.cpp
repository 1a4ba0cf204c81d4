// The credits' scroll under ticks: the step on which they end, the guards of missing content;
// and the intro's play list: one item per notice, the main menu asked for once.

#include "app/shell/CreditsForm.h"
#include "app/shell/IntroForm.h"
#include "framework/display/ContextImage.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Table.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

namespace {

// Notes the tick on which the credits step back through the history.
class CountingCredits : public CreditsForm {
public:
    using CreditsForm::CreditsForm;
    void tick() override
    {
        ++ticks;
        CreditsForm::tick();
    }
    void goHistory(int32_t step) override
    {
        if (!endTick)
            endTick = ticks;
        steps.push_back(step);
    }
    int ticks = 0;
    int endTick = 0;
    std::vector<int32_t> steps;
};

// Credits whose resources hold a picture of the height (none for 0) and the timeout.
qelValue creditsResources(int32_t imageHeight)
{
    qelValue resources = qelTable(8, 100, 75);
    qelPut(resources, "ScrollTimeout", qelMakeInt(50));
    qelPut(resources, "CreditsRect", qelRectValue(120, 80, 400, 340));
    if (imageHeight > 0)
        qelPut(resources, "CreditsImage", qelMakeContextImage(400, imageHeight));
    return resources;
}

TEST(CreditsForm, TheScrollEndsOnTheTickWhereTheOffsetFirstPassesThePictureAndOnlyOnce)
{
    struct Case {
        int32_t height;
        int endTick;
    } cases[] = {
        // -50 + 3k > 600 first for k = 217; -50 + 3k > 1 for k = 18.
        { 600, 217 },
        { 1, 18 },
        // Without a picture there is nothing to scroll: the first step ends them.
        { 0, 1 },
    };
    for (const Case& c : cases) {
        UiFixture ui;
        qelValue properties = qelTable(4, 100, 75);
        qelPut(properties, "Resource Table", creditsResources(c.height));
        auto* credits = new CountingCredits(properties);
        qelValue value = qelFormValue(credits);
        qelSetActiveForm(value);
        credits->open(UiFixture::read("(table (\"NoFade\" true))"));
        EXPECT_EQ(credits->scrollOffset(), -50);
        for (int i = 0; i < 400; ++i)
            credits->tick();
        EXPECT_EQ(credits->endTick, c.endTick) << c.height;
        EXPECT_EQ(credits->steps, std::vector<int32_t> { 1 }) << c.height;
        credits->close();
    }
}

TEST(CreditsForm, AClickStepsBackOnce)
{
    UiFixture ui;
    qelValue properties = qelTable(4, 100, 75);
    qelPut(properties, "Resource Table", creditsResources(600));
    auto* credits = new CountingCredits(properties);
    qelValue value = qelFormValue(credits);
    qelSetActiveForm(value);
    credits->open(UiFixture::read("(table (\"NoFade\" true))"));
    credits->tick();
    credits->mouseDown(300, 200, 0, 1);
    credits->tick();
    EXPECT_EQ(credits->steps, std::vector<int32_t> { 1 });
    credits->close();
}

// Notes each opening of the main menu with its data.
std::vector<std::string>& menuOpenings()
{
    static std::vector<std::string> log;
    return log;
}

class MenuForm : public qelFormObject {
public:
    MenuForm()
        : qelFormObject(qelNil)
    {
        name = "MainForm";
    }
    void open(const qelValue& data) override
    {
        menuOpenings().push_back(qelIsTrue(qelGet(data, "NoFade")) ? "NoFade" : "fade");
    }
};

// An intro whose play list holds items without a movie that loads: each notice starts the next,
// and the notice after the last goes to the main menu.
struct Intro {
    explicit Intro(const char* playList)
    {
        menuOpenings().clear();
        ui.environment->setGlobal("MainForm", qelFormValue(new MenuForm));
        qelValue resources = qelTable(4, 100, 75);
        qelPut(resources, "PlayList", UiFixture::read(playList));
        qelValue properties = qelTable(4, 100, 75);
        qelPut(properties, "Resource Table", resources);
        intro = new IntroForm(properties);
        value = qelFormValue(intro);
        qelSetActiveForm(value);
        intro->open(UiFixture::read("(table (\"NoFade\" true))"));
        intro->afterOpen();
    }
    UiFixture ui;
    IntroForm* intro = nullptr;
    qelValue value;
};

TEST(IntroForm, EachNoticeStartsTheNextItemAndTheLastGoesToTheMainMenuOnce)
{
    Intro intro("(list (list \"nada1.avi\" 0 0 32 24 0 \"\") (list \"nada2.avi\" 0 0 32 24 0 \"\"))");
    EXPECT_EQ(intro.intro->itemCount(), 2);
    // The first draw started item 0; a second draw (a repaint) starts nothing.
    EXPECT_EQ(intro.intro->nextItem(), 1);
    intro.intro->draw();
    EXPECT_EQ(intro.intro->nextItem(), 1);
    intro.intro->mediaNotify(qelNil, "ended");
    EXPECT_EQ(intro.intro->nextItem(), 2);
    EXPECT_TRUE(menuOpenings().empty());
    intro.intro->mediaNotify(qelNil, "ended");
    EXPECT_EQ(menuOpenings(), std::vector<std::string> { "NoFade" });
}

TEST(IntroForm, AKeyGoesToTheMainMenuWithoutAFadeOnceAndShortItemsArePassedOver)
{
    Intro intro("(list (list \"nada1.avi\" 0 0) (list \"nada2.avi\" 0 0 32 24 0 \"\"))");
    EXPECT_EQ(intro.intro->nextItem(), 1);
    intro.intro->key('A', 0);
    intro.intro->key('B', 0);
    intro.intro->mediaNotify(qelNil, "ended");
    EXPECT_EQ(menuOpenings(), std::vector<std::string> { "NoFade" });
    EXPECT_TRUE(recordedErrors().empty()) << recordedErrors().front();
}

} // namespace
