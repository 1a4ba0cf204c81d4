#pragma once

// The link list: a small pop-up over the current screen whose "Lista" (a text view) shows links,
// typically the entries related to a picture or video of the media viewer. Opened with a string,
// it shows that text. Its links work as on every text page; a press outside its frame closes it
// with nothing. The frame is ("Origin X", "Origin Y") with "Width" and "Height", else the
// "Background Image"'s size, else 5 by 5, so that without a size almost every press closes it.

#include "app/shell/VLTextDialog.h"

class VerbLink : public VLTextDialog {
    VELARIM_CLASS(VerbLink, VLTextDialog)
public:
    void open(const qelValue& data) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    qelValue m_frameRect;
};
