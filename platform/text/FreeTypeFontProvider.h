#pragma once

// Fonts from the system's font files through fontconfig and FreeType, rendered monochrome.
// Face names go through a fixed substitution table first (the faces the program's content
// names, mapped to metric-compatible free faces); other names go to fontconfig as they are.

#include "platform/text/FontProvider.h"

#include <string>
#include <string_view>

namespace platform::text {

struct ResolvedFace {
    std::string family; // the family fontconfig chose, UTF-8
    std::string path;
    int index = 0;
    bool bold = false; // the file itself is bold (else boldness is synthesised)
    bool italic = false; // the file itself is italic or oblique
};

class FreeTypeFontProvider final : public FontProvider {
public:
    FreeTypeFontProvider();
    ~FreeTypeFontProvider() override;
    FreeTypeFontProvider(const FreeTypeFontProvider&) = delete;
    FreeTypeFontProvider& operator=(const FreeTypeFontProvider&) = delete;

    // The family a face name is looked up as: the substitute from the table, or the name.
    static std::string substituteFamily(std::string_view face);
    ResolvedFace resolveFace(std::string_view face, int weight, bool italic) const;

    std::shared_ptr<const gfx::Font> createFont(const FontSpec& request) override;

    // The FreeType library, shared by the provider and every font it made.
    struct Library;

private:
    std::shared_ptr<Library> m_library;
};

} // namespace platform::text
