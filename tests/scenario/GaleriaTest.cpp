// The gallery of the almanac's list controls, run headless over the almanac's disk through its
// installation (build/<tree>/galeria): the long list of entries typed ahead, round past its end,
// the three database lists each showing its own kind's names, and the marked items of the combo
// box and of the record list in their second colours.

#include "Scenario.h"

#include <cstdint>
#include <string>

using scenario::Area;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t screen = 0x1C4080;
constexpr uint32_t bar = 0x102858;
constexpr uint32_t white = 0xFFFFFF;
// The marked items' colour, 0x2020A0 as the form gives it (0x00BBGGRR).
constexpr uint32_t marked = 0xA02020;
// The combo box's and record list's own text colour, 0xFF0000 as the drawing calls name it.
constexpr uint32_t blue = 0x0000FF;

// The entries' list: rows of 17 pixels from y 79, the selection bar across x 200.
constexpr int barX = 200;
int rowY(int row)
{
    return 86 + 17 * row;
}
constexpr Area entries { 17, 79, 198, 238 };

// How many pixels of the area have the colour.
int pixelsOf(const scenario::Run& run, const std::string& shot, Area area, uint32_t colour)
{
    auto surface = run.shot(shot);
    if (!surface) {
        ADD_FAILURE() << "no screenshot " << shot;
        return 0;
    }
    int n = 0;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x)
            n += (surface->pixel(x, y) & 0xFFFFFF) == colour;
    return n;
}

} // namespace

TEST(Gallery, TheEntriesTypedAheadAndEachListWithItsOwnData)
{
    scenario::Run run("galeria.script", "galeria");
    ASSERT_TRUE(run.exitedNormally());

    // The first entry chosen; t: Tarsila do Amaral, far down, scrolled into the last row; t:
    // Tocantins, the list scrolled once more; t: round the end and back to Tarsila, one row up;
    // a: round the end to Abacate at the top, the list as it was at the click; a: Abolição.
    run.expectProbes({ { "galeria", { { barX, rowY(0), white, "nothing chosen" } } },
        { "abacate", { { barX, rowY(0), bar, "the first entry" } } },
        { "tarsila", { { barX, rowY(13), bar, "the last row" }, { barX, rowY(12), white, "the row above" } } },
        { "tocantins", { { barX, rowY(13), bar, "the last row" } } },
        { "tarsila-again", { { barX, rowY(12), bar, "one row up" }, { barX, rowY(13), white, "the last row" } } },
        { "abacate-again", { { barX, rowY(0), bar, "the first entry" } } },
        { "abolicao", { { barX, rowY(1), bar, "the second entry" }, { barX, rowY(0), white, "the first" } } } });
    EXPECT_TRUE(run.differs("abacate", "tarsila", entries));
    EXPECT_TRUE(run.differs("tarsila", "tocantins", entries));
    EXPECT_FALSE(run.differs("abacate", "abacate-again", entries));
    // Coming round to Tarsila moved only the bar: the rows above it are as they were.
    EXPECT_FALSE(run.differs("tocantins", "tarsila-again", { 17, 79, 198, 200 }));

    // The media list was set up last, yet the entries show their own names: the second row's key
    // (66, Abolição) names nothing in the atlas or the media library.
    EXPECT_GT(pixelsOf(run, "galeria", { 18, rowY(1) - 6, 100, 12 }, 0), 10);
    EXPECT_GT(pixelsOf(run, "galeria", { 234, 80, 100, 14 }, 0), 10) << "the atlas's first name";
    EXPECT_GT(pixelsOf(run, "galeria", { 234, 178, 100, 14 }, 0), 10) << "the media library's first name";

    // The record list: Brasil in its own blue, the starred Japão in the marked colour.
    EXPECT_GT(pixelsOf(run, "galeria", { 500, 354, 100, 14 }, blue), 10);
    EXPECT_EQ(pixelsOf(run, "galeria", { 500, 354, 100, 14 }, marked), 0);
    EXPECT_GT(pixelsOf(run, "galeria", { 500, 371, 100, 14 }, marked), 10);

    // The tours' combo box open: the starred second tour in the marked colour; chosen, the field
    // shows it in the box's blue (the active field) and the list is gone.
    EXPECT_GT(pixelsOf(run, "roteiros", { 346, 392, 130, 14 }, marked), 10);
    EXPECT_GT(pixelsOf(run, "roteiros", { 346, 375, 130, 14 }, blue), 10);
    run.expectProbes({ { "roteiros", { { 470, 425, white, "the open list" } } },
        { "roteiro", { { 470, 362, blue, "the active field" }, { 470, 395, screen, "the list closed" } } } });
    EXPECT_GT(pixelsOf(run, "roteiro", { 346, 354, 130, 16 }, white), 10) << "the chosen tour's name";
}
