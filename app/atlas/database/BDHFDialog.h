#pragma once

// The saved-search dialog of the database's home screen: it lists the user's saved searches of
// the open database, shows the description lines of the one selected, deletes searches, and
// answers what the user chose: {"Action": "Abrir" or "Modificar", "Pesquisa": the search},
// {"Action": "Nova Pesquisa"}, or nil when dismissed.
//
// Open data: "SelPhoto Image", "SelPesq Image", "SelContents Image" (the pictures of those
// controls) and "Selection" (the database name under which the searches are kept).
//
// "Excluir" is enabled only while a search the user may delete is selected (names beginning
// "**" are kept); the Delete key deletes only when it is enabled. Deleting the last search
// leaves the dialog with nothing selected and "Abrir", "Modificar" and "Excluir" disabled.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class BDHFDialog : public qelMediaDialogObject {
    VELARIM_CLASS(BDHFDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void handleControl(const qelValue& control) override;
    void mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks) override;
    void key(int32_t code, int32_t modifiers) override;
    qelValue result() override { return m_result; }

private:
    void handleAction(const qelValue& name);
    void selectFromList();
    void deleteSelected();
    // The state with no search to show.
    void showNoSearch();
    qelValue control(const char* name);
    void setEnabled(const char* name, bool enabled);
    void setHidden(const char* name, bool hidden);
    bool isEnabled(const char* name);

    qelValue m_result;
    int32_t m_rectLeft { 0 };
    int32_t m_rectTop { 0 };
    int32_t m_rectWidth { 0 };
    int32_t m_rectHeight { 0 };
    qelValue m_searches;
    qelValue m_selectedSearch;
    qelValue m_databaseName;
};
