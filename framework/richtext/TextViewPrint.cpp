// Printing a text of a TextView: parsed again and laid out at the printer's resolution inside the
// page margins, each page with its boxes, pictures, header, footer, the title on the first page
// and, for more than one page, the page line "Página n de m".

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/PortState.h"
#include "framework/display/Region.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <string>

namespace {

// An int option; absent or of another type, 0.
int32_t intOption(const qelValue& options, const char* key)
{
    qelValue v = qelResolve(qelGet(options, qelValue(key)));
    return v.type() == QEL_INT_TYPE ? v.payload() : 0;
}

bool hasText(const qelValue& v)
{
    return v.isString() && qelCount(v) > 0;
}

// Neighbouring boxes, each starting where the one before ends, merge into one tall frame: a framed
// paragraph of several lines prints as one box. Entries [region, page].
qelValue mergedBoxes(const qelValue& boxes)
{
    qelValue merged = qelMakeList(4, 100, 0);
    int32_t count = boxes.type() == QEL_LIST_TYPE ? qelCount(boxes) : 0;
    qelValue current;
    int32_t currentPage = 0;
    for (int32_t i = 0; i < count; ++i) {
        qelValue box = qelGet(boxes, i);
        qelValue r = qelGet(box, 0);
        if (r.type() != QEL_REGION_TYPE)
            continue;
        if (!current.isNil() && qelTop(r) == qelTop(current) + qelHeight(current)) {
            current = qelRectValue(
                qelLeft(current), qelTop(current), qelWidth(current), qelHeight(current) + qelHeight(r));
            continue;
        }
        if (!current.isNil())
            qelAddItem(merged, qelListOf({ current, qelValue(currentPage) }));
        current = r;
        currentPage = qelIntValue(qelGet(box, 1));
    }
    if (!current.isNil())
        qelAddItem(merged, qelListOf({ current, qelValue(currentPage) }));
    return merged;
}

// One line of text centred over the column at y.
void drawCentred(const qelValue& line, int32_t left, int32_t width, int32_t y)
{
    int32_t w = 0;
    int32_t h = 0;
    qelStringWidth(line, &w, &h);
    qelDrawTextInRect(line, left + width / 2 - w / 2, y, 0, 0, 0, 0);
}

} // namespace

bool TextView::print(const qelValue& options)
{
    qelValue header = qelGet(options, qelValue("Header"));
    qelValue footer = qelGet(options, qelValue("Footer"));
    qelValue title = qelGet(options, qelValue("Title"));
    qelValue titleFont = qelGet(options, qelValue("TitleFont"));
    if (qelFontOf(titleFont) == nullptr)
        titleFont = qelFontValue(qelValue("Times New Roman"), 16, 2);
    int32_t leftIndent = intOption(options, "LeftIdent");
    int32_t rightIndent = intOption(options, "RightIdent");
    bool noBitmaps = qelIsTrue(qelGet(options, qelValue("NoBitmaps")));
    // The body font is the "Font" the view holds now: callers choose a print font just before
    // printing.
    qelValue chosen = getProperty("Font");
    if (!chosen.isNil())
        font = chosen;
    else if (font.isNil())
        font = qelFontValue(qelValue("Times New Roman"), 9, 0);

    qelValue given = qelResolve(qelGet(options, qelValue("Text")));
    if (!given.isString() && given.type() != QEL_BUFFER_TYPE)
        return false;
    if (!qelUseDefaultPrinter() || !qelBeginPrinting())
        return false;

    int32_t dx = qelPrinterDpiX();
    int32_t dy = qelPrinterDpiY();
    int32_t pw = qelPrinterWidth();
    int32_t ph = qelPrinterHeight();
    int32_t mx = dx / 2;
    int32_t my = dy / 2;
    // The indents are hundredths of an inch.
    int32_t left = int32_t(int64_t(leftIndent) * dx / 100) + mx;
    int32_t width = int32_t(pw - left - int64_t(rightIndent) * dx / 100 - 3 * (dx / 8));
    int32_t height = ph - 3 * my;
    int32_t footerY = height + 2 * my;
    qelValue column = qelRectValue(left, my, width, height);

    qelValue savedRegion = textRegion;
    qelValue savedBoxes = boxes;
    int32_t savedOffset = scrollOffset;
    struct Restore {
        TextView& view;
        qelValue region;
        qelValue boxes;
        int32_t offset;
        ~Restore()
        {
            view.textRegion = region;
            view.boxes = boxes;
            view.scrollOffset = offset;
            qelResetClip();
        }
    } restore { *this, savedRegion, savedBoxes, savedOffset };
    textRegion = column;
    qelPortState port(font);

    qelValue buffer;
    if (given.isString())
        buffer = qelRtfTextBuffer(qelCount(given) == 0 ? qelValue(" ") : given, strippedRTF);
    else
        buffer = qelBufferFromMemory(qelBufferData(given), qelCount(given), 1);

    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), buffer);
    qelPut(request, qelValue("Font"), font);
    qelValue parsed = qelParseRTF(request);
    if (parsed.type() != QEL_TABLE_TYPE) {
        qelAbortDocument();
        return false;
    }
    bool titled = hasText(title);
    if (titled) {
        qelPut(parsed, qelValue("Title"), title);
        qelPut(parsed, qelValue("TitleFont"), titleFont);
    }
    qelPut(parsed, qelValue("NoBitmaps"), qelMakeBoolean(noBitmaps));
    qelPut(parsed, qelValue("Images"), imageList);
    qelPut(parsed, qelValue("DPI"), qelValue(dx));
    qelValue result = qelLayoutText(parsed, column);
    qelValue pages = qelGet(result, qelValue("Pages"));
    qelValue printed = qelTextMapValue(width, height, qelGet(result, qelValue("Fonts")), pages);
    qelValue printedBitmaps = qelGet(result, qelValue("Bitmaps"));
    scrollOffset = 0;
    qelValue headerFont = qelFontValue(qelValue("Times New Roman"), 10, 0);
    qelValue footerFont = qelFontValue(qelValue("Times New Roman"), 8, 1);
    // The header stands in the top margin, above the column, so that it covers neither the title
    // nor the first line of the text; the clip leaves room for it.
    int32_t headerHeight = 0;
    if (hasText(header)) {
        int32_t w = 0;
        qelMeasureString(header, headerFont, &w, &headerHeight);
    }
    qelClipRect(mx, my - headerHeight, pw, ph + headerHeight);
    boxes = mergedBoxes(qelGet(result, qelValue("Boxes")));

    int32_t count = qelTextMapPageCount(printed);
    for (int32_t p = 0; p < count; ++p) {
        if (!qelStartPage()) {
            qelAbortDocument();
            return false;
        }
        if (p == 0 && titled) {
            qelSetFont(titleFont);
            qelDrawTextInRect(title, left, my, 0, 0, 0, 0);
        }
        if (hasText(header)) {
            qelSetFont(headerFont);
            qelDrawTextInRect(header, mx, my - headerHeight, 0, 0, 0, 0);
        }
        drawBoxes(p);
        if (!noBitmaps)
            drawBitmaps(printedBitmaps, column, dy, p);
        qelSetFont(font);
        qelDrawTextMapEx(printed, 0, 0, p, 0, 0);
        if (hasText(footer)) {
            qelSetFont(footerFont);
            drawCentred(footer, left, width, footerY);
        }
        if (count > 1) {
            std::string line = "P\xE1gina " + std::to_string(p + 1) + " de " + std::to_string(count);
            qelValue lineValue = qelStringValueN(line.data(), int32_t(line.size()));
            int32_t w = 0;
            int32_t h = 0;
            qelStringWidth(lineValue, &w, &h);
            // One line below the footer, measured in the font then current.
            drawCentred(lineValue, left, width, footerY + h);
        }
        if (!qelEndPage()) {
            qelAbortDocument();
            return false;
        }
    }
    qelEndDocument();
    return true;
}
