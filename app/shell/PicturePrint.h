#pragma once

// The one-page picture print shared by the media viewer, the atlas and the infographic pages: the
// "Imprimindo" status shown while it runs, a header line right-aligned over a rule, the picture
// (cut to the form's "PrintingRect" when it has one) scaled to fit between header and footer
// and centred, and a footer rule over the footer text and "Página 1". Fonts, margins and the
// rule's width come from the "Print..." resources, read at each print.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelFormObject;

struct PicturePage {
    // The print job's name: "VL98 - Midias", "VL98 - Mapa", "VL99 - Infográfico".
    const char* documentName = "";
    // The header line: "Velarim 98 - " and the item's name.
    qelValue headerText;
    // Put before "Página <n>" in the footer (the atlas's notice and six blanks); nil for none.
    qelValue footerPrefix;
    // The picture to print; anything that is not an image gives a page with header and footer only.
    qelValue picture;
};

// What a picture page is drawn on: the running print job's page, or a recorder in tests. Sizes
// are the device's pixels.
class PicturePageDevice {
public:
    virtual ~PicturePageDevice() = default;
    virtual int32_t dpiX() = 0;
    virtual int32_t dpiY() = 0;
    virtual int32_t width() = 0;
    virtual int32_t height() = 0;
    virtual void fontMetrics(const qelValue& font, int32_t* ascent, int32_t* descent, int32_t* externalLeading) = 0;
    // Each setter answers the previous value, which the page puts back.
    virtual qelValue setFont(const qelValue& font) = 0;
    virtual int32_t setLineWidth(int32_t width) = 0;
    virtual void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    // Right-aligned, word-wrapped text in the rectangle.
    virtual void drawText(const qelValue& text, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual void drawPicture(const qelValue& picture, int32_t x, int32_t y, int32_t width, int32_t height) = 0;
};

// The page's measures on a device, from the "Print..." resources.
struct PicturePageGeometry {
    int32_t marginX = 0;
    int32_t marginY = 0;
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t ruleWidth = 0;
    int32_t headerHeight = 0;
    int32_t footerHeight = 0;
    // The printable area between the margins, the header and the footer.
    int32_t areaWidth = 0;
    int32_t areaHeight = 0;
};
PicturePageGeometry picturePageGeometry(PicturePageDevice& device);

// Where a picture of w x h lands: scaled to fill the area's width or height, proportions kept,
// centred in the area. Empty for a picture without pixels.
struct PicturePlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};
PicturePlace placePicture(const PicturePageGeometry& page, int32_t width, int32_t height);

// Draws the header, the picture and the footer of page 1 on the device.
void drawPicturePage(PicturePageDevice& device, qelFormObject& form, const PicturePage& page);

// Prints the page for the form (which gives "PrintingRect"). Nothing is printed when the print
// job cannot start; the status then stays shown, as the print services report the failure.
void printPicturePage(qelFormObject& form, const PicturePage& page);
