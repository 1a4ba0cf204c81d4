#pragma once

// The entry page: one encyclopaedic entry of the "Verbetes" archive with its name, its category
// path, its rich text (pictures and links) and its "see also" line, inside a browse list that
// "Previous" and "Next" step through, wrapping at both ends.
//
// The browse list comes from the data the page is opened with (a table):
//   "BrowseList" + "Index"      a tour ("Roteiro" present) or a word search's result (with its
//                               "SearchedText", whose words are struck in the text); Index is
//                               the position in the list
//   "FullList" true             the whole alphabetical index; the entry is "Index" (its list id)
//                               or "Text" (its name, found in the entries' id list)
//   "SCatID" + "Index"          a sub-category's list and the position in it (without "SCatID",
//                               the current entry list)
// Data that is not a table holding "Text" or "Index" opens nothing.
//
// The page keeps "Text", "Index", "SCatID" and "History Text" of its data up to date; that table
// is what the history records, so going back reopens the page as it was left. The marks pop-up's
// "Marcar" and "Desmarcar" mark and unmark the entry shown (MARKLIST.DTT).
//
// The screen's resource holds the category names: "MCategs" (the main categories' names) and
// "Cat<n>" for each sub-category n, a list of its main category's number (from 1) and its name;
// and per list kind k (1 to 5 a main category, 6 the index, 7 a tour, 8 a search) the background
// "Cat<k> BkImage" and the category path's colour "Cat<k> TxColor".

#include "app/shell/VLTextForm.h"

#include <cstdint>
#include <string>

class VerbeteForm : public VLTextForm {
    VELARIM_CLASS(VerbeteForm, VLTextForm)
public:
    // What the browse list is.
    enum ListKind : int32_t {
        NoList = 0,
        // 1 to 5: the main category of that number.
        AlphabeticalIndex = 6,
        Tour = 7,
        SearchResult = 8,
    };

    void open(const qelValue& data) override;
    void reenter(const qelValue& data) override;
    // Builds the page from the current entry, then draws the form.
    void draw() override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t markerCommand(const qelValue& text) override;
    void print() override;
    int32_t helpContext() override { return -1; }

    void setup(const qelValue& data);
    void select(int32_t recordNumber);
    void next();
    void previous();

    // The heading as lists, history and print show it: without a trailing note in braces
    // ("Abolição da escravatura {1888}" gives "Abolição da escravatura"); the entry's name when
    // nothing is left.
    static std::string shownHeading(const std::string& heading, const std::string& name);

    int32_t listKind() const { return m_listKind; }
    int32_t position() const { return m_position; }
    const qelValue& record() const { return m_record; }
    const qelValue& browseList() const { return m_browseList; }
    const qelValue& pageData() const { return m_pageData; }

private:
    bool wantsOpening(const qelValue& data) const;
    void step(int32_t direction);
    // "MCategs" name of the sub-category's main category + "/" + its name; the main category's
    // number (from 1) in mainCategory, 0 when the screen does not describe the sub-category.
    qelValue categoryPath(int32_t subcategory, int32_t* mainCategory, qelValue* mainName);
    // The sub-category's main category becomes the list kind and the section, and its own name
    // the path shown; a sub-category the screen does not describe changes nothing.
    void enterCategory(int32_t subcategory);
    void showListKind();
    void updateMarkItems();
    int32_t recordOfListId(int32_t listId);
    qelValue recordElement(int32_t index) const;

    qelValue m_browseList;
    qelValue m_record;
    int32_t m_position = 0;
    int32_t m_recordNumber = 0;
    int32_t m_listKind = NoList;
    qelValue m_searchedText;
    qelValue m_pageData;
};
