#pragma once

// Screen transitions: the new picture is already in the port's offscreen buffer (or in an
// image) and a transition brings it to the screen piece by piece, drawing straight into the
// window's front buffer. Codes:
//
//    1  rectangle zoom: the rectangle grows to the whole media area, one step per timer tick
//    2  frame grows outward from the rectangle over a 640 x 480 stage
//    3  frame shrinks inward from the stage edge to the rectangle
//    4  columns left to right        5  columns right to left        6  rows top to bottom
//    7  blocks in random order (the process's 15-bit generator)
//    8  interlaced rows from the top of each band    9  interlaced columns from the left
//   10  interlaced rows from the bottom             11  interlaced columns from the right
//   12  fade in from the port's colour              13  fade out to it (Fade.h)
//
// Other codes draw nothing. The step is the strip width, block size (code 7: 0 means 16), pass
// count or zoom step count; 0 means 1 for the strips and passes. Pieces are paced by the clock:
// piece i waits until start + time x progress. Every code ends with the whole rectangle on the
// screen, also when its sides are not multiples of the step. Pieces are read from the same
// place of the new picture as they go to on the screen. "Disable Transitions" turns every code
// off, fades included.
//
// While a transition runs the window's pending repaint is held back (it would show the new
// picture at once) and given back at the end.

#include "framework/runtime/Value.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/Geometry.h"

#include <cstddef>
#include <cstdint>

class qelWindowObject;
namespace platform {
class Window;
}

// On the main port, the drawing interface's argument order: (code, time, step, rectangle).
void qelTransition(int32_t code, int32_t time, int32_t step, int32_t x, int32_t y, int32_t width, int32_t height);

// The port's transition: the rectangle is in port coordinates (the origin is added); a negative
// width or height reaches the right or bottom edge of the media area.
void qelPortTransition(qelWindowObject& port, int32_t code, int32_t step, int32_t time, int32_t x, int32_t y,
    int32_t width, int32_t height);
// Codes 2 to 11 with an image as the new picture, laid over the rectangle (port coordinates).
void qelPortDibTransition(qelWindowObject& port, const qelValue& image, int32_t code, int32_t step, int32_t time,
    int32_t x, int32_t y, int32_t width, int32_t height);

// Where pieces come from: the pixel for window position (x, y) is the source's (x - offsetX,
// y - offsetY).
struct qelTransitionSource {
    const platform::gfx::Dc* dc = nullptr;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
};
// Codes 2 to 11 into the window's front buffer over the rectangle (window coordinates); nothing
// outside `clip` is drawn.
void qelPlayTransition(platform::Window& window, const qelTransitionSource& source, int32_t code,
    const platform::gfx::Rect& rect, int32_t step, int32_t time, const platform::gfx::Rect& clip);

// The offset of the pixel bits in a packed device-independent bitmap: after the header (its
// size field) and the colour table (3-byte entries after a 12-byte core header, else 4-byte
// entries; the header's colours-used count when the header has one and it is not 0, else 2 to
// the bits per pixel; none for 24 bits). -1 when the header or the table does not fit in `size`.
int64_t qelDIBBits(const uint8_t* dib, size_t size);
