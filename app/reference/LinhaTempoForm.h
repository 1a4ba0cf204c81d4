#pragma once

// LinhaTempoForm: the timeline. The events of the archive "TimeLine.dat" (item n: a list whose
// element 1 is the year, negative before Christ, element 3 the line's text and element 4 the era,
// 1 to 6) are shown twelve to a page in the lines "Texto1".."Texto12", grouped in six eras.
//
// The screen opens on the era picture: the controls of "ControlGroup", among them one button per
// era (named as in eraName, with "TypeID" the era 0-5 and "Begin", "End" the era's first and
// last item). An era button shows the list view: the era's picture ("<era name>Img") in
// "CompBackground", the lines from the era's first event and the paging buttons ("PreviousPage",
// "PreviousLine", "NextLine", "NextPage", each moving by its "Move") that cross into the
// neighbouring era at either end. "IrPara" jumps to the first event of the year typed in
// "What2Find", after Christ ("DC") or before ("AC"). A press outside "ViewerBounds" goes back
// to the era picture. The history keeps the era and the first line shown.

#include "app/shell/VLTextForm.h"

#include <cstdint>

class LinhaTempoForm : public VLTextForm {
    VELARIM_CLASS(LinhaTempoForm, VLTextForm)
public:
    static constexpr int32_t eraCount = 6;
    static constexpr int32_t lineCount = 12;

    void open(const qelValue& data) override;
    // A state table restores the era and line shown; a word search result (a table with
    // "BrowseList" and "Index") shows the event it names; anything else leaves the screen as it is.
    void reenter(const qelValue& data) override;
    void close() override;
    // Fills the lines of the list view; nothing on the era picture.
    void draw() override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }

    // Hides the lines and the era's picture; the era picture's controls are disabled when
    // disable is true, enabled otherwise.
    void showEraPicture(bool disable);
    void showPaging(bool on);

    // The era's button name (cp1252), for eras 0 to 5.
    static const char* eraName(int32_t era);

    qelValue m_viewerBounds;
    qelValue m_timelineArchive;
    int32_t m_eraBegin = 0;
    int32_t m_eraEnd = 0;
    // The item on the first line; -1 while the era picture shows.
    int32_t m_topLine = -1;
    // 1 after Christ, -1 before: the sign of a typed year.
    int32_t m_yearSign = 1;
    int32_t m_entryCount = 0;
    int32_t m_era = 0;

private:
    // Takes the era of an era button and shows it from m_topLine (its first event when unset).
    void showEra(const qelValue& button);
    void move(int32_t lines);
    // Selects "AC" or "DC" as the sign of a typed year is.
    void showYearSign();
    void searchYear();
    // The era's picture in "CompBackground", the paging buttons and the lines.
    void showList();
    qelValue eraButton(int32_t era);
    qelValue control(const char* name);
};

// The year typed into the search field as the search takes it: a text of exactly 11 characters
// loses its last 2; then leading blanks, an optional sign and the digits up to the first other
// character, 0 when there are none, held within 32 bits; times sign (1 or -1).
int32_t timelineTypedYear(const qelValue& text, int32_t sign);

// Where a year search stops: the first item whose year is the year or later (the item count when
// none is), and the era (0-5, or -1 when the item names none) of the item the scan stopped at.
struct TimelineStop {
    int32_t item = 0;
    int32_t era = -1;
};
TimelineStop timelineFindYear(const qelValue& archive, int32_t count, int32_t year);

// The first line of the page a search shows: the item found, or the last full page when fewer
// than twelve events follow it (0 for a timeline shorter than a page).
int32_t timelinePageStart(int32_t item, int32_t count);
