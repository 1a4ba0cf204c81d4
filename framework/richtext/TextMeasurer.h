#pragma once

// How the layout measures text: a narrow interface, so that the layout does not depend on a
// drawing port. The program and the tests use qelFontMeasurer, which measures with the platform
// font a font value makes at the layout's resolution (FreeType in the program, the fixed-metric
// test font when a test installs it with qelSetFontProvider).

#include "framework/runtime/Value.h"

#include <array>
#include <cstdint>
#include <memory>

namespace platform::gfx {
class Font;
}

struct qelFontMeasures {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t maxCharWidth = 0;
    int32_t externalLeading = 0;
};

class qelTextMeasurer {
public:
    virtual ~qelTextMeasurer() = default;
    // Makes the font (a font value; anything else is the stock font) the one width() measures
    // with, and answers its metrics.
    virtual qelFontMeasures selectFont(const qelValue& font) = 0;
    // The width of the bytes as one line in the selected font.
    virtual int32_t width(const char* text, int32_t length) = 0;
};

class qelFontMeasurer final : public qelTextMeasurer {
public:
    explicit qelFontMeasurer(int32_t dotsPerInch);

    qelFontMeasures selectFont(const qelValue& font) override;
    int32_t width(const char* text, int32_t length) override;

private:
    int32_t m_dotsPerInch;
    std::shared_ptr<const platform::gfx::Font> m_font;
    std::array<int32_t, 256> m_advances {};
    int32_t m_overhang = 0;
};
