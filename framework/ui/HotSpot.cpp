#include "framework/ui/HotSpot.h"

int32_t HotSpot::track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (hasProperty("Sound"))
        playClickSound(getProperty("Sound"), 0);
    if (hasProperty("ReleaseOnMouseDown") && getBool("ReleaseOnMouseDown", 0))
        return 1;
    return qelMediaControlObject::track(x, y, modifiers, clicks);
}
