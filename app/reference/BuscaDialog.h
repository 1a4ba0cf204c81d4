#pragma once

// BuscaDialog: the word search. The user types words into "What2Find", restricts the search to
// some sections with the check boxes of the advanced panel, sees the items found in
// "ResultsListBox" with a count line, and either chooses one (the menu bar then opens it in its
// section's screen) or saves the entries found as a new tour ("Salvar", only while the filter is
// entries alone). The search itself is SearchEngine's, over the keyword files, which stay open
// from open to close.
//
// One object serves every run: the results of the last search, the phrase mode flag and the
// chosen row survive until a search or a choice replaces them; the query text survives in
// lastSearchText; the caller hands back the last result table so the section filter survives.
//
// The result table always holds "FilterMask"; with a chosen row also "Text" (the row text),
// "BrowseList" (the results of the chosen row's section, in result order), "Index" (the chosen
// id's place in it) and "SearchedText".

#include "app/reference/KeywordFiles.h"
#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

#include <memory>
#include <string>

class BuscaDialog : public qelMediaDialogObject {
    VELARIM_CLASS(BuscaDialog, qelMediaDialogObject)
public:
    ~BuscaDialog() override;

    void handleControl(const qelValue& control) override;
    void open(const qelValue& data) override;
    void close() override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override;
    int32_t helpContext() override { return -1; }

    // Runs the search on the query text and shows the results.
    void runQuery();
    // The query text of the last run that ended through the runner (cp1252); empty at start.
    static std::string& lastSearchText();

    int32_t filterMask() const { return m_filterMask; }
    int32_t phraseMode() const { return m_phraseMode; }
    const qelValue& results() const { return m_results; }

protected:
    // Hands the entries found to the tour editor ("VBCRDialog"), which runs over this dialog.
    virtual void runTourEditor(const qelValue& data);

private:
    qelValue control(const char* name);
    qelValue send(const char* name, const char* verb, const qelValue& data = qelNil);
    void setDisabled(const char* name, bool disabled, bool draw = true);
    void select(const qelValue& box, bool on, bool draw = true);
    // The names of the advanced panel's controls; its section boxes are all but the last two.
    qelValue advancedGroup();
    void setAdvancedShown(bool shown);
    void showCount(int32_t n);
    void resetFilter();

    int32_t m_selectedIndex { 0 };
    qelValue m_selectedId;
    qelValue m_results;
    qelValue m_selectedText;
    int32_t m_phraseMode { 0 };
    int32_t m_filterMask { 255 };
    qelValue m_result;
    std::unique_ptr<KeywordFiles> m_keywords;
};
