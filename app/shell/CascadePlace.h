#pragma once

// Where a chooser run as the cascading submenu of a pop-up menu (the list chooser, the continent
// chooser) stands and what a point means to it. The parents' list holds the parent menus,
// outermost first, each a table with "SubItemRect" (the item that opened the next level) and
// "MenuRect" (the menu itself).

#include "framework/runtime/Value.h"

#include <cstdint>
#include <optional>

// Where a point lies for the chooser: in it, on a parent's item that opened the next level, on a
// parent menu, or outside everything.
enum CascadeHit : int32_t {
    cascadeOutside = 0,
    cascadeParentMenu = 1,
    cascadeParentItem = 2,
    cascadeInside = 3,
};

// The hit of (x, y) given the chooser's rectangle and the parents' list: the chooser first, then
// each parent from the innermost (last) out, its item before its menu. Entries that are not
// tables and rectangles that are not regions are passed over.
int32_t cascadeHitTest(const qelValue& dialogRect, const qelValue& parents, int32_t x, int32_t y);

// The corner of a w x h chooser beside the item rectangle on a mediaWidth x mediaHeight screen:
// right of the item, one pixel off, or left of it when the right edge would not stay strictly
// inside; 5 pixels above the item's top, or with its bottom 4 pixels below the item's bottom when
// the bottom edge would not stay strictly inside. Nothing when the item is not a region.
struct CascadePlace {
    int32_t x;
    int32_t y;
};
std::optional<CascadePlace> cascadePlacement(const qelValue& itemRect, int32_t w, int32_t h, int32_t mediaWidth,
    int32_t mediaHeight);
