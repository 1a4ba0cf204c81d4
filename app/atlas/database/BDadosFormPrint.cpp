// The printout of the result table: every record and every field of the search on the current
// printer. Columns that pass the page's width continue on further pages (bands, labelled "1",
// "1a", "1b" ... within a page of rows); records that pass its height continue on further pages
// of rows. The key column opens the first band of each page of rows.

#include "app/atlas/database/BDadosForm.h"

#include "app/shell/TextPage.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/PortState.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <algorithm>
#include <string>

namespace {

constexpr int32_t printStripeColor = 0xC0C0C0;
// Screen pictures are drawn at 75 pixels to the inch.
constexpr int32_t screenDpi = 75;

// The band letters after the first band's blank.
constexpr const char* bandLetters = "abcdefghijklmnopqrstuvxyz";

bool isEmptyText(const qelValue& text)
{
    return !text.isString() || qelCount(text) == 0;
}

void drawCentred(const qelValue& text, int32_t centre, int32_t y, int32_t* height = nullptr)
{
    int32_t w = 0;
    int32_t h = 0;
    qelStringWidth(text, &w, &h);
    qelDrawTextInRect(text, centre - w / 2, y, 0, 0, 0, 0);
    if (height)
        *height = h;
}

} // namespace

qelValue BDadosForm::pageLabel(int32_t page, int32_t band, int32_t pages)
{
    // Past the last letter the bands go on in two letters ("aa", "ab", ...), never past the end.
    std::string letter = " ";
    if (band > 0) {
        const int32_t count = int32_t(std::char_traits<char>::length(bandLetters));
        int32_t n = band - 1;
        letter.clear();
        if (n >= count)
            letter += bandLetters[(n / count - 1) % count];
        letter += bandLetters[n % count];
    }
    return qelValue("P\xE1gina ") + page + qelValue(letter.c_str()) + " de " + pages;
}

int32_t BDadosForm::rowPageCount(int32_t records, int32_t rowsPerPage)
{
    rowsPerPage = std::max(1, rowsPerPage);
    return std::max(1, (records + rowsPerPage - 1) / rowsPerPage);
}

void BDadosForm::print()
{
    textpage::showStatus("Imprimindo");
    if (qelStartDocument(qelValue("VL98 - Banco de Dados"))) {
        printPages();
        if (qelIsPrinting())
            qelEndDocument();
    }
    // The notice goes also when the job could not start.
    textpage::hideStatus("Imprimindo");
}

void BDadosForm::printHeading(
    const qelValue& heading, const qelValue& orderImage, int32_t x, int32_t y, const qelValue& criterion)
{
    if (heading.type() != QEL_IMAGE_TYPE)
        return;
    int32_t dpiX = qelPrinterDpiX();
    int32_t dpiY = qelPrinterDpiY();
    int32_t width = qelWidth(heading) * dpiX / screenDpi;
    int32_t height = qelHeight(heading) * dpiY / screenDpi;
    qelShowImageStretched(heading, x, y, width, height);
    if (!isEmptyText(criterion)) {
        int32_t w = 0;
        int32_t h = 0;
        qelStringWidth(qelValue("|"), &w, &h);
        qelClipRect(x + 3, y + height - h - 2, width - 6, h + 2);
        qelDrawTextInRect(criterion, x + 3, y + height - h - 2, 0, 0, 0, 0);
        qelResetClip();
    }
    if (orderImage.type() == QEL_IMAGE_TYPE) {
        int32_t markWidth = qelWidth(orderImage) * dpiX / screenDpi;
        int32_t markHeight = qelHeight(orderImage) * dpiY / screenDpi;
        qelShowImageStretched(orderImage, x + width - markWidth, y, markWidth, markHeight);
    }
}

void BDadosForm::printPages()
{
    int32_t dpiX = qelPrinterDpiX();
    int32_t dpiY = qelPrinterDpiY();
    int32_t left = 2 * (dpiX / 4);
    int32_t top = dpiY / 2;
    int32_t width = qelPrinterWidth() - 3 * (dpiX / 8) - left;
    int32_t height = qelPrinterHeight() - 2 * top;
    int32_t footerY = qelPrinterHeight() - top;

    qelValue footer = getProperty("FooterText");
    qelValue footerFont = qelFontValue(qelValue("Times New Roman"), 8, 1);
    qelValue tableFont = qelFontValue(qelValue("Arial"), 9, 0);
    qelPortState port(tableFont);

    DBTableLayout layout;
    // The search's own lines per row.
    layout.setup(m_records, m_databaseKind, m_rowHeight, printStripeColor, 1);
    layout.setHeading(m_keyField, qelValue("None"), qelNil);
    int32_t recordCount = m_records.type() == QEL_LIST_TYPE ? qelCount(m_records) : 0;
    // At least one row a page, however tall the rows; the pages are the ones the rows fill (an
    // exact fill prints no empty page after it).
    int32_t rowsPerPrintedPage = std::max(1, (height - layout.scaledHeight(dpiY)) / std::max(1, layout.rowHeight()));
    int32_t rowPages = rowPageCount(recordCount, rowsPerPrintedPage);
    qelValue notes = notesTable();
    qelClipRect(left, top, qelPrinterWidth(), qelPrinterHeight());

    for (int32_t r = 0; r < rowPages; ++r) {
        int32_t firstRecord = r * rowsPerPrintedPage;
        int32_t band = 0;
        int32_t p = 0;
        while (p < m_fieldCount) {
            if (!qelStartPage()) {
                qelResetClip();
                qelAbortDocument();
                return;
            }
            int32_t previousRight = left - 1;
            bool bandEmpty = true;
            while (p < m_fieldCount) {
                placeHeading(layout, p, notes);
                int32_t x = previousRight + 1;
                int32_t columnWidth = layout.scaledWidth(dpiX);
                if (x + columnWidth > left + width) {
                    // A column wider than the page is cut to it and printed alone.
                    if (!bandEmpty)
                        break;
                    columnWidth = left + width - x;
                }
                layout.setRect(qelRectValue(x, top, columnWidth, height));
                layout.setFirstRow(firstRecord);
                qelValue mark = isSortedColumn(p) ? qelLoadResource(m_order) : qelNil;
                printHeading(layout.headingImage(), mark, x, top, columnCriterion(p));
                layout.drawColumn();
                previousRight = x + columnWidth;
                bandEmpty = false;
                ++p;
            }
            if (!isEmptyText(footer)) {
                qelSetFont(footerFont);
                drawCentred(footer, left + width / 2, footerY);
            }
            if (rowPages > 1) {
                int32_t w = 0;
                int32_t h = 0;
                qelValue label = pageLabel(r + 1, band, rowPages);
                qelStringWidth(label, &w, &h);
                qelDrawTextInRect(label, left + width / 2 - w / 2, footerY + h, 0, 0, 0, 0);
            }
            qelSetFont(tableFont);
            ++band;
            if (!qelEndPage()) {
                qelResetClip();
                qelAbortDocument();
                return;
            }
        }
    }
    qelResetClip();
}
