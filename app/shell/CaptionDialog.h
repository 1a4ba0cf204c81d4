#pragma once

// The caption box: a small text dialog that shows a short text, such as a picture's caption,
// given as the open data's "Text". A press outside its rectangle ("Origin X", "Origin Y",
// "Width", "Height"; 5 x 5 at the origin when the size is not given) closes it, and the press
// still goes on to the text dialog's handling.

#include "app/shell/VLTextDialog.h"

class CaptionDialog : public VLTextDialog {
    VELARIM_CLASS(CaptionDialog, VLTextDialog)
public:
    void open(const qelValue& data) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;

    const qelValue& captionRect() const { return m_captionRect; }

private:
    qelValue m_captionRect;
};
