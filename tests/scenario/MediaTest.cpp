// The media screen on the sample disk, run headless: the movie (the disk's Cinepak movie with a
// sound track) played by its button to its end on the virtual clock, each shot showing the frame
// its time has reached, the screen under its frame back at the end, and played again; the photo's
// caption opened by a click and closed by a press or by its time, the screen put back each time;
// and the movie closed with its form when the user goes back while it plays.

#include "Scenario.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB.
constexpr uint32_t background = 0x482858;
constexpr uint32_t frameGold = 0xC8A860;
constexpr uint32_t frameInside = 0x101010;
constexpr uint32_t sky = 0x80B8E8;
constexpr uint32_t crown = 0xF4C820;
constexpr uint32_t panelGrey = 0xC0C0C0;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t startBackground = 0x183868;

// The movie plays at (48, 118), 160 x 120 at 15 frames a second: a top half whose colour changes
// every frame (red, green, yellow, magenta), a blue bottom half from y 178, and a 30-pixel white
// square from y 163 whose left edge moves 2 pixels a frame.
constexpr uint32_t red = 0xFF0000;
constexpr uint32_t magenta = 0xFF00FF;
constexpr uint32_t blue = 0x0000FF;

// Cinepak keeps colours only approximately.
bool near(uint32_t got, uint32_t want)
{
    for (int shift : { 0, 8, 16 }) {
        if (std::abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)) > 48)
            return false;
    }
    return true;
}

struct Near {
    int x;
    int y;
    uint32_t colour;
    const char* what;
};

void expectNear(const scenario::Run& run, const char* name, std::initializer_list<Near> probes)
{
    auto shot = run.shot(name);
    ASSERT_TRUE(shot) << name;
    for (const Near& p : probes) {
        uint32_t got = shot->pixel(p.x, p.y) & 0xFFFFFF;
        EXPECT_TRUE(near(got, p.colour)) << name << ": " << p.what << std::hex << " shows " << got;
    }
}

} // namespace

TEST(Media, TheMovieToItsEndAndThePhotosCaption)
{
    scenario::Run run("media.script");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "midia",
            { { 320, 350, background, "media screen" }, { 44, 114, frameGold, "the movie's frame" },
                { 60, 130, frameInside, "inside the frame before the movie" }, { 310, 120, sky, "photo" },
                { 400, 140, crown, "photo" } } },
        { "ended",
            { { 44, 114, frameGold, "frame" }, { 60, 130, frameInside, "the screen under the frame back" },
                { 100, 200, frameInside, "no picture left" } } },
        // The panel opens at two thirds of the photo's area (434, 210) and ends 10 pixels inside
        // the screen.
        { "caption",
            { { 620, 216, panelGrey, "caption panel" }, { 500, 210, white, "its raised edge" },
                { 310, 120, sky, "photo beside the panel" } } },
        { "inicio",
            { { 190, 125, startBackground, "where the movie played" },
                { 200, 230, startBackground, "where the movie played" } } },
    });
    // Half a second in: frame 7 (magenta), the square 14 pixels from the left.
    expectNear(run, "playing",
        { { 100, 130, magenta, "frame 7's top" }, { 150, 220, blue, "bottom" }, { 76, 185, white, "square" },
            { 56, 185, blue, "left of the square" } });
    // Played again, 300 ms in: frame 4 (red), the square 8 pixels from the left.
    expectNear(run, "again",
        { { 100, 130, red, "frame 4's top" }, { 70, 185, white, "square" }, { 100, 185, blue, "right of it" } });

    // The caption's text is drawn in the panel.
    auto caption = run.shot("caption");
    ASSERT_TRUE(caption);
    int dark = 0;
    for (int y = 216; y < 260; ++y)
        for (int x = 442; x < 624; ++x)
            dark += (caption->pixel(x, y) & 0xFFFFFF) < 0x404040;
    EXPECT_GT(dark, 100);
    // A press, or seven seconds, closes it and puts the screen back.
    EXPECT_FALSE(run.differs("closed", "ended"));
    EXPECT_FALSE(run.differs("timed-out", "ended"));
}

TEST(Media, TheDisksMovieIsCinepakWithSound)
{
    std::ifstream file(std::string(QEL_BUILD_DIR) + "/showcase/Media/Movies/abertura.avi", std::ios::binary);
    ASSERT_TRUE(file);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The stream headers: a video stream of the Cinepak codec and an audio stream.
    EXPECT_NE(bytes.find("vidscvid"), std::string::npos);
    EXPECT_NE(bytes.find("auds"), std::string::npos);
}
