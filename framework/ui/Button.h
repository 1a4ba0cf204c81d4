#pragma once

// Button: the image push button. Its look comes from images named in its data: "UpImage" (the
// enabled look; without it the saved background, so the button is invisible while up),
// "DownImage" while pressed, "DisabledImage" while disabled, each with an optional mask
// ("UpMask", "DownMask", "DisabledMask") and position ("DownX"/"DownY", "DisabledX"/
// "DisabledY"; -1 takes the image rectangle's corner). The image rectangle is "ImageRect", or
// gathered from the down and disabled images, or the "Hot Spot". Before each image the
// background saved from the screen under that rectangle is put back, so masked images never
// pile up. A press follows the mouse in its own loop and plays "Sound".
//
// While the pointer rests on the button, "AddedImage" shows extra pictures besides the media
// layer's rollover picture: a table ("Image", "Origin X", "Origin Y") or a list of lists
// (image, x, y); the screen under each is kept and put back when the pointer leaves.

#include "framework/ui/MediaControlObject.h"

class Button : public qelMediaControlObject {
public:
    explicit Button(const qelValue& data);
    ~Button() override;

    const char* className() const override { return "Button"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new Button(data); }
    // "Draw" and "Redraw" lay the button out again and draw it.
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    qelValue rolloverOn(int32_t x, int32_t y, int32_t modifiers) override;
    void rolloverOff(int32_t x, int32_t y, int32_t modifiers, const qelValue& state) override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    int32_t pressMoved(int32_t inside, int32_t crossed) override;
    // Finds the image rectangle and grabs the background under it.
    virtual void layout();
    // Shows the pressed look for a moment (100 ms, messages still dispatched), then the screen
    // as it was.
    virtual void flash();

    int32_t layoutPending = 0;
    qelValue imageRect;
    qelValue savedButtonBackground;
    // "AddedImage" with the saved screens in place of the pictures shown.
    qelValue addedCopy;
    int32_t addedShown = 0;

private:
    // The property as stored, a name loaded as an image resource.
    qelValue getImage(const char* key);
    void showImage(const qelValue& image, const qelValue& mask, int32_t x, int32_t y);
    qelValue imageBounds(const qelValue& image, const qelValue& gathered, int32_t x, int32_t y);
    qelValue upImage();
    void showPressed();
    void showUp();
    // How many elements of a list "AddedImage" are on screen (their screens are in addedCopy).
    int32_t m_addedListShown = 0;
};
