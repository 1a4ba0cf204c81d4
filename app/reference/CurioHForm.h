#pragma once

// CurioHForm: the curiosities' home screen, one button per category. A category button (a
// control with "TypeID", the category number) runs the viewer "CurioHFDialog" with the table
// that the screen's "SubMenus" holds under the button's "Name"; a link followed inside the
// viewer leads on to its screen.
//
// Opened (or re-entered) with data that names one curiosity, the screen runs the viewer on it at
// once: {"SCatID", "Index"} as its history gives it back, or {"Text": a title} from the word
// search, looked up in the title index "CDBIDLST" (category in the high 16 bits, record number in
// the low 16 bits).
//
// Its history text is "Tela de curiosidades", or, when the screen is left through a link of the
// viewer, the viewer's result with "History Text" "Curiosidades: " and the curiosity's title.

#include "app/shell/BarraMenuForm.h"

#include <cstdint>

class CurioHForm : public BarraMenuForm {
    VELARIM_CLASS(CurioHForm, BarraMenuForm)
public:
    void open(const qelValue& data) override;
    void reenter(const qelValue& data) override;
    // The screen, then the request the opening data makes, if any.
    void draw() override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

    // The ten categories' names, which are also the names of their buttons; nil outside 0..9.
    static qelValue categoryName(int32_t category);

    int32_t pendingIndex() const { return m_pendingIndex; }

private:
    // The viewer's run for the category button.
    void runViewer(const qelValue& control);
    // The category and record number the title index gives for a title; false when it has none.
    static bool lookUpTitle(const qelValue& title, int32_t& category, int32_t& record);

    int32_t m_pendingIndex { -1 };
    qelValue m_lastResult;
    qelValue m_openData;
};
