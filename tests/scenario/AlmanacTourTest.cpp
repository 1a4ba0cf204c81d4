// The tour of the whole almanac (content/tour.script, what `make run` plays without a display)
// run headless over the sample disk with the intro on: the intro passed, each section of the main
// menu shown with one thing used in it, the word search, a mark, a printed page and the quit
// question answered. Each section's screenshot shows a colour that only that screen has at the
// point probed; at the end the user folder holds the appointment, the mark and the PDF.

#include "Scenario.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = scenario::fs;

namespace {

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The number after "Pages:" in what pdfinfo says, or 0.
int pagesOf(const std::string& info)
{
    size_t at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(info.c_str() + at + 6);
}

// The intro's movies, over the start picture.
constexpr scenario::Area movieArea { 160, 120, 320, 240 };
// Buttons' ink when they can be pressed, and their grey when they cannot.
constexpr uint32_t ink = 0x000000, greyInk = 0x96928C;

} // namespace

TEST(AlmanacTour, EverySectionShowsAndTheUsersFilesKeepWhatTheTourDid)
{
    scenario::Installation installation(true);
    scenario::Run run(QEL_TOUR_SCRIPT, installation.path());
    ASSERT_TRUE(run.exitedNormally());

    // The colours of content/style and of the sections' pictures (content/almanac/pictures-*.tbl,
    // tools/diskbuild): each section's band along the top, and what the step used shows.
    run.expectProbes({
        { "01-abertura", { { 20, 100, 0x0A1A3C, "the intro's start picture" } } },
        { "02-menu", { { 20, 100, 0x1C4080, "the main menu's ground" } } },
        { "03-verbetes", { { 300, 10, 0x701818, "the entries' band" }, { 4, 300, 0xF6EEDA, "the entries' home" } } },
        { "04-verbete", { { 300, 390, 0xFFFCF0, "the entry's page" }, { 48, 81, 0x701818, "the entry's name" } } },
        { "05-midias", { { 300, 10, 0x184860, "the media's band" }, { 4, 300, 0xDCECF2, "the media's home" } } },
        // The video's page while it plays: "Tocar" off, "Parar" on.
        { "06-video",
            { { 4, 300, 0x142430, "the medium's page" }, { 424, 393, greyInk, "\"Tocar\" off while the video plays" },
                { 552, 393, ink, "\"Parar\" on while the video plays" } } },
        { "07-atlas", { { 300, 10, 0x105030, "the atlas's band" }, { 300, 126, 0xD4D0C8, "the \"Europa\" button" } } },
        { "08-pais",
            { { 430, 200, 0xE0A070, "the country on its map" }, { 620, 300, 0xA8D0EC, "the sea around it" } } },
        { "09-banco", { { 300, 10, 0x403070, "the database's band" }, { 4, 300, 0xF0ECFA, "the database's home" } } },
        // The search's table: the country and its continent, the rules between the columns.
        { "10-pesquisa",
            { { 170, 300, 0x010000, "the key column's edge" }, { 301, 300, 0x010000, "the continent's column" },
                { 432, 300, 0xFFFFFF, "no third column" } } },
        { "11-linha", { { 30, 150, 0x182058, "the eras' first card" } } },
        { "12-idade-media", { { 560, 72, 0x702020, "the Middle Ages' list" } } },
        { "13-retrospectiva",
            { { 300, 4, 0x282828, "the review's band" }, { 45, 120, 0xE2E2DE, "the first category's box" } } },
        { "14-artigo", { { 4, 30, 0xD03030, "the month's header" }, { 30, 200, 0xFAFAF6, "the text panel" } } },
        { "15-agenda", { { 300, 10, 0x185848, "the agenda's band" }, { 560, 237, 0xFFFFFF, "09:00 still free" } } },
        { "16-compromisso", { { 560, 237, 0xEEEECC, "the 09:00 row being written" } } },
        // The month: 5 May 1998 selected, with the mark of the user's appointment.
        { "17-mes", { { 201, 230, 0xE87018, "5 May, selected" }, { 206, 210, 0x209840, "the appointment's mark" } } },
        { "18-curiosidades",
            { { 20, 100, 0xFCF0C8, "the curiosities' home" }, { 590, 300, 0xFCF0C8, "no viewer yet" } } },
        { "19-curiosidade",
            { { 360, 80, 0x804000, "the viewer's band" }, { 60, 260, 0x202870, "the astronomy picture" } } },
        { "20-jogo", { { 300, 10, 0x006070, "the quiz's band" } } },
        // The question answered: its title band, and "Continuar" on.
        { "21-resposta", { { 300, 100, 0x288C48, "the question's title" }, { 215, 349, ink, "\"Continuar\" on" } } },
        { "22-busca", { { 200, 200, 0xECF0F8, "the word search's dialog" } } },
        { "23-brasil", { { 300, 10, 0x701818, "the entries' band" }, { 60, 220, 0x009440, "Brasil's flag" } } },
        // The marks menu on an entry: "Marcar" on, "Desmarcar" off.
        { "24-marcas", { { 140, 340, 0xE8ECF4, "\"Marcar\"" }, { 140, 364, 0xD0D2D8, "\"Desmarcar\" off" } } },
        { "25-imprimir", { { 300, 156, 0x103060, "the print set-up's title" } } },
        { "26-sair", { { 218, 140, 0x102858, "the quit question's title" }, { 218, 100, 0x1C4080, "the main menu" } } },
    });
    EXPECT_TRUE(run.differs("01-abertura", "02-menu", movieArea)) << "the intro was not passed";

    const fs::path user = run.shots() / "user";
    // The appointment typed at 09:00 of 5 May: the row's time and text, each a short string
    // (0x22, its length, its bytes).
    const std::string row = std::string("\"\x05") + "09:00" + "\"\x0F" + "Visita ao museu";
    EXPECT_NE(fileText(user / "Agenda.DTT").find(row), std::string::npos);
    // The one mark: the list id of "Brasil".
    EXPECT_EQ(fileText(user / "MARKLIST.DTT"), fileText(fs::path(QEL_SCENARIO_DIR) / "marklist_marcado.dtt"));
    // The entry printed to the PDF the print set-up proposed.
    fs::path pdf = user / "Velarim 98.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_GE(pagesOf(scenario::Run::pdfInfo(pdf)), 1) << scenario::Run::pdfInfo(pdf);
    // The quit question answered yes: the preferences saved on the way out.
    EXPECT_TRUE(fs::exists(user / "PREFS.DAT"));
}
