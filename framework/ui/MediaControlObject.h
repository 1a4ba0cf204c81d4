#pragma once

// qelMediaControlObject: the layer between the control root and every concrete control class.
// It reads properties through references (a property may name a resource), shows the hand
// cursor, shows a rollover picture while the pointer rests on the control, plays the control's
// own click sound (when sound effects are on) and answers "getHelpString".
//
//   "RolloverImage"          image, name or reference   shown during the rollover
//   "RolloverMask"           image                      attached to the picture before drawing
//   "RolloverX", "RolloverY" int                        the picture's corner (form coordinates);
//                                                       default the hot spot's left and top
//
// Not registered itself: its class name and new instance are the control root's.

#include "framework/ui/ControlObject.h"

class qelMediaControlObject : public qelControlObject {
public:
    explicit qelMediaControlObject(const qelValue& data);
    ~qelMediaControlObject() override;

    // References are followed to the resource they name.
    qelValue getProperty(const qelValue& key) override;
    // Only an integer counts; anything else, or no property, gives the default.
    int32_t getInt(const qelValue& key, int32_t defaultValue) override;
    // "getHelpString": the help text while the control is enabled.
    qelValue perform(const qelValue& action, const qelValue& data) override;
    // The resource "HandCursor", whatever "Cursor" holds.
    qelValue getCursor() override;
    // Grabs the window under the picture and draws the picture; answers nil.
    qelValue rolloverOn(int32_t x, int32_t y, int32_t modifiers) override;
    // Puts the grabbed background back.
    void rolloverOff(int32_t x, int32_t y, int32_t modifiers, const qelValue& state) override;
    // The end of the control's own sound stops it.
    void mediaNotify(const qelValue& first, const qelValue& second) override;

    // Plays the sound (a name without "." gets "." + "AudioExtension"), once or looped; nothing
    // and 0 while "SoundEffects" is off.
    virtual int32_t playClickSound(const qelValue& sound, int32_t loop);
    virtual void stopClickSound();
    virtual int32_t hasClickSound();

    // A property as an image: pictures as they are, names and references loaded; else nil.
    qelValue imageProperty(const char* key);
    // A property that is a region, else nil.
    qelValue regionProperty(const char* key);

    qelValue savedBackground;
    qelValue sound;

private:
    // Where the rollover picture goes.
    void rolloverCorner(int32_t& x, int32_t& y);
};

// The current form's handleControl with its own active control: how a control used from the
// keyboard or by repeated scrolling reports itself.
void qelHandleActiveControl();
