#pragma once

// Font values (type 16): a face name (nil for the default font), a size in points and style
// bits (1 italic, 2 bold, 4 underline; other bits are kept and printed but change nothing).
// The platform font behind a value is made when the value is first selected into a device of
// a given resolution and kept for the value's life, one per resolution, so a font that is used
// on the screen and on the printer has the right pixel size on both.

#include "framework/runtime/Value.h"
#include "platform/gfx/Dc.h"
#include "platform/text/FontProvider.h"

#include <map>
#include <memory>

class qelFontObject final : public qelObject {
public:
    qelFontObject(const qelValue& name, int32_t size, int32_t style);

    // "(font ANSI_VAR_FONT)" for the default font, else (font "name" size style).
    qelValue printString(int32_t typeCode, int32_t quoted) const override;

    // Makes the platform font for the device's resolution when there is none yet and selects
    // it; returns the font selected before.
    std::shared_ptr<const platform::gfx::Font> select(platform::gfx::Dc& dc);
    // The platform font for a vertical resolution in dots per inch (made on first use); null
    // after the "Cannot find font" error.
    std::shared_ptr<const platform::gfx::Font> create(int dotsPerInch);

    const qelValue name;
    const int32_t size;
    const int32_t style;
    const int32_t named;

private:
    std::map<int, std::shared_ptr<const platform::gfx::Font>> m_handles;
};

enum : int32_t {
    qelFontItalic = 1,
    qelFontBold = 2,
    qelFontUnderline = 4,
};

qelValue qelFontValue(const qelValue& name, int32_t size, int32_t style);
// The default font: name nil, size 0, style 0 (one shared value).
qelValue qelDefaultFont();
qelValue qelFontName(const qelValue& font);
int32_t qelFontSize(const qelValue& font);
int32_t qelFontStyle(const qelValue& font);
qelFontObject* qelFontOf(const qelValue& value);

// The character height in pixels that a size in points has at a resolution: the platform's
// font height (negative: an em height), -((dpi * points + 36) / 72).
int32_t qelFontHeight(int32_t points, int dotsPerInch);
// The font description a font value makes at a resolution (face cut to 31 characters).
platform::text::FontSpec qelFontSpec(const qelFontObject& font, int dotsPerInch);

// Where platform fonts come from: FreeType and fontconfig unless a test installs its own.
// Returns the previous provider (null when none was made yet).
std::shared_ptr<platform::text::FontProvider> qelSetFontProvider(
    std::shared_ptr<platform::text::FontProvider> provider);
platform::text::FontProvider& qelFontProvider();
// The provider in use, shared (made as qelFontProvider makes it when there is none yet).
std::shared_ptr<platform::text::FontProvider> qelSharedFontProvider();
