#include "tests/support/Golden.h"

#include "platform/gfx/Png.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform::gfx;

TEST(Golden, ExactMatchPassesAndMismatchLeavesActualAndDiff)
{
    Surface golden(3, 2, xrgb(1, 2, 3));
    std::string path = std::string(QEL_BUILD_DIR) + "/golden-selftest.png";
    ASSERT_TRUE(writePng(golden, path));
    EXPECT_TRUE(qel::test::matchesGolden(golden, path));

    Surface actual = golden;
    actual.setPixel(2, 1, xrgb(1, 2, 4)); // one unit of blue is a mismatch
    std::string dir = qel::test::goldenFailureDir();
    std::filesystem::remove(dir + "/golden-selftest.actual.png");
    std::filesystem::remove(dir + "/golden-selftest.diff.png");
    auto result = qel::test::matchesGolden(actual, path);
    EXPECT_FALSE(result);
    EXPECT_NE(std::string(result.message()).find("1 pixels differ"), std::string::npos) << result.message();
    EXPECT_EQ(readPng(dir + "/golden-selftest.actual.png"), actual);
    auto diff = readPng(dir + "/golden-selftest.diff.png");
    ASSERT_TRUE(diff);
    EXPECT_EQ(diff->pixel(2, 1), xrgb(255, 0, 0));
    EXPECT_NE(diff->pixel(0, 0), xrgb(255, 0, 0));
}
