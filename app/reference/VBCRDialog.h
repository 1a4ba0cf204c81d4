#pragma once

// The tour editor. It lists the user's tours ("Roteiros") and the entries of the selected one
// ("Verbetes", by their names), makes new tours ("Incluir Roteiro", named through
// "NomeRoteiroDlg"), deletes them ("Excluir Roteiro"), adds the entry it was opened for
// ("Incluir Verbete", once) and removes entries ("Excluir Verbete"). "Ok" saves every change to
// RotPesq.DTT; "Cancelar", "Fechar" and Escape drop them. Its result is always nil.
//
// Opened from an entry ({"VerbID", "VerbTit"}) it offers that entry; opened from the word search
// ({"NewRoteiro": ids}) it starts with those ids as a new tour under the first free name of
// "Meu Roteiro", "Meu Roteiro 1", "Meu Roteiro 2", ... already selected. One object serves every
// run; the offered entry is only offered in the run that was given it. Locked tours ("**" names)
// cannot be changed or deleted. A new tour's name is refused while it is empty, the reserved
// "ListaDeRoteiros" or the name of another tour; a leading "**" typed by the user is dropped.

#include "app/shell/ShellClass.h"
#include "framework/ui/MediaDialogObject.h"

class VBCRDialog : public qelMediaDialogObject {
    VELARIM_CLASS(VBCRDialog, qelMediaDialogObject)
public:
    void open(const qelValue& data) override;
    void close() override;
    void handleControl(const qelValue& control) override;
    qelValue result() override { return qelNil; }

    qelValue m_tours;
    // The same list object as m_tours["ListaDeRoteiros"].
    qelValue m_tourNames;
    qelValue m_currentTourName;
    qelValue m_currentTour;
    int32_t m_entryId = 0;
    qelValue m_entryTitle;
    // Whether this run was given an entry to offer.
    int32_t m_entryOffered = 0;
    // Whether a tour is chosen to edit: the user's choice in "Roteiros", or the new tour of a
    // saved search; the first tour shown on opening is not.
    bool m_editing = false;
    // Whether the offered entry was added to the chosen tour and not removed again.
    bool m_entryAdded = false;
    // Whether the user's removals emptied the chosen tour (a tour chosen empty may still be edited).
    bool m_tourEmptied = false;

protected:
    // Asks for a new tour's name, telling why the last one was refused; nil when the user gave up.
    virtual qelValue askTourName(const qelValue& notice);

private:
    qelValue control(const char* name);
    void setDisabled(const char* name, bool disabled, bool draw = true);
    void refreshButtons(bool draw = true);
    void loadCurrentTour();
    void startEditing();
    int32_t selectedTourRow();
    void showTours(int32_t row);
    void showEntries(const qelValue& ids);
    void selectTour();
    void saveTours();
    void newTour();
    void deleteTour();
    void includeEntry();
    void excludeEntry();
};
