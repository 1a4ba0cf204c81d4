#pragma once

// Pixel operations on a Surface, each limited to a clip rectangle (already inside the
// surface). MemoryDc is built on these; they know nothing of device-context state.

#include "platform/gfx/Dc.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/Surface.h"

namespace platform::gfx::raster {

void fillRect(Surface& dst, const Rect& clip, const Rect& rect, uint32_t pixel);

// Outline `penWidth` pixels wide inside `rect`, inside filled with `fill`.
void frameRect(Surface& dst, const Rect& clip, const Rect& rect, int penWidth, uint32_t pen, uint32_t fill);

// A line from `from` to `to` leaving out `to`; wider pens are spans across the line's major
// direction centred on it.
void line(Surface& dst, const Rect& clip, Point from, Point to, int penWidth, uint32_t pixel);

// Combines the source rectangle into the destination with a raster operation.
bool blit(Surface& dst, const Rect& clip, const Rect& to, const Surface& src, int sx, int sy, RasterOp op);

// Nearest neighbour: destination pixel i of a row takes source pixel sx + i * sw / w.
bool stretch(Surface& dst, const Rect& clip, const Rect& to, const Surface& src, const Rect& from, RasterOp op);

// The same from a bitmap; `from` is in top-down picture coordinates.
int stretchDib(Surface& dst, const Rect& clip, const Rect& to, const Dib& src, const Rect& from, RasterOp op);

void mask(Surface& dst, const Rect& clip, int x, int y, int width, int height, const uint8_t* bits, int pitch,
    uint32_t pixel);

} // namespace platform::gfx::raster
