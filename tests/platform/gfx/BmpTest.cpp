#include "platform/gfx/Bmp.h"

#include <gtest/gtest.h>

using namespace platform::gfx;

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A BMP file of `bits` (4 or 8) with the given run-length stream and a grey-ramp table.
std::vector<uint8_t> rleFile(int bits, int width, int height, const std::vector<uint8_t>& stream)
{
    Dib dib = Dib::create(width, height, bits, 1 << bits);
    std::vector<uint8_t> file = encodeBmp(dib);
    file.resize(file.size() - dib.bits.size());
    file.insert(file.end(), stream.begin(), stream.end());
    put32(file, 2, uint32_t(file.size()));
    put32(file, 14 + 16, bits == 8 ? 1 : 2);
    put32(file, 14 + 20, uint32_t(stream.size()));
    return file;
}

Dib patterned(int bits, bool topDown)
{
    Dib dib = Dib::create(13, 5, bits, bits <= 8 ? (1 << bits) : 0, topDown);
    for (size_t i = 0; i < dib.colors.size(); ++i)
        dib.colors[i] = { uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0 };
    for (size_t i = 0; i < dib.bits.size(); ++i)
        dib.bits[i] = uint8_t(i * 31 + 5);
    return dib;
}

} // namespace

TEST(Bmp, RoundTripsEveryDepthAndOrientation)
{
    for (int bits : { 1, 4, 8, 24, 32 }) {
        for (bool topDown : { false, true }) {
            Dib dib = patterned(bits, topDown);
            for (bool withFileHeader : { true, false }) {
                std::vector<uint8_t> bytes = encodeBmp(dib, withFileHeader);
                ASSERT_FALSE(bytes.empty());
                Dib back;
                ASSERT_EQ(decodeBmp(bytes, back), BmpError::None) << bits;
                EXPECT_EQ(back.header.width, dib.header.width);
                EXPECT_EQ(back.header.height, dib.header.height);
                EXPECT_EQ(back.header.bitCount, dib.header.bitCount);
                EXPECT_EQ(back.colors, dib.colors);
                EXPECT_EQ(back.bits, dib.bits);
                EXPECT_EQ(encodeBmp(back, withFileHeader), bytes);
            }
        }
    }
}

TEST(Bmp, DecodesRunLengthData)
{
    // 6 x 3, bottom row first: a run, a literal run (padded), end of line; a delta right, a
    // run, a delta right and up, a run, end of bitmap. Pixels never written stay 0.
    std::vector<uint8_t> stream = { 3, 9, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 0, 2, 7, 0, 2, 1, 1, 1, 5, 0, 1 };
    Dib dib;
    ASSERT_EQ(decodeBmp(rleFile(8, 6, 3, stream), dib), BmpError::None);
    EXPECT_EQ(dib.header.compression, 0u);
    EXPECT_EQ(dib.header.bitCount, 8);
    const uint8_t want[3][6] = { { 0, 0, 0, 0, 0, 5 }, { 0, 0, 7, 7, 0, 0 }, { 9, 9, 9, 1, 2, 3 } };
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(dib.row(y)[x], want[y][x]) << x << "," << y;
    // Expanded, it writes and reads back as an uncompressed file.
    Dib again;
    ASSERT_EQ(decodeBmp(encodeBmp(dib), again), BmpError::None);
    EXPECT_EQ(again.bits, dib.bits);

    // RLE4: a run alternates the two nibbles; a literal run of 3 nibbles is padded to 2 bytes.
    std::vector<uint8_t> four = { 5, 0x12, 0, 3, 0xAB, 0xC0, 0, 1 };
    ASSERT_EQ(decodeBmp(rleFile(4, 8, 1, four), dib), BmpError::None);
    const uint8_t nibbles[8] = { 1, 2, 1, 2, 1, 0xA, 0xB, 0xC };
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ((dib.row(0)[x / 2] >> ((x % 2) ? 0 : 4)) & 0xF, nibbles[x]) << x;
}

TEST(Bmp, RefusesBadFiles)
{
    const std::vector<uint8_t> good8 = encodeBmp(patterned(8, false));
    const std::vector<uint8_t> good24 = encodeBmp(patterned(24, false));
    auto with = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
        put32(b, at, v);
        return b;
    };
    auto cut
        = [](const std::vector<uint8_t>& b, size_t n) { return std::vector<uint8_t>(b.begin(), b.begin() + long(n)); };
    auto cutWithSize = [&](const std::vector<uint8_t>& b, size_t n) { return with(cut(b, n), 2, uint32_t(n)); };
    const size_t info = 14;
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        BmpError error;
    };
    const Case cases[] = {
        { "empty", {}, BmpError::Truncated },
        { "file header only", cut(good8, 14), BmpError::Truncated },
        { "file size smaller than the file header", with(good8, 2, 0), BmpError::SizeMismatch },
        { "file size beyond the bytes", cut(good8, good8.size() - 1), BmpError::Truncated },
        { "cut in the colour table", cutWithSize(good8, 100), BmpError::Truncated },
        { "cut in the pixels", cutWithSize(good8, good8.size() - 1), BmpError::Truncated },
        { "cut 24-bit pixels", cutWithSize(good24, good24.size() - 4), BmpError::Truncated },
        { "pixel offset inside the table", with(good8, 10, 60), BmpError::SizeMismatch },
        { "pixel offset past the end", with(good8, 10, uint32_t(good8.size() + 1)), BmpError::Truncated },
        { "image size smaller than the rows", with(good8, info + 20, 10), BmpError::SizeMismatch },
        { "64-byte header", with(good8, info, 64), BmpError::BadHeaderSize },
        { "larger header meets the pixel offset", with(good8, info, 108), BmpError::SizeMismatch },
        { "larger header runs the table past the end", with(good8, info, 124), BmpError::Truncated },
        { "two planes", with(good8, info + 12, 2 | (8 << 16)), BmpError::BadPlanes },
        { "2 bits", with(good8, info + 12, 1 | (2 << 16)), BmpError::BadBitCount },
        { "bit-field masks cut after the 40-byte header",
            cutWithSize(with(with(good24, info + 12, 1 | (16 << 16)), info + 16, 3), info + 40 + 8), BmpError::Truncated },
        { "bit fields", with(good24, info + 16, 3), BmpError::BadCompression },
        { "RLE8 on 24 bits", with(good24, info + 16, 1), BmpError::BadCompression },
        { "257 colours", with(good8, info + 32, 257), BmpError::BadColorCount },
        { "3 colours at 1 bit", with(encodeBmp(patterned(1, false)), info + 32, 3), BmpError::BadColorCount },
        { "300 colours at 24 bits", with(good24, info + 32, 300), BmpError::BadColorCount },
        { "zero width", with(good8, info + 4, 0), BmpError::BadDimensions },
        { "negative width", with(good8, info + 4, uint32_t(-13)), BmpError::BadDimensions },
        { "zero height", with(good8, info + 8, 0), BmpError::BadDimensions },
        { "height INT32_MIN", with(good8, info + 8, 0x80000000u), BmpError::TooLarge },
        { "width 100000", with(good8, info + 4, 100000), BmpError::TooLarge },
        { "16384 x 16384", with(with(good8, info + 4, 16384), info + 8, 16384), BmpError::TooLarge },
        { "packed DIB cut in the header", cut(encodeBmp(patterned(8, false), false), 30), BmpError::Truncated },
        { "packed DIB with a bad header size", with(encodeBmp(patterned(8, false), false), 0, 41),
            BmpError::BadHeaderSize },
        { "RLE top-down", with(rleFile(8, 4, 2, { 0, 1 }), info + 8, uint32_t(-2)), BmpError::BadDimensions },
        { "RLE without a size", with(rleFile(8, 4, 2, { 0, 1 }), info + 20, 0), BmpError::SizeMismatch },
        { "RLE size beyond the file", with(rleFile(8, 4, 2, { 0, 1 }), info + 20, 3), BmpError::Truncated },
        { "RLE run past the right edge", rleFile(8, 4, 2, { 5, 1, 0, 1 }), BmpError::RleOutOfBounds },
        { "RLE run after the last line", rleFile(8, 4, 2, { 0, 0, 0, 0, 1, 1, 0, 1 }), BmpError::RleOutOfBounds },
        { "RLE delta past the top", rleFile(8, 4, 2, { 0, 2, 0, 3, 0, 1 }), BmpError::RleOutOfBounds },
        { "RLE delta past the right edge", rleFile(8, 4, 2, { 0, 2, 5, 0, 0, 1 }), BmpError::RleOutOfBounds },
        { "RLE literal past the right edge", rleFile(8, 4, 2, { 0, 5, 1, 2, 3, 4, 5, 0 }), BmpError::RleOutOfBounds },
        { "RLE4 literal past the right edge", rleFile(4, 4, 1, { 0, 5, 0x12, 0x34, 0x50, 0 }),
            BmpError::RleOutOfBounds },
        { "RLE literal past the stream", rleFile(8, 8, 2, { 0, 6, 1, 2, 3 }), BmpError::Truncated },
        { "RLE odd last byte", rleFile(8, 4, 2, { 2, 1, 0 }), BmpError::Truncated },
        { "RLE cut delta", rleFile(8, 4, 2, { 0, 2, 1 }), BmpError::Truncated },
    };
    for (const Case& c : cases) {
        Dib dib;
        EXPECT_EQ(decodeBmp(c.bytes, dib), c.error) << c.name << ": " << bmpErrorText(decodeBmp(c.bytes, dib));
        EXPECT_EQ(dib.width(), 0) << c.name << ": a refused file leaves the output alone";
    }
}
