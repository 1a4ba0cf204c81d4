#include "framework/display/Image.h"

#include "framework/display/ContextImage.h"
#include "framework/display/ContextValue.h"
#include "framework/display/DibImage.h"
#include "framework/display/Geometry.h"
#include "framework/display/JpegImage.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/ClipboardImage.h"
#include "platform/gfx/MemoryDc.h"

#include <cctype>
#include <string>

using platform::gfx::Dc;
using platform::gfx::RasterOp;

qelImageObject* qelImageOf(const qelValue& value)
{
    if (value.type() != QEL_IMAGE_TYPE)
        return nullptr;
    return dynamic_cast<qelImageObject*>(value.object());
}

namespace {

bool isJpegName(const qelValue& typeName)
{
    std::string name = qelCString(typeName);
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name == "jpg" || name == "pic";
}

const char* kindOf(const qelValue& image)
{
    qelImageObject* i = qelImageOf(image);
    return i ? i->typeName() : "";
}

} // namespace

qelValue qelImageObject::create(const qelValue& data, const qelValue& typeName)
{
    qelImageObject* image;
    if (isJpegName(typeName))
        image = new qelJPEGImageObject;
    else
        image = new qelDIBImageObject;
    qelValue value = qelMakeObjectValue(QEL_IMAGE_TYPE, image);
    image->data = data;
    if (!image->validate())
        return qelNil;
    return value;
}

bool qelIsMaskKind(const qelValue& mask)
{
    std::string kind = kindOf(mask);
    return kind == "context" || kind == "dib";
}

void qelDrawThroughMask(Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, const qelValue& mask,
    const qelValue& maskOfMask, bool stretch, int32_t sw, int32_t sh, const char* owner,
    const std::function<void(Dc&)>& drawSource)
{
    if (!qelIsMaskKind(mask)) {
        std::string message = owner;
        message += ": Mask image must be of type 'context' or 'dib'.";
        qelError(message.c_str());
        return;
    }
    if (w <= 0 || h <= 0 || w > platform::gfx::Surface::maxSide || h > platform::gfx::Surface::maxSide)
        return;
    platform::gfx::Surface pixels(w, h, 0);
    platform::gfx::MemoryDc scratch(pixels);
    scratch.selectPalette(dc.palette());
    drawSource(scratch);
    dc.bitBlt(x, y, w, h, scratch, 0, 0, RasterOp::SrcInvert);
    qelImageObject* m = qelImageOf(mask);
    if (stretch)
        m->stretchIntoContext(dc, x, y, w, h, 0, 0, sw, sh, maskOfMask, RasterOp::SrcAnd);
    else
        m->renderIntoContext(dc, x, y, w, h, 0, 0, maskOfMask, RasterOp::SrcAnd);
    dc.bitBlt(x, y, w, h, scratch, 0, 0, RasterOp::SrcInvert);
}

qelValue qelImageFromImage(const qelValue& source, int32_t x, int32_t y, int32_t w, int32_t h)
{
    qelImageObject* from = qelImageOf(source);
    std::string kind = from ? from->typeName() : "";
    if (kind == "context") {
        auto* context = static_cast<qelContextImageObject*>(from);
        return qelMakeObjectValue(QEL_IMAGE_TYPE, new qelContextImageObject(context->data, x, y, w, h));
    }
    if (kind == "dib") {
        auto* dibSource = static_cast<qelDIBImageObject*>(from);
        auto* cut = new qelDIBImageObject;
        qelValue value = qelMakeObjectValue(QEL_IMAGE_TYPE, cut);
        cut->data = from->data;
        // The data is the source's, already validated: its decoded bitmap is shared.
        cut->shareDib(dibSource->dib(), dibSource->headerOffset());
        cut->originX = x;
        cut->originY = y;
        cut->imageWidth = w;
        cut->imageHeight = h;
        return value;
    }
    if (kind == "jpg" || kind == "pic") {
        auto* cut = new qelJPEGImageObject;
        qelValue value = qelMakeObjectValue(QEL_IMAGE_TYPE, cut);
        cut->data = from->data;
        if (!cut->validate())
            return qelNil;
        cut->originX = x;
        cut->originY = int32_t(int64_t(from->height()) - h - y);
        cut->imageWidth = w;
        cut->imageHeight = h;
        return value;
    }
    qelError("qelImageFromImage: Unknown image type.");
    return qelNil;
}

qelValue qelContextFromImage(const qelValue& image, const qelValue& referenceContext)
{
    qelImageObject* from = qelImageOf(image);
    if (!from)
        return qelNil;
    if (std::string(from->typeName()) == "context")
        return image;
    auto* context = new qelContextImageObject(from->width(), from->height());
    qelValue value = qelMakeObjectValue(QEL_IMAGE_TYPE, context);
    if (Dc* reference = qelContextDc(referenceContext))
        context->dc()->selectPalette(reference->palette());
    from->drawIntoContext(*context->dc(), 0, 0, from->width(), from->height(), 0, 0, qelNil);
    context->mask = from->mask;
    return value;
}

qelValue qelSetImageMask(const qelValue& image, const qelValue& mask)
{
    qelImageObject* target = qelImageOf(image);
    if (!target)
        return qelNil;
    if (!mask.isNil() && !qelIsMaskKind(mask)) {
        qelError("Mask image must be of type 'context' or 'dib'");
        return qelNil;
    }
    qelValue previous = target->mask;
    target->mask = mask;
    return previous;
}

qelValue qelImagePalette(const qelValue& image)
{
    qelImageObject* i = qelImageOf(image);
    return i ? i->palette() : qelNil;
}

namespace {

// The device context of a destination: a drawing context, or a context image's.
Dc* destinationDc(const qelValue& destination, const char* operation)
{
    if (destination.type() == QEL_CONTEXT_TYPE)
        return qelContextDc(destination);
    if (destination.type() == QEL_IMAGE_TYPE) {
        qelContextImageObject* context = qelContextImageOf(destination);
        if (!context) {
            qelError((std::string(operation) + ": context sub-type must be 'context'.").c_str());
            return nullptr;
        }
        return context->dc();
    }
    qelError((std::string(operation) + ": context type must be QEL_CONTEXT_TYPE or QEL_IMAGE_TYPE.").c_str());
    return nullptr;
}

void reportSourceType(const char* operation)
{
    qelError((std::string(operation) + ": imgSrc type must be QEL_CONTEXT_TYPE or QEL_IMAGE_TYPE.").c_str());
}

} // namespace

void qelDrawImage(const qelValue& destination, int32_t x, int32_t y, const qelValue& source, int32_t sx, int32_t sy,
    int32_t w, int32_t h)
{
    if (source.isNil())
        return;
    if (w == 0)
        w = qelWidth(source);
    if (h == 0)
        h = qelHeight(source);
    Dc* dc = destinationDc(destination, "qelDrawImage");
    if (!dc)
        return;
    if (source.type() == QEL_CONTEXT_TYPE) {
        if (Dc* from = qelContextDc(source))
            dc->bitBlt(x, y, w, h, *from, sx, sy, RasterOp::SrcCopy);
        return;
    }
    qelImageObject* image = qelImageOf(source);
    if (!image) {
        if (source.type() != QEL_IMAGE_TYPE)
            reportSourceType("qelDrawImage");
        return;
    }
    image->drawIntoContext(*dc, x, y, w, h, sx, sy, image->mask);
}

void qelStretchImage(const qelValue& destination, int32_t x, int32_t y, const qelValue& source, int32_t sx, int32_t sy,
    int32_t w, int32_t h)
{
    if (source.isNil())
        return;
    int32_t sourceWidth = qelWidth(source);
    int32_t sourceHeight = qelHeight(source);
    if (w == 0)
        w = sourceWidth;
    if (h == 0)
        h = sourceHeight;
    Dc* dc = destinationDc(destination, "qelStretchImage");
    if (!dc)
        return;
    qelImageObject* image = qelImageOf(source);
    if (!image) {
        if (source.type() != QEL_IMAGE_TYPE)
            reportSourceType("qelStretchImage");
        return;
    }
    image->stretchIntoContext(*dc, x, y, w, h, sx, sy, sourceWidth, sourceHeight, image->mask, RasterOp::SrcCopy);
}

void qelCopyImageToClipboard(const qelValue& image)
{
    qelImageObject* i = qelImageOf(image);
    if (!i)
        return;
    qelValue bits = i->bits();
    qelBufferObject* buffer = qelBufferOf(bits);
    if (!buffer || buffer->length <= 0)
        return;
    platform::gfx::setClipboardImage({ buffer->bytes(), size_t(buffer->length) });
}
