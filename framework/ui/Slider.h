#pragma once

// Slider: a thumb picture dragged along the hot spot to pick an integer between "Minimum" and
// "Maximum"; in "Double" mode two thumbs ("Low" and "High") kept at least "Range" apart, with
// the "BarImage" drawn in the gap, either thumb or the gap (both together) dragged. A press on
// the track makes the thumb jump there. Every value lives in the property table.
//
//   "Hot Spot"      region  the track;  "Vertical", "Double"   truth
//   "Minimum", "Maximum", "Low", "High", "Range", "Increment"  int (only an int counts)
//   "ThumbImage", "ThumbMask", "BarImage"                      images (or references)
//
// Verbs (none draws): "IsVertical", "SetVertical", "IsDouble", "SetDouble", "GetMinimum",
// "SetMinimum", "GetMaximum", "SetMaximum", "GetIncrement", "SetIncrement", "GetPos", "SetPos",
// "GetLow", "SetLow", "GetHigh", "SetHigh", "GetRange", "SetRange".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class Slider : public qelMediaControlObject {
public:
    struct Box {
        int32_t x = 0;
        int32_t y = 0;
        int32_t w = 0;
        int32_t h = 0;
    };

    explicit Slider(const qelValue& data);
    ~Slider() override;

    const char* className() const override { return "Slider"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Slider(data); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    // After every change of position during a track; nothing here.
    virtual void changed() { }

    void loadImages();
    // The thumb picture's length along the axis; 0 without a picture.
    int32_t thumbLength();
    Box thumbRect(int32_t thumb, int32_t span, const Box& hotSpotBox);
    Box barRect(const Box& low, const Box& high);
    // Double mode: 1 the low thumb, 2 the high one, 3 the gap; 0 for an empty range.
    int32_t thumbAt(int32_t x, int32_t y);
    void beginRangeDrag(int32_t x, int32_t y);
    void moveTo(int32_t x, int32_t y);
    // The travel along the axis and the pointer's place on it, centred on the thumb.
    void pointerOffset(int32_t x, int32_t y, int32_t& travel, int32_t& offset);
    void setLow(int32_t n);
    void setHigh(int32_t n);

    int32_t initialized = 0;
    int32_t activeThumb = 0;
    int32_t lowOffset = 0;
    int32_t highOffset = 0;
    qelValue thumbImage;
    qelValue barImage;
    // The screen under the hot spot, taken at the first draw and put back before every later one.
    qelValue savedScreen;

private:
    int32_t intOf(const char* key) { return getInt(key, 0); }
    bool vertical() { return getBool("Vertical", 0) != 0; }
    bool isDouble() { return getBool("Double", 0) != 0; }
    // |Maximum - Minimum|, brought into 32 bits.
    int32_t span();
    Box hotSpotBox();
};
