#include "app/shell/ScrollOffset.h"

#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/runtime/Builtins.h"
#include "framework/ui/AbstractListBox.h"

namespace {

qelValue moved(const qelValue& region, int32_t dx, int32_t dy, int32_t grow)
{
    if (region.isNil())
        return qelNil;
    return qelRectValue(qelLeft(region) + dx, qelTop(region) + dy, qelWidth(region), qelHeight(region) + grow);
}

} // namespace

bool readScrollOffset(AbstractListBox& box, int32_t& a, int32_t& b, int32_t& c)
{
    qelValue offset = box.getProperty("Scroll Offset");
    if (offset.type() != QEL_LIST_TYPE || qelCount(offset) < 3)
        return false;
    a = qelIntValue(qelGet(offset, 0));
    b = qelIntValue(qelGet(offset, 1));
    c = qelIntValue(qelGet(offset, 2));
    return true;
}

void moveScrollParts(AbstractListBox& box, int32_t dx, int32_t dyUp, int32_t dyDown, int32_t grow)
{
    box.upArrowRegion = moved(box.upArrowRegion, dx, dyUp, 0);
    box.downArrowRegion = moved(box.downArrowRegion, dx, dyDown, 0);
    box.scrollBarRegion = moved(box.scrollBarRegion, dx, dyUp, grow);
}
