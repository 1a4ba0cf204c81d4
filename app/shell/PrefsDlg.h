#pragma once

// The preferences dialog (the help menu's "Preferências"): check boxes "ShowIntro", "FullVideo"
// (full-screen video: "ShowFullScreen", "FullScreenVideo" and "MaximizeWindow" together) and
// "SoundEffects", the volume slider "VolumeSlider" with its number in "VolumeValue" and the
// test sound "VolumeSound" played at each move. The volume changes as the slider moves;
// "OKButton" stores the switches in the settings and in the preferences table that PREFS.DAT
// keeps (written at exit); "CancelButton", "Fechar" and Escape put the volume back as it was.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class PrefsDlg : public qelMediaDialogObject {
    VELARIM_CLASS(PrefsDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    // Escape ends the dialog as "CancelButton" does.
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_result; }
    int32_t helpContext() override { return 17; }

    // Shows the settings and the volume in the controls.
    void loadControls();
    // Stores the controls' choices in the preferences table and the settings.
    void store();

    qelValue m_result;
    // The volume when the dialog opened, put back on cancel; -1 when it could not be read.
    int32_t m_openingVolume = -1;

private:
    qelValue control(const char* name);
    void showVolume(int32_t volume);
    void restoreVolume();
};
