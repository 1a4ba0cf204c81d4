// Images: files written by other programs against their reference decodes, a JPEG made here,
// cut-outs, the drawing errors, the clipboard sink and a table of damaged pictures (run under
// the sanitizers: none may read or write out of bounds).

#include "../runtime/ErrorRecorder.h"

#include "framework/display/ContextImage.h"
#include "framework/display/ContextValue.h"
#include "framework/display/DibImage.h"
#include "framework/display/Image.h"
#include "framework/display/JpegImage.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/Bmp.h"
#include "platform/gfx/ClipboardImage.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Png.h"
#include "platform/jpeg/Jpeg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using platform::gfx::Surface;

namespace {

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

qelValue bufferOf(const std::vector<uint8_t>& bytes)
{
    return qelBufferFromMemory(const_cast<uint8_t*>(bytes.data()), int32_t(bytes.size()), 1);
}

qelValue imageOf(const std::vector<uint8_t>& bytes, const char* type)
{
    return qelImageObject::create(bufferOf(bytes), qelStringValue(type));
}

// The image drawn whole on a black surface of `w` x `h` (its own size when 0).
Surface drawn(const qelValue& image, int w = 0, int h = 0)
{
    qelImageObject* i = qelImageOf(image);
    Surface s(w ? w : i->width(), h ? h : i->height(), 0);
    platform::gfx::MemoryDc dc(s);
    qelDrawImage(qelContextValue(&dc), 0, 0, image, 0, 0, 0, 0);
    return s;
}

int largestDifference(const Surface& a, const Surface& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                int d = std::abs(int((a.pixel(x, y) >> shift) & 0xFF) - int((b.pixel(x, y) >> shift) & 0xFF));
                worst = std::max(worst, d);
            }
    return worst;
}

} // namespace

TEST(Image, FilesWrittenByOtherProgramsDecodeAsTheirReferenceDecoders)
{
    struct Case {
        const char* file;
        const char* type;
        int bits;
        int tolerance;
    } cases[] = {
        { "bits1.bmp", "bmp", 1, 0 },
        { "bits4.bmp", "bmp", 4, 0 },
        { "bits8.bmp", "bmp", 8, 0 },
        { "rle8.bmp", "rle", 8, 0 },
        { "bits24.bmp", "bmp", 24, 0 },
        { "bits32.bmp", "dib", 32, 0 },
        { "topdown.bmp", "bmp", 24, 0 },
        // Other layouts are drawn from decoded bitmaps: bit fields widened to 32 bits, the core
        // header's three-byte colours and RLE4 rows expanded to plain indexed rows.
        { "rle4.bmp", "rle", 4, 0 },
        { "core.bmp", "bmp", 4, 0 },
        { "bits16.bmp", "bmp", 32, 4 },
        { "v4.bmp", "bmp", 32, 4 },
        { "v5.bmp", "bmp", 32, 0 },
        { "fields32.bmp", "dib", 32, 0 },
        { "baseline.jpg", "jpg", 24, 2 },
        { "progressive.jpg", "jpg", 24, 2 },
        { "grey.jpg", "pic", 24, 2 },
    };
    const std::string folder = std::string(QEL_TEST_DATA) + "/images/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<uint8_t> bytes = readFile(folder + c.file);
        ASSERT_FALSE(bytes.empty());
        qelValue image = imageOf(bytes, c.type);
        ASSERT_FALSE(image.isNil());
        std::string name = c.file;
        std::optional<Surface> reference = platform::gfx::readPng(folder + name.substr(0, name.find('.')) + ".png");
        ASSERT_TRUE(reference);
        Surface actual = drawn(image);
        ASSERT_EQ(actual.width(), reference->width());
        ASSERT_EQ(actual.height(), reference->height());
        EXPECT_LE(largestDifference(actual, *reference), c.tolerance);
        if (auto* dib = dynamic_cast<qelDIBImageObject*>(qelImageOf(image))) {
            EXPECT_EQ(dib->dib()->header.bitCount, c.bits);
        }
    }
}

TEST(Image, JpegMadeHereDecodesWithinTwoAndItsBitsAreABottomUpTwentyFourBitDib)
{
    // Flat blocks on the coding grid, so that the only loss is rounding.
    Surface picture(35, 32, 0);
    const uint32_t colours[4] = { 0xC03020, 0x20A060, 0x3050E0, 0xF0F0F0 };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 35; ++x)
            picture.setPixel(x, y, colours[(y / 16) * 2 + std::min(x / 16, 1)]);
    std::vector<uint8_t> jpeg = platform::jpeg::encode(picture, 100);
    ASSERT_FALSE(jpeg.empty());
    qelValue image = imageOf(jpeg, "JPG");
    ASSERT_FALSE(image.isNil());
    EXPECT_STREQ(qelImageOf(image)->typeName(), "jpg");
    EXPECT_LE(largestDifference(drawn(image), picture), 2);

    qelValue bits = qelImageOf(image)->bits();
    platform::gfx::Dib dib;
    qelBufferObject* b = qelBufferOf(bits);
    ASSERT_TRUE(b);
    ASSERT_EQ(platform::gfx::decodeBmp({ b->bytes(), size_t(b->length) }, dib), platform::gfx::BmpError::None);
    EXPECT_EQ(dib.header.bitCount, 24);
    EXPECT_TRUE(dib.isBottomUp());
    EXPECT_EQ(dib.stride(), 108u); // 35 * 3 = 105, padded to 4
    EXPECT_LE(std::abs(int(dib.pixel(0, 31) & 0xFF) - int(colours[2] & 0xFF)), 2);
}

TEST(Image, CutOutsShowTheirRectangleOfTheSharedData)
{
    Surface picture(32, 100, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 32; ++x)
            picture.setPixel(x, y, y < 16 ? 0xFF0000 : y < 48 ? 0x00FF00 : 0x0000FF);
    qelValue jpeg = imageOf(platform::jpeg::encode(picture, 100), "jpg");
    qelValue cut = qelImageFromImage(jpeg, 0, 10, 16, 20);
    qelImageObject* c = qelImageOf(cut);
    EXPECT_EQ(c->originY, 70);
    EXPECT_EQ(c->width(), 16);
    EXPECT_EQ(c->data, qelImageOf(jpeg)->data);
    Surface shown = drawn(cut);
    // Rows 10..15 of the picture are red, 16..29 green.
    EXPECT_GT((shown.pixel(3, 2) >> 16) & 0xFF, 200u);
    EXPECT_GT((shown.pixel(3, 12) >> 8) & 0xFF, 200u);

    std::vector<uint8_t> bmp = platform::gfx::encodeBmp(platform::gfx::dibFromSurface(picture));
    qelValue dib = imageOf(bmp, "bmp");
    qelValue dibCut = qelImageFromImage(dib, 4, 40, 8, 16);
    Surface dibShown = drawn(dibCut);
    EXPECT_EQ(dibShown.pixel(0, 0), 0x00FF00u);
    EXPECT_EQ(dibShown.pixel(7, 15), 0x0000FFu);

    Surface page(10, 10, 0xABCDEF);
    platform::gfx::MemoryDc pageDc(page);
    qelValue context = qelMakeObjectValue(QEL_IMAGE_TYPE, new qelContextImageObject(&pageDc, 10, 10));
    qelValue copied = qelImageFromImage(context, 8, 8, 4, 4);
    Surface copiedShown = drawn(copied);
    EXPECT_EQ(copiedShown.pixel(1, 1), 0xABCDEFu);
    // Outside the source context the copy is black.
    EXPECT_EQ(copiedShown.pixel(3, 3), 0u);
}

TEST(Image, DrawingReportsItsArgumentErrorsAndANilSourceDrawsNothing)
{
    ErrorRecorder errors;
    Surface s(4, 4, 0x111111);
    platform::gfx::MemoryDc dc(s);
    qelValue context = qelContextValue(&dc);
    qelDrawImage(context, 0, 0, qelNil, 0, 0, 0, 0);
    EXPECT_TRUE(errors.messages.empty());
    qelDrawImage(context, 0, 0, context, 0, 0, 0, 0);
    qelDrawImage(qelMakeInt(3), 0, 0, context, 0, 0, 2, 2);
    qelDrawImage(context, 0, 0, qelStringValue("x"), 0, 0, 2, 2);
    std::vector<uint8_t> bmp = platform::gfx::encodeBmp(platform::gfx::dibFromSurface(s));
    qelValue image = imageOf(bmp, "bmp");
    qelStretchImage(image, 0, 0, image, 0, 0, 0, 0);
    qelSetImageMask(image, qelStringValue("not an image"));
    EXPECT_EQ(errors.messages,
        (std::vector<std::string> {
            "Bad type for argument 1 of qelWidth(imgMovTxtRgn).",
            "Bad type for argument 1 of qelHeight(imgMovTxtRgn).",
            "qelDrawImage: context type must be QEL_CONTEXT_TYPE or QEL_IMAGE_TYPE.",
            "qelDrawImage: imgSrc type must be QEL_CONTEXT_TYPE or QEL_IMAGE_TYPE.",
            "qelStretchImage: context sub-type must be 'context'.",
            "Mask image must be of type 'context' or 'dib'",
        }));
}

TEST(Image, ContextImagesAndCopiesToTheClipboardCarryTwentyFourBitBits)
{
    platform::gfx::clearClipboardImage();
    qelValue context = qelMakeContextImage(3, 2);
    qelContextImageObject* c = qelContextImageOf(context);
    c->dc()->fillRect({ 0, 0, 1, 1 }, { 0x0000FF });
    qelCopyImageToClipboard(context);
    std::optional<std::vector<uint8_t>> clip = platform::gfx::clipboardImage();
    ASSERT_TRUE(clip);
    platform::gfx::Dib dib;
    ASSERT_EQ(platform::gfx::decodeBmp(*clip, dib), platform::gfx::BmpError::None);
    EXPECT_EQ(dib.header.bitCount, 24);
    EXPECT_EQ(dib.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(dib.pixel(2, 1), 0u);

    // A DIB image's bits are its packed DIB after the file header, sharing its data.
    std::vector<uint8_t> bmp = platform::gfx::encodeBmp(dib);
    qelValue image = imageOf(bmp, "dib");
    qelValue bits = qelImageOf(image)->bits();
    EXPECT_EQ(qelBufferOf(bits)->length, int32_t(bmp.size() - 14));
    EXPECT_EQ(qelBufferOf(bits)->bytes(), qelBufferOf(qelImageOf(image)->data)->bytes() + 14);
}

namespace {

std::vector<uint8_t> infoHeader(
    int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t colours, uint32_t sizeImage = 0)
{
    std::vector<uint8_t> h(40, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            h[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put(0, 40, 4);
    put(4, uint32_t(width), 4);
    put(8, uint32_t(height), 4);
    put(12, 1, 2);
    put(14, bits, 2);
    put(16, compression, 4);
    put(20, sizeImage, 4);
    put(32, colours, 4);
    return h;
}

std::vector<uint8_t> withBytes(std::vector<uint8_t> head, size_t extra, uint8_t fill = 0)
{
    head.insert(head.end(), extra, fill);
    return head;
}

} // namespace

TEST(Image, DamagedPicturesAreReportedAndDrawNothing)
{
    // A noisy picture, so that most of the file is scan data and half of it cuts a scan.
    Surface sample(64, 64, 0);
    uint32_t seed = 1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            seed = seed * 1103515245u + 12345u;
            sample.setPixel(x, y, seed >> 8);
        }
    std::vector<uint8_t> goodJpeg = platform::jpeg::encode(sample, 80);
    std::vector<uint8_t> cutJpeg(goodJpeg.begin(), goodJpeg.begin() + std::ptrdiff_t(goodJpeg.size() / 2));
    // A frame header that claims 65000 x 65000 pixels.
    std::vector<uint8_t> hugeJpeg = goodJpeg;
    for (size_t i = 0; i + 8 < hugeJpeg.size(); ++i)
        if (hugeJpeg[i] == 0xFF && hugeJpeg[i + 1] == 0xC0) {
            hugeJpeg[i + 5] = hugeJpeg[i + 7] = 0xFD;
            hugeJpeg[i + 6] = hugeJpeg[i + 8] = 0xE8;
            break;
        }
    std::vector<uint8_t> rleOut = infoHeader(4, 4, 8, 1, 2, 6);
    rleOut.insert(rleOut.end(), 8, 0);
    for (uint8_t b : { 50, 1, 0, 0, 0, 1 }) // a run of 50 on a 4-pixel line
        rleOut.push_back(b);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* type;
        const char* error; // null: validates, draws nothing
    } cases[] = {
        { "short", std::vector<uint8_t>(10, 0), "bmp", "qelDIBImageObject::validate: DIB data buffer size too small." },
        { "no header", std::vector<uint8_t>(20, 7), "dib", "qelDIBImageObject::validate: DIB header not found." },
        { "pixels missing", withBytes(infoHeader(100, 100, 24, 0, 0), 30), "dib",
            "qelDIBImageObject::validate: DIB data buffer size too small." },
        { "table too large", withBytes(infoHeader(2, 2, 8, 0, 300), 2000), "dib",
            "qelDIBImageObject::validate: DIB header not found." },
        { "too wide", withBytes(infoHeader(100000, 1, 8, 0, 2), 64), "dib",
            "qelDIBImageObject::validate: DIB header not found." },
        { "zero height", withBytes(infoHeader(4, 0, 24, 0, 0), 64), "dib",
            "qelDIBImageObject::validate: DIB header not found." },
        { "run past the line", rleOut, "rle", "qelDIBImageObject::validate: DIB header not found." },
        { "not a jpeg", std::vector<uint8_t>(64, 0x41), "jpg", "Invalid JPEG file" },
        { "empty jpeg", {}, "jpg", "Invalid JPEG file" },
        { "huge jpeg", hugeJpeg, "jpg", "Invalid JPEG file" },
        { "truncated jpeg", cutJpeg, "jpg", nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ErrorRecorder errors;
        qelValue image = imageOf(c.bytes, c.type);
        if (c.error) {
            EXPECT_TRUE(image.isNil());
            EXPECT_EQ(errors.messages, std::vector<std::string> { c.error });
            continue;
        }
        ASSERT_FALSE(image.isNil());
        EXPECT_TRUE(errors.messages.empty());
        Surface s = drawn(image);
        EXPECT_EQ(s, Surface(s.width(), s.height(), 0));
        EXPECT_TRUE(qelImageOf(image)->bits().isNil());
    }
}
