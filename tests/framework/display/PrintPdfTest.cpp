// Two pages printed through the drawing port, each with a rectangle and a line of text, come
// out as a PDF of two pages whose rendering shows them where they were drawn; the screen's
// offscreen buffer is left alone and drawing goes back to it after the job.

#include "WindowFixture.h"

#include "framework/display/ContextValue.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/PrintPort.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/StringObject.h"
#include "platform/text/TestFontProvider.h"
#include "tests/support/GrayPage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Gray = qel::test::GrayPage;
using qel::test::readPgm;

} // namespace

TEST(PrintPdf, TwoPagesOfRectangleAndTextRenderWhereTheyWereDrawn)
{
    qelInstallWindowObjectMaker();
    qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>());
    WindowFixture fixture;
    qelSetMainPort(fixture.windowValue);
    qelInstallPrintPort();
    auto* port = dynamic_cast<qelWindowObject*>(fixture.window);
    ASSERT_TRUE(port);
    platform::gfx::Surface screenBefore = *port->offscreen();

    fs::path folder = fs::temp_directory_path() / "qel-print-pdf";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fixture.environment.setSetting("PrintFolder", qelStringValue(folder.string().c_str()));

    ASSERT_EQ(qelStartDocument(qelStringValue("Paginas")), 1);
    for (int page = 0; page < 2; ++page) {
        ASSERT_EQ(qelStartPage(), 1);
        // Page 1 at the top left, page 2 lower and to the right (printer pixels, 288 dpi).
        int x = 288 + page * 1000;
        int y = 288 + page * 1500;
        qelRectangle(x, y, 576, 288, 0x000000);
        qelSetColor(0x000000);
        qelDrawTextInRect(qelStringValue("Velarim"), x, y + 576, 1000, 200, 0, 0);
        ASSERT_EQ(qelEndPage(), 1);
    }
    qelEndDocument();
    EXPECT_EQ(qelIsPrinting(), 0);
    EXPECT_TRUE(fixture.headless->messageBoxes().empty());
    EXPECT_EQ(*port->offscreen(), screenBefore) << "printing draws nothing on the screen's buffer";
    EXPECT_EQ(qelContextDc(port->drawingContext()), port->offscreenDc()) << "drawing goes back to the screen";

    fs::path pdf = folder / "Paginas.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    // At 36 dpi a printer pixel is an eighth of a rendered pixel.
    std::string command = "pdftoppm -gray -r 36 '" + pdf.string() + "' '" + (folder / "page").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_FALSE(fs::exists(folder / "page-3.pgm"));
    for (int page = 0; page < 2; ++page) {
        SCOPED_TRACE(page);
        Gray g = readPgm(folder / ("page-" + std::to_string(page + 1) + ".pgm"));
        ASSERT_EQ(g.width, 298); // A4 at 36 dpi
        ASSERT_EQ(g.height, 421);
        int x = (288 + page * 1000) / 8;
        int y = (288 + page * 1500) / 8;
        // The filled rectangle covers its box and stops at its edges.
        EXPECT_GE(g.darkIn(x + 1, y + 1, x + 71, y + 35), 70 * 34) << "the rectangle";
        EXPECT_EQ(g.darkIn(x - 6, y - 6, x + 78, y - 2), 0) << "above it";
        EXPECT_EQ(g.darkIn(x + 74, y, x + 80, y + 36), 0) << "right of it";
        // The text below it.
        EXPECT_GT(g.darkIn(x, y + 72, x + 125, y + 97), 0) << "text";
        // Nothing where the other page has its drawing.
        int ox = (288 + (1 - page) * 1000) / 8;
        int oy = (288 + (1 - page) * 1500) / 8;
        EXPECT_EQ(g.darkIn(ox, oy, ox + 72, oy + 100), 0) << "the other page's place";
    }

    fs::remove_all(folder);
    qelResetPrinting();
    qelPrintHooksNow() = {};
    qelSetMainPort(qelNil);
    qelSetFontProvider(nullptr);
}
