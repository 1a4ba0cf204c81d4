#pragma once

// VLListBox: a list of database record keys shown by their names. The control's "dbID" chooses
// the database kind (DBLists); each row shows the name its key has in that kind's name list, and
// a letter key selects the next entry whose name begins with it, round from the item after the
// selection to the selected item itself. "getSelectionStr" answers the selected entry's name.
//
// The set-up runs once: it reads "dbID", runs the list box's set-up and makes the kind's name
// list the current one of DBLists (held open while the box lives); later "Initialize" verbs change
// nothing. A new "List" still runs the list box's set-up, so a dialog can hand the box its items.
//
// DBLists keeps one current name list, whichever box was set up last; a box reads its names
// through its own kind, so two boxes of different kinds on one screen each show their own names.
// Destroying a box clears the current name list; look-ups then open their kind's file each time.

#include "framework/ui/ListBox.h"

class DBLists;

class VLListBox : public ListBox {
public:
    explicit VLListBox(const qelValue& data);
    ~VLListBox() override;

    const char* className() const override { return "VLListBox"; }
    qelNamedObject* newInstance(const qelValue& data) override { return new VLListBox(data); }
    void setProperty(const qelValue& key, const qelValue& value) override;
    void rebuild() override;
    int32_t key(int32_t code, int32_t modifiers) override;
    void drawItem(
        const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted) override;
    // The selected entry's name; nil without a selected item.
    qelValue getSelectionStr() override;

    // The name of a record key in the box's kind; nil before the set-up or when it has none.
    qelValue nameOf(const qelValue& key) const;

    DBLists* m_lists = nullptr;
    int32_t m_kind = 0;
    int32_t m_loaded = 0;
};
