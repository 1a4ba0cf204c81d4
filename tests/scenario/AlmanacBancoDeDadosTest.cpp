// The country database run headless on the almanac's disk: from the main menu to a new search
// built in the criteria dialog (fields, sort, a number and two values), its result table (column
// order, stripes, missing figures), the table scrolled with the keys, printed in pages of rows
// and bands of columns, and the search saved and reopened from the home screen.

#include "Scenario.h"
#include "tests/support/GrayPage.h"

#include <cstdlib>
#include <utility>

namespace fs = scenario::fs;
using scenario::Area;

namespace {

// The database's look (content/almanac/pictures-bdados.tbl, tools/diskbuild/Headings.cpp).
constexpr uint32_t band = 0x403070, ink = 0xF6F0FF, strip = 0xF0ECFA, stripe = 0xF0E6FA, white = 0xFFFFFF;
constexpr uint32_t rule = 0x010000;

// The table: the key column 170 pixels wide from x 1, then columns of 130 with a pixel between;
// the cells from y 115, rows of two lines (24 pixels).
constexpr int separators[] = { 170, 301, 432, 563 };
constexpr int rowTop(int row) { return 115 + row * 24; }
constexpr Area rowArea(int row) { return { 1, rowTop(row), 562, 24 }; }
// The altitude's cells, and the criterion strips under the headings.
constexpr Area altitude(int row) { return { 436, rowTop(row), 124, 24 }; }
constexpr Area criterionStrip(int column) { return { 174 + column * 131, 96, 124, 14 }; }

// Whether an area of one screenshot shows what another area of the same size shows in another.
bool sameArea(const platform::gfx::Surface& a, Area first, const platform::gfx::Surface& b, Area second)
{
    for (int y = 0; y < first.h; ++y)
        for (int x = 0; x < first.w; ++x)
            if ((a.pixel(first.x + x, first.y + y) & 0xFFFFFF) != (b.pixel(second.x + x, second.y + y) & 0xFFFFFF))
                return false;
    return true;
}

// Pixels of the area in neither of two background colours.
int inkIn(const platform::gfx::Surface& s, Area area, uint32_t background, uint32_t other)
{
    int n = 0;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) {
            uint32_t p = s.pixel(x, y) & 0xFFFFFF;
            n += p != background && p != other;
        }
    return n;
}

// The leftmost and rightmost inked columns of the page's label line (below the footer), in a
// page rendered at 72 dots per inch.
std::pair<int, int> labelExtent(const qel::test::GrayPage& page)
{
    int left = page.width, right = -1;
    for (int y = 816; y < 826; ++y)
        for (int x = 0; x < page.width; ++x)
            if (page.at(x, y) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return { left, right };
}

// The saved searches of a file as text (qelc dump; cp1252 letters as \\xNN escapes).
std::string savedSearches(const fs::path& file)
{
    return scenario::Run::commandOutput("'" + std::string(QEL_BUILD_DIR) + "/bin/qelc' dump '" + file.string() + "'");
}

int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(AlmanacBancoDeDados, ANewSearchItsTableItsPrintoutAndItsReopening)
{
    scenario::Run run("almanac_bdados.script", "disk");
    ASSERT_TRUE(run.exitedNormally());

    auto table = run.shot("tabela");
    ASSERT_TRUE(table);
    // The key column, then three columns, nothing after the fourth.
    for (int x : separators)
        EXPECT_EQ(table->pixel(x, 300) & 0xFFFFFF, rule) << "column edge at " << x;
    EXPECT_EQ(table->pixel(2, 62) & 0xFFFFFF, band) << "the key column's heading";
    EXPECT_EQ(table->pixel(600, 300) & 0xFFFFFF, white) << "no fifth column";
    // Column order: the continent (its values, no sort mark), the population (its number and the
    // descending mark), the altitude (neither).
    EXPECT_GT(inkIn(*table, criterionStrip(0), strip, strip), 0) << "the continents' criterion";
    EXPECT_GT(inkIn(*table, criterionStrip(1), strip, strip), 0) << "the population's criterion";
    EXPECT_EQ(inkIn(*table, criterionStrip(2), strip, strip), 0) << "no altitude criterion";
    EXPECT_EQ(table->pixel(426, 65) & 0xFFFFFF, ink) << "the sort mark on the population";
    EXPECT_EQ(table->pixel(295, 65) & 0xFFFFFF, band) << "no mark on the continent";
    EXPECT_EQ(table->pixel(557, 65) & 0xFFFFFF, band) << "no mark on the altitude";
    // Odd rows striped.
    EXPECT_EQ(table->pixel(290, rowTop(0) + 12) & 0xFFFFFF, white);
    EXPECT_EQ(table->pixel(290, rowTop(1) + 12) & 0xFFFFFF, stripe);
    EXPECT_EQ(table->pixel(290, rowTop(2) + 12) & 0xFFFFFF, white);
    // Vietnam (row 8) and Myanmar (row 12) have no altitude figure: both read "n.d."; Iran's
    // (row 10) is a number.
    EXPECT_GT(inkIn(*table, altitude(8), white, stripe), 0);
    EXPECT_TRUE(sameArea(*table, altitude(8), *table, altitude(12)));
    EXPECT_FALSE(sameArea(*table, altitude(8), *table, altitude(10)));

    // Down moves one row, Page Down eleven (22 lines of two), End shows the last eleven rows,
    // Home the first again.
    auto down = run.shot("abaixo");
    auto page = run.shot("pagina");
    auto end = run.shot("fim");
    ASSERT_TRUE(down && page && end);
    EXPECT_TRUE(sameArea(*table, rowArea(1), *down, rowArea(0)));
    EXPECT_TRUE(sameArea(*table, rowArea(12), *page, rowArea(0)));
    EXPECT_GT(inkIn(*end, rowArea(10), white, stripe), 0);
    EXPECT_EQ(inkIn(*end, { 174, rowTop(11), 124, 60 }, white, stripe), 0) << "nothing after the last row";
    EXPECT_FALSE(run.differs("tabela", "inicio"));
    EXPECT_FALSE(run.differs("tabela", "impresso"));

    // Two pages of rows, each in two bands (the altitude does not fit beside the others), no
    // page more. The labels: "Página 1 de 2" (a blank for the first band), "Página 1a de 2", then
    // the second page of rows.
    fs::path pdf = run.shots() / "user" / "Paises.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_NE(scenario::Run::pdfInfo(pdf).find("Pages:           4\n"), std::string::npos) << scenario::Run::pdfInfo(pdf);
    std::string command = "pdftoppm -gray -r 72 '" + pdf.string() + "' '" + (run.shots() / "page").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    qel::test::GrayPage pages[4];
    for (int n = 0; n < 4; ++n) {
        pages[n] = qel::test::readPgm(run.shots() / ("page-" + std::to_string(n + 1) + ".pgm"));
        ASSERT_GT(pages[n].width, 0) << "page " << n + 1;
    }
    auto [left1, right1] = labelExtent(pages[0]);
    auto [left2, right2] = labelExtent(pages[1]);
    auto [left3, right3] = labelExtent(pages[2]);
    auto [left4, right4] = labelExtent(pages[3]);
    EXPECT_GT(right1, left1) << "a label on the first page";
    EXPECT_GT(right2 - left2, right1 - left1) << "\"1a\" is wider than \"1 \"";
    EXPECT_EQ(right3 - left3, right1 - left1);
    EXPECT_EQ(right4 - left4, right2 - left2);
    EXPECT_NE(pages[0].darkIn(0, 816, 596, 826), pages[2].darkIn(0, 816, 596, 826)) << "\"1\" and \"2\"";
    // The key column opens each page of rows' first band only; the second band holds the
    // altitude alone, a narrow column.
    EXPECT_GT(pages[0].darkIn(0, 100, 596, 700), pages[1].darkIn(0, 100, 596, 700));
    EXPECT_EQ(pages[1].darkIn(200, 40, 596, 760), 0);

    // Saved on the way, reopened as it was.
    EXPECT_TRUE(fs::exists(run.shots() / "user" / "PesqPais.DTT"));
    EXPECT_FALSE(run.differs("tabela", "reaberta"));

    // "Notas" shows its panel over the table and "Fechar" takes it away; "Fontes" shows the
    // other, and going back with it open leaves for the home screen as it was.
    EXPECT_TRUE(run.differs("reaberta", "notas", { 110, 120, 420, 230 }));
    EXPECT_FALSE(run.differs("reaberta", "fechado"));
    EXPECT_TRUE(run.differs("notas", "fontes", { 110, 120, 420, 230 }));
    EXPECT_FALSE(run.differs("home", "voltou"));
}

TEST(AlmanacBancoDeDados, SavingUnderATakenNameAsksBeforeReplacing)
{
    const std::string southAmerica = "\"->Am\\xe9rica do Sul\"";
    const std::string asia = "\"->\\xc1sia\"";

    // Refused: the search saved first stays, alone.
    scenario::Run refused("almanac_bdados_substituir.script", "disk");
    ASSERT_TRUE(refused.exitedNormally());
    fs::path file = refused.shots() / "user" / "PesqPais.DTT";
    std::string kept = savedSearches(file);
    EXPECT_EQ(occurrences(kept, "(\"Name\" \"Minha Pesquisa\")"), 1) << kept;
    EXPECT_EQ(occurrences(kept, southAmerica), 1) << kept;
    EXPECT_EQ(occurrences(kept, asia), 0) << kept;
    // The continents' list opened on the saved value, chosen (its row in the list's selection
    // colour, the row above it white); the question came over the dialog and went away again.
    refused.expectProbes({ { "escolhidos",
        { { 540, 232, 0x401870, "\"Am\xE9rica do Sul\" chosen" }, { 540, 215, white, "\"Am\xE9rica do Norte\" not" } } } });
    EXPECT_TRUE(refused.differs("criterios", "pergunta"));
    EXPECT_FALSE(refused.differs("criterios", "recusada"));

    // Consent, in a later run over that file: the new search replaces the old one.
    fs::path earlier = refused.shots() / "anterior";
    fs::create_directories(earlier);
    fs::copy_file(file, earlier / "PesqPais.DTT");
    scenario::Run replaced("almanac_bdados_substituir_sim.script", "disk", "", earlier);
    ASSERT_TRUE(replaced.exitedNormally());
    std::string now = savedSearches(replaced.shots() / "user" / "PesqPais.DTT");
    EXPECT_EQ(occurrences(now, "(\"Name\" \"Minha Pesquisa\")"), 1) << now;
    EXPECT_EQ(occurrences(now, asia), 1) << now;
    EXPECT_EQ(occurrences(now, southAmerica), 0) << now;
}
