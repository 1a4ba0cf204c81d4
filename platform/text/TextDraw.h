#pragma once

// Text drawing on a device context with its selected font, text colour and background mode
// and colour. Text is Windows-1252 bytes.

#include "platform/gfx/Dc.h"

#include <string_view>

namespace platform::text {

// Format flags of drawText.
enum DrawTextFlag : unsigned {
    drawTextLeft = 0x0000,
    drawTextTop = 0x0000,
    drawTextCenter = 0x0001,
    drawTextRight = 0x0002,
    drawTextVCenter = 0x0004, // with drawTextSingleLine only
    drawTextBottom = 0x0008, // with drawTextSingleLine only
    drawTextWordBreak = 0x0010,
    drawTextSingleLine = 0x0020,
    drawTextNoClip = 0x0100,
    drawTextCalcRect = 0x0400,
    drawTextNoPrefix = 0x0800,
};

// Width of the characters' advances and the font's height; {0, 0} without a font.
gfx::Size textExtent(const gfx::Font& font, std::string_view text);
gfx::Size textExtent(const gfx::Dc& dc, std::string_view text);

// Draws `text` on one line with its cell's top-left corner at (x, y). With an opaque
// background the cell (the text's extent) is filled with the background colour first.
// Line-break characters are not interpreted. False when no font is selected.
bool textOut(gfx::Dc& dc, int x, int y, std::string_view text);

// Lays `text` out in `rect` and draws it (or, with drawTextCalcRect, only measures it: the
// rectangle's right and bottom become those of the text, left and top stay). CR, LF and CR LF
// each end a line unless drawTextSingleLine; with drawTextWordBreak lines are broken at
// spaces to fit the width, and a word wider than the line is broken between characters. Each
// line is as high as the font. Without drawTextNoPrefix, "&x" shows x underlined and "&&"
// shows "&". Without drawTextNoClip, drawing stays inside the rectangle. Returns the height
// of the text, 0 when no font is selected or the text is empty.
int drawText(gfx::Dc& dc, std::string_view text, gfx::Rect& rect, unsigned format);

} // namespace platform::text
