#pragma once

// The review of the year's page. Given "->" and the title of one article ("Text"), it shows in
// "Texto" every article of the same section, region and group as that article, one after
// another with their headings, bodies and pictures, and scrolls to the chosen one (the marker
// "Index" before its body). Reached through a month ("Mes" true) the group is the article's
// category within that month; through a category, its month within that category. "Retro98"
// chooses the review set.
//
// The page sets the menu bar's category fields so that its pop-ups ("MCategName",
// "SCategName", from the screen's "Trio") move between months and categories, takes its
// background ("Cat<n> BkImage") and the secondary name's colour ("Cat<n> TxColor") from the
// section (n the category, or 11 for every month), draws the month's header ("Hdr<10 + month>")
// at (0, 24) on a month page, shows the secondary name in "SCategName", and disables the button
// of the region shown ("Brasil" or "Mundo"). "Imprimir" prints the chosen article only.

#include "app/shell/VLTextForm.h"

class RetroForm : public VLTextForm {
    VELARIM_CLASS(RetroForm, VLTextForm)
public:
    void draw() override;
    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void reenter(const qelValue& data) override;
    // The current data with "History Text" = "Retrospeciva: " and the title.
    qelValue historyText() override;
    void print() override;
    int32_t helpContext() override { return -1; }

    // Fills the page from the data, in the set its "Retro98" names; false when it names no
    // article of the set (an unknown title, a section missing from the category list, or a
    // picture the media index does not know), and the page then keeps all it had: its text,
    // data, article, set and menu bar fields.
    virtual bool fill(const qelValue& data);

    const qelValue& currentData() const { return m_currentData; }
    const qelValue& currentArticle() const { return m_currentArticle; }
    int32_t reviewSet() const { return m_reviewSet; }

    // The rich text pieces the page is built from.
    static constexpr const char* headingOpen = "{\\fs22 ";
    static constexpr const char* headingClose = "}";
    static constexpr const char* marker = "{\\uldb marker}!\\{jump:Index\\} ";
    static constexpr const char* bodyOpen = "\\par\\par \\li1500 ";
    static constexpr const char* bodyClose = "\\par  \\par\\pard\\plain\\par ";

private:
    // True for a table holding "Text": the only data the page is filled from.
    static bool fillable(const qelValue& data);
    void markReviewSet();
    void setSectionLook(int32_t section, int32_t region);
    void goToChoice(const qelValue& choice);
    void discardSubcategoryBackground();

    // The table the page was opened or refilled with.
    qelValue m_currentData;
    // The record of the chosen article.
    qelValue m_currentArticle;
    // 1 for the "Retro98" set.
    int32_t m_reviewSet = 0;
};
