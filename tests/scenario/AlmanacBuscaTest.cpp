// The word search run headless on the almanac's disk from the menu bar's "Busca": the query
// typed is searched and its count shown, the advanced panel's "Verbetes" box narrows the rows to
// the entries (a new count drawn over the ground, not over the old count), and the chosen row
// opens the entry page.

#include "Scenario.h"

namespace {

// Buscadlg.frm at the dialog's origin (70, 5): the ground under the count line, the count's ink,
// and the result list.
constexpr uint32_t dialogGround = 0xECF0F8, ink = 0x010000, selectedRow = 0x00FFFF;
constexpr scenario::Area resultList { 86, 101, 340, 184 };
// Two points of the count's first digit: ink of an "8" and not of a "2", and the other way round.
constexpr int eightX = 87, eightY = 296, twoX = 89, twoY = 300;

} // namespace

TEST(AlmanacBusca, AQueryFromTheMenuBarIsCountedFilteredAndOpensTheEntryChosen)
{
    scenario::Run run("almanac_busca.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "vazia",
            { { twoX, twoY, dialogGround, "no count before the first search" },
                { eightX, eightY, dialogGround, "no count before the first search" } } },
        // "brasil" in every section: 81 items.
        { "todas",
            { { eightX, eightY, ink, "the count \"81 itens encontrados\"" },
                { twoX, twoY, dialogGround, "the count \"81 itens encontrados\"" } } },
        // The entries only: 29 items, the old count gone.
        { "verbetes",
            { { twoX, twoY, ink, "the count \"29 itens encontrados\"" },
                { eightX, eightY, dialogGround, "the old count erased under the new one" } } },
        { "escolhida", { { 300, 110, selectedRow, "the first row chosen" } } },
        // The entry page: its band, its page, the entry's name above its text and the bold
        // heading of the text.
        { "verbete",
            { { 300, 10, 0x701818, "the entries' band" }, { 300, 390, 0xFFFCF0, "the entry's page" },
                { 48, 81, 0x701818, "the entry's name" }, { 46, 153, ink, "the text's heading" } } },
    });
    EXPECT_TRUE(run.differs("todas", "verbetes", resultList)) << "the filter left the rows as they were";
}
