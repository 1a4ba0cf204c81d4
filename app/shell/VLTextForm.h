#pragma once

// The base of the almanac's text and media pages: a menu-bar screen holding the rich text
// control "Texto", whose hot text carries the page's links, and optionally the video controls
// "VideoControl" and "AnimControl".
//
// A click on hot text opens what its link "type:target" names: a media page ("MidiasForm"), an
// infographic or map page listed in "ValidInfos", the atlas, a sound of the "Sounds" folder, or
// any registered form ("jump:Form;target"); an unknown type shows a message box. The keys Home,
// End, Page Up, Page Down and the arrows scroll "Texto". While the page marks a video or an
// animation active, its next key, press or end notice stops it (the animation first). A button
// "Copiar" copies the page's text (under its "Title" when it has one) and "Imprimir" prints it,
// unless the page built on it handles them first.

#include "app/shell/BarraMenuForm.h"

class VLTextForm : public BarraMenuForm {
    VELARIM_CLASS(VLTextForm, BarraMenuForm)
public:
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void key(int32_t code, int32_t modifiers) override;
    void mediaNotify(const qelValue& media, const qelValue& message) override;

    // Prints "Texto" in Arial 11 with the page's "PrintAttributes".
    virtual void print();
    // Puts the title (nil for none), two line breaks and the text (rich text) on the clipboard as
    // plain text; a drop-cap picture (" Q.bmp") gives its letter back at the head of the text.
    virtual void copyText(const qelValue& title, const qelValue& text);
    // Opens the form of a "Form;target" link (see textpage::linkForm); a form that is not
    // registered opens nothing but the unknown-action box.
    virtual void openLink(const qelValue& link);
    virtual void openSearchDialog(const qelValue& name);
    // Plays the sound named by a link from the media folder's "Sounds" folder.
    using BarraMenuForm::playSound;
    virtual void playSound(const qelValue& name);
    // Stops one medium, the animation first.
    virtual void stopMedia();

    int32_t videoActive() const { return m_videoActive; }
    int32_t animActive() const { return m_animActive; }
    // The pages that start the page's video or animation mark it here.
    void setVideoActive(int32_t active) { m_videoActive = active; }
    void setAnimActive(int32_t active) { m_animActive = active; }

protected:
    // A hot-text link of the page: the action its type names.
    void followLink(const qelValue& context);
    void openInfo(const qelValue& lowerName);

    int32_t m_videoActive = 0;
    int32_t m_animActive = 0;
};
