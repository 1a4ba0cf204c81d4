#pragma once

// The arithmetic of the media screens, apart from their controls: where the media viewer puts a
// picture and a fitted text, the name shown on its band, and the size of a thumbnail in the
// library's item dialog. Integer divisions truncate toward zero.

#include "framework/runtime/Value.h"

#include <cstdint>

namespace medialayout {

// The screen's width, across which pictures and tables are centred.
constexpr int32_t screenWidth = 640;

// A picture w x h placed between minLeft/minTop and the bottom limit: centred across the screen
// and in the height left, never left of minLeft nor above minTop. A picture taller than the room
// is cut to it around its middle: it then shows rows cutTop .. cutTop + height of the source.
struct PicturePlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t height = 0;
    bool cut = false;
    int32_t cutTop = 0;
};
PicturePlace placePicture(int32_t w, int32_t h, int32_t minLeft, int32_t minTop, int32_t bottom);

// A rich text fitted into a text control whose "Hot Spot" is (x, y, w, h): a leading
// "{\width N}" makes it 40 N pixels wide and centred (kept right of the table's left limit), a
// leading "{\height N}" N lines high; it starts at `top` (the spot's own top when 0) and ends
// above the bottom limit on a whole line. `fitted` is false for a text that is empty or is no
// rich text, which keeps the spot and ends at `top`.
struct TextPlace {
    bool fitted = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    // The text without its size prefixes.
    qelValue text;
    int32_t bottom() const { return y + h; }
};
TextPlace fitText(const qelValue& text, int32_t x, int32_t y, int32_t w, int32_t h, int32_t top, int32_t lineHeight,
    int32_t bottom, int32_t tableMinLeft);

// The name on the viewer's band: cut before its first comma unless the comma leads.
qelValue shortName(const qelValue& name);

// A thumbnail w x h scaled to the width maxW, or to the height maxH when that would be too tall.
// A picture without pixels gives 0 x 0.
void thumbnailSize(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t* outW, int32_t* outH);

} // namespace medialayout
