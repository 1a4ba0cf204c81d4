#pragma once

// The media library's item dialog: the category's items in "MidiaList", the selected item's
// thumbnail scaled into "Legenda" above its caption, and its related entries in "Verbetes".
// Answers {"FName", "Text", "Index"} for an item chosen (a double click on the list, or a click
// on the thumbnail), {"Jump": true, "Form", "Data"} for a related-entries link, nil when closed
// or clicked outside its picture.
//
// Open data: "SCatID" (the category: media kind + 1), optionally "Images" (the pictures of
// "SelPhoto", "Photo", "SelMidiaList" and "SelContents"). "ImageTreatInfo" gives the thumbnail's
// box: "MaxFotoWidth" x "MaxFotoHeight" beside a caption, "MaxWidth" x "MaxHeight" without.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class DBLists;

class MidiaHFDialog : public qelMediaDialogObject {
    VELARIM_CLASS(MidiaHFDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue result() override { return m_result; }

    // Shows the current record's thumbnail, caption and related entries (drawn when redraw).
    void showRecord(int32_t redraw);

    const qelValue& currentRecord() const { return m_record; }

private:
    qelValue control(const char* name);
    bool selectItem(int32_t index);
    qelValue choice(int32_t index) const;
    void followLink(const qelValue& context);

    DBLists* m_lists = nullptr;
    qelValue m_result;
    qelValue m_rect;
    qelValue m_items;
    qelValue m_record;
    int32_t m_category = 0;
    qelValue m_imageSettings;
};
