#include "platform/gfx/Png.h"

#include <gtest/gtest.h>

using namespace platform::gfx;

TEST(Png, RoundTripKeepsEveryPixel)
{
    Surface surface(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            surface.setPixel(x, y, xrgb(uint8_t(x * 37), uint8_t(y * 51), uint8_t(x * y * 9 + 1)));
    std::string path = std::string(QEL_BUILD_DIR) + "/png-roundtrip.png";
    ASSERT_TRUE(writePng(surface, path));
    auto back = readPng(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, surface);
}

TEST(Png, DamagedInputIsRefused)
{
    Surface surface(4, 4, xrgb(10, 20, 30));
    std::vector<uint8_t> bytes = encodePng(surface);
    ASSERT_GT(bytes.size(), 40u);
    EXPECT_TRUE(decodePng(bytes));
    // Truncated in the image data, truncated in the header, and a corrupted header CRC.
    EXPECT_FALSE(decodePng(std::span(bytes).first(bytes.size() - 20)));
    EXPECT_FALSE(decodePng(std::span(bytes).first(20)));
    std::vector<uint8_t> bad = bytes;
    bad[29] ^= 0xFF;
    EXPECT_FALSE(decodePng(bad));
    EXPECT_FALSE(readPng(std::string(QEL_BUILD_DIR) + "/no-such-file.png"));
    EXPECT_TRUE(encodePng(Surface()).empty());
}
