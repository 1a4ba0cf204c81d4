// The atlas run from the main menu over the sample disk: the home, a European country chosen
// from its list with its map, flag and locator markers, stepping through the category and round
// its ends, the country panel, printing, the theme menu with its pages and movie, the United
// States' east coast, and the continents' pages from an entry's link and from the world map.

#include "Scenario.h"

using scenario::Area;
namespace fs = std::filesystem;

namespace {

// content/almanac/screens/AtlasFrm.frm, AtlasHF.frm and the atlas's pictures.
constexpr uint32_t buttonFace = 0xD4D0C8, sea = 0xA8D0EC, highlight = 0xE0A070, marker = 0xC82020;
// The map's frame, the flag and the name on the band.
constexpr Area mapArea { 244, 68, 384, 288 };
constexpr Area nameArea { 16, 16, 320, 28 };
// Portugal's record places its markers at x 112 (under the locator) and y 351 (beside it).
constexpr int xMarkerX = 112 + 4, xMarkerY = 426 + 6, yMarkerX = 218 + 6, yMarkerY = 351 + 4;
// The theme menu's ground, the climate page's first legend colour ("Equatorial"), and where the
// climates-and-currents movie plays in the map's frame.
constexpr uint32_t menuGround = 0xF6FCF0, equatorial = 0x288C50;
constexpr Area videoArea { 276, 92, 320, 240 };
// The home's world map, where the movie plays on that screen.
constexpr Area worldArea { 78, 98, 484, 244 };
// The thematic and continent pages (tools/atlas-infos.py): the panel's ground, the first legend
// colour of a continent's countries and of Antarctica's ice, Brazil's colour on South America's
// map, the world map's frame and the entry page's text.
constexpr uint32_t panelGround = 0xF6FCF0, countries = 0xECC878, ice = 0xF4F8FC, brazil = 0xE8A890;
constexpr Area worldMap { 12, 66, 616, 256 };
constexpr Area entryText { 24, 70, 592, 330 };

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
    // The map printed on one page of a PDF in the user's folder: rendered at 72 dots per inch
    // (an A4 page 596 wide, margins of half an inch), the title right-aligned on the header line
    // with the rule under it, the map between, the footer's rule and its notice and page number.
    fs::path pdf = run.shots() / "user" / "VL98 - Mapa.pdf";
    EXPECT_NE(scenario::Run::pdfInfo(pdf).find("Pages:           1\n"), std::string::npos);
    qel::test::GrayPage page = run.pdfFirstPage(pdf, 72);
    ASSERT_EQ(page.width, 596);
    EXPECT_GT(page.darkIn(400, 36, 560, 48), 0) << "the title at the right of the header line";
    EXPECT_EQ(page.darkIn(36, 36, 400, 47), 0) << "nothing at its left: the title is right-aligned";
    EXPECT_GT(page.darkIn(36, 48, 560, 52), 2000) << "the rule across the page under it";
    EXPECT_GT(page.darkIn(36, 60, 560, 780), 0) << "the map";
    EXPECT_GT(page.darkIn(36, 794, 560, 798), 2000) << "the footer's rule";
    EXPECT_GT(page.darkIn(250, 798, 560, 812), 0) << "the notice and the page number";
}

TEST(AlmanacAtlas, TheThemeMenusOpenAPageAndPlayTheCurrentsUntilAClick)
{
    scenario::Run run("almanac_atlas_temas.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "menu", { { 600, 340, menuGround, "the theme menu above \"Temas\"" } } },
        { "clima", { { 416, 108, equatorial, "the climate page's legend" } } } });
    // The movie's frames are compressed: they are told apart, not probed.
    EXPECT_TRUE(run.differs("home", "homevideo", worldArea)) << "the movie over the home's world map";
    EXPECT_FALSE(run.differs("home", "homestopped", worldArea)) << "the click stopped it, and opened no list";
    EXPECT_TRUE(run.differs("map", "video1", videoArea)) << "the movie in the map's frame";
    EXPECT_TRUE(run.differs("video1", "video2", videoArea)) << "the currents move";
    EXPECT_TRUE(run.differs("map", "looping", videoArea)) << "still playing past the movie's three seconds";
    EXPECT_TRUE(run.differs("video2", "looping", videoArea));
    EXPECT_FALSE(run.differs("map", "back", mapArea)) << "back from the page: the same map";
    EXPECT_FALSE(run.differs("map", "stopped", mapArea)) << "the click stopped the movie and gave back the map";
    EXPECT_FALSE(run.differs("stopped", "later")) << "nothing plays after the click";
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

TEST(AlmanacAtlas, AnEntrysLinkOpensItsContinentAndVoltarComesBack)
{
    scenario::Run run("almanac_verbete_continente.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "sul",
        { { 260, 230, brazil, "Brazil on South America's map" }, { 416, 106, countries, "the legend's countries" },
            { 620, 396, panelGround, "the panel" } } } });
    EXPECT_TRUE(run.differs("brasil", "sul"));
    EXPECT_FALSE(run.differs("brasil", "volta", entryText)) << "back on the entry as it was";
}

TEST(AlmanacAtlas, TheWorldMapsContinentNamesOpenTheirPages)
{
    scenario::Run run("almanac_mundo_continentes.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({ { "africa", { { 416, 106, countries, "the legend's countries" }, { 620, 396, panelGround, "the panel" } } },
        { "antartida", { { 220, 260, ice, "the ice round the pole" }, { 416, 106, ice, "the legend's ice" } } } });
    EXPECT_TRUE(run.differs("mundo", "africa", worldMap)) << "Africa's page";
    EXPECT_FALSE(run.differs("mundo", "volta", worldMap)) << "back on the world map";
    EXPECT_TRUE(run.differs("africa", "antartida", worldMap));
}
