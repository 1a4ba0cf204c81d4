#include "framework/richtext/TextMap.h"

#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/MakerHooks.h"

namespace {

bool textMapFields(const qelValue& value, qelEncodedFields& fields)
{
    qelTextMapObject* map = qelTextMapOf(value);
    if (!map)
        return false;
    fields.ints[0] = map->width;
    fields.ints[1] = map->height;
    fields.values[0] = map->first;
    fields.values[1] = map->second;
    return true;
}

// Element `index` of element `page` of the page list.
qelValue pagePart(const qelValue& textMap, int32_t page, int32_t index)
{
    qelTextMapObject* map = qelTextMapOf(textMap);
    if (!map)
        return qelNil;
    qelValue entry = qelGet(map->second, page);
    if (entry.type() != QEL_LIST_TYPE || qelCount(entry) <= index)
        return qelNil;
    return qelGet(entry, index);
}

} // namespace

qelValue qelTextMapValue(int32_t width, int32_t height, const qelValue& first, const qelValue& second)
{
    return qelMakeObjectValue(QEL_TEXTMAP_TYPE, new qelTextMapObject(width, height, first, second));
}

qelTextMapObject* qelTextMapOf(const qelValue& value)
{
    if (value.type() != QEL_TEXTMAP_TYPE)
        return nullptr;
    return dynamic_cast<qelTextMapObject*>(value.object());
}

int32_t qelTextMapPageCount(const qelValue& textMap)
{
    qelTextMapObject* map = qelTextMapOf(textMap);
    return map && map->second.type() == QEL_LIST_TYPE ? qelCount(map->second) : 0;
}

qelValue qelTextMapPageRuns(const qelValue& textMap, int32_t page)
{
    return pagePart(textMap, page, 0);
}

qelValue qelTextMapPageHotAreas(const qelValue& textMap, int32_t page)
{
    return pagePart(textMap, page, 1);
}

qelValue qelHitTextMap(const qelValue& hotAreas, int32_t x, int32_t y)
{
    if (hotAreas.type() != QEL_LIST_TYPE)
        return qelNil;
    int32_t count = qelCount(hotAreas);
    for (int32_t i = 0; i < count; ++i) {
        qelValue area = qelGet(hotAreas, i);
        if (area.type() != QEL_LIST_TYPE || qelCount(area) < 2)
            continue;
        if (qelContainsPoint(qelGet(area, 0), x, y))
            return qelGet(area, 1);
    }
    return qelNil;
}

void qelInstallTextMapMaker()
{
    qelMakerHooks& hooks = qelMakers();
    hooks.textMapValue = qelTextMapValue;
    hooks.textMapFields = textMapFields;
}
