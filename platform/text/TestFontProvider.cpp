#include "platform/text/TestFontProvider.h"

#include <array>

namespace platform::text {

namespace {

    class BoxFont final : public gfx::Font {
    public:
        BoxFont(const TestFontMetrics& m, const FontSpec& request)
        {
            int widest = m.charWidth;
            for (auto& [c, w] : m.widths)
                widest = std::max(widest, w);
            m_metrics.ascent = m.ascent;
            m_metrics.descent = m.descent;
            m_metrics.height = m.ascent + m.descent;
            m_metrics.internalLeading = m.internalLeading;
            m_metrics.externalLeading = m.externalLeading;
            m_metrics.averageCharWidth = m.charWidth;
            m_metrics.maxCharWidth = widest;
            m_metrics.weight = request.weight;
            m_metrics.italic = request.italic;
            m_metrics.underline = request.underline;
            m_metrics.strikeOut = request.strikeOut;
            for (int c = 0; c < 256; ++c) {
                gfx::Glyph& g = m_glyphs[size_t(c)];
                auto it = m.widths.find(uint8_t(c));
                g.advance = it == m.widths.end() ? m.charWidth : it->second;
                if (c == ' ' || c == '\r' || c == '\n' || g.advance <= 1)
                    continue;
                g.width = g.advance - 1;
                g.height = m.ascent;
                g.top = m.ascent;
                g.pitch = (g.width + 7) / 8;
                g.bits.assign(size_t(g.pitch) * size_t(g.height), 0);
                for (int y = 0; y < g.height; ++y)
                    for (int x = 0; x < g.width; ++x)
                        g.bits[size_t(y * g.pitch + x / 8)] |= uint8_t(0x80 >> (x % 8));
            }
        }

        const gfx::TextMetrics& metrics() const override { return m_metrics; }
        const gfx::Glyph& glyph(uint8_t c) const override { return m_glyphs[c]; }
        // Underline on the first row below the glyph boxes, strike-out through their middle.
        int underlineOffset() const override { return 0; }
        int strikeOutOffset() const override { return -(m_metrics.ascent / 2); }
        int strokeThickness() const override { return 1; }

    private:
        gfx::TextMetrics m_metrics;
        std::array<gfx::Glyph, 256> m_glyphs;
    };

} // namespace

std::shared_ptr<const gfx::Font> TestFontProvider::createFont(const FontSpec& request)
{
    return std::make_shared<BoxFont>(m_metrics, request);
}

} // namespace platform::text
