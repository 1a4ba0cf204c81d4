#include "app/shell/PicturePrint.h"

#include "app/shell/TextPage.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Print.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormObject.h"

#include <string>

namespace {

// A resource number; a missing or non-numeric one gives the fallback, so a disk without the
// print settings still prints a sensible page.
double resourceNumber(const char* name, double fallback)
{
    qelValue v = qelResolve(qelLoadResource(qelValue(name)));
    if (v.type() == QEL_INT_TYPE || v.type() == QEL_FLOAT_TYPE)
        return qelFloatValue(v);
    return fallback;
}

qelValue resourceFont(const char* type, const char* size, const char* style, int32_t fallbackSize)
{
    qelValue face = qelResolve(qelLoadResource(qelValue(type)));
    if (!face.isString())
        face = qelValue("Arial");
    return qelFontValue(face, int32_t(resourceNumber(size, fallbackSize)), int32_t(resourceNumber(style, 0)));
}

qelValue headerFont()
{
    return resourceFont("PrintHeaderFontType", "PrintHeaderFontSize", "PrintHeaderFontStyle", 12);
}

qelValue footerFont()
{
    return resourceFont("PrintFooterFontType", "PrintFooterFontSize", "PrintFooterFontStyle", 10);
}

// The running job's page, drawn through the main port (which draws on the page while a job runs).
class PrinterPage final : public PicturePageDevice {
public:
    int32_t dpiX() override { return qelPrinterDpiX(); }
    int32_t dpiY() override { return qelPrinterDpiY(); }
    int32_t width() override { return qelPrinterWidth(); }
    int32_t height() override { return qelPrinterHeight(); }
    void fontMetrics(const qelValue& font, int32_t* ascent, int32_t* descent, int32_t* externalLeading) override
    {
        qelFontMetrics(font, ascent, descent, nullptr, nullptr, externalLeading, nullptr);
    }
    qelValue setFont(const qelValue& font) override { return qelSetFont(font); }
    int32_t setLineWidth(int32_t width) override { return qelSetLineWidth(width); }
    void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override { qelDrawLine(x1, y1, x2, y2); }
    void drawText(const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        qelDrawTextInRect(text, x, y, width, height, 2, 1);
    }
    void drawPicture(const qelValue& picture, int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        qelShowImageStretched(picture, x, y, width, height);
    }
};

int32_t lineHeight(PicturePageDevice& device, const qelValue& font)
{
    int32_t a = 0;
    int32_t d = 0;
    int32_t e = 0;
    device.fontMetrics(font, &a, &d, &e);
    return a + d;
}

void drawHeader(PicturePageDevice& device, const PicturePageGeometry& g, const qelValue& text)
{
    qelValue font = headerFont();
    int32_t a = 0;
    int32_t d = 0;
    int32_t e = 0;
    device.fontMetrics(font, &a, &d, &e);
    qelValue previousFont = device.setFont(font);
    device.drawText(text, g.marginX, g.marginY, g.pageWidth - 2 * g.marginX, a + d);
    int32_t previousWidth = device.setLineWidth(g.ruleWidth);
    device.drawLine(g.marginX, g.marginY + a + d, g.pageWidth - g.marginX, g.marginY + a + d);
    device.setLineWidth(previousWidth);
    device.setFont(previousFont);
}

void drawFooter(PicturePageDevice& device, const PicturePageGeometry& g, const qelValue& prefix, int32_t pageNumber)
{
    qelValue font = footerFont();
    int32_t a = 0;
    int32_t d = 0;
    int32_t e = 0;
    device.fontMetrics(font, &a, &d, &e);
    int32_t textTop = g.pageHeight - g.marginY - a - d;
    int32_t previousWidth = device.setLineWidth(g.ruleWidth);
    device.drawLine(g.marginX, textTop - e, g.pageWidth - g.marginX, textTop - e);
    qelValue previousFont = device.setFont(font);
    std::string text = prefix.isString() ? qelCString(prefix) : "";
    text += "P\xE1gina " + std::to_string(pageNumber);
    device.drawText(qelStringValue(text.c_str()), g.marginX, textTop, g.pageWidth - 2 * g.marginX, a + d);
    device.setLineWidth(previousWidth);
    device.setFont(previousFont);
}

void drawPicture(PicturePageDevice& device, const PicturePageGeometry& g, qelFormObject& form, qelValue picture)
{
    if (picture.type() != QEL_IMAGE_TYPE)
        return;
    int32_t w = qelWidth(picture);
    int32_t h = qelHeight(picture);
    qelValue cut = qelResolve(form.getProperty(qelValue("PrintingRect")));
    if (cut.type() == QEL_REGION_TYPE) {
        picture = qelImageFromImage(picture, qelLeft(cut), qelTop(cut), qelWidth(cut), qelHeight(cut));
        w = qelWidth(cut);
        h = qelHeight(cut);
    }
    PicturePlace place = placePicture(g, w, h);
    if (place.width > 0 && place.height > 0)
        device.drawPicture(picture, place.x, place.y, place.width, place.height);
}

} // namespace

PicturePageGeometry picturePageGeometry(PicturePageDevice& device)
{
    PicturePageGeometry g;
    int32_t dpiX = device.dpiX();
    int32_t dpiY = device.dpiY();
    g.marginX = int32_t(resourceNumber("PrintMarginX", 0.5) * dpiX);
    g.marginY = int32_t(resourceNumber("PrintMarginY", 0.5) * dpiY);
    g.pageWidth = device.width();
    g.pageHeight = device.height();
    // Rules are 5 pixels thick at the base resolution and as thick on paper at any other; a base
    // of 0 or less would divide by zero and falls back to the screen's 96.
    double base = resourceNumber("PrintBaseYDPI", 96);
    if (base <= 0)
        base = 96;
    g.ruleWidth = int32_t(double(dpiY) / base * 5.0);
    g.headerHeight = 2 * lineHeight(device, headerFont());
    g.footerHeight = 2 * lineHeight(device, footerFont());
    g.areaWidth = g.pageWidth - 2 * g.marginX;
    g.areaHeight = g.pageHeight - 2 * g.marginY - g.headerHeight - g.footerHeight;
    return g;
}

PicturePlace placePicture(const PicturePageGeometry& g, int32_t w, int32_t h)
{
    PicturePlace place;
    // A picture (or cut) without pixels has no proportions to keep: nothing is drawn.
    if (w <= 0 || h <= 0 || g.areaWidth <= 0 || g.areaHeight <= 0)
        return place;
    // 64-bit products: a 600-dpi area times a large picture's side passes 2^31.
    if (int64_t(g.areaWidth) * h / w <= g.areaHeight) {
        place.width = g.areaWidth;
        place.height = int32_t(int64_t(g.areaWidth) * h / w);
    } else {
        place.height = g.areaHeight;
        place.width = int32_t(int64_t(w) * g.areaHeight / h);
    }
    place.x = g.marginX + (g.areaWidth - place.width) / 2;
    place.y = g.marginY + g.headerHeight + (g.areaHeight - place.height) / 2;
    return place;
}

void drawPicturePage(PicturePageDevice& device, qelFormObject& form, const PicturePage& page)
{
    PicturePageGeometry g = picturePageGeometry(device);
    drawHeader(device, g, page.headerText);
    drawPicture(device, g, form, page.picture);
    drawFooter(device, g, page.footerPrefix, 1);
}

void printPicturePage(qelFormObject& form, const PicturePage& page)
{
    textpage::showStatus("Imprimindo");
    if (!qelStartDocument(qelStringValue(page.documentName)))
        return;
    // Only a started page is ended: ending one that never started is itself a printing error.
    if (qelStartPage()) {
        int32_t color = qelSetColor(0);
        PrinterPage printer;
        drawPicturePage(printer, form, page);
        qelSetColor(color);
        qelEndPage();
    }
    qelEndDocument();
    textpage::hideStatus("Imprimindo");
}
