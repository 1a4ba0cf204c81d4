// The timeline run headless on the almanac's disk: opened from the main menu on its era picture,
// an era's page and the next, the year search after and before Christ, the era picture again
// after a click outside the list, and the way back to the main menu.

#include "Scenario.h"

namespace {

// content/almanac/pictures-ltempo.tbl: the Middle Ages' card strip, and the header strips of
// the list panels of the Middle, Modern and Ancient ages; shell.tbl: the main menu's ground.
constexpr uint32_t bigBangStrip = 0x182058;
constexpr uint32_t middleAges = 0x702020, modernAge = 0x185840, antiquity = 0x986818;
constexpr uint32_t menuGround = 0x1C4080;

// The lines of the list.
constexpr scenario::Area lines { 30, 94, 580, 264 };
// The era picture under the list panel.
constexpr scenario::Area viewer { 16, 64, 608, 300 };

} // namespace

TEST(AlmanacTimeline, ErasPagesYearSearchBeforeAndAfterChristAndBack)
{
    scenario::Run run("almanac_linha_tempo.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "eras", { { 30, 150, bigBangStrip, "the era picture's first card" } } },
        { "media", { { 560, 72, middleAges, "the Middle Ages' list" } } },
        { "media2", { { 560, 72, middleAges, "the Middle Ages' next page" } } },
        { "ano1500", { { 560, 72, modernAge, "1500 lies in the Modern Age" } } },
        { "ano500ac", { { 560, 72, antiquity, "500 before Christ lies in Antiquity" } } },
        { "eras2", { { 30, 150, bigBangStrip, "the era picture again" } } },
        { "menu", { { 4, 300, menuGround, "the main menu" } } },
    });
    EXPECT_TRUE(run.differs("media", "media2", lines));
    EXPECT_FALSE(run.differs("eras", "eras2", viewer)) << "the era picture comes back as it was";
}
