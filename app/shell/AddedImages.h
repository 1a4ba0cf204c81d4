#pragma once

// Pictures a chooser draws anywhere on the screen while it is open ("AddedImage": a highlight of
// the menu item or map that opened it), with what each covered kept and put back when it
// closes. Positions are the screen's, whatever the dialog's drawing origin is.
//
// A picture is given as a table {"Image", "Origin X", "Origin Y"} or as a list of
// [picture, x, y] lists; a picture is an image or the name of an image resource. In a list, a
// picture that cannot be drawn ends it: the ones before it stay drawn, the rest are passed over.
// Several calls add up, and everything drawn is put back, the last drawn first (where pictures
// overlap, the first one's background ends on top).

#include "framework/runtime/Value.h"

#include <cstdint>

class AddedImages {
public:
    // Draws the pictures given (a table or a list, as above), keeping what they cover; anything
    // else draws nothing.
    void show(const qelValue& pictures);
    // Puts back what every picture shown covered, and forgets it.
    void restore();

    bool shown() const { return m_shown; }
    // How many backgrounds are kept.
    int32_t savedCount() const;

private:
    void draw(const qelValue& picture, int32_t x, int32_t y);

    // A list of [background, x, y].
    qelValue m_saved;
    bool m_shown = false;
};
