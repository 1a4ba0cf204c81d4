// The fields screen on the sample disk, run headless: text typed into a field, part of it
// selected with the mouse and copied, a city chosen in the editable combo box and the copy pasted
// over it, and the list showing the edited city after Enter. The texts are compared by their ink:
// the pasted text must show the very columns of the selected part of the name.

#include "Scenario.h"

#include <vector>

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x483060;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t selection = 0x808080;
constexpr uint32_t listHighlight = 0x103480;

// The count of pixels unlike `paper` in each column of the box, without the empty columns at
// either end.
std::vector<int> ink(const platform::gfx::Surface& shot, int x0, int y0, int x1, int y1, uint32_t paper)
{
    std::vector<int> columns;
    for (int x = x0; x < x1; ++x) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            n += (shot.pixel(x, y) & 0xFFFFFF) != paper;
        columns.push_back(n);
    }
    while (!columns.empty() && columns.back() == 0)
        columns.pop_back();
    size_t first = 0;
    while (first < columns.size() && columns[first] == 0)
        ++first;
    return std::vector<int>(columns.begin() + long(first), columns.end());
}

} // namespace

TEST(Fields, TypeSelectCopyAndPasteIntoTheEditableComboBox)
{
    scenario::Run run("fields.script");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "campos", { { 320, 200, background, "fields screen" }, { 100, 144, white, "empty name field" } } },
        { "selected", { { 100, 136, selection, "selected end of the name" }, { 44, 136, white, "its start" } } },
        { "pasted", { { 100, 136, white, "the name no longer focused" } } },
        { "list", { { 300, 335, listHighlight, "the edited city selected in the list" } } },
    });

    auto typed = run.shot("typed");
    auto chosen = run.shot("chosen");
    auto pasted = run.shot("pasted");
    auto list = run.shot("list");
    ASSERT_TRUE(typed && chosen && pasted && list);
    // The name field (text area 42, 132, 296, 24) and the combo box's field (42, 272, 272, 24).
    std::vector<int> name = ink(*typed, 42, 132, 338, 156, white);
    std::vector<int> city = ink(*pasted, 42, 272, 314, 296, white);
    ASSERT_FALSE(city.empty());
    ASSERT_LT(city.size(), name.size());
    EXPECT_TRUE(std::equal(city.begin(), city.end(), name.end() - long(city.size())))
        << "the pasted text is the end of the name";
    // The chosen city was in the field before the paste, and is not what was pasted.
    EXPECT_NE(ink(*chosen, 42, 272, 314, 296, white), city);
    // The list's second row (323 to 346) shows the pasted text; the row cuts the cedilla's foot,
    // so the field is compared over the same 23 lines from the top of the text.
    EXPECT_EQ(ink(*list, 42, 323, 316, 346, listHighlight), ink(*pasted, 42, 271, 314, 294, white));
}
