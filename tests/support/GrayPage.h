#pragma once

// A page that pdftoppm rendered in grey (a binary PGM), and a count of its dark pixels, for tests
// that check where printing put things.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qel::test {

struct GrayPage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    int at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    // Pixels darker than mid-grey inside [x0, x1) x [y0, y1), the part on the page.
    int darkIn(int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = std::max(y0, 0); y < y1 && y < height; ++y)
            for (int x = std::max(x0, 0); x < x1 && x < width; ++x)
                n += at(x, y) < 128;
        return n;
    }
};

// The page in the file, or an empty page when it is not a binary PGM.
inline GrayPage readPgm(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    GrayPage g;
    in >> magic >> g.width >> g.height >> maxValue;
    in.get();
    g.pixels.resize(size_t(g.width) * size_t(g.height));
    in.read(reinterpret_cast<char*>(g.pixels.data()), std::streamsize(g.pixels.size()));
    if (magic != "P5" || !in)
        return {};
    return g;
}

} // namespace qel::test
