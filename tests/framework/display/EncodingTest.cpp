// Region, font and image values with the display's makers installed: read from the text
// notation or decoded, they are the display's own objects, and they encode back to the same
// bytes.

#include "framework/runtime/Encoding.h"
#include "framework/display/DibImage.h"
#include "framework/display/DisplayMakers.h"
#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "framework/display/JpegImage.h"
#include "framework/display/Region.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"
#include "platform/gfx/Bmp.h"
#include "platform/jpeg/Jpeg.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> encoded(const qelValue& value)
{
    qelValue stream = qelNewMemoryStream(nullptr, 0);
    EXPECT_TRUE(qelEncode(stream, value));
    auto* s = static_cast<qelMemoryStream*>(qelStreamOf(stream));
    return { s->data(), s->data() + s->tell() };
}

qelValue decoded(std::vector<uint8_t> bytes)
{
    qelValue stream = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
    return qelDecode(stream);
}

struct Makers : ::testing::Test {
    Makers() { qelInstallDisplayMakers(); }
    ~Makers() override { qelResetMakers(); }
};

} // namespace

TEST_F(Makers, RegionsAndFontsFromTextRoundTripThroughTheEncoding)
{
    qelValue list = qelDecodeText(qelStringValue(
        "(list (rect 10 20 30 40) (point 5 6) (region (1 2) (7 3) (4 9)) (font \"Arial\" 12 2) (font \"X\" 9 8))"));
    ASSERT_EQ(qelCount(list), 5);
    ASSERT_TRUE(qelRegionOf(qelGet(list, 0)));
    qelRegionObject* polygon = qelRegionOf(qelGet(list, 2));
    ASSERT_TRUE(polygon);
    EXPECT_EQ(polygon->pointCount(), 4);
    EXPECT_EQ(polygon->right, 7);
    EXPECT_EQ(qelContainsPoint(qelGet(list, 2), 4, 5), 1);
    ASSERT_TRUE(qelFontOf(qelGet(list, 3)));

    std::vector<uint8_t> bytes = encoded(list);
    qelValue again = decoded(bytes);
    EXPECT_STREQ(qelCString(qelPrintValue(again, 1)), qelCString(qelPrintValue(list, 1)));
    EXPECT_TRUE(qelRegionOf(qelGet(again, 2)));
    EXPECT_EQ(qelRegionOf(qelGet(again, 2))->pointCount(), 4);
    EXPECT_EQ(qelFontStyle(qelGet(again, 4)), 8);
    EXPECT_EQ(encoded(again), bytes);
}

TEST_F(Makers, ImagesDecodeAsValidatedImagesAndEncodeTheirData)
{
    platform::gfx::Surface picture(6, 4, 0x336699);
    std::vector<uint8_t> bmp = platform::gfx::encodeBmp(platform::gfx::dibFromSurface(picture));
    std::vector<uint8_t> jpg = platform::jpeg::encode(picture, 90);
    qelValue list = qelListOf({ qelImageObject::create(qelBufferFromMemory(bmp.data(), int32_t(bmp.size()), 1), "dib"),
        qelImageObject::create(qelBufferFromMemory(jpg.data(), int32_t(jpg.size()), 1), "jpg") });
    std::vector<uint8_t> bytes = encoded(list);
    qelValue again = decoded(bytes);
    qelImageObject* dib = qelImageOf(qelGet(again, 0));
    qelImageObject* jpeg = qelImageOf(qelGet(again, 1));
    ASSERT_TRUE(dib);
    ASSERT_TRUE(jpeg);
    EXPECT_STREQ(dib->typeName(), "dib");
    EXPECT_STREQ(jpeg->typeName(), "jpg");
    EXPECT_EQ(dib->width(), 6);
    EXPECT_EQ(jpeg->height(), 4);
    EXPECT_EQ(encoded(again), bytes);
}
