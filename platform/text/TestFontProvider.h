#pragma once

// A font of fixed, test-chosen metrics whose glyphs are solid boxes, so that text layout can
// be checked pixel for pixel without FreeType. Every character advances `charWidth` pixels
// (or its entry in `widths`); its box is one pixel narrower than the advance and `ascent`
// pixels tall, standing on the baseline. The space and the line-break characters draw nothing.

#include "platform/text/FontProvider.h"

#include <map>

namespace platform::text {

struct TestFontMetrics {
    int charWidth = 6;
    int ascent = 8;
    int descent = 2;
    int internalLeading = 0;
    int externalLeading = 0;
    std::map<uint8_t, int> widths;
};

class TestFontProvider final : public FontProvider {
public:
    explicit TestFontProvider(TestFontMetrics metrics = {})
        : m_metrics(std::move(metrics))
    {
    }
    // The face and height of the request are ignored; weight, italic, underline and strike-out
    // are reported in the metrics (underline and strike-out are drawn).
    std::shared_ptr<const gfx::Font> createFont(const FontSpec& request) override;

private:
    TestFontMetrics m_metrics;
};

} // namespace platform::text
