#pragma once

// What the list box and the combo box share: the arithmetic of a scrolling list of rows with a
// scroll bar drawn from images, and the nested mouse loops that scroll it while the button is
// held (arrow buttons with an accelerating repeat, page steps, the dragged thumb). Every division
// here is guarded: a row height of 0, a box lower than one row or a thumb as tall as its track
// never divide by zero.

#include "framework/runtime/Event.h"
#include "framework/runtime/Value.h"

#include <cstdint>
#include <functional>

class qelMediaControlObject;

// Key codes the list controls answer (the window layer's special keys in the upper half).
constexpr int32_t QEL_KEY_ENTER = 13;
constexpr int32_t QEL_KEY_SPACE = 32;
constexpr int32_t QEL_KEY_HOME = 0xF0000;
constexpr int32_t QEL_KEY_END = 0x100000;
constexpr int32_t QEL_KEY_PAGE_UP = 0x120000;
constexpr int32_t QEL_KEY_PAGE_DOWN = 0x130000;
constexpr int32_t QEL_KEY_UP = 0x160000;
constexpr int32_t QEL_KEY_DOWN = 0x170000;

// A letter key lowered: 'A'..'Z' become 'a'..'z'; every other code (special keys included) is
// kept as it is.
int32_t qelLowerKey(int32_t code);

// The first-letter search of the list controls: visits the items cyclically from the one after
// `selection` (item 0 with no selection) round to the selected item itself, and answers the
// first whose text (textAt) begins with `letter` (lower case; the text's first character is
// lowered), or -1. Texts that are not strings match nothing.
int32_t qelFirstLetterMatch(
    int32_t count, int32_t selection, int32_t letter, const std::function<qelValue(int32_t index)>& textAt);

// Rows that fit: height / rowHeight, at least 1 (a row height of 0 or less counts as 1).
int32_t qelVisibleRows(int32_t height, int32_t rowHeight);
// Integer division truncating toward zero, 0 for a divisor of 0.
int32_t qelDivide(int64_t numerator, int64_t divisor);
// A 32-bit number brought into [low, high] (high below low gives low).
int32_t qelClampInt(int64_t n, int32_t low, int32_t high);
// The first row that keeps `index` in view: unchanged while index lies in the rows shown,
// index when it lies above them, index - (visible - 1) when it lies at or below the last one.
int32_t qelScrollIntoView(int32_t index, int32_t topIndex, int32_t visible);

// The scroll thumb's top: the track between the arrow areas, divided over the first rows that
// can be shown (range at least 1).
int32_t qelThumbTop(int32_t boxTop, int32_t boxHeight, int32_t upHeight, int32_t downHeight, int32_t thumbHeight,
    int32_t topIndex, int32_t range);
// The first row for a thumb dragged with the pointer at `pointerY`, `grab` pixels below the
// thumb's top; clamped to 0..range. A thumb that fills its track cannot move: topIndex stays.
int32_t qelThumbDragIndex(int32_t pointerY, int32_t boxTop, int32_t arrowHeight, int32_t trackHeight,
    int32_t thumbHeight, int32_t grab, int32_t range, int32_t topIndex);
// Where inside the thumb the pointer took it.
int32_t qelThumbGrab(int32_t pointerY, int32_t boxTop, int32_t arrowHeight, int32_t trackHeight, int32_t thumbHeight,
    int32_t topIndex, int32_t range);

// One pass of a loop that follows the held button.
enum class qelTrackStep { Drag, Release, TimeOut };
// Waits up to `timeoutMs` (negative: for ever) for a drag or button-up event (`mask` chooses
// which); the event's point is made form-local. A wait that ends before its time with nothing, which
// happens only when no window layer can deliver input any more, counts as the release, so no loop
// spins for ever.
qelTrackStep qelNextTrackEvent(qelEvent& event, int32_t mask, int32_t timeoutMs);

// The first repeat wait of an arrow button, and how the repeat counter shrinks: after each
// performed step the counter drops by 5 while it is at least 11, and the next wait is counter / 10
// milliseconds: 50 ms down to 1 ms.
constexpr int32_t QEL_ARROW_COUNTER_START = 500;
int32_t qelNextArrowCounter(int32_t counter);

// Scroll bar parts: the areas (region values or nil) and the thumb image.
struct qelScrollBarParts {
    qelValue upArrowRegion;
    qelValue downArrowRegion;
    qelValue scrollBarRegion;
    qelValue thumbImage;
};

// Nonzero when the value is a region holding the point (nil holds nothing).
int32_t qelRegionHolds(const qelValue& region, int32_t x, int32_t y);
// The height of a region or image, 0 for nil or any other value.
int32_t qelHeightOf(const qelValue& value);
int32_t qelWidthOf(const qelValue& value);

// A scroll bar strip composed on the screen over the area and grabbed: the up arrow at the top,
// the tile repeated below it while room is left above the down arrow, the down arrow at the
// bottom; the screen is put back. Nil without an area.
qelValue qelComposeScrollStrip(
    const qelValue& area, const qelValue& tile, const qelValue& upArrow, const qelValue& downArrow);

// The arrow button held at its area: the pressed image (`pressedImage`, or a screen copy of the
// area at the image position) shows while the pointer is on the area, a screen copy taken first
// shows when it leaves and at the release. `step` runs at once and on every pass of the loop
// while pressed; it answers whether it scrolled, and only a performed step speeds the repeat up.
void qelRepeatArrow(const qelValue& area, int32_t imageX, int32_t imageY, const qelValue& pressedImage,
    const std::function<bool()>& step);
// A page step at once; then, while the button is held, another after 200 ms and then every
// 50 ms until `passed` says the thumb has gone past the press point.
void qelRepeatPage(const std::function<void()>& step, const std::function<bool()>& passed);
// The thumb follows the pointer: `move` runs for the press point and for every drag until the
// release.
void qelFollowThumb(int32_t y, const std::function<void(int32_t pointerY)>& move);
// Waits for the button's release.
void qelWaitForRelease();
// Runs `moved` with the form-local point of every drag until the button's release.
void qelFollowDrags(const std::function<void(int32_t x, int32_t y)>& moved);

// part * whole / total in 64 bits, truncating toward zero and brought into 32 bits; 0 when the
// total is 0 (a range or a travel of nothing stands for no offset).
int32_t qelScaleInt(int64_t part, int64_t whole, int64_t total);

// What a list control reads from its properties to scroll: the same keys for the list box and
// the combo box's open list.

// The height of a row: the font's height of "|" plus "LineSpacing", at least one pixel (rows
// are divided by it). `textHeight` (when given) receives the measured height.
int32_t qelListRowHeight(qelMediaControlObject& control, const qelValue& font, int32_t* textHeight = nullptr);
// The scroll bar's area: "ScrollbarHotSpot", else the strip `barWidth` wide at `barLeft` over the
// box; nil when neither is there.
qelValue qelScrollBarArea(
    qelMediaControlObject& control, int32_t barLeft, int32_t boxTop, int32_t barWidth, int32_t boxHeight);
// The scroll bar picture composed over the area from the "ScrollBit" tile and the arrow images;
// nil without a tile.
qelValue qelScrollBarStrip(qelMediaControlObject& control, const qelValue& area);
// An arrow button of the scroll bar held (qelRepeatArrow): its pressed picture is
// "UpArrowHighlight" or "DownArrowHighlight", placed at "UpArrowX"/"UpArrowY" (or the down
// ones), by default the area's corner.
void qelRepeatScrollArrow(
    qelMediaControlObject& control, bool up, const qelValue& area, const std::function<bool()>& step);
// The thumb dragged from a press at `y` (qelFollowThumb): `topIndex` follows the pointer over
// `count` rows with `visible` shown in the box, and `redraw` shows every step. A list shorter
// than its box has nothing to drag: the button's release is all that is waited for.
void qelDragThumb(int32_t y, int32_t boxTop, int32_t boxHeight, int32_t arrowHeight, int32_t thumbHeight,
    int32_t count, int32_t visible, int32_t& topIndex, const std::function<void()>& redraw);
