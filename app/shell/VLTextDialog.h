#pragma once

// The base of the almanac's dialogs that show rich text ("Texto") with links: the caption box,
// the entry link box and the registration form. Its links act as the text page's (VLTextForm)
// with these differences: every picture, map and table link opens the media page, an
// infographic opens only when "ValidInfos" lists it, and there is no atlas fallback. It may hold
// a "VideoControl", stopped by the next key, press or end notice while it is marked active.
// "Copiar" and "Imprimir" copy and print its text as on a text page.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class VLTextDialog : public qelMediaDialogObject {
    VELARIM_CLASS(VLTextDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void key(int32_t code, int32_t modifiers) override;
    void mediaNotify(const qelValue& media, const qelValue& message) override;

    // Prints "Texto" with the "PrintAttributes"' "TextFont", else Arial 9.
    virtual void print();
    // As the text page's, without the drop-cap letter.
    virtual void copyText(const qelValue& title, const qelValue& text);
    virtual void openLink(const qelValue& link);
    virtual void openSearchDialog(const qelValue& name);
    using qelMediaDialogObject::playSound;
    virtual void playSound(const qelValue& name);
    virtual void stopVideo();

    int32_t videoActive() const { return m_videoActive; }
    void setVideoActive(int32_t active) { m_videoActive = active; }

protected:
    void followLink(const qelValue& context);

    int32_t m_videoActive = 0;
};
