#pragma once

// The tour browser of the entries home: the user's tours in "Roteiros" and the entries of the
// selected one in "VBListBox". A double click on an entry ends it with the open data of the
// entry page: {"Text": the entry's name, "Index": its place in the tour, "BrowseList": the tour,
// "Roteiro": true}, so the page steps through the tour. A press outside the dialog's picture, or
// any other way out, ends it with nil. Without tours (or with a damaged file, set aside) the
// lists are empty.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class VBDialogHF : public qelMediaDialogObject {
    VELARIM_CLASS(VBDialogHF, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue result() override { return m_result; }

    qelValue m_result;
    qelValue m_currentTour;
    qelValue m_frameRect;
    qelValue m_tours;

private:
    qelValue control(const char* name);
};
