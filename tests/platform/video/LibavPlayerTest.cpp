// The movie device on a headless window: plays follow the virtual clock, ends arrive as
// MM_MCINOTIFY at the end of the last frame, and pictures appear in what is shown but never
// in the window's front buffer.

#include "platform/video/LibavPlayer.h"
#include "platform/video/AviWriter.h"
#include "tests/platform/window/Harness.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform;
using namespace platform::video;

namespace {

constexpr uint32_t background = 0x336699;

struct PlayerFixture : ::testing::Test {
    platform::testing::Harness harness;
    WindowHandle window = 0;
    std::unique_ptr<LibavPlayer> player;
    std::string path;

    void SetUp() override
    {
        harness.fill = background;
        window = harness.open(64, 48);
        player = std::make_unique<LibavPlayer>(harness.system);
        auto folder = std::filesystem::temp_directory_path()
            / ("qel-player-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = (folder / "clip.avi").string();
        // Ten frames at 10 a second: a second long; frame k's top half is colour k % 4.
        AviWriter writer;
        ASSERT_TRUE(writer.open(path, AviCodec::Raw8, 16, 16, 10));
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(writer.addFrame(patternFrame(16, 16, i)));
        ASSERT_TRUE(writer.finish());
        run(0);
    }

    void TearDown() override { player.reset(); }

    // Dispatches messages until `ms` of virtual time have passed.
    void run(uint32_t ms)
    {
        uint32_t until = harness.pump().now() + ms;
        Message m;
        do {
            uint32_t now = harness.pump().now();
            int32_t left = timeReached(now, until) ? 0 : int32_t(until - now);
            if (harness.pump().wait(m, left) == 1)
                harness.pump().dispatch(m);
        } while (!timeReached(harness.pump().now(), until));
        harness.window().flush();
    }

    std::vector<Message> notices() const { return harness.only({ MM_MCINOTIFY }); }

    uint32_t openMovie()
    {
        uint32_t type = 0;
        uint32_t device = 0;
        EXPECT_EQ(player->openType("avivideo", type), PlayerOk);
        EXPECT_EQ(player->openElement("avivideo", path, "1", window, device), PlayerOk);
        return device;
    }
};

} // namespace

TEST_F(PlayerFixture, PlayEndsWithOneNoticeAtTheEndOfTheLastFrame)
{
    uint32_t device = openMovie();
    int width = 0;
    int height = 0;
    int32_t frames = 0;
    ASSERT_EQ(player->sourceSize(device, width, height), PlayerOk);
    ASSERT_EQ(player->length(device, frames), PlayerOk);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(frames, 10);

    uint32_t started = harness.pump().now();
    ASSERT_EQ(player->play(device, 0, 9, false), PlayerOk);
    run(450);
    int32_t position = -1;
    ASSERT_EQ(player->position(device, position), PlayerOk);
    EXPECT_EQ(position, 4);
    EXPECT_TRUE(notices().empty());
    run(1000);
    auto ends = notices();
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0].lParam, int64_t(device));
    EXPECT_EQ(ends[0].time - started, 1000u);
    ASSERT_EQ(player->position(device, position), PlayerOk);
    EXPECT_EQ(position, 9);
}

TEST_F(PlayerFixture, StopAndRepeatPostNothingAndSeekMovesThePosition)
{
    uint32_t device = openMovie();
    ASSERT_EQ(player->play(device, 2, 5, true), PlayerOk);
    run(1000); // two and a half rounds of four frames
    int32_t position = -1;
    player->position(device, position);
    EXPECT_EQ(position, 4);
    ASSERT_EQ(player->stop(device), PlayerOk);
    run(2000);
    player->position(device, position);
    EXPECT_EQ(position, 4);
    EXPECT_TRUE(notices().empty());

    ASSERT_EQ(player->seek(device, 40), PlayerOk);
    player->position(device, position);
    EXPECT_EQ(position, 9);
    // Ranges are brought into the movie: from 7 to "before 7" shows frame 7 alone.
    ASSERT_EQ(player->play(device, 7, 3, false), PlayerOk);
    run(150);
    EXPECT_EQ(notices().size(), 1u);
}

TEST_F(PlayerFixture, PicturesAreLaidOverThePresentationOnly)
{
    uint32_t device = openMovie();
    // The 16 x 16 movie scaled to 32 x 32 at (8, 8).
    ASSERT_EQ(player->place(device, gfx::Rect::fromSize(8, 8, 32, 32)), PlayerOk);
    ASSERT_EQ(player->show(device, true), PlayerOk);
    run(0);
    const gfx::Surface& shown = harness.headless->shown();
    EXPECT_EQ(shown.pixel(38, 9), 0xFF0000u); // frame 0: red top half
    EXPECT_EQ(shown.pixel(38, 38), 0x0000FFu);
    EXPECT_EQ(shown.pixel(2, 2), background);
    EXPECT_EQ(harness.window().front().pixel(38, 9), background);

    ASSERT_EQ(player->play(device, 0, 9, false), PlayerOk);
    run(120); // frame 1: green
    EXPECT_EQ(harness.headless->shown().pixel(38, 9), 0x00FF00u);
    EXPECT_EQ(harness.window().front().pixel(38, 9), background);

    // Moving the picture uncovers its old place; hiding it uncovers everything.
    ASSERT_EQ(player->place(device, gfx::Rect::fromSize(40, 0, 16, 16)), PlayerOk);
    run(0);
    EXPECT_EQ(harness.headless->shown().pixel(20, 30), background);
    EXPECT_EQ(harness.headless->shown().pixel(50, 2), 0x00FF00u);
    ASSERT_EQ(player->show(device, false), PlayerOk);
    run(0);
    EXPECT_EQ(harness.headless->shown().pixel(50, 2), background);

    // A single frame drawn on request goes where it is asked, at the current position.
    gfx::Surface port(20, 20, 0);
    ASSERT_EQ(player->seek(device, 2), PlayerOk);
    ASSERT_EQ(player->drawFrame(device, port, gfx::Rect::fromSize(2, 2, 16, 16)), PlayerOk);
    EXPECT_EQ(port.pixel(17, 2), 0xFFFF00u); // frame 2: yellow
    EXPECT_EQ(port.pixel(1, 1), 0u);
}

TEST_F(PlayerFixture, UnknownTypesIdsAndFilesAreErrors)
{
    uint32_t type = 0;
    uint32_t device = 0;
    EXPECT_EQ(player->openType("cdaudio", type), ErrorUnknownDeviceType);
    EXPECT_EQ(player->openElement("avivideo", path, "1", window, device), ErrorNotOpenedType);
    ASSERT_EQ(player->openType("avivideo", type), PlayerOk);
    EXPECT_EQ(player->openElement("avivideo", path + ".missing", "1", window, device), ErrorCannotOpenFile);
    int32_t position = 0;
    for (uint32_t unknown : { 0u, 999u })
        EXPECT_EQ(player->position(unknown, position), ErrorInvalidDevice);
    EXPECT_EQ(player->play(999, 0, -1, false), ErrorInvalidDevice);
    EXPECT_FALSE(player->errorText(ErrorCannotOpenFile).empty());
    EXPECT_EQ(player->close(type), PlayerOk);
    EXPECT_EQ(player->close(type), ErrorInvalidDevice);
}

TEST_F(PlayerFixture, SoundOfAPlayGoesOutAndStopsWithIt)
{
    std::string toned = path + ".tone.avi";
    AviWriter writer;
    ASSERT_TRUE(writer.open(toned, AviCodec::MsVideo1, 16, 16, 10, 22050));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(writer.addFrame(patternFrame(16, 16, i)));
    ASSERT_TRUE(writer.addAudio(toneSamples(440, 22050, 1000)));
    ASSERT_TRUE(writer.finish());

    std::vector<size_t> sent; // the sample counts handed out, 0 for a stop
    player->setSoundOutput({ [] { return 8000; }, [&](const std::vector<int16_t>& s) { sent.push_back(s.size()); } });
    uint32_t type = 0;
    uint32_t device = 0;
    ASSERT_EQ(player->openType("avivideo", type), PlayerOk);
    ASSERT_EQ(player->openElement("avivideo", toned, "1", window, device), PlayerOk);
    ASSERT_EQ(player->play(device, 5, 9, false), PlayerOk);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_NEAR(double(sent[0]) / 2, 4000, 64); // half a second of stereo at 8000 a second
    run(600);
    EXPECT_EQ(sent.back(), 0u); // the end stopped it
    ASSERT_EQ(player->play(device, 0, 9, false), PlayerOk);
    ASSERT_EQ(player->stop(device), PlayerOk);
    EXPECT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent.back(), 0u);
    // The silent movie plays without sound.
    uint32_t silent = openMovie();
    ASSERT_EQ(player->play(silent, 0, -1, false), PlayerOk);
    EXPECT_EQ(sent.size(), 4u);
}
