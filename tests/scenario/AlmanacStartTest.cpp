// The program on the almanac's disk, run headless: it starts and shows the start picture.

#include "Scenario.h"

using scenario::Probes;

TEST(AlmanacStart, ShowsTheStartPicture)
{
    scenario::Run run("almanac_start.script", "disk");
    ASSERT_TRUE(run.exitedNormally());
    // content/almanac/pictures.tbl: the dark bands, the gold lines under and over the middle
    // band, and the gold star in the middle with its blue centre.
    run.expectProbes({ { "start",
        { { 10, 60, 0x0A1A3C, "top band" }, { 10, 121, 0xF0B828, "gold line" }, { 10, 200, 0x102858, "middle band" },
            { 320, 170, 0xF0B828, "star" }, { 320, 220, 0x1C4080, "star's centre" } } } });
}
