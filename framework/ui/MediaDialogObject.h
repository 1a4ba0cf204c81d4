#pragma once

// qelMediaDialogObject: the dialog from which the application's dialogs and the menu dialog
// derive. It adds to the plain dialog what the media form adds to the plain form: the tab order
// through "TabStopList" (here disabled and hidden controls are not passed over), the rollover
// help box (only while the setting "RolloverHelp" is on), a current sound, narration, the help
// file on F1, and integer and boolean property accessors. It never fades and has no video;
// opening it closes every open movie. Alt+F4 asks to quit and the key then goes on as any other.
//
// Not registered itself: it answers the plain dialog's class name.

#include "framework/ui/DialogObject.h"
#include "framework/ui/HelpBox.h"

class qelMediaDialogObject : public qelDialogObject {
public:
    explicit qelMediaDialogObject(const qelValue& data = qelNil);
    ~qelMediaDialogObject() override;

    qelValue rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers) override;
    void rolloverOff(const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue& state) override;
    void open(const qelValue& data) override;
    void close() override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    void key(int32_t code, int32_t modifiers) override;
    void tick() override;
    void endDialog() override;
    // As the plain dialog's, with the pointer kept 20 pixels above the bottom, the picture taken
    // from the screen when the dialog lies inside the media area, and the new corner stored in
    // the resources as "Origin X" and "Origin Y".
    void drag(int32_t x, int32_t y) override;

    // The property "Background Image".
    virtual qelValue backgroundImage();
    virtual int32_t playSound(const qelValue& sound, int32_t loop);
    virtual void stopSound();
    virtual int32_t hasSound() { return sound.isNil() ? 0 : 1; }
    virtual void narrate(int32_t force);
    virtual void showHelp();
    virtual int32_t helpContext() { return 0; }
    virtual int32_t getBool(const qelValue& key, int32_t defaultValue);
    // qelIntValue of the property (references are not followed); no property gives the default.
    virtual int32_t getInt(const qelValue& key, int32_t defaultValue);
    virtual void setBool(const qelValue& key, int32_t flag);
    virtual void setInt(const qelValue& key, int32_t n);

    qelHelpBox helpBox;
    qelValue sound;

protected:
    qelValue dragBackdrop() override { return backgroundImage(); }
};
