// The one-page picture print against a recording page: the margins, rule width and printable
// area from the print resources, the picture fitted and centred (and cut to "PrintingRect"),
// the header and footer texts with their rules, the fonts and pen put back; then one real print
// to the PDF printer, which leaves a small file and puts the status away again.

#include "app/shell/PicturePrint.h"
#include "framework/display/ContextImage.h"
#include "framework/display/Font.h"
#include "framework/display/PrintPort.h"
#include "framework/display/Region.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/FormObject.h"
#include "platform/sys/ProcessId.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A page of a given size and resolution whose fonts are 10 pixels of ascent and 2 of descent per
// point (1 of external leading), and which notes what is drawn on it.
class RecordingPage final : public PicturePageDevice {
public:
    RecordingPage(int32_t dpi, int32_t w, int32_t h)
        : m_dpi(dpi)
        , m_width(w)
        , m_height(h)
    {
    }
    int32_t dpiX() override { return m_dpi; }
    int32_t dpiY() override { return m_dpi; }
    int32_t width() override { return m_width; }
    int32_t height() override { return m_height; }
    void fontMetrics(const qelValue& font, int32_t* a, int32_t* d, int32_t* e) override
    {
        int32_t size = qelFontSize(font);
        *a = 10 * size;
        *d = 2 * size;
        *e = size;
    }
    qelValue setFont(const qelValue& f) override
    {
        qelValue old = font;
        font = f;
        return old;
    }
    int32_t setLineWidth(int32_t w) override
    {
        int32_t old = lineWidth;
        lineWidth = w;
        return old;
    }
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override
    {
        log.push_back("line " + std::to_string(x1) + "," + std::to_string(y1) + " " + std::to_string(x2) + ","
            + std::to_string(y2) + " w" + std::to_string(lineWidth));
    }
    void drawText(const qelValue& text, int32_t x, int32_t y, int32_t w, int32_t h) override
    {
        log.push_back("text \"" + std::string(qelCString(text)) + "\" " + std::to_string(x) + "," + std::to_string(y)
            + " " + std::to_string(w) + "x" + std::to_string(h) + " pt" + std::to_string(qelFontSize(font)));
    }
    void drawPicture(const qelValue& p, int32_t x, int32_t y, int32_t w, int32_t h) override
    {
        picture = p;
        log.push_back("picture " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x"
            + std::to_string(h));
    }

    qelValue font;
    int32_t lineWidth = 1;
    qelValue picture;
    std::vector<std::string> log;

private:
    int32_t m_dpi;
    int32_t m_width;
    int32_t m_height;
};

struct PrintResources {
    PrintResources()
    {
        setInt("PrintHeaderFontSize", 12);
        setInt("PrintHeaderFontStyle", 2);
        setInt("PrintFooterFontSize", 10);
        setInt("PrintFooterFontStyle", 0);
        ui.environment->setGlobal("PrintFooterFontType", qelValue("Arial"));
        ui.environment->setGlobal("PrintHeaderFontType", qelValue("Arial"));
        ui.environment->setGlobal("PrintMarginX", qelMakeFloat(0.5f));
        ui.environment->setGlobal("PrintMarginY", qelMakeFloat(0.5f));
        setInt("PrintBaseYDPI", 96);
        form = new qelFormObject(qelTable(4, 100, 75));
        formValue = qelFormValue(form);
    }
    void set(const char* key, const char* text) { ui.environment->setGlobal(key, UiFixture::read(text)); }
    void setInt(const char* key, int32_t n) { ui.environment->setGlobal(key, qelMakeInt(n)); }

    UiFixture ui;
    qelFormObject* form = nullptr;
    qelValue formValue;
};

// Header 12 pt: 144 high, 288 with its space; footer 10 pt: 120, 240 with its space.
constexpr int32_t kHeader = 288;
constexpr int32_t kFooter = 240;

// A 600-dpi page whose printable area is w x h.
RecordingPage pageWithArea(int32_t w, int32_t h)
{
    return RecordingPage(600, w + 600, h + 600 + kHeader + kFooter);
}

} // namespace

TEST(PicturePrint, GeometryFromThePrintResources)
{
    PrintResources r;
    RecordingPage page = pageWithArea(4800, 5800);
    PicturePageGeometry g = picturePageGeometry(page);
    EXPECT_EQ(g.marginX, 300);
    EXPECT_EQ(g.marginY, 300);
    EXPECT_EQ(g.ruleWidth, 31) << "600 / 96 x 5, truncated";
    EXPECT_EQ(g.headerHeight, kHeader);
    EXPECT_EQ(g.footerHeight, kFooter);
    EXPECT_EQ(g.areaWidth, 4800);
    EXPECT_EQ(g.areaHeight, 5800);

    // A base resolution of 0 would divide by zero: the screen's 96 stands in.
    r.setInt("PrintBaseYDPI", 0);
    EXPECT_EQ(picturePageGeometry(page).ruleWidth, 31);
}

TEST(PicturePrint, PicturesFitTheAreaKeepingProportions)
{
    PrintResources r;
    struct Case {
        int32_t areaW, areaH, picW, picH;
        int32_t x, y, w, h; // relative to the area's corner (marginX, marginY + header)
    } cases[] = {
        { 4800, 5800, 1000, 500, 0, 1700, 4800, 2400 }, // wide: the width fills
        { 4800, 5800, 500, 1000, 950, 0, 2900, 5800 }, // tall: the height fills
        { 4800, 2400, 200, 100, 0, 0, 4800, 2400 }, // the area's own proportions fill it
        { 4800, 5800, 3, 7, 1157, 0, 2485, 5800 }, // divisions truncate
        { 4800, 5800, 0, 100, 0, 0, 0, 0 }, // no pixels: nothing placed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.picW) + "x" + std::to_string(c.picH));
        RecordingPage page = pageWithArea(c.areaW, c.areaH);
        PicturePlace p = placePicture(picturePageGeometry(page), c.picW, c.picH);
        EXPECT_EQ(p.width, c.w);
        EXPECT_EQ(p.height, c.h);
        if (c.w > 0) {
            EXPECT_EQ(p.x, 300 + c.x);
            EXPECT_EQ(p.y, 300 + kHeader + c.y);
        }
    }
}

TEST(PicturePrint, PageDrawsHeaderPictureAndFooterAndPutsThePenBack)
{
    PrintResources r;
    RecordingPage page = pageWithArea(4800, 5800);
    qelValue previousFont = qelFontValue(qelValue("Courier New"), 8, 0);
    page.font = previousFont;
    page.lineWidth = 3;
    PicturePage picture;
    picture.headerText = qelValue("Velarim 98 - Arara");
    picture.picture = qelMakeContextImage(1000, 500);
    drawPicturePage(page, *r.form, picture);
    std::vector<std::string> expected = {
        "text \"Velarim 98 - Arara\" 300,300 4800x144 pt12",
        "line 300,444 5100,444 w31",
        "picture 300,2288 4800x2400",
        // Footer text top: page height 6928 - 300 - 120.
        "line 300,6498 5100,6498 w31",
        "text \"P\xE1gina 1\" 300,6508 4800x120 pt10",
    };
    EXPECT_EQ(page.log, expected);
    EXPECT_EQ(page.lineWidth, 3);
    EXPECT_EQ(page.font, previousFont);
}

TEST(PicturePrint, PrintingRectCutsThePictureAndNoPictureLeavesHeaderAndFooter)
{
    PrintResources r;
    RecordingPage page = pageWithArea(4800, 5800);
    r.form->setProperty("PrintingRect", qelRectValue(10, 20, 300, 200));
    PicturePage picture;
    picture.headerText = qelValue("Velarim 98 - Mapa");
    picture.footerPrefix = qelValue("Aviso      ");
    picture.picture = qelMakeContextImage(1000, 1000);
    drawPicturePage(page, *r.form, picture);
    ASSERT_EQ(page.log.size(), 5u);
    // Scaled as a 300 x 200 picture: 4800 x 3200, centred in 5800.
    EXPECT_EQ(page.log[2], "picture 300,1888 4800x3200");
    EXPECT_EQ(qelWidth(page.picture), 300);
    EXPECT_EQ(qelHeight(page.picture), 200);
    EXPECT_EQ(page.log[4], "text \"Aviso      P\xE1gina 1\" 300,6508 4800x120 pt10");

    RecordingPage empty = pageWithArea(4800, 5800);
    picture.picture = qelValue("not a picture");
    drawPicturePage(empty, *r.form, picture);
    ASSERT_EQ(empty.log.size(), 4u);
    EXPECT_EQ(empty.log[2].rfind("line", 0), 0u);
}

TEST(PicturePrint, PrintsOnePdfPage)
{
    PrintResources r;
    qelInstallPrintPort();
    qelResetPrinting();
    fs::path folder = fs::temp_directory_path() / ("qel-picture-print-" + std::to_string(platform::processId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    r.ui.environment->setSetting("PrintFolder", qelStringValue(folder.string().c_str()));
    PicturePage picture;
    picture.documentName = "VL98 - Midias";
    picture.headerText = qelValue("Velarim 98 - Arara");
    picture.picture = qelMakeContextImage(320, 240);
    printPicturePage(*r.form, picture);
    EXPECT_EQ(qelIsPrinting(), 0);
    EXPECT_TRUE(r.ui.headless->messageBoxes().empty());
    fs::path pdf = folder / "VL98 - Midias.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_LT(fs::file_size(pdf), 2u * 1024 * 1024);
    fs::remove_all(folder);
    qelResetPrinting();
    qelPrintHooksNow() = {};
}
