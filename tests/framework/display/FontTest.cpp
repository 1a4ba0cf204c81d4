// Font values: heights at the screen's and the printer's resolution (one platform font per
// resolution), the style bits, the face-name limit and the print forms.

#include "framework/display/Font.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/text/TestFontProvider.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingProvider final : public platform::text::FontProvider {
public:
    std::shared_ptr<const platform::gfx::Font> createFont(const platform::text::FontSpec& request) override
    {
        specs.push_back(request);
        return m_fonts.createFont(request);
    }
    std::vector<platform::text::FontSpec> specs;

private:
    platform::text::TestFontProvider m_fonts;
};

// A device of 288 dots per inch (a printer page) over a surface.
class PrinterDc final : public platform::gfx::Dc {
public:
    explicit PrinterDc(platform::gfx::Surface& s)
        : m_inner(s)
    {
        initClip();
    }
    platform::gfx::Rect deviceBounds() const override { return m_inner.deviceBounds(); }
    int deviceCaps(platform::gfx::DeviceCap cap) const override
    {
        if (cap == platform::gfx::DeviceCap::LogPixelsY || cap == platform::gfx::DeviceCap::LogPixelsX)
            return 288;
        return m_inner.deviceCaps(cap);
    }
    const platform::gfx::Surface* surface() const override { return m_inner.surface(); }
    void fillRect(const platform::gfx::Rect& r, const platform::gfx::Brush& b) override { m_inner.fillRect(r, b); }
    void rectangle(int l, int t, int r, int b) override { m_inner.rectangle(l, t, r, b); }
    void lineTo(int x, int y) override { m_inner.lineTo(x, y); }
    bool bitBlt(int x, int y, int w, int h, const Dc& s, int sx, int sy, platform::gfx::RasterOp op) override
    {
        return m_inner.bitBlt(x, y, w, h, s, sx, sy, op);
    }
    bool stretchBlt(
        int x, int y, int w, int h, const Dc& s, int sx, int sy, int sw, int sh, platform::gfx::RasterOp op) override
    {
        return m_inner.stretchBlt(x, y, w, h, s, sx, sy, sw, sh, op);
    }
    int stretchDIBits(int x, int y, int w, int h, int sx, int sy, int sw, int sh, const platform::gfx::Dib& d,
        platform::gfx::RasterOp op) override
    {
        return m_inner.stretchDIBits(x, y, w, h, sx, sy, sw, sh, d, op);
    }
    void drawMask(int x, int y, int w, int h, const uint8_t* bits, int pitch, platform::gfx::ColorRef c) override
    {
        m_inner.drawMask(x, y, w, h, bits, pitch, c);
    }

private:
    platform::gfx::MemoryDc m_inner;
};

} // namespace

TEST(Font, HeightsFollowTheResolutionOfEachDevice)
{
    EXPECT_EQ(qelFontHeight(12, 96), -16);
    EXPECT_EQ(qelFontHeight(10, 96), -13);
    EXPECT_EQ(qelFontHeight(12, 288), -48);
    EXPECT_EQ(qelFontHeight(10, 288), -40);

    auto provider = std::make_shared<RecordingProvider>();
    qelSetFontProvider(provider);
    qelValue font = qelFontValue(qelStringValue("Times New Roman"), 12, 7);
    platform::gfx::Surface screen(10, 10), page(10, 10);
    platform::gfx::MemoryDc screenDc(screen);
    PrinterDc pageDc(page);
    qelFontOf(font)->select(screenDc);
    qelFontOf(font)->select(pageDc);
    qelFontOf(font)->select(screenDc);
    qelFontOf(font)->select(pageDc);
    ASSERT_EQ(provider->specs.size(), 2u);
    EXPECT_EQ(provider->specs[0].height, -16);
    EXPECT_EQ(provider->specs[1].height, -48);
    EXPECT_EQ(provider->specs[0].face, "Times New Roman");
    EXPECT_EQ(provider->specs[0].weight, platform::gfx::fontWeightBold);
    EXPECT_TRUE(provider->specs[0].italic);
    EXPECT_TRUE(provider->specs[0].underline);
    EXPECT_TRUE(screenDc.font());
    qelSetFontProvider(nullptr);
}

TEST(Font, StyleBitsNameLimitAndPrintForms)
{
    qelValue plain8 = qelFontValue(qelStringValue("Arial"), 9, 8);
    platform::text::FontSpec request = qelFontSpec(*qelFontOf(plain8), 96);
    EXPECT_EQ(request.weight, platform::gfx::fontWeightNormal);
    EXPECT_FALSE(request.italic);
    EXPECT_FALSE(request.underline);
    EXPECT_STREQ(qelCString(qelPrintValue(plain8, 1)), "(font \"Arial\" 9 8)");

    std::string forty(40, 'x');
    qelValue longName = qelFontValue(qelStringValue(forty.c_str()), 10, 0);
    EXPECT_EQ(qelFontSpec(*qelFontOf(longName), 96).face, std::string(31, 'x'));

    qelValue standard = qelDefaultFont();
    EXPECT_STREQ(qelCString(qelPrintValue(standard, 1)), "(font ANSI_VAR_FONT)");
    EXPECT_EQ(qelFontOf(standard)->named, 0);
    EXPECT_EQ(qelDefaultFont(), standard);
    EXPECT_TRUE(qelFontName(standard).isNil());
    EXPECT_EQ(qelFontSize(plain8), 9);
    EXPECT_EQ(qelFontStyle(plain8), 8);
}
