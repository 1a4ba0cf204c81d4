#pragma once

// ListasDlg: the list chooser. It shows one list of a section (the entries, media or atlas maps
// of a category, or the articles of the review of the year) in its list box "Lista" and returns
// the row the user picks. It is registered four times, each name with its own screen and its
// own object used by every run of that name: "VerbetesDlg" (dbID 0), "MidiasDlg" (1),
// "AtlasDlg" (4) and "RetroDlg" (3, with "Brasil" and "Mundo" switching the region).
//
// It stands alone at its "Origin X/Y" (plus "Offset X/Y"), or opens as the last step of a chain
// of cascading pop-up menus ("ParentsList" and "UseDefaultPosition") beside the item that opened
// it, on the item's left or bottom-aligned with it where it would pass the media area's edge.
// Then moving or pressing over a parent menu ends it with "__STAYOPEN__" so that the parent
// takes over; a press on the opening item is ignored; a press outside everything ends it with
// nil. While it is open it can show highlight pictures ("AddedImage") anywhere on the screen;
// what they cover comes back when it closes.
//
// The opening data (every key optional): "AddedImage", "FullList", "Background", "ParentsList",
// "UseDefaultPosition", "BrowseList" (the list to show; without it the category "SCatID" of the
// kind "dbID" is loaded), "Selected", "Origin X/Y", "Offset X/Y", "SCatID", "dbID", "Retro98".
//
// The result: nil, "__STAYOPEN__", or {"Text": the picked row's text, "Index": ...} where Index
// is the picked element itself as an integer together with "FullList" = true (when the data
// asked for it, or a whole category 0 was loaded), else the picked row's position.

#include "app/shell/AddedImages.h"
#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class ListasDlg : public qelMediaDialogObject {
    VELARIM_CLASS(ListasDlg, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void mouseMove(int32_t x, int32_t y, int32_t modifiers) override;
    qelValue result() override;
    int32_t helpContext() override { return -1; }

    // 3 inside the dialog; else, from the last parent menu to the first, 2 on the item that
    // opened the next menu, 1 elsewhere on that menu; 0 outside everything.
    int32_t hitTest(int32_t x, int32_t y);
    // Draws the highlight pictures of a table {"Image", "Origin X", "Origin Y"} or a list of
    // [picture, x, y] lists, saving what they cover.
    virtual void showAddedImage(const qelValue& pictures);

    // The row to select when a list is shown, and the row last picked; shared by every name.
    static int32_t s_selectedIndex;

    qelValue m_itemList;
    qelValue m_chosenItem;
    qelValue m_chosenText;
    int32_t m_fullList = 0;
    int32_t m_use98 = 0;
    int32_t m_listCategory = 0;
    qelValue m_parentsList;
    qelValue m_frameRect;
    int32_t m_hasParents = 0;
    int32_t m_cascadePlaced = 0;
    qelValue m_menuResult;
    int32_t m_offsetX = 0;
    int32_t m_offsetY = 0;
    // The highlight pictures shown and what they cover.
    AddedImages m_addedImages;

protected:
    // The list of the kind for the category, as the dialog loads it when its data gives none.
    virtual qelValue loadList(int32_t kind, int32_t category);

private:
    qelValue listControl();
    void placeBesideParent(const qelValue& background);
    void fitList(const qelValue& background);
    void showRegion(int32_t region);
    void setKind(int32_t kind);

    int32_t m_kind = 0;
};
