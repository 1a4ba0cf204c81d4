// The atlas run from the main menu over the sample disk: the home, a European country chosen
// from its list with its map, flag and locator markers, stepping through the category and round
// its ends, the country panel, printing, and the United States' east coast.

#include "Scenario.h"

using scenario::Area;

namespace {

// content/almanac/screens/AtlasFrm.frm, AtlasHF.frm and the atlas's pictures.
constexpr uint32_t buttonFace = 0xD4D0C8, sea = 0xA8D0EC, highlight = 0xE0A070, marker = 0xC82020;
// The map's frame, the flag and the name on the band.
constexpr Area mapArea { 244, 68, 384, 288 };
constexpr Area nameArea { 16, 16, 320, 28 };
// Portugal's record places its markers at x 112 (under the locator) and y 351 (beside it).
constexpr int xMarkerX = 112 + 4, xMarkerY = 426 + 6, yMarkerX = 218 + 6, yMarkerY = 351 + 4;

} // namespace

TEST(AlmanacAtlas, EuropeToPortugalAndRoundTheCategory)
{
    scenario::Run run("almanac_atlas.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "home", { { 300, 126, buttonFace, "the \"Europa\" button on the world map" } } },
        { "portugal",
            { { 34, 96, 0x006600, "the flag's green" }, { 84, 78, 0xFF0000, "the flag's red" },
                { 430, 300, highlight, "Portugal on its map" }, { xMarkerX, xMarkerY, marker, "the x marker" },
                { yMarkerX, yMarkerY, marker, "the y marker" } } },
        { "panel", { { 430, 300, sea, "the panel hides the map" } } },
        { "nopanel", { { 430, 300, highlight, "the map again" } } },
        { "printed", { { 430, 300, highlight, "printing leaves the page as it was" } } } });
    EXPECT_TRUE(run.differs("portugal", "next", mapArea)) << "Next shows another map";
    EXPECT_TRUE(run.differs("portugal", "next", nameArea));
    EXPECT_FALSE(run.differs("portugal", "back")) << "Previous comes back to Portugal as it was";
    EXPECT_TRUE(run.differs("first", "last", nameArea)) << "Previous on the first map shows the last";
    EXPECT_FALSE(run.differs("first", "again")) << "Next on the last map shows the first";
    // The map printed on one page of a PDF in the user's folder.
    EXPECT_NE(scenario::Run::pdfInfo(run.shots() / "user" / "VL98 - Mapa.pdf").find("Pages:           1\n"),
        std::string::npos);
}

TEST(AlmanacAtlas, TheUnitedStatesOpenTheirEastCoast)
{
    scenario::Run run("almanac_atlas_eua.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "eua", { { 350, 200, highlight, "the United States on their map" } } },
        { "costa", { { 350, 200, highlight, "the east coast" }, { 300, 300, sea, "the Atlantic" } } } });
    EXPECT_TRUE(run.differs("eua", "costa", mapArea)) << "the pair button opened the regional map";
    EXPECT_TRUE(run.differs("eua", "costa", nameArea));
}

TEST(AlmanacAtlas, TheContinentChooserOpensBesideTheWorldMenu)
{
    scenario::Run run("almanac_atlas_continentes.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    // The "Mundo" menu sits low at the right: the chooser opens to the left of its item, its
    // bottom 4 pixels below the item's, at (169, 150).
    run.expectProbes({ { "chooser", { { 172, 200, 0xF6FCF0, "the chooser's ground" }, { 169, 200, 0x103820, "its left edge" } } },
        { "europa", { { 330, 50, 0x105030, "the continents' band" } } } });
    EXPECT_TRUE(run.differs("chooser", "europa", mapArea)) << "the continent's map";
}
