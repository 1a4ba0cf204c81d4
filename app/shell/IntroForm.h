#pragma once

// The opening sequence, shown at start while "ShowIntro" is on: the movies of the screen's
// "PlayList" one after another over the looping soundtrack "Trilha", then the main menu without
// a fade. Any key, or a click on the hot spot named by "ScreenHotspot", skips to the main menu.
//
// A play-list item is a list: the movie's resource name, the x, y, width and height of its
// window, one element not read, and a picture drawn at (x, y) when the item starts. The next
// item starts when the current item's movie ends (or at the next media notice when the item has
// no movie).

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaFormObject.h"

class IntroForm : public qelMediaFormObject {
    VELARIM_CLASS(IntroForm, qelMediaFormObject)
public:
    void open(const qelValue& data) override;
    // The first draw after opening starts the soundtrack and the first item; later draws (a
    // repaint) start nothing.
    void draw() override;
    void handleControl(const qelValue& control) override;
    void key(int32_t code, int32_t modifiers) override;
    void mediaNotify(const qelValue& media, const qelValue& message) override;
    void close() override;

    int32_t nextItem() const { return m_nextItem; }
    int32_t itemCount() const { return m_itemCount; }

private:
    void startNextItem();
    void goToMainMenu();

    qelValue m_playList;
    int32_t m_nextItem = 0;
    int32_t m_itemCount = 0;
    // The movie of the item now playing (nil when the item has none); the notices of other
    // media (the soundtrack, a click's sound) do not advance the sequence.
    qelValue m_itemMovie;
    bool m_started = false;
    bool m_leaving = false;
};
