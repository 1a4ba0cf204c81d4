#include "platform/text/FreeTypeFontProvider.h"

#include "platform/sys/Cp1252.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace platform::text {

// The provider's own fontconfig configuration (not the process-wide one, so that it is freed
// with the last font) and FreeType library.
struct FreeTypeFontProvider::Library {
    FT_Library ft = nullptr;
    FcConfig* config = nullptr;
    Library()
    {
        FT_Init_FreeType(&ft);
        config = FcInitLoadConfigAndFonts();
    }
    ~Library()
    {
        if (config)
            FcConfigDestroy(config);
        if (ft)
            FT_Done_FreeType(ft);
    }
};

namespace {

    // Cell height used for a height of 0.
    constexpr int defaultCellHeight = 16;

    int roundScaled(long units, double scale)
    {
        return int(std::lround(double(units) * scale));
    }

    class FreeTypeFont final : public gfx::Font {
    public:
        FreeTypeFont(std::shared_ptr<FreeTypeFontProvider::Library> library, const ResolvedFace& resolved,
            const FontSpec& request)
            : m_library(std::move(library))
        {
            m_metrics.weight = request.weight >= 600 ? gfx::fontWeightBold : gfx::fontWeightNormal;
            m_metrics.italic = request.italic;
            m_metrics.underline = request.underline;
            m_metrics.strikeOut = request.strikeOut;
            m_emboldenGlyphs = request.weight >= 600 && !resolved.bold;
            m_slantGlyphs = request.italic && !resolved.italic;
            if (!m_library->ft || resolved.path.empty()
                || FT_New_Face(m_library->ft, resolved.path.c_str(), resolved.index, &m_face) != 0) {
                m_face = nullptr;
                return;
            }
            setSize(request.height);
        }

        ~FreeTypeFont() override
        {
            if (m_face)
                FT_Done_Face(m_face);
        }

        const gfx::TextMetrics& metrics() const override { return m_metrics; }

        const gfx::Glyph& glyph(uint8_t c) const override
        {
            if (!m_loaded[c]) {
                m_loaded[c] = true;
                render(c, m_glyphs[c]);
            }
            return m_glyphs[c];
        }

        int underlineOffset() const override { return m_underlineOffset; }
        int strikeOutOffset() const override { return m_strikeOutOffset; }
        int strokeThickness() const override { return m_strokeThickness; }

    private:
        void setSize(int height)
        {
            auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
            auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_HHEA));
            long upem = m_face->units_per_EM > 0 ? m_face->units_per_EM : 2048;
            long winAscent = os2 && os2->version != 0xFFFF ? long(os2->usWinAscent) : long(m_face->ascender);
            long winDescent = os2 && os2->version != 0xFFFF ? long(os2->usWinDescent) : -long(m_face->descender);
            if (winAscent + winDescent <= 0) {
                winAscent = upem * 4 / 5;
                winDescent = upem / 5;
            }
            int cell = height == 0 ? defaultCellHeight : height;
            // A negative height is the em itself; a positive one the cell, so the em is scaled down
            // by the em's share of the cell. Sizes are capped to keep glyph bitmaps reasonable.
            int64_t em26 = cell < 0 ? -int64_t(cell) * 64 : int64_t(cell) * upem * 64 / (winAscent + winDescent);
            em26 = std::clamp<int64_t>(em26, 64, 2048 * 64);
            FT_Set_Char_Size(m_face, 0, FT_F26Dot6(em26), 72, 72);
            double scale = double(em26) / 64.0 / double(upem);
            m_metrics.ascent = roundScaled(winAscent, scale);
            m_metrics.descent = roundScaled(winDescent, scale);
            if (cell > 0 && cell <= 2048)
                m_metrics.descent = cell - m_metrics.ascent;
            m_metrics.height = m_metrics.ascent + m_metrics.descent;
            m_metrics.internalLeading = std::max(0, m_metrics.height - int(std::lround(double(em26) / 64.0)));
            if (hhea) {
                long gap = long(hhea->Line_Gap)
                    - ((winAscent + winDescent) - (long(hhea->Ascender) - long(hhea->Descender)));
                m_metrics.externalLeading = std::max(0, roundScaled(gap, scale));
                m_metrics.maxCharWidth = roundScaled(long(hhea->advance_Width_Max), scale);
            }
            m_metrics.averageCharWidth
                = os2 && os2->version != 0xFFFF ? roundScaled(os2->xAvgCharWidth, scale) : m_metrics.maxCharWidth / 2;
            m_strokeThickness = std::max(1, roundScaled(m_face->underline_thickness, scale));
            m_underlineOffset = std::max(1, roundScaled(-long(m_face->underline_position), scale));
            long strike = os2 && os2->version != 0xFFFF ? long(os2->yStrikeoutPosition) : winAscent / 3;
            m_strikeOutOffset = -roundScaled(strike, scale);
        }

        void render(uint8_t c, gfx::Glyph& out) const
        {
            if (!m_face)
                return;
            FT_UInt index = FT_Get_Char_Index(m_face, cp1252::toUnicode(c));
            if (FT_Load_Glyph(m_face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0)
                return;
            FT_GlyphSlot slot = m_face->glyph;
            if (m_emboldenGlyphs)
                FT_GlyphSlot_Embolden(slot);
            if (m_slantGlyphs)
                FT_GlyphSlot_Oblique(slot);
            out.advance = int((slot->advance.x + 32) >> 6);
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 || slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
                return;
            const FT_Bitmap& bitmap = slot->bitmap;
            out.left = slot->bitmap_left;
            out.top = slot->bitmap_top;
            out.width = int(bitmap.width);
            out.height = int(bitmap.rows);
            out.pitch = (out.width + 7) / 8;
            out.bits.assign(size_t(out.pitch) * size_t(out.height), 0);
            int sourcePitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
            for (int y = 0; y < out.height; ++y) {
                // A negative pitch means the rows are stored bottom row first.
                int stored = bitmap.pitch < 0 ? out.height - 1 - y : y;
                std::copy_n(bitmap.buffer + size_t(stored) * size_t(sourcePitch), out.pitch,
                    out.bits.begin() + std::ptrdiff_t(size_t(y) * size_t(out.pitch)));
            }
        }

        std::shared_ptr<FreeTypeFontProvider::Library> m_library;
        FT_Face m_face = nullptr;
        gfx::TextMetrics m_metrics;
        bool m_emboldenGlyphs = false;
        bool m_slantGlyphs = false;
        int m_underlineOffset = 1;
        int m_strikeOutOffset = -1;
        int m_strokeThickness = 1;
        mutable std::array<bool, 256> m_loaded {};
        mutable std::array<gfx::Glyph, 256> m_glyphs;
    };

    bool equalsIgnoringCase(std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
            return std::tolower(uint8_t(x)) == std::tolower(uint8_t(y));
        });
    }

} // namespace

FreeTypeFontProvider::FreeTypeFontProvider()
    : m_library(std::make_shared<Library>())
{
}

FreeTypeFontProvider::~FreeTypeFontProvider() = default;

std::string FreeTypeFontProvider::substituteFamily(std::string_view face)
{
    // The sans face stands in for the raster system faces and for the other screen sans faces.
    static constexpr const char* sans = "Liberation Sans";
    static constexpr std::pair<const char*, const char*> table[] = {
        { "Arial", "Liberation Sans" },
        { "Times New Roman", "Liberation Serif" },
        { "Courier New", "Liberation Mono" },
        { "MS Sans Serif", sans },
        { "System", sans },
        { "Verdana", sans },
    };
    if (face.empty())
        return sans;
    for (auto& [name, substitute] : table)
        if (equalsIgnoringCase(face, name))
            return substitute;
    return cp1252::toUtf8(face);
}

ResolvedFace FreeTypeFontProvider::resolveFace(std::string_view face, int weight, bool italic) const
{
    ResolvedFace resolved;
    std::string family = substituteFamily(face);
    FcConfig* config = m_library->config;
    FcPattern* pattern = config ? FcPatternCreate() : nullptr;
    if (!pattern)
        return resolved;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return resolved;
    FcChar8* value = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
        resolved.family = reinterpret_cast<const char*>(value);
    if (FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
        resolved.path = reinterpret_cast<const char*>(value);
    int number = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &number) == FcResultMatch)
        resolved.index = number;
    if (FcPatternGetInteger(match, FC_WEIGHT, 0, &number) == FcResultMatch)
        resolved.bold = number >= FC_WEIGHT_DEMIBOLD;
    if (FcPatternGetInteger(match, FC_SLANT, 0, &number) == FcResultMatch)
        resolved.italic = number != FC_SLANT_ROMAN;
    FcPatternDestroy(match);
    return resolved;
}

std::shared_ptr<const gfx::Font> FreeTypeFontProvider::createFont(const FontSpec& request)
{
    return std::make_shared<FreeTypeFont>(
        m_library, resolveFace(request.face, request.weight, request.italic), request);
}

std::shared_ptr<FontProvider> makeSystemFontProvider()
{
    return std::make_shared<FreeTypeFontProvider>();
}

} // namespace platform::text
