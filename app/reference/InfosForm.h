#pragma once

// InfosForm: an infographic or map page. The page is its "Background Image" under the menu bar;
// its hot spots (controls with "PopUpId") act through the page's "PopUpList", under the key
// "Item" followed by the hot spot's id:
//
//   (list picture x y [sound])   the picture shows at (x, y) in the control "PopUpImage" and
//                                 the group "ControlGroup" hides; the sound (a file relative to
//                                 the media folder) plays once the picture is on the screen. A
//                                 press outside the picture puts the page back.
//   "Form;data"                   goes to that screen with the data text, only when the
//                                 resource list "ValidForms" names the screen
//
// "Voltar" goes one step back in the history, "Imprimir" prints the page's picture and
// "Copiar" puts it on the clipboard. Every page is a resource of its own registered as an
// instance of this class; its history text is its "History" property (nil without one).

#include "app/shell/BarraMenuForm.h"
#include "app/shell/PicturePrint.h"

#include <cstdint>

class InfosForm : public BarraMenuForm {
    VELARIM_CLASS(InfosForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue historyText() override;

    // Prints the page's picture on one page ("VL99 - Infográfico").
    void print();
    // What print hands to the one-page picture print.
    PicturePage printedPage();

    bool popUpShown() const { return m_popUpShown != 0; }
    const qelValue& popUpRect() const { return m_popUpRect; }

protected:
    // Plays the pop-up's sound without waiting (a seam for tests).
    virtual void playPopUpSound(const qelValue& path);

private:
    void hotSpot(const qelValue& control);
    void showPopUp(const qelValue& action);
    void hidePopUp();
    void copyPicture();

    int32_t m_popUpShown { 0 };
    qelValue m_popUpRect;
    int32_t m_historyStep { 0 };
};
