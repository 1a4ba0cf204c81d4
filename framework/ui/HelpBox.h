#pragma once

// The yellow help box of media forms and media dialogs. A rollover over a control with help text
// starts it waiting; the first timer tick at least 1000 ms later draws it once near the pointer;
// a key, a mouse press or the end of the rollover removes it and puts the screen back.
//
// States: none (helpText and helpBoxBackground nil), waiting (helpText set), shown
// (helpBoxBackground set, helpText nil again).
//
// Placement: the box's corner is 20 pixels right of and below the pointer, or, when the box would
// then pass the media area's right or bottom edge, 20 pixels left of and above it. A dialog
// draws in its own coordinates, so its origin is subtracted; a corner above or left of 0 becomes
// 5, one beyond the media height or width is pulled back by 5 plus the box's size.

#include "framework/runtime/Value.h"

#include <cstdint>

constexpr int32_t QEL_HELP_BOX_DELAY_MS = 1000;
constexpr int32_t QEL_HELP_BOX_COLOR = 0x80FFFF;

class qelHelpBox {
public:
    // A rollover began at the point: the text (nil for none) waits from now.
    void wait(const qelValue& text, int32_t x, int32_t y);
    // While a text waits, the box to come follows the pointer.
    void follow(int32_t x, int32_t y);
    // Back to none. A shown box's background is drawn back; with `refresh` the window is
    // repainted at once.
    void remove(bool refresh);
    // The timer tick: draws the waiting box once its delay has passed. A text that is neither a
    // string nor nil is the error "Bad Rollover Text: " + the value.
    void tick(int32_t originX, int32_t originY);

    // The box's size for the text: the longest line's width + 7, the line height times the line
    // count + 3, in "Arial" 9.
    static void measure(const qelValue& text, int32_t& width, int32_t& height);
    // The corner (in coordinates whose origin is at originX, originY) for a box of that size
    // placed from the pointer.
    static void place(int32_t pointerX, int32_t pointerY, int32_t width, int32_t height, int32_t originX,
        int32_t originY, int32_t& x, int32_t& y);

    bool waiting() const { return !helpText.isNil(); }
    bool shown() const { return !helpBoxBackground.isNil(); }

    qelValue helpBoxBackground;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    int32_t helpBoxX = 0;
    int32_t helpBoxY = 0;
    uint32_t rolloverTime = 0;
    qelValue helpText;
};
