// AVI files written by the movie writer and read back by the decoder: size, length, codec,
// picture orientation and colours, palette changes, seeking back, sound, and damaged input.

#include "platform/video/AviWriter.h"
#include "platform/video/MovieDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace platform;
using namespace platform::video;

namespace {

std::filesystem::path scratchFolder()
{
    auto folder = std::filesystem::temp_directory_path()
        / ("qel-movie-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
    return folder;
}

// A pattern movie of `frames` frames at 10 a second.
std::string writeMovie(AviCodec codec, int width, int height, int frames, int audioRate = 0)
{
    std::string path = (scratchFolder() / "clip.avi").string();
    AviWriter writer;
    EXPECT_TRUE(writer.open(path, codec, width, height, 10, audioRate)) << writer.error();
    for (int i = 0; i < frames; ++i)
        EXPECT_TRUE(writer.addFrame(patternFrame(width, height, i))) << writer.error();
    if (audioRate) {
        EXPECT_TRUE(writer.addAudio(toneSamples(440, audioRate, frames * 100)));
    }
    EXPECT_TRUE(writer.finish()) << writer.error();
    return path;
}

// Colours within `tolerance` on every channel (the lossy codecs move flat colours a little).
::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance)
{
    for (int shift : { 0, 8, 16 }) {
        int a = int((actual >> shift) & 0xFF);
        int e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
    return ::testing::AssertionSuccess();
}

struct CodecCase {
    AviCodec codec;
    const char* name;
    int tolerance;
};

class MovieFileTest : public ::testing::TestWithParam<CodecCase> { };

} // namespace

TEST_P(MovieFileTest, ReadsBackSizeLengthAndPictures)
{
    const CodecCase& c = GetParam();
    std::string path = writeMovie(c.codec, 40, 32, 12);
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.open(path)) << decoder.error();
    EXPECT_EQ(decoder.width(), 40);
    EXPECT_EQ(decoder.height(), 32);
    EXPECT_EQ(decoder.frameCount(), 12);
    EXPECT_EQ(decoder.lengthMs(), 1200);
    EXPECT_EQ(decoder.codecName(), c.name);
    EXPECT_FALSE(decoder.hasAudio());

    // Frame 5: top half green-yellow cycle (5 % 4 = 1: green), bottom half blue, square white.
    gfx::Surface picture;
    ASSERT_TRUE(decoder.decodeFrame(5, picture));
    ASSERT_EQ(picture.width(), 40);
    ASSERT_EQ(picture.height(), 32);
    EXPECT_TRUE(near(picture.pixel(39, 0), 0x00FF00, c.tolerance));
    EXPECT_TRUE(near(picture.pixel(39, 31), 0x0000FF, c.tolerance));
    EXPECT_TRUE(near(picture.pixel(12, 14), 0xFFFFFF, c.tolerance)); // the square at x 10..17

    // Back to an earlier frame after a later one, and past the end (the last frame).
    gfx::Surface last;
    ASSERT_TRUE(decoder.decodeFrame(99, last));
    EXPECT_TRUE(near(last.pixel(39, 0), 0xFF00FF, c.tolerance)); // frame 11: magenta
    gfx::Surface first;
    ASSERT_TRUE(decoder.decodeFrame(0, first));
    EXPECT_TRUE(near(first.pixel(39, 0), 0xFF0000, c.tolerance));
    EXPECT_TRUE(near(first.pixel(2, 14), 0xFFFFFF, c.tolerance));
}

INSTANTIATE_TEST_SUITE_P(Codecs, MovieFileTest,
    ::testing::Values(CodecCase { AviCodec::Cinepak, "cinepak", 72 }, CodecCase { AviCodec::MsVideo1, "msvideo1", 8 },
        CodecCase { AviCodec::Raw8, "rawvideo", 0 }, CodecCase { AviCodec::Mjpeg, "mjpeg", 24 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MovieFile, PaletteChangesApplyFromTheirFrame)
{
    // Only palette entry 1 changes between frames: the pixels stay the same bytes.
    std::string path = (scratchFolder() / "palette.avi").string();
    AviWriter writer;
    ASSERT_TRUE(writer.open(path, AviCodec::Raw8, 8, 8, 10));
    IndexedPicture picture;
    picture.width = picture.height = 8;
    picture.pixels.assign(64, 1);
    const uint32_t colours[] = { 0x102030, 0xA0B0C0, 0xA0B0C0, 0x00FF7F };
    for (uint32_t colour : colours) {
        picture.palette[1] = colour;
        ASSERT_TRUE(writer.addFrame(picture));
    }
    ASSERT_TRUE(writer.finish());

    MovieDecoder decoder;
    ASSERT_TRUE(decoder.open(path)) << decoder.error();
    for (int frame : { 0, 1, 2, 3, 1 }) {
        gfx::Surface shown;
        ASSERT_TRUE(decoder.decodeFrame(frame, shown));
        EXPECT_EQ(shown.pixel(3, 3), colours[frame]) << "frame " << frame;
    }
}

TEST(MovieFile, SoundTrackIsDecodedForARange)
{
    std::string path = writeMovie(AviCodec::MsVideo1, 16, 16, 10, 22050);
    MovieDecoder decoder;
    ASSERT_TRUE(decoder.open(path));
    EXPECT_TRUE(decoder.hasAudio());
    auto samples = decoder.decodeAudio(200, 700, 22050);
    // Half a second of stereo: 11025 sample pairs, give or take a packet's rounding.
    EXPECT_NEAR(double(samples.size()) / 2, 11025, 64);
    int16_t loudest = 0;
    for (int16_t s : samples)
        loudest = std::max<int16_t>(loudest, s);
    EXPECT_GT(loudest, 8000); // the mono tone at half scale, spread over two channels
}

TEST(MovieFile, MissingDamagedAndForeignFilesAreRefused)
{
    MovieDecoder decoder;
    EXPECT_FALSE(decoder.open((scratchFolder() / "none.avi").string()));
    EXPECT_FALSE(decoder.error().empty());
    gfx::Surface untouched(2, 2, 0x123456);
    EXPECT_FALSE(decoder.decodeFrame(0, untouched));
    EXPECT_EQ(untouched.pixel(0, 0), 0x123456u);

    EXPECT_FALSE(decoder.openBytes({}));
    EXPECT_FALSE(decoder.openBytes(std::vector<uint8_t>(600, 0x41)));
    // A WAVE file is RIFF too, but holds no pictures.
    std::vector<uint8_t> wave = { 'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
        1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0 };
    EXPECT_FALSE(decoder.openBytes(wave));

    // A movie cut short opens or not, but never yields a picture of another size.
    std::string path = writeMovie(AviCodec::MsVideo1, 16, 16, 6);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.resize(bytes.size() * 2 / 3);
    if (decoder.openBytes(bytes)) {
        gfx::Surface picture;
        for (int frame = 0; frame < 6; ++frame) {
            if (decoder.decodeFrame(frame, picture)) {
                EXPECT_EQ(picture.width(), 16);
                EXPECT_EQ(picture.height(), 16);
            }
        }
    }
}

TEST(MovieFile, WriterRefusesBadShapes)
{
    std::string path = (scratchFolder() / "bad.avi").string();
    AviWriter writer;
    EXPECT_FALSE(writer.open(path, AviCodec::Cinepak, 15, 16, 10));
    EXPECT_FALSE(writer.open(path, AviCodec::Cinepak, 16, 16, 0));
    ASSERT_TRUE(writer.open(path, AviCodec::Cinepak, 16, 16, 10));
    EXPECT_FALSE(writer.addFrame(gfx::Surface(8, 8)));
    EXPECT_FALSE(writer.finish()); // the failure ended the file
}
