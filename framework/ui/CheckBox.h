#pragma once

// CheckBox: a two-state box drawn from "SelectedImage" or "DeselectedImage" (one "Mask" for
// both) at the "Hot Spot"'s corner or ("SelectedX", "SelectedY"), followed by a label: the
// picture "TextBitmap", or "Text" in "Font" (default Arial 8 points, bold with "Bold"), "Align",
// "BackgroundColor" (-1 transparent) and "ForegroundColor". The state lives in the control only,
// so every check box starts deselected; a press released inside the hot spot toggles it and
// reports the click. Verbs: "IsSelected", "Select" (draws once set up), "SelectDontDraw".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class CheckBox : public qelMediaControlObject {
public:
    explicit CheckBox(const qelValue& data);
    ~CheckBox() override;

    const char* className() const override { return "CheckBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new CheckBox(data); }
    // Unknown verbs go to the control root: the media layer's "getHelpString" is not answered.
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    int32_t pressMoved(int32_t inside, int32_t crossed) override;

    // Reads the pictures, places the box and the label; run by the first draw.
    virtual void setup();
    virtual void setSelected(int32_t flag, int32_t redraw);

    int32_t setUp = 0;
    int32_t selected = 0;
    int32_t boxX = 0;
    int32_t boxY = 0;
    int32_t boxWidth = 0;
    int32_t boxHeight = 0;
    int32_t labelX = 0;
    int32_t labelY = 0;
    int32_t labelWidth = 0;
    int32_t labelHeight = 0;
    qelValue selectedImage;
    qelValue deselectedImage;
    qelValue textBitmap;
    int32_t alignment = 0;
    int32_t fontStyle = 0;
    qelValue font;
    int32_t backgroundColor = -1;
    int32_t foregroundColor = 1;
    qelValue spot;
    // The screen under the box, grabbed at the first draw.
    qelValue savedBox;

private:
    // The box picture of a state; the saved screen when that state has none.
    qelValue boxLook(int32_t state);
    void showBox(const qelValue& look);
    void drawLabel();
    // The looks shown during a press: the present state's and the other one's.
    qelValue m_currentLook;
    qelValue m_otherLook;
};
