#pragma once

// Compares every pixel of a surface with a picture drawn in characters, one string per row, a
// legend mapping each character to a pixel. On a mismatch the message shows both pictures.

#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace qel::test {

inline ::testing::AssertionResult pixelsAre(
    const platform::gfx::Surface& surface, const std::vector<std::string>& rows, const std::map<char, uint32_t>& legend)
{
    std::string actual;
    bool same = int(rows.size()) == surface.height();
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            char c = '?';
            for (auto& [key, value] : legend) {
                if (value == surface.pixel(x, y)) {
                    c = key;
                    break;
                }
            }
            actual += c;
            if (y >= int(rows.size()) || x >= int(rows[size_t(y)].size()) || rows[size_t(y)][size_t(x)] != c)
                same = false;
        }
        if (y < int(rows.size()) && int(rows[size_t(y)].size()) != surface.width())
            same = false;
        actual += '\n';
    }
    if (same)
        return ::testing::AssertionSuccess();
    std::string expected;
    for (auto& row : rows)
        expected += row + '\n';
    return ::testing::AssertionFailure() << "expected:\n" << expected << "actual:\n" << actual;
}

} // namespace qel::test
