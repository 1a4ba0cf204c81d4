#pragma once

// The main window's image and area services: pictures shown on it (by value or by resource
// name), areas grabbed from its offscreen buffer so that callers can restore a background later,
// and repaints of an area. All act on the current main window and do nothing without one.

#include "framework/runtime/Value.h"

#include <cstdint>

// Shows the part (x, y, width, height) of the picture with its palette as the screen's background;
// a width or height of 0 is taken from the picture.
void qelShowImageWithPalette(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height);
// Draws the picture at (x, y) without touching the palette, from (sourceX, sourceY) inside it.
void qelShowImageAt(
    const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX, int32_t sourceY);
// Draws the picture scaled to the rectangle.
void qelShowImageStretched(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height);
// Draws the picture at (x, y) and answers what the window showed there before.
qelValue qelShowImageArea(const qelValue& imageOrName, int32_t x, int32_t y, int32_t width, int32_t height);

// Invalidates the rectangle of the media area (no drawing origin) when it is not empty, then
// carries out the window's pending repaints (an all-zero rectangle only does the second).
void qelRefreshWindowArea(int32_t x, int32_t y, int32_t width, int32_t height);
// A new picture of that rectangle of the offscreen buffer (offset by the drawing origin); nil for
// an empty rectangle.
qelValue qelGrabWindowImage(int32_t x, int32_t y, int32_t width, int32_t height);
// Copies that rectangle of the offscreen buffer into the picture.
void qelCopyWindowArea(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height);

// Fills the area of a region, control, form or movie with the colour (blanking it).
void qelObjectRectIn(const qelValue& object, int32_t color);
// A picture of what the window shows inside the object's area.
qelValue qelGrabObjectImage(const qelValue& object);
