#pragma once

// qelMediaFormObject: the full-screen form from which the application's screens derive. Over the
// plain form it adds:
// - a fade to colour 1 before the screen is built and back after it is shown, unless the opening
//   data holds "NoFade" (true); the fade time is the resource "FadeTime";
// - keyboard focus through "TabStopList" (Tab, Shift+Tab; disabled and hidden controls are
//   passed over; an empty list counts as none);
// - the yellow help box of a control's "Help" after the pointer has rested on it for a second;
// - one video and one sound of the screen, stopped by any click or key and by their end notice;
// - narration ("<name>AudioHelp", once per user), the help file on F1, going to other forms
//   through the history, and the table of disabled menu items.
//
// Not registered itself: its class name and new instance are the plain form's, and every
// application class overrides both.

#include "framework/ui/FormObject.h"
#include "framework/ui/HelpBox.h"

class qelMediaFormObject : public qelFormObject {
public:
    explicit qelMediaFormObject(const qelValue& data = qelNil);
    ~qelMediaFormObject() override;

    qelValue rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers) override;
    void rolloverOff(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue& state) override;
    // Reads "NoFade" from the data (a table), fades out unless it is set, opens, and gives the
    // focus to the first tab stop.
    void open(const qelValue& data) override;
    // Fades in unless "NoFade", draws, and shows the arrow.
    void afterOpen() override;
    // Stops the video and the sound, then closes.
    void close() override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    // F1 shows help; Tab and Shift+Tab move through the tab stops; every key first removes the
    // help box and stops the video and the sound.
    void key(int32_t code, int32_t modifiers) override;
    void mediaNotify(const qelValue& first, const qelValue& second) override;
    // Shows the waiting help box once its delay has passed.
    void tick() override;

    virtual void emptyHook() { }
    virtual void fadeOut();
    virtual void fadeIn();
    // Under the wait cursor: history navigation.
    virtual void goToForm(const qelValue& name, const qelValue& data);
    virtual void goHistory(int32_t step);
    virtual int32_t usesPaletteFade();
    // Loads the movie, centres it in the media area and plays it; 0 when it does not load.
    virtual int32_t playVideo(const qelValue& name, int32_t allowDouble);
    virtual void stopVideo();
    virtual int32_t hasVideo() { return video.isNil() ? 0 : 1; }
    // A name (without "." it gets "." + "AudioExtension") or a sound value; once or looped.
    virtual int32_t playSound(const qelValue& sound, int32_t loop);
    virtual void stopSound();
    virtual int32_t hasSound() { return sound.isNil() ? 0 : 1; }
    virtual void narrate(int32_t force);
    virtual void showHelp();
    virtual int32_t helpContext() { return 0; }
    virtual int32_t getBool(const qelValue& key, int32_t defaultValue);
    // An integer property (references followed); anything else gives the default.
    virtual int32_t getInt(const qelValue& key, int32_t defaultValue);
    virtual void setBool(const qelValue& key, int32_t flag);
    virtual void setInt(const qelValue& key, int32_t n);

    void disableMenuItem(const qelValue& menu, const qelValue& item);
    void enableMenuItem(const qelValue& menu, const qelValue& item);

    int32_t noFade = 0;
    qelHelpBox helpBox;
    qelValue video;
    int32_t videoX = 0;
    int32_t videoY = 0;
    qelValue sound;

private:
    // A key or a press: the help box goes, the video and the sound stop.
    void interrupt();
    // "FadeTime" as milliseconds; a missing one is 0 (an instant change).
    static int32_t fadeTime();
};
