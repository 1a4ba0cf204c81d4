#pragma once

// Bitmap: one image ("Image", with "Mask") at ("X", "Y"), whole, or in a "W" x "H" box that
// stretches it or, with "ClipImage" true, shows the part from ("SrcX", "SrcY"). With "Save
// Background" the first enabled draw keeps the screen under the box, and a draw while disabled
// or hidden puts it back. Answers "dblClicked" for its last press.

#include "framework/ui/MediaControlObject.h"

class Bitmap : public qelMediaControlObject {
public:
    using qelMediaControlObject::qelMediaControlObject;
    ~Bitmap() override;
    const char* className() const override { return "Bitmap"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Bitmap(data); }
    // "DiscardBK", "Draw", "dblClicked".
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    int32_t doubleClicked = 0;
    qelValue savedImageBackground;
};
