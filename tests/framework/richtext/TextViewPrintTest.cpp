// Printing a text view's text to the PDF printer (A4 at 288 dots per inch) with the box-glyph
// test font (characters 6 printer pixels wide and 10 high): the PDF is rendered with pdftoppm at
// half the printer's resolution and probed for its pages, header, title, text, footer and page
// line.

#include "../ui/UiFixture.h"

#include "framework/display/PrintPort.h"
#include "framework/display/Region.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/Table.h"
#include "tests/support/GrayPage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A page rendered at 144 dpi, probed in printer pixels (288 dpi).
struct Gray {
    qel::test::GrayPage page;
    int width = 0;
    int darkIn(int x0, int y0, int x1, int y1) const { return page.darkIn(x0 / 2, y0 / 2, x1 / 2, y1 / 2); }
};

// Page geometry at 288 dpi on A4 (2381 x 3368): half-inch margins left and top, the column
// 2129 wide and 2936 high, the footer at 3224 and the page line one text line (10) below.
constexpr int margin = 144;
constexpr int footerY = 3224;
constexpr int lineHigh = 10;

struct Printed {
    bool result = false;
    std::vector<Gray> pages;
};

class TextViewPrint : public ::testing::Test {
protected:
    TextViewPrint()
    {
        qelInstallPrintPort();
        qelInstallTextMapMaker();
        folder = fs::temp_directory_path() / ("qel-textview-print-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        ui.environment->setSetting("PrintFolder", qelStringValue(folder.string().c_str()));
        qelValue data = UiFixture::read(R"((table ("Class" "TextView") ("Hot Spot" (rect 20 20 200 100))))");
        view = new TextView(data);
        value = qelControlValue(view);
        view->initialize();
        view->setText(qelValue("na tela"));
    }
    ~TextViewPrint() override
    {
        fs::remove_all(folder);
        qelResetPrinting();
        qelPrintHooksNow() = {};
    }

    Printed print(const qelValue& options)
    {
        Printed p;
        p.result = qelIsTrue(view->perform(qelValue("Print"), options));
        fs::path pdf = qelPrintOutputPath();
        if (!p.result || !fs::exists(pdf))
            return p;
        std::string command = "pdftoppm -gray -r 144 '" + pdf.string() + "' '" + (folder / "page").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        for (int n = 1; fs::exists(folder / ("page-" + std::to_string(n) + ".pgm")); ++n) {
            qel::test::GrayPage page = qel::test::readPgm(folder / ("page-" + std::to_string(n) + ".pgm"));
            p.pages.push_back(Gray { page, page.width });
        }
        fs::remove_all(folder);
        fs::create_directories(folder);
        return p;
    }

    static qelValue options(std::initializer_list<std::pair<const char*, qelValue>> entries)
    {
        qelValue t = qelTable(8, 100, 75);
        for (const auto& [key, v] : entries)
            qelPut(t, qelValue(key), v);
        return t;
    }

    UiFixture ui;
    fs::path folder;
    TextView* view = nullptr;
    qelValue value;
};

} // namespace

TEST_F(TextViewPrint, ThreePagesWithHeaderTitleFooterAndPageLines)
{
    qelValue before = view->textRegion;
    Printed p = print(options({ { "Text", qelValue("um\\page dois\\page tr\\'eas") },
        { "Header", qelValue("CABECALHO") }, { "Footer", qelValue("RODAPE") },
        { "Title", qelValue("TITULO MUITO LONGO DO TEXTO") } }));
    ASSERT_TRUE(p.result);
    ASSERT_EQ(p.pages.size(), 3u);
    for (size_t n = 0; n < p.pages.size(); ++n) {
        SCOPED_TRACE("page " + std::to_string(n + 1));
        const Gray& g = p.pages[n];
        ASSERT_EQ(g.width, 1191);
        // The header in the top margin, above the column.
        EXPECT_GT(g.darkIn(margin, margin - lineHigh, margin + 9 * 6, margin), 0) << "header";
        // The title only on the first page; it is wider than the text of the later pages.
        int titleTail = g.darkIn(margin + 60, margin, margin + 27 * 6, margin + lineHigh);
        if (n == 0)
            EXPECT_GT(titleTail, 0) << "title";
        else
            EXPECT_EQ(titleTail, 0) << "no title";
        // The later pages' text starts at the column's top left.
        if (n > 0)
            EXPECT_GT(g.darkIn(margin, margin, margin + 24, margin + 2 * lineHigh), 0) << "text";
        // The footer centred over the column, the page line one line below it.
        int centre = margin + 2129 / 2;
        EXPECT_GT(g.darkIn(centre - 18, footerY, centre + 18, footerY + lineHigh), 0) << "footer";
        EXPECT_EQ(g.darkIn(0, footerY, centre - 40, footerY + 2 * lineHigh), 0) << "footer is centred";
        EXPECT_GT(g.darkIn(centre - 40, footerY + lineHigh, centre + 40, footerY + 2 * lineHigh), 0) << "page line";
    }
    // The view on screen keeps its region and offset.
    EXPECT_EQ(view->textRegion, before);
    EXPECT_EQ(view->scrollOffset, 0);
    for (const std::string& e : recordedErrors())
        ADD_FAILURE() << e;
}

TEST_F(TextViewPrint, OnePageIndentsAndRefusals)
{
    // One page: no page line.
    Printed one = print(options({ { "Text", qelValue("curto") }, { "Footer", qelValue("RODAPE") } }));
    ASSERT_EQ(one.pages.size(), 1u);
    int centre = margin + 2129 / 2;
    EXPECT_EQ(one.pages[0].darkIn(centre - 40, footerY + lineHigh, centre + 40, footerY + 2 * lineHigh), 0);
    // The first line is the wrapping group's empty paragraph; the text is on the second.
    EXPECT_GT(one.pages[0].darkIn(margin, margin + lineHigh, margin + 30, margin + 3 * lineHigh), 0);

    // The indents are hundredths of an inch, turned into printer dots at the printer's 288 dots
    // per inch without rounding to whole inches: "LeftIdent" 150 moves the text an inch and a
    // half right (432 dots), 50 half an inch (144); "RightIdent" 650 narrows the column by 1872
    // dots to 257, so the words wrap inside those.
    std::string words;
    for (int i = 0; i < 40; ++i)
        words += "palavra ";
    struct Indent {
        int32_t left;
        int32_t right;
        int columnLeft; // printer dots
        int columnRight;
    } indents[] = {
        { 150, 0, margin + 432, margin + 2129 },
        { 50, 0, margin + 144, margin + 2129 },
        { 0, 650, margin, margin + 257 },
    };
    for (const Indent& c : indents) {
        SCOPED_TRACE("LeftIdent " + std::to_string(c.left) + " RightIdent " + std::to_string(c.right));
        Printed indented = print(options({ { "Text", qelValue(words.c_str()) }, { "LeftIdent", qelValue(c.left) },
            { "RightIdent", qelValue(c.right) } }));
        ASSERT_EQ(indented.pages.size(), 1u);
        const Gray& g = indented.pages[0];
        int textBottom = margin + 12 * lineHigh;
        EXPECT_EQ(g.darkIn(0, margin, c.columnLeft, textBottom), 0);
        EXPECT_GT(g.darkIn(c.columnLeft, margin, c.columnLeft + 30, textBottom), 0);
        EXPECT_EQ(g.darkIn(c.columnRight + 2, margin, 2380, textBottom), 0);
    }

    // An empty text prints one page holding a blank.
    Printed blank = print(options({ { "Text", qelValue("") } }));
    EXPECT_TRUE(blank.result);
    EXPECT_EQ(blank.pages.size(), 1u);

    // A text that is neither a string nor a buffer prints nothing.
    Printed none = print(options({ { "Text", qelValue(7) } }));
    EXPECT_FALSE(none.result);
    EXPECT_TRUE(none.pages.empty());
    EXPECT_EQ(qelIsPrinting(), 0);
}
