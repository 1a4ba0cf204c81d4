// The text screen on the sample disk, run headless: opened from the start form, scrolled with the
// keys, the scroll part's arrow, its track and its dragged thumb, a link at the end of the text
// followed to the second form, back through the history, and the text printed to a PDF of one
// page.

#include "Scenario.h"

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t headerBand = 0x382410;
constexpr uint32_t secondBackground = 0x206038;
constexpr uint32_t thumb = 0xB0B0B0;
constexpr uint32_t track = 0xE8E8E8;

// The scroll part (586, 88, 14, 304): the thumb's middle at the top of its track and at the
// bottom.
constexpr int thumbX = 593;
constexpr int thumbTopY = 112;
constexpr int thumbBottomY = 368;

// The text area of the screen.
constexpr scenario::Area textArea { 40, 88, 546, 304 };

} // namespace

TEST(Texto, ScrollFollowALinkAndPrint)
{
    scenario::Run run("texto.script");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "texto",
            { { 320, 40, headerBand, "text screen" }, { thumbX, thumbTopY, thumb, "thumb at the top" },
                { thumbX, thumbBottomY, track, "track below it" } } },
        { "end", { { thumbX, thumbBottomY, thumb, "thumb at the bottom" }, { thumbX, thumbTopY, track, "track" } } },
        { "segunda", { { 320, 150, secondBackground, "the link's form" } } },
        { "back", { { 320, 40, headerBand, "text screen again" }, { thumbX, thumbTopY, thumb, "from the top" } } },
        { "printed", { { 320, 40, headerBand, "still the text screen" } } },
    });
    // Every step moved the text.
    const char* steps[] = { "texto", "keys", "page", "arrow", "track", "thumb", "end" };
    for (size_t i = 1; i < std::size(steps); ++i)
        EXPECT_TRUE(run.differs(steps[i - 1], steps[i], textArea)) << steps[i];

    scenario::fs::path pdf = run.shots() / "user" / "Velarim 98.pdf";
    ASSERT_TRUE(scenario::fs::exists(pdf));
    std::string output = scenario::Run::pdfInfo(pdf);
    EXPECT_NE(output.find("Pages:           1\n"), std::string::npos) << output;
}
