#include "app/shell/CascadePlace.h"

#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"

namespace {

bool inside(const qelValue& region, int32_t x, int32_t y)
{
    return region.type() == QEL_REGION_TYPE && qelContainsPoint(region, x, y) != 0;
}

} // namespace

int32_t cascadeHitTest(const qelValue& dialogRect, const qelValue& parents, int32_t x, int32_t y)
{
    if (inside(dialogRect, x, y))
        return cascadeInside;
    if (parents.type() != QEL_LIST_TYPE)
        return cascadeOutside;
    for (int32_t i = qelCount(parents) - 1; i >= 0; --i) {
        qelValue parent = qelGet(parents, i);
        if (parent.type() != QEL_TABLE_TYPE)
            continue;
        if (inside(qelGet(parent, "SubItemRect"), x, y))
            return cascadeParentItem;
        if (inside(qelGet(parent, "MenuRect"), x, y))
            return cascadeParentMenu;
    }
    return cascadeOutside;
}

std::optional<CascadePlace> cascadePlacement(const qelValue& itemRect, int32_t w, int32_t h, int32_t mediaWidth,
    int32_t mediaHeight)
{
    if (itemRect.type() != QEL_REGION_TYPE)
        return std::nullopt;
    int32_t left = qelLeft(itemRect);
    int32_t top = qelTop(itemRect);
    CascadePlace place { left + qelWidth(itemRect) + 1, top - 5 };
    if (place.x + w >= mediaWidth)
        place.x = left - w - 1;
    if (place.y + h >= mediaHeight)
        place.y = top + qelHeight(itemRect) + 4 - h;
    return place;
}
