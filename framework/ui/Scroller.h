#pragma once

// Scroller: a scroll bar drawn from images (or plain colours) that holds an integer between "Min"
// and "Max". Two arrow buttons step it by one (repeating on the framework timer while held), the
// free track before or after the knob pages it by "PageInc" (repeating too), and the knob is
// dragged. Vertical unless "Horizontal"; "up" is always towards the smaller value.
//
//   "Hot Spot"                      region  required; grown to the images unless
//                                           "ResizeToAccommodateImages" is false
//   "ButtHeight", "KnobHeight"      int     lengths along the axis (10), unless images are given
//   "KnobAdjust", "KnobOffset"      int     knob shift across the axis; gap kept by the knob's travel
//   "Value", "Min", "Max", "PageInc" int    initial state
//   "DoKnob"                        bool    false: no knob and no page clicks
//   "DisablePageUpDown", "DisableScrollRepeat", "DisablePageRepeat"     bool
//   "InitialRepeat", "RepeatRate"   int     repeat timing in milliseconds (250, 50)
//   images: "Background Image", "InsideImage", "UpImage"/"UpHImage", "DownImage"/"DownHImage",
//           "KnobImage"/"KnobHImage"; colours: "FillInside"/"FillColor", "InsideRect",
//           "InsideColor", "DrawBorder"/"BorderColor", "DrawButtons"/"ButtonColor",
//           "DrawKnob"/"KnobColor", "DebugDraw"
//
// Verbs "SetMin", "SetMax", "SetPageInc", "SetValue" (int data only), "ScrollUp", "ScrollDown",
// "PageUp", "PageDown", "Home", "End", "DontDraw"; properties "Value", "Min" and "Max" read the
// current state. Only the user's clicks and drags tell the form.

#include "framework/ui/MediaControlObject.h"

#include <cstdint>
#include <functional>

class Scroller : public qelMediaControlObject {
public:
    // A part's rectangle in form coordinates.
    struct Box {
        int32_t x = 0;
        int32_t y = 0;
        int32_t w = 0;
        int32_t h = 0;
        bool contains(int32_t px, int32_t py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    };
    // What pressedPart names.
    enum { NoPart = 0, UpPart = 1, DownPart = 2, KnobPart = 3 };

    explicit Scroller(const qelValue& data);
    ~Scroller() override;

    const char* className() const override { return "Scroller"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Scroller(data); }
    void initialize() override { init(); }
    qelValue getProperty(const qelValue& key) override;
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    // Enabled by the base and with a range of more than one value.
    int32_t isEnabled() override;
    int32_t key(int32_t, int32_t) override { return 0; }
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    virtual void init();
    // Ends the program through the error hook when a required property is missing.
    virtual void validate();
    virtual void drawBackground();
    virtual void drawBorder();
    virtual void drawUpButton(int32_t pressed);
    virtual void drawDownButton(int32_t pressed);
    virtual void drawKnob(int32_t pressed);
    virtual void drawInside();
    // Grows the hot spot to hold the image; never shrinks it.
    virtual void fitToImage(const qelValue& image);

    void setValue(int32_t v);
    // Refused when hi is below lo.
    void setRange(int32_t lo, int32_t hi);
    bool hasRange() const { return max != min; }
    // The knob's travel along the axis lies in [travelStart, travelEnd - knob length].
    int32_t travelStart() const;
    int32_t travelEnd() const;
    void moveKnobTo(int32_t p);
    int32_t valueFromKnob() const;
    void placeKnob();
    void step(int32_t direction);
    void page(int32_t direction);
    void repeatStep(int32_t direction, int32_t x, int32_t y);
    void repeatPage(int32_t direction, int32_t x, int32_t y);
    void dragKnob(int32_t coordinate);
    int32_t currentValue() const { return value; }
    bool inPageUpArea(int32_t x, int32_t y) const;
    bool inPageDownArea(int32_t x, int32_t y) const;
    // Impossible directions are reported here and have no visible effect.
    void warn(const char*) { }

    int32_t value = 0;
    Box hotSpotBox;
    Box upRect;
    Box downRect;
    Box knobRect;
    int32_t min = 0;
    int32_t max = 0;
    int32_t pageInc = 0;
    int32_t knobOffset = 0;
    int32_t pressedPart = NoPart;
    int32_t horizontal = 0;
    int32_t dontDraw = 0;

private:
    // Integers and booleans of the data table count only with exactly their type ("Value",
    // "Min" and "Max" as properties answer the current state instead).
    int32_t boolOf(const char* key, int32_t defaultValue);
    int32_t intOf(const char* key, int32_t defaultValue);
    void layOut(int32_t buttonLength, int32_t knobLength, int32_t adjust);
    // Along the axis: start and length of a box.
    int32_t startOf(const Box& b) const { return horizontal ? b.x : b.y; }
    int32_t lengthOf(const Box& b) const { return horizontal ? b.w : b.h; }
    Box pageUpArea() const;
    Box pageDownArea() const;
    Box insideArea();
    void drawButton(const Box& box, const char* normal, const char* pressedKey, int32_t pressed, bool up);
    void paintRect(const Box& box, int32_t colour);
    void debugBox(const Box& box, int arrow);
    // Draws and shows the result at once (the user is holding the button).
    void drawNow();
    // The loop of a held arrow or page click, until the release: each drag's point goes to
    // `dragged`; each tick of the framework timer (the first switching it from the initial wait to
    // the repeat rate) runs `repeat`, which answers whether it stepped (the form is then told).
    void repeatWhileHeld(
        const std::function<void(int32_t x, int32_t y)>& dragged, const std::function<bool()>& repeat);
};
