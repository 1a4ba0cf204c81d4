#include "framework/richtext/TextMeasurer.h"

#include "framework/display/Font.h"

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

qelFontMeasurer::qelFontMeasurer(int32_t dotsPerInch)
    : m_dotsPerInch(dotsPerInch)
{
}

namespace {

// What the measurer needs of a platform font: its metrics and the advance of every character.
struct Measured {
    std::shared_ptr<const platform::gfx::Font> font;
    qelFontMeasures measures;
    std::array<int32_t, 256> advances {};
    int32_t overhang = 0;
};

// Every text is parsed into font values of its own, so the same fonts come back on every layout:
// they are measured once per description and resolution, and kept (a few dozen at most).
std::map<std::tuple<std::string, int, int, int, bool, bool>, Measured>& measuredFonts()
{
    static std::map<std::tuple<std::string, int, int, int, bool, bool>, Measured> fonts;
    return fonts;
}

constexpr size_t mostMeasuredFonts = 256;

// The provider the fonts were made by: another one (a test's) empties the cache.
std::weak_ptr<platform::text::FontProvider>& measuredProvider()
{
    static std::weak_ptr<platform::text::FontProvider> provider;
    return provider;
}

} // namespace

qelFontMeasures qelFontMeasurer::selectFont(const qelValue& font)
{
    qelFontObject* object = qelFontOf(font);
    if (!object)
        object = qelFontOf(qelDefaultFont());
    platform::text::FontSpec request = qelFontSpec(*object, m_dotsPerInch);
    auto key = std::make_tuple(
        request.face, request.height, request.weight, m_dotsPerInch, request.italic, request.underline);
    auto& fonts = measuredFonts();
    std::shared_ptr<platform::text::FontProvider> provider = qelSharedFontProvider();
    if (measuredProvider().lock() != provider || fonts.size() >= mostMeasuredFonts) {
        fonts.clear();
        measuredProvider() = provider;
    }
    auto found = fonts.find(key);
    if (found == fonts.end()) {
        Measured m;
        m.font = object->create(m_dotsPerInch);
        if (m.font) {
            const platform::gfx::TextMetrics& metrics = m.font->metrics();
            m.measures.ascent = metrics.ascent;
            m.measures.descent = metrics.descent;
            m.measures.maxCharWidth = metrics.maxCharWidth;
            m.measures.externalLeading = metrics.externalLeading;
            // A line's extent is the sum of its characters' advances (no kerning) plus the overhang.
            for (int c = 0; c < 256; ++c)
                m.advances[size_t(c)] = m.font->glyph(uint8_t(c)).advance;
            m.overhang = metrics.overhang;
        }
        found = fonts.emplace(key, std::move(m)).first;
    }
    m_font = found->second.font;
    m_advances = found->second.advances;
    m_overhang = found->second.overhang;
    return found->second.measures;
}

int32_t qelFontMeasurer::width(const char* text, int32_t length)
{
    if (!m_font)
        return 0;
    int64_t sum = m_overhang;
    for (int32_t i = 0; i < length; ++i)
        sum += m_advances[uint8_t(text[i])];
    return int32_t(std::clamp<int64_t>(sum, 0, 0x7FFFFFFF));
}
