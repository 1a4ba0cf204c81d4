#pragma once

// VideoView: a movie played on a form, at ("VideoX", "VideoY"), optionally inside a "Frame"
// picture with its "FrameMask", or over the whole media area when the settings ask for it. A
// "VideoArchive" can choose position, frame and cue sheet by the movie's pixel size: its item 0
// maps "<width>x<height>" to the index of the item that holds them.
//
// Pages drive it through verbs: clear "Disabled", "Reinitialize" with the movie's name, "Start"
// with the loop flag; "Stop" and "Uninitialize" to end. At the movie's end the control plays it
// again ("PlayTillStoped") or stops, gives up the focus, disables itself and puts back the screen
// under its frame.

#include "framework/ui/MediaControlObject.h"

#include <cstdint>

class VideoView : public qelMediaControlObject {
public:
    explicit VideoView(const qelValue& data);
    ~VideoView() override;

    const char* className() const override { return "VideoView"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new VideoView(data); }
    // The form builds its controls: the properties are read.
    void initialize() override { init(); }
    qelValue perform(const qelValue& action, const qelValue& data) override;
    void draw() override;
    void mediaNotify(const qelValue& first, const qelValue& second) override;

    // Reads the properties (placement, frame, archive, movie path).
    virtual void init();
    // Opens the movie (nil: the present path) and places it from the archive; 1 when opened.
    virtual int32_t initialize(const qelValue& name);
    virtual int32_t uninitialize();
    // Draws the frame, places and shows the movie, and plays it (repeating with the flag); 0 when
    // the control is disabled or hidden.
    virtual int32_t start(const qelValue& loop);
    virtual int32_t stop();
    virtual int32_t show(int32_t flag);
    virtual int32_t isPlaying();
    virtual int32_t pause() { return cueSheet.isNil() ? 0 : 1; }
    virtual int32_t rewind(const qelValue&) { return 1; }
    virtual int32_t reset() { return 1; }
    virtual int32_t forward(const qelValue&) { return 1; }

    int32_t ready = 0;
    int32_t fullScreen = 0;
    qelValue archive;
    qelValue sizeTable;
    qelValue movie;
    qelValue moviePath;
    int32_t videoX = 0;
    int32_t videoY = 0;
    qelValue frame;
    int32_t frameX = 0;
    int32_t frameY = 0;
    qelValue frameMask;
    qelValue cueSheet;
    int32_t playTillStopped = 0;

private:
    void chooseFullScreen();
    // Places the movie window, optionally plays it; shared by start and show.
    int32_t present(bool play, int32_t repeat);
    void takeFrame(const qelValue& source);
};
