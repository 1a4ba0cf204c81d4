#pragma once

// Control classes that are registered by name and made from their data tables, with the fields
// their behaviour keeps; what they draw, track and answer beyond the media control layer comes
// with each class's own work.

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class Scroller : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    const char* className() const override { return "Scroller"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Scroller(data); }

    qelValue values[4];
    int32_t state = 0;
};

