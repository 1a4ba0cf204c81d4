// The curiosities and the infographics run headless on the almanac's disk: a category's viewer
// draws a curiosity, the right arrow another and the left arrow the first again, and the screens
// come back; the word search opens a curiosity whose link leads to the Solar System's
// infographic, whose mark shows a pop-up until a press outside it, and "Voltar" comes back to
// the curiosity.

#include "Scenario.h"

namespace {

// content/style's curiosities and infographics, and the shell's ground.
constexpr uint32_t curioGround = 0xFCF0C8, curioBand = 0x804000, viewerPanel = 0xFFFCEC, astronomy = 0x202870,
                   menuGround = 0x1C4080, space = 0x101030, mark = 0xE878C8, infosBand = 0x501848;
// The viewer's text at its origin (40, 64); the infographic under its bands.
constexpr scenario::Area viewerText { 196, 156, 388, 228 };
constexpr scenario::Area infographic { 0, 60, 640, 352 };

} // namespace

TEST(AlmanacCurio, TheViewerDrawsStepsBackAndTheScreensComeBack)
{
    scenario::Run run("almanac_curio.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "home", { { 20, 100, curioGround, "the curiosities' home" }, { 590, 300, curioGround, "no viewer yet" } } },
        { "primeira",
            { { 360, 80, curioBand, "the viewer's band" }, { 60, 260, astronomy, "the astronomy picture" },
                { 590, 300, viewerPanel, "the viewer over the home screen" } } },
        { "fechado", { { 590, 300, curioGround, "the viewer gone" } } },
        { "menu", { { 20, 100, menuGround, "back on the main menu" } } },
    });
    EXPECT_TRUE(run.differs("primeira", "seguinte", viewerText)) << "the right arrow showed the same curiosity";
    EXPECT_FALSE(run.differs("primeira", "anterior", viewerText)) << "the left arrow did not go back to the first";
}

TEST(AlmanacCurio, AFoundCuriosityLeadsToAnInfographicWhosePopUpComesAndGoes)
{
    scenario::Run run("almanac_infos.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "curio", { { 360, 80, curioBand, "the viewer on the curiosity found" } } },
        { "info", { { 600, 200, space, "the Solar System's sky" }, { 47, 153, mark, "the Sun's mark" },
                      { 300, 100, space, "no pop-up yet" } } },
        { "popup", { { 300, 100, infosBand, "the Sun's pop-up" } } },
        { "fechado", { { 300, 100, space, "the pop-up gone" } } },
        { "volta", { { 360, 80, curioBand, "the viewer again" } } },
    });
    EXPECT_FALSE(run.differs("info", "fechado", infographic)) << "the page did not come back whole";
    EXPECT_FALSE(run.differs("curio", "volta", viewerText)) << "Voltar did not come back to the same curiosity";
}
