#pragma once

// Makes fonts from the description the font-creation call takes. A height below zero is the
// character (em) height in pixels, above zero the cell height (ascent + descent), zero a
// default size. Face names are Windows-1252.

#include "platform/gfx/Font.h"

#include <memory>
#include <string>

namespace platform::text {

struct FontSpec {
    std::string face;
    int height = 0;
    int weight = gfx::fontWeightNormal;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class FontProvider {
public:
    virtual ~FontProvider() = default;
    // Never null: a face that cannot be found falls back to a substitute.
    virtual std::shared_ptr<const gfx::Font> createFont(const FontSpec& request) = 0;
};

// The platform's font provider: the system's faces with the substitution table.
std::shared_ptr<FontProvider> makeSystemFontProvider();

} // namespace platform::text
