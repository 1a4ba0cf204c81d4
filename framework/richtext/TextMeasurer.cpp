#include "framework/richtext/TextMeasurer.h"

#include "framework/display/Font.h"

#include <algorithm>

qelFontMeasurer::qelFontMeasurer(int32_t dotsPerInch)
    : m_dotsPerInch(dotsPerInch)
{
}

qelFontMeasures qelFontMeasurer::selectFont(const qelValue& font)
{
    qelFontObject* object = qelFontOf(font);
    if (!object)
        object = qelFontOf(qelDefaultFont());
    m_font = object->create(m_dotsPerInch);
    qelFontMeasures measures;
    m_advances.fill(0);
    m_overhang = 0;
    if (!m_font)
        return measures;
    const platform::gfx::TextMetrics& metrics = m_font->metrics();
    measures.ascent = metrics.ascent;
    measures.descent = metrics.descent;
    measures.maxCharWidth = metrics.maxCharWidth;
    measures.externalLeading = metrics.externalLeading;
    // The extent of a line is the sum of its characters' advances (no kerning) plus the overhang.
    for (int c = 0; c < 256; ++c)
        m_advances[size_t(c)] = m_font->glyph(uint8_t(c)).advance;
    m_overhang = metrics.overhang;
    return measures;
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
