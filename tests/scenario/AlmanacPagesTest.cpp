// The almanac's intro, entry page and credits, run headless on the sample disk: the intro plays
// its two movies to the main menu or is skipped by a click; the entry "Brasil" scrolls from the
// keys, copies its text (accents and all) and prints it; the credits, from the page's help menu,
// rise to their end and give the page back, or give it back at a click.

#include "Scenario.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = scenario::fs;
using scenario::Installation;

namespace {

// The movies' place on the screen.
constexpr scenario::Area movieArea { 160, 120, 320, 240 };
// The entry page's text, and the credits' window.
constexpr scenario::Area textArea { 40, 122, 556, 230 };
constexpr scenario::Area creditsArea { 120, 80, 400, 340 };

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(AlmanacPages, TheIntroPlaysBothMoviesToTheMainMenuOrAClickSkipsIt)
{
    Installation installation(true);
    scenario::Run played("almanac_intro.script", installation.path());
    ASSERT_TRUE(played.exitedNormally());
    EXPECT_TRUE(played.differs("filme1", "filme2", movieArea));
    EXPECT_TRUE(played.differs("filme2", "menu", movieArea));

    scenario::Run skipped("almanac_intro_skip.script", installation.path());
    ASSERT_TRUE(skipped.exitedNormally());
    EXPECT_TRUE(skipped.differs("filme", "menu", movieArea));
    // Both end on the same main menu, drawn without a fade.
    auto skippedMenu = skipped.shot("menu");
    auto playedMenu = played.shot("menu");
    ASSERT_TRUE(skippedMenu && playedMenu);
    int differing = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            differing += (skippedMenu->pixel(x, y) & 0xFFFFFF) != (playedMenu->pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
}

TEST(AlmanacPages, TheEntryPageScrollsCopiesItsAccentedTextAndPrints)
{
    Installation installation(false, QEL_PAGES_ETN);
    scenario::Run run("almanac_paginas.script", installation.path());
    ASSERT_TRUE(run.exitedNormally());
    EXPECT_TRUE(run.differs("pagina", "rolada", textArea));

    // The clipboard got the entry's plain text: its heading, then the text's paragraphs with the
    // links' words, the accented letters as they are, and the searched word not struck.
    std::string clipboard = fileText(run.shots() / "clipboard.txt");
    EXPECT_EQ(clipboard.rfind("Brasil\\n\\nBrasil\\n\\nO maior pa\xC3\xADs da Am\xC3\xA9rica do Sul", 0), 0u) << clipboard;
    EXPECT_NE(clipboard.find("Veja o mapa pol\xC3\xADtico e o relevo."), std::string::npos) << clipboard;
    EXPECT_NE(clipboard.find("exceto o Chile"), std::string::npos) << clipboard;
    EXPECT_EQ(clipboard.find("mapa:"), std::string::npos) << clipboard;
    EXPECT_EQ(clipboard.find("\\b"), std::string::npos) << clipboard;
    EXPECT_EQ(clipboard.find("strike"), std::string::npos) << clipboard;

    fs::path pdf = run.shots() / "user" / "Velarim 98.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    std::string info = scenario::Run::pdfInfo(pdf);
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    // The page printed: its header and title at the top, the text below, the footer at the
    // foot (dark pixels of a greyscale picture of the page, by bands of its height).
    fs::path picture = run.shots() / "pagina-impressa";
    ASSERT_EQ(std::system(("pdftoppm -r 30 -gray -singlefile '" + pdf.string() + "' '" + picture.string() + "'").c_str()), 0);
    std::string pgm = fileText(picture.string() + ".pgm");
    int width = 0, height = 0, maximum = 0, consumed = 0;
    ASSERT_EQ(std::sscanf(pgm.c_str(), "P5 %d %d %d%n", &width, &height, &maximum, &consumed), 3);
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(pgm.data()) + consumed + 1;
    ASSERT_GE(pgm.size(), size_t(consumed + 1 + width * height));
    auto darkIn = [&](double from, double to) {
        int dark = 0;
        for (int y = int(from * height); y < int(to * height); ++y)
            for (int x = 0; x < width; ++x)
                dark += pixels[y * width + x] < 192;
        return dark;
    };
    EXPECT_GT(darkIn(0.0, 0.1), 0) << "header and title";
    EXPECT_GT(darkIn(0.1, 0.5), 100) << "text";
    EXPECT_EQ(darkIn(0.7, 0.9), 0) << "the text fits the top of one page";
    EXPECT_GT(darkIn(0.9, 1.0), 0) << "footer";
}

TEST(AlmanacPages, TheCreditsRiseToTheirEndOrStopAtAClick)
{
    Installation installation(false, QEL_PAGES_ETN);
    scenario::Run run("almanac_creditos.script", installation.path());
    ASSERT_TRUE(run.exitedNormally());
    // Rising: each shot shows the credits further up.
    EXPECT_TRUE(run.differs("pagina", "subindo"));
    EXPECT_TRUE(run.differs("subindo", "mais", creditsArea));
    // After the picture has passed, and after a click, the page that opened them is back, its
    // text from the top.
    EXPECT_FALSE(run.differs("pagina", "fim", textArea));
    EXPECT_FALSE(run.differs("pagina", "clique", textArea));
}
