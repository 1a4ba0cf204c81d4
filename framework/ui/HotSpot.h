#pragma once

// HotSpot: an invisible clickable area with the hand cursor and the rollover picture of the media
// layer. A press plays "Sound"; with "ReleaseOnMouseDown" true it counts as a click at once,
// otherwise the mouse is followed until the button is released.

#include "framework/ui/MediaControlObject.h"

class HotSpot : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    const char* className() const override { return "HotSpot"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new HotSpot(data); }
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
};
