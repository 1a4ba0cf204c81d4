#pragma once

// The media viewer: one item of the media library (animation, flag, chronology, photograph,
// book, map, table or video), laid out by its kind on one screen with its name, caption and
// related entries, previous and next through its browse list, printing and copying. Each kind
// has its background ("Cat<kind + 1> BkImage"), its name colour and its list of controls
// ("<kind name>Controls"); the screen's look and the layout's numbers are the form's properties.
//
// Open data, one of:
//   {"Text": name, "FullList": true}     the item of that name (hyperlinks, related entries)
//   {"Index": media id, "FullList": true} the item of that media id (the history)
//   {"Index": position [, "BrowseList"]}  the item at that position of the browse list, or of
//                                         the current media id list
// An infographic item whose page the disk holds ("ValidInfos") opens that page instead. A name
// or id the media lists do not hold opens nothing.

#include "app/shell/VLTextForm.h"

class DBLists;

class MidiasForm : public VLTextForm {
    VELARIM_CLASS(MidiasForm, VLTextForm)
public:
    void open(const qelValue& data) override;
    void reenter(const qelValue& data) override;
    void draw() override;
    void handleControl(const qelValue& control) override;
    void mediaNotify(const qelValue& media, const qelValue& message) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }
    // Prints a text item ("Texto" with the record's name and text).
    void print() override;
    // Prints a picture item as one page: the name in the header, the picture fitted below it.
    virtual void printMedia(const qelValue& picture, const qelValue& name, int32_t flag);

    // Shows the item the data names; false when there is nothing to show here (no such item, or
    // the form went to the item's infographic page).
    bool fill(const qelValue& data);
    void nextMedia();
    void previousMedia();
    // Places a rich text in a text control below `top` (see medialayout::fitText) and answers
    // its bottom.
    int32_t fitTextControl(const char* control, const qelValue& text, int32_t top);

    const qelValue& record() const { return m_record; }
    int32_t position() const { return m_position; }
    const qelValue& browseList() const { return m_browseList; }

private:
    bool loadRecord(int32_t recordId);
    void step(int32_t delta);
    qelValue control(const char* name);
    qelValue field(int32_t position) const;
    void setDisabled(const char* name, bool disabled, const char* verb);
    void switchKindControls();
    void layoutPicture();
    void layoutMovingPicture();
    void layoutTexts();
    void copyPicture();
    void startMovie(const char* button, const char* stopButton, const char* control);
    void stopMovie(const char* button, const char* playButton, const char* control);

    DBLists* m_lists = nullptr;
    qelValue m_browseList;
    qelValue m_record;
    int32_t m_position = 0;
    int32_t m_recordId = 0;
    qelValue m_openData;
    int32_t m_bottomLimit = 453;
    int32_t m_tableMinLeft = 7;
    // The play button disabled while its movie plays ("Play" or "PlayA"), nil when none.
    qelValue m_playButton;
};

// Forgets the control list the viewer enabled last (the program's exit, before the framework
// goes).
void releaseMediaViewerState();
