// The review of the year run headless on the almanac's disk: the home screen from the main menu,
// a month's list in the chooser, its article on the page of the month (its header and the
// category under it), the header's pop-up to another month's article (a category page, with no
// month header), and the way back to the first page.

#include "Scenario.h"

namespace {

// content/almanac/pictures-retro.tbl: the home's band and a category's ground, the page's
// header colour and its text panel.
constexpr uint32_t band = 0x282828, ground = 0xE2E2DE, accent = 0xD03030, panel = 0xFAFAF6;
// The page's header and the secondary name under it.
constexpr scenario::Area header { 0, 24, 400, 36 }, subcategory { 24, 66, 300, 30 };
// The chooser over the home screen.
constexpr scenario::Area chooser { 170, 80, 300, 320 };

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
