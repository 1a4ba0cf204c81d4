// Movies on the real movie device and a headless window: AVI files made by the movie writer
// (Cinepak, MS Video 1, raw 8-bit with a palette) report their size and length, draw a frame
// into the port, and post their end notice when the virtual clock reaches their length.

#include "WindowFixture.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/MovieObject.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "platform/text/TestFontProvider.h"
#include "platform/video/AviWriter.h"
#include "platform/video/LibavPlayer.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform::video;

namespace {

struct DecodeCase {
    AviCodec codec;
    const char* name;
};

struct MovieDecodeTest : ::testing::TestWithParam<DecodeCase> {
    struct SetUpFirst {
        SetUpFirst()
        {
            qelInstallWindowObjectMaker();
            qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
        }
    } first;
    WindowFixture fixture;
    qelWindowObject* port = nullptr;
    std::string path;

    MovieDecodeTest()
    {
        port = dynamic_cast<qelWindowObject*>(fixture.window);
        qelSetMainPort(fixture.windowValue);
        qelResetMovieState();
        qelInstallMovieServices();
        qelSetMediaHooks(qelAnyMovieOpen, nullptr);
    }
    ~MovieDecodeTest() override
    {
        qelCloseAllMovies();
        qelResetMovieState();
        qelSetMoviePlayer(nullptr);
        qelSetMediaHooks(nullptr, nullptr);
        qelSetMainPort(qelNil);
        qelSetFontProvider(nullptr);
    }

    // Eight frames at 10 a second (800 ms) of 32 x 24; frame k's top half is red, green,
    // yellow, magenta by k % 4, the bottom half blue.
    void writeMovie(AviCodec codec)
    {
        auto folder = std::filesystem::temp_directory_path()
            / ("qel-movie-decode-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + GetParam().name);
        std::filesystem::create_directories(folder);
        path = (folder / "Clip.AVI").string();
        AviWriter writer;
        ASSERT_TRUE(writer.open(path, codec, 32, 24, 10));
        for (int i = 0; i < 8; ++i)
            ASSERT_TRUE(writer.addFrame(patternFrame(32, 24, i)));
        ASSERT_TRUE(writer.finish());
    }
};

bool reddish(uint32_t c)
{
    return ((c >> 16) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) < 0x60 && (c & 0xFF) < 0x60;
}

} // namespace

TEST_P(MovieDecodeTest, SizeLengthFrameAndEndNotice)
{
    writeMovie(GetParam().codec);
    // The content names files in any case; the movie finds this one by a lower-case name.
    std::string named = path.substr(0, path.size() - 8) + "clip.avi";
    qelValue movie = qelMovieFromFile(qelStringValue(named.c_str()), "avi", 0);
    ASSERT_FALSE(movie.isNil());
    EXPECT_EQ(qelWidth(movie), 32);
    EXPECT_EQ(qelHeight(movie), 24);
    EXPECT_EQ(qelCount(movie), 8);

    // Frame 0 into the port at (100, 50): red over blue; the rest of the port untouched.
    const platform::gfx::Surface& pixels = *port->offscreen();
    uint32_t before = pixels.pixel(99, 49);
    ASSERT_EQ(qelDrawMovieFrame(movie, 0, 100, 50, 0, 0), 1);
    EXPECT_TRUE(reddish(pixels.pixel(130, 51))) << std::hex << pixels.pixel(130, 51);
    EXPECT_NE(pixels.pixel(130, 72), 0u);
    EXPECT_EQ(pixels.pixel(99, 49), before);
    EXPECT_EQ(qelLeft(movie), 100);

    uint32_t started = qelClockNow();
    ASSERT_EQ(qelPlay(movie, 0, -1, 0), 1);
    EXPECT_TRUE(qelAnyMovieOpen());
    qelEvent event;
    qelGetEvent(event, QEL_MEDIA_NOTICE_EVENT, 5000);
    ASSERT_EQ(event.type, QEL_MEDIA_NOTICE_EVENT);
    EXPECT_EQ(qelMovieOf(qelGet(event.a, 0)), qelMovieOf(movie));
    EXPECT_STREQ(qelCString(qelGet(event.a, 1)), "ended");
    EXPECT_EQ(uint32_t(event.time) - started, 800u);
    EXPECT_FALSE(qelAnyMovieOpen());
    EXPECT_EQ(qelIsPlaying(movie), 0);
}

INSTANTIATE_TEST_SUITE_P(Codecs, MovieDecodeTest,
    ::testing::Values(DecodeCase { AviCodec::Cinepak, "cinepak" }, DecodeCase { AviCodec::MsVideo1, "msvideo1" },
        DecodeCase { AviCodec::Raw8, "raw8" }, DecodeCase { AviCodec::Mjpeg, "mjpeg" }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MovieDecode, MissingAndDamagedFilesAreRefusedWithoutHarm)
{
    // The real device over a window layer of its own: with none installed for the program,
    // message boxes go to the debugger output.
    platform::HeadlessBackend::Options options;
    options.exitWhenStuck = false;
    platform::WindowSystem system(std::make_unique<platform::HeadlessBackend>(options));
    qelSetMoviePlayer(std::make_unique<LibavPlayer>(system));
    auto folder = std::filesystem::temp_directory_path() / "qel-movie-damaged";
    std::filesystem::create_directories(folder);
    std::string damaged = (folder / "damaged.avi").string();
    FILE* file = std::fopen(damaged.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("RIFF\x10\0\0\0AVI LIST", file);
    std::fclose(file);
    qelResetMovieState();
    for (const std::string& name : { damaged, (folder / "missing.avi").string() }) {
        ::testing::internal::CaptureStderr();
        qelValue movie = qelMovieFromFile(qelStringValue(name.c_str()), "avi", 0);
        EXPECT_EQ(qelPlay(movie, 0, -1, 0), 0);
        EXPECT_EQ(qelWidth(movie), 0);
        EXPECT_EQ(qelDrawMovieFrame(movie, 0, 0, 0, 0, 0), 0);
        std::string shown = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(shown.find("Cannot instantiate movie: " + name), std::string::npos) << shown;
    }
    qelResetMovieState();
    qelSetMoviePlayer(nullptr);
}
