#include "framework/display/Font.h"

#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "platform/text/FontProvider.h"

#include <algorithm>
#include <string>

namespace {

// The default font stands for the platform's variable-pitch system font: a sans face whose
// character height is 11 pixels at 96 dots per inch.
constexpr const char* defaultFace = "MS Sans Serif";
constexpr int defaultEmAt96 = 11;
// Face names are cut to what the platform's face-name field holds, less its NUL.
constexpr size_t maximumFaceLength = 31;

std::shared_ptr<platform::text::FontProvider>& provider()
{
    static std::shared_ptr<platform::text::FontProvider> current;
    return current;
}

} // namespace

qelFontObject::qelFontObject(const qelValue& name, int32_t size, int32_t style)
    : name(name)
    , size(size)
    , style(style)
    , named(name.isNil() ? 0 : 1)
{
}

qelValue qelFontObject::printString(int32_t, int32_t) const
{
    if (!named)
        return qelStringValue("(font ANSI_VAR_FONT)");
    std::string text = "(font \"";
    text += qelCString(name);
    text += "\" " + std::to_string(size) + " " + std::to_string(style) + ")";
    return qelStringValue(text.c_str());
}

int32_t qelFontHeight(int32_t points, int dotsPerInch)
{
    // 64-bit so that a stored size of any magnitude cannot overflow.
    int64_t height = (int64_t(dotsPerInch) * points + 36) / 72;
    return int32_t(-std::clamp<int64_t>(height, -0x7FFFFFFF, 0x7FFFFFFF));
}

platform::text::FontSpec qelFontSpec(const qelFontObject& font, int dotsPerInch)
{
    platform::text::FontSpec request;
    if (!font.named) {
        request.face = defaultFace;
        request.height = -((defaultEmAt96 * dotsPerInch + 48) / 96);
        return request;
    }
    request.face = qelCString(font.name);
    if (request.face.size() > maximumFaceLength)
        request.face.resize(maximumFaceLength);
    request.height = qelFontHeight(font.size, dotsPerInch);
    request.weight = (font.style & qelFontBold) ? platform::gfx::fontWeightBold : platform::gfx::fontWeightNormal;
    request.italic = (font.style & qelFontItalic) != 0;
    request.underline = (font.style & qelFontUnderline) != 0;
    return request;
}

std::shared_ptr<const platform::gfx::Font> qelFontObject::create(int dotsPerInch)
{
    auto found = m_handles.find(dotsPerInch);
    if (found != m_handles.end())
        return found->second;
    std::shared_ptr<const platform::gfx::Font> font = qelFontProvider().createFont(qelFontSpec(*this, dotsPerInch));
    if (!font) {
        std::string message = "Cannot find font: ";
        message += qelCString(name);
        message += " of size " + std::to_string(size) + " with style " + std::to_string(style);
        qelError(message.c_str());
        return nullptr;
    }
    m_handles.emplace(dotsPerInch, font);
    return font;
}

std::shared_ptr<const platform::gfx::Font> qelFontObject::select(platform::gfx::Dc& dc)
{
    std::shared_ptr<const platform::gfx::Font> font = create(dc.deviceCaps(platform::gfx::DeviceCap::LogPixelsY));
    if (!font)
        return dc.font();
    return dc.selectFont(std::move(font));
}

qelValue qelFontValue(const qelValue& name, int32_t size, int32_t style)
{
    return qelMakeObjectValue(QEL_FONT_TYPE, new qelFontObject(name, size, style));
}

qelValue qelDefaultFont()
{
    // Made once and never released: the stock font outlives every value that refers to it.
    static const qelValue* font = new qelValue(qelFontValue(qelNil, 0, 0));
    return *font;
}

qelFontObject* qelFontOf(const qelValue& value)
{
    if (value.type() != QEL_FONT_TYPE)
        return nullptr;
    return dynamic_cast<qelFontObject*>(value.object());
}

qelValue qelFontName(const qelValue& font)
{
    qelFontObject* f = qelFontOf(font);
    return f ? f->name : qelNil;
}

int32_t qelFontSize(const qelValue& font)
{
    qelFontObject* f = qelFontOf(font);
    return f ? f->size : 0;
}

int32_t qelFontStyle(const qelValue& font)
{
    qelFontObject* f = qelFontOf(font);
    return f ? f->style : 0;
}

std::shared_ptr<platform::text::FontProvider> qelSetFontProvider(std::shared_ptr<platform::text::FontProvider> next)
{
    std::shared_ptr<platform::text::FontProvider> previous = provider();
    provider() = std::move(next);
    return previous;
}

platform::text::FontProvider& qelFontProvider()
{
    return *qelSharedFontProvider();
}

std::shared_ptr<platform::text::FontProvider> qelSharedFontProvider()
{
    if (!provider())
        provider() = platform::text::makeSystemFontProvider();
    return provider();
}
