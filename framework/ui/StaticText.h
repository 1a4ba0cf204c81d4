#pragma once

// StaticText: a label drawn in "TextRegion": "Text" (a string, or a laid-out text map drawn from
// its own page 0), else "Name". A string is aligned by "Align" ("Center", "Right", else left) and
// "VAlign" ("Center", "Bottom", else top) and wrapped at words; it is drawn in "Font" (default MS
// Sans Serif 8 points, with "Bold" and "Underline"), "Foreground Color" (default 1, near-black)
// and "Background Color" (default -1, transparent). With "Save Background" the screen under the
// region is kept at each draw and put back before the next, so a changed or cleared text leaves
// no trace. With a "Hot Spot" it shows the hand cursor and takes clicks like any control.
// Verbs: "SetText" (stores and draws), "GetText", "Initialize", "DiscardBK", "ClearText".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class StaticText : public qelMediaControlObject {
public:
    explicit StaticText(const qelValue& data);
    ~StaticText() override;

    const char* className() const override { return "StaticText"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new StaticText(data); }
    void initialize() override { init(); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    qelValue getCursor() override { return cursor; }

    // Reads the region, alignments, font and colours from the data.
    virtual void init();
    // Stores the text under "Text"; draws when redraw is nonzero.
    virtual void setText(const qelValue& text, int32_t redraw);

    qelValue textRegion;
    int32_t regionLeft = 0;
    int32_t regionTop = 0;
    int32_t regionWidth = 0;
    int32_t regionHeight = 0;
    // 0 left, 1 centre, 2 right.
    int32_t hAlign = 0;
    // 2 top, 1 centre, 0 bottom.
    int32_t vAlign = 2;
    int32_t fontStyle = 0;
    qelValue font;
    qelValue cursor;
    qelValue savedRegion;
    int32_t backgroundColor = -1;
    int32_t foregroundColor = 1;
    int32_t initialized = 0;

private:
    // A colour property: a number or numeric string; anything else gives the default.
    int32_t colourProperty(const char* key, int32_t defaultValue);
    void restoreRegion();
};
