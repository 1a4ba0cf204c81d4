#include "framework/display/JpegImage.h"

#include "framework/display/DibImage.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Error.h"
#include "platform/gfx/Bmp.h"
#include "platform/jpeg/Jpeg.h"

#include <algorithm>
#include <cstring>

using platform::gfx::Dc;
using platform::gfx::Dib;
using platform::gfx::RasterOp;

namespace {

std::span<const uint8_t> bytesOf(const qelValue& buffer)
{
    qelBufferObject* b = qelBufferOf(buffer);
    if (!b || b->length <= 0)
        return {};
    return { b->bytes(), size_t(b->length) };
}

} // namespace

int32_t qelJPEGQuery(const uint8_t* data, int32_t length, int32_t* width, int32_t* height)
{
    if (!data || length <= 0)
        return 0;
    std::optional<platform::jpeg::JpegInfo> info = platform::jpeg::inspect({ data, size_t(length) });
    if (!info)
        return 0;
    if (width)
        *width = info->width;
    if (height)
        *height = info->height;
    return 1;
}

void qelCheckJPEG(const uint8_t* data, int32_t length, int32_t* width, int32_t* height)
{
    if (!qelJPEGQuery(data, length, width, height))
        qelError("Invalid JPEG file");
}

qelValue qelJPEGTargetDIB(int32_t width, int32_t height)
{
    return qelMakeDIB(width, height, 24, 0);
}

int32_t qelJPEGDecode(const qelValue& jpeg, const qelValue& dib)
{
    Dib decoded;
    if (!platform::jpeg::decode(bytesOf(jpeg), decoded))
        return 0;
    qelBufferObject* target = qelBufferOf(dib);
    if (!target || target->length < 40)
        return 0;
    const uint8_t* header = target->bytes();
    int32_t width = int32_t(
        uint32_t(header[4]) | (uint32_t(header[5]) << 8) | (uint32_t(header[6]) << 16) | (uint32_t(header[7]) << 24));
    int32_t height = int32_t(
        uint32_t(header[8]) | (uint32_t(header[9]) << 8) | (uint32_t(header[10]) << 16) | (uint32_t(header[11]) << 24));
    // The target must be the 24-bit bitmap of the picture's own size, and hold all its rows.
    if (width != decoded.width() || height != decoded.height() || header[14] != 24
        || size_t(target->length) - 40 < decoded.bits.size())
        return 0;
    std::memcpy(target->bytes() + 40, decoded.bits.data(), decoded.bits.size());
    return 1;
}

qelValue qelJPEGToDIB(const qelValue& jpeg)
{
    std::span<const uint8_t> bytes = bytesOf(jpeg);
    int32_t width = 0;
    int32_t height = 0;
    if (!qelJPEGQuery(bytes.data(), int32_t(bytes.size()), &width, &height))
        return qelNil;
    qelValue dib = qelJPEGTargetDIB(width, height);
    if (dib.isNil() || !qelJPEGDecode(jpeg, dib))
        return qelNil;
    return dib;
}

bool qelJPEGImageObject::validate()
{
    std::span<const uint8_t> bytes = bytesOf(data);
    int32_t width = 0;
    int32_t height = 0;
    if (!qelJPEGQuery(bytes.data(), int32_t(bytes.size()), &width, &height)) {
        qelError("Invalid JPEG file");
        return false;
    }
    imageWidth = width;
    imageHeight = height;
    return true;
}

std::optional<Dib> qelJPEGImageObject::decode() const
{
    Dib dib;
    if (!platform::jpeg::decode(bytesOf(data), dib))
        return std::nullopt;
    return dib;
}

void qelJPEGImageObject::renderIntoContext(
    Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy, const qelValue&, RasterOp)
{
    w = std::min(w, imageWidth);
    h = std::min(h, imageHeight);
    stretchIntoContext(dc, x, y, w, h, sx, sy, w, h, qelNil, RasterOp::SrcCopy);
}

void qelJPEGImageObject::stretchIntoContext(Dc& dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy,
    int32_t sw, int32_t sh, const qelValue&, RasterOp)
{
    sw = std::min(sw, imageWidth);
    sh = std::min(sh, imageHeight);
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    std::optional<Dib> dib = decode();
    if (!dib)
        return;
    // The decoded bitmap is bottom-up, so its source rows count from the bottom: the origin y is
    // stored that way, and a source y (from the top of this image) is turned round within it.
    int64_t sourceX = int64_t(originX) + sx;
    int64_t sourceY = int64_t(originY) + (int64_t(imageHeight) - sh - sy);
    if (sourceX < INT32_MIN || sourceX > INT32_MAX || sourceY < INT32_MIN || sourceY > INT32_MAX)
        return;
    dc.stretchDIBits(x, y, w, h, int(sourceX), int(sourceY), sw, sh, *dib, RasterOp::SrcCopy);
}

qelValue qelJPEGImageObject::bits()
{
    return qelJPEGToDIB(data);
}
