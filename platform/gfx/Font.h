#pragma once

// A font as the device context holds it: metrics and one monochrome glyph per character code.
// Character codes are Windows-1252 bytes. The text library provides the implementations (a
// FreeType one and a fixed-metric one for tests).

#include <cstdint>
#include <vector>

namespace platform::gfx {

// Weights of the font-creation call.
constexpr int fontWeightNormal = 400;
constexpr int fontWeightBold = 700;

// Text metrics in pixels, with the meanings of the drawing calls: height = ascent + descent;
// internal leading = height - character (em) height; external leading = extra space the font
// suggests between lines.
struct TextMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int overhang = 0;
    int weight = fontWeightNormal;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// A monochrome glyph: `width` x `height` bits, rows top-down, most significant bit first,
// `pitch` bytes per row. The bitmap's top-left corner is `left` pixels right of the pen
// position and `top` pixels above the baseline. The pen then moves `advance` pixels right.
struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int pitch = 0;
    std::vector<uint8_t> bits;
};

class Font {
public:
    virtual ~Font() = default;
    virtual const TextMetrics& metrics() const = 0;
    virtual const Glyph& glyph(uint8_t character) const = 0;
    // Position of the underline and strike-out strokes: top offset below the baseline
    // (negative above it) and thickness, in pixels.
    virtual int underlineOffset() const = 0;
    virtual int strikeOutOffset() const = 0;
    virtual int strokeThickness() const = 0;
};

} // namespace platform::gfx
