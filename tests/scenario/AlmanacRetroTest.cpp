// The review of the year run headless on the almanac's disk: the home screen from the main menu,
// a month's list in the chooser, its article on the page of the month (its header and the
// category under it), the header's pop-up to another month's article (a category page, with no
// month header), and the way back to the first page; the switch to the 1998 set and one of its
// articles; an article found by the word search, opened with its picture.

#include "Scenario.h"

namespace {

// content/almanac/pictures-retro.tbl: the home's band and a category's ground, the page's
// header colour and its text panel.
constexpr uint32_t band = 0x282828, ground = 0xE2E2DE, accent = 0xD03030, panel = 0xFAFAF6;
// The page's header and the secondary name under it.
constexpr scenario::Area header { 0, 24, 328, 36 }, subcategory { 24, 66, 300, 30 };
// The chooser over the home screen.
constexpr scenario::Area chooser { 170, 80, 300, 320 };
// The home's title and its "Retrospectiva 98" button; the mark beside a month's name, grey when
// the set shown has no article of that month.
constexpr scenario::Area homeTitle { 20, 12, 320, 40 }, retro98Button { 476, 434, 140, 32 };
constexpr uint32_t greyed = 0xA0A09C;
constexpr int janeiroMarkX = 337, janeiroMarkY = 130, marcoMarkX = 337, marcoMarkY = 230;
// rtdolly.bmp as the page shows it beside the article's text: its sky and its grass.
constexpr uint32_t dollySky = 0xAAD2EC, dollyGrass = 0x5C9C48;

} // namespace

TEST(AlmanacRetro, AMonthsArticleOpensItsPageAndThePopUpLeadsToAnotherSectionAndBack)
{
    scenario::Run run("almanac_retro.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "inicio",
            { { 300, 4, band, "the review's band" }, { 45, 120, ground, "the first category's box" } } },
        { "junho",
            { { 4, 30, accent, "the month's header" }, { 30, 200, panel, "the text panel" } } },
        { "agosto", { { 4, 30, accent, "the category's title band" } } },
    });
    EXPECT_TRUE(run.differs("inicio", "lista", chooser)) << "the chooser did not open";
    EXPECT_TRUE(run.differs("junho", "agosto", header)) << "June's header and the deaths' title";
    EXPECT_TRUE(run.differs("junho", "agosto", subcategory)) << "\"Esportes\" and \"Agosto\"";
    EXPECT_FALSE(run.differs("junho", "voltou", header)) << "back on June's page";
    EXPECT_FALSE(run.differs("junho", "voltou", subcategory)) << "back on June's sports";
}

TEST(AlmanacRetro, The98ButtonShowsTheSecondSetWithItsEmptySectionsOffAndOpensItsArticles)
{
    scenario::Run run("almanac_retro98.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "inicio",
            { { janeiroMarkX, janeiroMarkY, accent, "January in the 1997 set" },
                { marcoMarkX, marcoMarkY, accent, "March in the 1997 set" } } },
        { "retro98",
            { { 300, 4, band, "the review's band" },
                { janeiroMarkX, janeiroMarkY, greyed, "the 1998 set has no article of January" },
                { marcoMarkX, marcoMarkY, accent, "March in the 1998 set" } } },
        { "pagina", { { 4, 30, accent, "October's header" }, { 30, 200, panel, "the text panel" } } },
    });
    EXPECT_TRUE(run.differs("inicio", "retro98", homeTitle)) << "1997 and 1998";
    EXPECT_TRUE(run.differs("inicio", "retro98", retro98Button)) << "the button of the set shown is off";
    EXPECT_TRUE(run.differs("retro98", "lista", chooser)) << "October's chooser did not open";
}

TEST(AlmanacRetro, AWordOfAnArticleFindsItInTheSearchAndOpensItsPageWithItsPicture)
{
    scenario::Run run("almanac_busca_retro.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "artigo",
            { { 300, 4, band, "the review's band" }, { 4, 30, accent, "the category's title band" },
                { 30, 200, panel, "the text panel" }, { 200, 170, dollySky, "the picture's sky" },
                { 332, 300, dollyGrass, "the picture's grass" } } },
    });
}
