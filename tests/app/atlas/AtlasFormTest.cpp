// The atlas's map page over the almanac's disk: the map, the flag and the two locator markers
// where the record puts them, stepping through a category with wrap-around, the regional map of
// the United States, the country-data panel and its history, a name the atlas does not hold, and
// the print job's page; the theme menu's items on the disk.

#include "app/ClassSet.h"
#include "app/atlas/AtlasForm.h"
#include "app/atlas/AtlasThemes.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/Registrations.h"
#include "app/shell/TextPage.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Navigation.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

// content/almanac/screens/AtlasFrm.frm and the pictures of pictures-atlas.tbl.
constexpr int mapX = 244, mapY = 68, mapW = 384, mapH = 288;
constexpr int flagX = 24, flagY = 72;
constexpr int xMarkerRow = 426, yMarkerColumn = 218;
constexpr uint32_t marker = 0xC82020;
// The country's own colour on its map (tools/diskbuild/Atlas.cpp).
constexpr uint32_t highlight = 0xE0A070;

std::string text(const qelValue& value)
{
    return value.isString() ? qelCString(value) : "(not a string)";
}

} // namespace

class AtlasPage : public testing::Test {
protected:
    void SetUp() override
    {
        ui = std::make_unique<UiFixture>();
        ui->environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui->environment->setSetting("MediaPath", "Media");
        velarimRegisterClassPrototypes();
        velarimRegister(0, velarimRegistrations.size());
        ASSERT_EQ(DBLists::instance().open(), 1);
    }
    void TearDown() override
    {
        if (qelFormObject* form = qelFormOf(qelActiveForm()))
            form->close();
        releaseCategoryLists();
        DBLists::instance().release();
        ui.reset();
    }

    AtlasForm* open(const qelValue& data)
    {
        qelOpenTargetForm("AtlasForm", data);
        return dynamic_cast<AtlasForm*>(qelFormOf(qelActiveForm()));
    }

    static void press(AtlasForm* form, const char* name)
    {
        form->handleControl(form->findControl("Name", name));
    }

    static bool disabled(AtlasForm* form, const char* name)
    {
        return qelIsTrue(qelGet(form->findControl("Name", name), "Disabled"));
    }

    bool mapShowsHighlight()
    {
        for (int y = mapY; y < mapY + mapH; y += 2)
            for (int x = mapX; x < mapX + mapW; x += 2)
                if ((ui->pixel(x, y) & 0xFFFFFF) == highlight)
                    return true;
        return false;
    }

    std::unique_ptr<UiFixture> ui;
};

TEST_F(AtlasPage, PortugalShowsItsMapFlagAndMarkersWhereTheRecordSays)
{
    AtlasForm* form = open(qelValue("Portugal"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(text(form->mapItem(1)), "Portugal");
    EXPECT_TRUE(mapShowsHighlight()) << "Portugal in its own colour on the map";
    EXPECT_EQ(ui->pixel(flagX + 10, flagY + 24) & 0xFFFFFF, 0x006600u) << "the flag's green band";
    EXPECT_EQ(ui->pixel(flagX + 60, flagY + 6) & 0xFFFFFF, 0xFF0000u) << "the flag's red band";
    int32_t x = qelIntValue(form->mapItem(8));
    int32_t y = qelIntValue(form->mapItem(9));
    EXPECT_EQ(ui->pixel(x + 4, xMarkerRow + 6) & 0xFFFFFF, marker) << "the x marker under the locator";
    EXPECT_EQ(ui->pixel(yMarkerColumn + 6, y + 4) & 0xFFFFFF, marker) << "the y marker beside it";

    // Another country moves both markers: their old places show the panel again.
    uint32_t under = ui->pixel(x + 4, xMarkerRow + 6 - 8);
    press(form, "NextMapa");
    int32_t nextX = qelIntValue(form->mapItem(8));
    ASSERT_NE(nextX, x);
    EXPECT_NE(ui->pixel(x + 4, xMarkerRow + 6) & 0xFFFFFF, marker) << "the old x marker is gone";
    EXPECT_EQ(ui->pixel(nextX + 4, xMarkerRow + 6) & 0xFFFFFF, marker);
    EXPECT_EQ(ui->pixel(x + 4, xMarkerRow + 6 - 8), under) << "the locator above is untouched";
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(AtlasPage, NextAndPreviousWrapWithinTheCategory)
{
    qelValue europe = loadATCatList(2, 0);
    ASSERT_GT(qelCount(europe), 2);
    qelValue first = DBLists::instance().record(qelIntAt(europe, 0), 4);
    qelValue last = DBLists::instance().record(qelIntAt(europe, qelCount(europe) - 1), 4);

    AtlasForm* form = open(qelGet(first, 1));
    EXPECT_EQ(form->mapIndex(), 0);
    press(form, "PrevMapa");
    EXPECT_EQ(text(form->mapItem(1)), text(qelGet(last, 1))) << "Previous on the first shows the last";
    EXPECT_EQ(form->mapIndex(), qelCount(europe) - 1);
    press(form, "NextMapa");
    EXPECT_EQ(text(form->mapItem(1)), text(qelGet(first, 1))) << "Next on the last shows the first";
    EXPECT_EQ(form->mapIndex(), 0);
}

TEST_F(AtlasPage, TheUnitedStatesOpenTheirEastCoast)
{
    AtlasForm* form = open(qelValue("estados unidos"));
    EXPECT_EQ(text(form->mapItem(1)), "Estados Unidos");
    EXPECT_TRUE(disabled(form, "Estados Unidos")) << "only the exact name enables the pair button";

    form->reenter(qelValue("Estados Unidos"));
    EXPECT_FALSE(disabled(form, "Estados Unidos"));
    EXPECT_TRUE(disabled(form, "Federa\xE7\xE3o Russa"));
    press(form, "Estados Unidos");
    ASSERT_EQ(qelFormOf(qelActiveForm()), form) << "the same page, refilled";
    EXPECT_EQ(text(form->mapItem(1)), "Estados Unidos, costa leste");
    EXPECT_EQ(text(form->countryName()), "Estados Unidos") << "the entry and the copy's title";
    EXPECT_TRUE(disabled(form, "Estados Unidos"));
    EXPECT_TRUE(mapShowsHighlight());
}

TEST_F(AtlasPage, ThePanelTogglesAndTheHistoryKeepsIt)
{
    AtlasForm* form = open(qelValue("Portugal"));
    press(form, "MoreCountryData");
    EXPECT_EQ(form->countryPanelShown(), 1);
    EXPECT_TRUE(qelIsTrue(qelGet(form->findControl("Name", "Mapa"), "Hidden"))) << "the panel covers the map";
    EXPECT_FALSE(qelIsTrue(qelGet(form->findControl("Name", "Texto"), "Hidden")));
    qelValue history = form->historyText();
    EXPECT_EQ(text(qelGet(history, "History Text")), "Atlas: Portugal");
    EXPECT_TRUE(qelIsTrue(qelGet(history, "MCDataShown")));

    press(form, "MoreCountryData");
    EXPECT_EQ(form->countryPanelShown(), 0);
    EXPECT_FALSE(qelIsTrue(qelGet(form->findControl("Name", "Mapa"), "Hidden")));
    EXPECT_TRUE(mapShowsHighlight()) << "the map again";

    // Back to this page through the history: the panel as it was recorded.
    form->reenter(history);
    EXPECT_EQ(form->countryPanelShown(), 1);
}

TEST_F(AtlasPage, AMapWithoutMoreDataKeepsThePanelClosed)
{
    AtlasForm* form = open(qelValue("Mundo"));
    press(form, "MoreCountryData");
    EXPECT_EQ(form->countryPanelShown(), 0);
    EXPECT_FALSE(qelIsTrue(qelGet(form->findControl("Name", "Mapa"), "Hidden")));
}

TEST_F(AtlasPage, ANameTheAtlasDoesNotHoldKeepsThePage)
{
    AtlasForm* form = open(qelValue("Atl\xE2ntida"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(text(form->mapItem(1)), "Mundo") << "a new page falls back to the first map";
    form->reenter(qelValue("Portugal"));
    form->reenter(qelValue("nenhum lugar"));
    EXPECT_EQ(text(form->mapItem(1)), "Portugal") << "an open page keeps its map";
    form->reenter(qelNil);
    EXPECT_EQ(text(form->mapItem(1)), "Mundo");
    EXPECT_TRUE(recordedErrors().empty());
}

TEST_F(AtlasPage, EveryThemeOfTheMenuLeadsToAPageOrAMovieOnTheDisk)
{
    AtlasForm* form = open(qelValue("Portugal"));
    ASSERT_TRUE(form);
    EXPECT_TRUE(qelControlOf(form->findControl("Name", "MCategName"))) << "the button that opens the menu";
    EXPECT_TRUE(qelControlOf(form->findControl("Name", "VideoControl"))) << "where the movies play";
    qelValue items = qelGet(form->m_categoryMenus, "Items");
    ASSERT_EQ(items.type(), QEL_LIST_TYPE) << "the theme menu's items";
    qelValue looping = qelLoadResource("LoopingVideos");
    for (int32_t i = 0; i < qelCount(items); ++i) {
        qelValue name = qelGet(qelGet(items, i), 0);
        AtlasTheme theme = atlasTheme(name);
        if (theme.infoPage) {
            EXPECT_GE(qelIndexOf(qelLoadResource("ValidInfos"), qelValue(theme.infoPage)), 0) << theme.infoPage;
            EXPECT_TRUE(textpage::isKnownForm(qelValue(theme.infoPage))) << theme.infoPage;
        } else if (theme.video) {
            EXPECT_TRUE(std::filesystem::exists(std::string(QEL_BUILD_DIR) + "/disk/Media/Movies/" + theme.video))
                << theme.video;
            if (theme.untilStopped)
                EXPECT_GE(qelIndexOf(looping, qelValue(theme.video)), 0) << theme.video << " loops until stopped";
        } else {
            ADD_FAILURE() << text(name) << " is no theme";
        }
    }
}

TEST(AtlasPrint, TheMapsPageNamesTheProductAndTheMap)
{
    PicturePage page = atlasMapPage(qelValue("imagem"), qelValue("Portugal"));
    EXPECT_STREQ(page.documentName, "VL98 - Mapa");
    EXPECT_EQ(text(page.headerText), "Velarim 98 - Portugal");
    std::string footer = text(page.footerPrefix);
    ASSERT_GE(footer.size(), 7u);
    EXPECT_EQ(footer.substr(footer.size() - 6), "      ") << "six blanks before \"P\xE1gina 1\"";
    EXPECT_NE(footer[footer.size() - 7], ' ') << "after the notice";
}

TEST(AtlasThemes, TheThemeNamesAreExact)
{
    struct Case {
        const char* text;
        const char* infoPage;
        const char* video;
    } cases[] = {
        { "Regi\xF5" "es", "mbregio", nullptr },
        { "regi\xF5" "es", nullptr, nullptr },
        { "Vegeta\xE7\xE3o", "mbveget2", nullptr },
        { "MPol\xEDtico", "mdmundi", nullptr },
        { "Sistema", nullptr, "an0055.avi" },
        { "Climas e Correntes", nullptr, "an0058.avi" },
        { "Portugal", nullptr, nullptr },
    };
    for (const Case& c : cases) {
        AtlasTheme theme = atlasTheme(qelValue(c.text));
        EXPECT_STREQ(theme.infoPage ? theme.infoPage : "", c.infoPage ? c.infoPage : "") << c.text;
        EXPECT_STREQ(theme.video ? theme.video : "", c.video ? c.video : "") << c.text;
    }
    EXPECT_TRUE(atlasTheme(qelValue("Climas e Correntes")).untilStopped);
    EXPECT_FALSE(atlasTheme(qelValue("Sistema")).untilStopped);
}
