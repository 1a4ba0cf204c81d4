#pragma once

// Pictures of the window taken and put back: what rollovers, help boxes, dialogs and menus use to
// restore the screen they cover. Coordinates are port coordinates (the port's drawing origin is
// added), as every drawing operation's; without a main port nothing happens and grabs give nil.

#include "framework/runtime/Value.h"

#include <cstdint>

// A new image of that rectangle of the offscreen buffer (outside the buffer: black).
qelValue qelUiGrabArea(int32_t x, int32_t y, int32_t width, int32_t height);
// Copies that rectangle of the offscreen buffer into the image, at its top-left corner.
void qelUiCopyArea(const qelValue& image, int32_t x, int32_t y, int32_t width, int32_t height);
// Draws the image at its own size.
void qelUiDrawImage(const qelValue& image, int32_t x, int32_t y);
// Repaints that window rectangle (window coordinates, no origin) now; an empty rectangle only
// carries out the repaints that are pending.
void qelUiRefreshArea(int32_t x, int32_t y, int32_t width, int32_t height);
