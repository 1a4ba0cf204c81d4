#pragma once

// PhotoView: one photograph ("Photo", with "Mask") at ("X", "Y"), over an optional "Frame" at
// ("FrameX", "FrameY") shown only with its "FrameMask". A click on a photo with a "Caption" opens
// a grey bevelled panel over the photo's lower right part, laid out by the TextView that
// "CaptionView" names, until the next mouse press or for at most seven seconds. Verbs:
// "Initialize" (reload, loading a "Photo" given by name), "SetPhoto", "Redraw".

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class PhotoView : public qelMediaControlObject {
public:
    explicit PhotoView(const qelValue& data);
    ~PhotoView() override;

    const char* className() const override { return "PhotoView"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new PhotoView(data); }
    void initialize() override { init(); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    int32_t track(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    virtual void init();
    virtual void redraw();
    virtual void setPhoto(const qelValue& image);
    virtual void erase();
    // Draws a raised panel with a sunken inner ring and answers the screen it covers.
    virtual qelValue drawPanel(int32_t x, int32_t y, int32_t width, int32_t height, int32_t fillColour);
    // Opens the caption panel at (x, y), moving x left to keep it inside the media area; answers
    // the screen it covers, or nil when there is no caption.
    virtual qelValue showCaption(int32_t& x, int32_t y, int32_t width, int32_t height);

    qelValue photo;
    int32_t photoReady = 0;
    qelValue frame;
    int32_t photoX = 0;
    int32_t photoY = 0;
    int32_t frameX = 0;
    int32_t frameY = 0;
    qelValue area;
    qelValue savedScreen;

private:
    void readPlaces();
    void showScreenBack();
};
