#include "tests/support/Golden.h"

#include "platform/gfx/Png.h"

#include <cstdlib>
#include <filesystem>

namespace qel::test {

using platform::gfx::Surface;

std::string goldenFailureDir()
{
    return QEL_GOLDEN_OUTPUT_DIR;
}

static bool updateRequested()
{
    const char* value = std::getenv("QEL_UPDATE_GOLDENS");
    return value && std::string(value) == "1";
}

static Surface diffImage(const Surface& golden, const Surface& actual)
{
    int w = std::max(golden.width(), actual.width());
    int h = std::max(golden.height(), actual.height());
    Surface diff(w, h, platform::gfx::xrgb(255, 0, 0));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool inBoth = x < golden.width() && y < golden.height() && x < actual.width() && y < actual.height();
            if (!inBoth || golden.pixel(x, y) != actual.pixel(x, y))
                continue;
            uint32_t p = golden.pixel(x, y);
            uint32_t grey = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
            uint8_t dim = uint8_t(64 + grey / 4);
            diff.setPixel(x, y, platform::gfx::xrgb(dim, dim, dim));
        }
    }
    return diff;
}

::testing::AssertionResult matchesGolden(const Surface& actual, const std::string& goldenPath)
{
    namespace fs = std::filesystem;
    if (updateRequested()) {
        if (!platform::gfx::writePng(actual, goldenPath))
            return ::testing::AssertionFailure() << "cannot write golden " << goldenPath;
        return ::testing::AssertionSuccess();
    }
    std::string stem = fs::path(goldenPath).stem().string();
    fs::create_directories(goldenFailureDir());
    std::string actualPath = goldenFailureDir() + "/" + stem + ".actual.png";
    auto golden = platform::gfx::readPng(goldenPath);
    if (!golden) {
        platform::gfx::writePng(actual, actualPath);
        return ::testing::AssertionFailure() << "golden " << goldenPath << " is missing or unreadable; actual image in "
                                             << actualPath << " (QEL_UPDATE_GOLDENS=1 writes the golden)";
    }
    if (*golden == actual)
        return ::testing::AssertionSuccess();
    std::string diffPath = goldenFailureDir() + "/" + stem + ".diff.png";
    platform::gfx::writePng(actual, actualPath);
    platform::gfx::writePng(diffImage(*golden, actual), diffPath);
    int differing = 0;
    if (golden->width() == actual.width() && golden->height() == actual.height()) {
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                differing += golden->pixel(x, y) != actual.pixel(x, y);
    }
    return ::testing::AssertionFailure() << "image differs from golden " << goldenPath << " (golden " << golden->width()
                                         << "x" << golden->height() << ", actual " << actual.width() << "x"
                                         << actual.height() << ", " << differing << " pixels differ); see "
                                         << actualPath << " and " << diffPath;
}

} // namespace qel::test
