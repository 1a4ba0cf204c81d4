#pragma once

// RadioButton: one choice of a set that a RadioGroup keeps. Its looks are "SelectedImage" (with
// "Mask"), "DeselectedImage" (default: the screen under the button at its first draw) and
// "DisabledImage", all drawn at ("SelectedX", "SelectedY"), by default the "Hot Spot"'s corner.
// A press released inside selects the button and tells its "RadioGroup" ("Notify" with the
// button's "Name"), which deselects the others. A selected button is never hit; selected through
// "Select" it is also "Disabled". The state is kept in the control and in "Selected", which every
// draw reads back. Verbs: "IsSelected", "Select", "Disable".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class RadioButton : public qelMediaControlObject {
public:
    explicit RadioButton(const qelValue& data);
    ~RadioButton() override;

    const char* className() const override { return "RadioButton"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new RadioButton(data); }
    // Unknown verbs go to the control root: the media layer's "getHelpString" is not answered.
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t hitTest(int32_t x, int32_t y) override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    int32_t pressMoved(int32_t inside, int32_t crossed) override;

    // Stores the state in the control and in "Selected"; a change of state also sets "Disabled"
    // to it. Draws once the button has been drawn.
    virtual void setSelected(int32_t flag);

    int32_t drawn = 0;
    int32_t selected = 0;
    int32_t spotLeft = 0;
    int32_t spotTop = 0;
    int32_t imageX = 0;
    int32_t imageY = 0;
    qelValue selectedImage;
    qelValue deselectedImage;
    qelValue disabledImage;
    qelValue mask;
    // The screen under the look last drawn.
    qelValue savedLook;
    qelValue cachedSpot;

private:
    // Draws a look straight at the image corner (during a press), when it is a picture.
    void showStraight(const qelValue& look);
};
