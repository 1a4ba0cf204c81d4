#pragma once

// Images (type 18): the pictures forms and controls draw. Three kinds share this base: a
// device-independent bitmap held in a buffer ("dib"), the bytes of a JPEG file decoded on every
// draw ("jpg") and a picture held in a device context of its own ("context"). Any image may
// carry a mask image: where the mask is black the image shows, where it is white the
// destination stays as it was.
//
// Cut-outs (qelImageFromImage) share their source's data and show a rectangle of it from their
// origin; a JPEG cut-out keeps its origin y measured from the bottom of the picture.

#include "framework/runtime/Value.h"
#include "platform/gfx/Dc.h"

#include <cstdint>
#include <functional>

class qelImageObject : public qelObject {
public:
    // "jpg" or "pic" (any case) make a JPEG image, any other name a DIB image, over the data
    // buffer; validated. Nil when the data is not a good picture (after the error is reported).
    static qelValue create(const qelValue& data, const qelValue& typeName);

    virtual int32_t width() const { return imageWidth; }
    virtual int32_t height() const { return imageHeight; }
    // Reads the data and sets the size; a failure is reported and leaves the image empty.
    // Answers whether the data was good.
    virtual bool validate() = 0;
    virtual qelValue palette() = 0;
    // Draws (sx, sy, w, h) of the image at (x, y), with the mask when it is not nil.
    virtual void renderIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
        int32_t sy, const qelValue& mask, platform::gfx::RasterOp op)
        = 0;
    void drawIntoContext(
        platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const qelValue& mask)
    {
        renderIntoContext(dc, x, y, w, h, sx, sy, mask, platform::gfx::RasterOp::SrcCopy);
    }
    // Draws (sx, sy, sw, sh) of the image stretched into (x, y, w, h).
    virtual void stretchIntoContext(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
        int32_t sy, int32_t sw, int32_t sh, const qelValue& mask, platform::gfx::RasterOp op)
        = 0;
    virtual const char* typeName() const = 0;
    // A buffer value holding a packed DIB (header, colour table, pixels), nil when there is none.
    virtual qelValue bits() = 0;

    qelValue data;
    qelValue mask;
    qelValue paletteValue;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
};

// The image object of an image value, or null.
qelImageObject* qelImageOf(const qelValue& value);
// A new image of the source's kind showing (x, y, w, h) of the source's data.
qelValue qelImageFromImage(const qelValue& source, int32_t x, int32_t y, int32_t w, int32_t h);
// The image as a context image: a context image as it is, any other drawn into a new one
// (keeping its mask).
qelValue qelContextFromImage(const qelValue& image, const qelValue& referenceContext);
// Replaces the mask (nil removes it; another mask must be a "context" or "dib" image) and
// answers the previous one.
qelValue qelSetImageMask(const qelValue& image, const qelValue& mask);
qelValue qelImagePalette(const qelValue& image);
// Draws (sx, sy, w, h) of the source (an image, or a bare drawing context) at (x, y) of the
// destination (a drawing context, or a context image); w or h 0 take the source's size.
void qelDrawImage(const qelValue& destination, int32_t x, int32_t y, const qelValue& source, int32_t sx, int32_t sy,
    int32_t w, int32_t h);
// Draws the source's rectangle from (sx, sy) of its own size stretched into (x, y, w, h);
// w or h 0 take the source's size.
void qelStretchImage(const qelValue& destination, int32_t x, int32_t y, const qelValue& source, int32_t sx, int32_t sy,
    int32_t w, int32_t h);
// Places the image's bits on the clipboard as a device-independent bitmap.
void qelCopyImageToClipboard(const qelValue& image);

// Shared by the kinds: draws a picture through its mask (XOR the picture in, AND the mask, XOR
// it in again). `drawSource` draws the picture at (0, 0) of a w x h scratch context; the mask
// is drawn at (x, y) with its own renderIntoContext, or with `stretch` its stretchIntoContext
// from sw x sh, carrying `maskOfMask`. A mask of another kind reports
// "<owner>: Mask image must be of type 'context' or 'dib'.".
void qelDrawThroughMask(platform::gfx::Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, const qelValue& mask,
    const qelValue& maskOfMask, bool stretch, int32_t sw, int32_t sh, const char* owner,
    const std::function<void(platform::gfx::Dc&)>& drawSource);
bool qelIsMaskKind(const qelValue& mask);
