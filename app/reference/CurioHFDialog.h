#pragma once

// CurioHFDialog: the curiosities' viewer. It shows one curiosity of a category at a time, drawn
// at random without repeating one until every curiosity of the category has been shown; the
// user steps back and forth through those already seen with "Previous" and "Next", and a link in
// the text ends the run with the link's target.
//
// Content: "DBCurio.dat" (item n: the curiosity of record number n, a list whose element 1 is
// the layout kind, 1 short and any other value long, element 3 the title and element 4 the rich
// text) and "CVSbCatL.dtt" (item c: the record numbers of category c).
//
// Opening data: a table with "SCatID" (the category), optionally "Index" (the record to show
// first) and "Images" (four pictures: "SelPhoto", "Photo", "SelTextBox", and both side bars).
// The result table holds "Index", "SCatID" and "Titulo" of the curiosity on display, and when a
// link ended the run "Jump" (true), "Form" and "Data" (the target's two ";" pieces, trimmed).
//
// One object serves every run; open sets up the run anew.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

#include <cstdint>

class CurioHFDialog : public qelMediaDialogObject {
    VELARIM_CLASS(CurioHFDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    // The dialog's picture and controls, the layout of the curiosity's kind when it changed, and
    // the curiosity's title and text.
    void draw() override;
    void handleControl(const qelValue& control) override;
    // A press outside the dialog's rectangle ends the run; the press then goes on as usual.
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue result() override;

    // Chooses the curiosity to show: record n, or with -1 one drawn at random from those of the
    // category not yet shown (all of them again once every one has been shown).
    void showRecord(int32_t n);

    // What the run has shown, oldest first, and the record on display.
    const qelValue& seenList() const { return m_seenList; }
    const qelValue& pool() const { return m_pool; }
    int32_t recordNumber() const { return m_recordNumber; }
    int32_t layoutKind() const { return m_layoutKind; }

private:
    // Shows the record m already seen (from "Previous" and "Next").
    void showSeen(int32_t m);
    qelValue control(const char* name);
    qelValue recordElement(int32_t index) const;

    qelValue m_result;
    qelValue m_dialogRect;
    qelValue m_seenList;
    qelValue m_record;
    qelValue m_pool;
    qelValue m_linkTarget;
    qelValue m_recordArchive;
    qelValue m_categoryArchive;
    int32_t m_historyPos { 0 };
    int32_t m_layoutKind { 0 };
    int32_t m_recordNumber { 0 };
    int32_t m_categoryID { 0 };
};
