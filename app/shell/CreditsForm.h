#pragma once

// The credits: a tall picture ("CreditsImage", with "CreditsMask" as its mask) rises through a
// window of the screen ("CreditsRect") 3 pixels every "ScrollTimeout" milliseconds, starting 50
// pixels below the window's top, over the looping music "CreditsMusic". When the picture has
// passed, or at a click, the previous screen comes back; the application's 250 ms tick resumes.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaFormObject.h"

class CreditsForm : public qelMediaFormObject {
    VELARIM_CLASS(CreditsForm, qelMediaFormObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void tick() override;

    // One step of the scroll: the background back over the window, the picture at its offset.
    virtual void drawCredits();

    int32_t scrollOffset() const { return m_scrollOffset; }

private:
    // Back to the screen that opened the credits, once.
    void leave();

    qelValue m_creditsImage;
    qelValue m_background;
    qelValue m_music;
    int32_t m_scrollOffset = -50;
    bool m_leaving = false;
};
