#include "app/reference/VBCRDialog.h"

#include "app/reference/TourFile.h"
#include "app/shell/NamedControl.h"
#include "app/shell/TrimBlanks.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"

#include <cstring>
#include <string>

namespace {

bool holds(const qelValue& data, const char* key)
{
    qelTableObject* table = qelTableOf(data);
    return table && table->find(key) >= 0;
}

bool listHolds(const qelValue& list, const qelValue& value)
{
    for (int32_t i = 0; i < qelCount(list); ++i) {
        if (qelGet(list, i) == value)
            return true;
    }
    return false;
}

// The ids as an int list of the tour's own (the word search hands its own list).
qelValue tourOf(const qelValue& ids)
{
    qelValue tour = qelNewIntList(4);
    for (int32_t i = 0; i < qelCount(ids); ++i)
        qelAddItem(tour, qelMakeInt(qelIntAt(ids, i)));
    return tour;
}

// The typed name without its blanks and without the "**" that would lock the tour for good.
qelValue cleanName(const qelValue& typed)
{
    qelValue name = trimBlanks(typed);
    const char* text = qelCString(name);
    while (std::strncmp(text, "**", 2) == 0)
        text += 2;
    return trimBlanks(qelStringValue(text));
}

} // namespace

qelValue VBCRDialog::control(const char* name)
{
    return namedControl(*this, name);
}

void VBCRDialog::setDisabled(const char* name, bool disabled, bool draw)
{
    qelValue button = control(name);
    if (qelControlObject* object = qelControlOf(button)) {
        object->setProperty("Disabled", disabled ? qelTrue : qelFalse);
        if (draw)
            qelPerformAction(button, "Draw");
    }
}

// The edit buttons as the editor's state has them: none until a tour is chosen to edit, none
// for a locked tour; "Excluir Verbete" off once removals have emptied the tour; "Incluir
// Verbete" only when this run offers an entry and it has not been added since the tour was
// chosen (or was removed again).
void VBCRDialog::refreshButtons(bool draw)
{
    bool editable = m_editing && m_currentTourName.isString() && !isLockedTour(m_currentTourName);
    setDisabled("Excluir Roteiro", !editable, draw);
    setDisabled("Excluir Verbete", !editable || m_tourEmptied, draw);
    setDisabled("Incluir Verbete", !editable || !m_entryOffered || m_entryAdded, draw);
}

// The current name's tour: a name kept without its tour reads as an empty tour.
void VBCRDialog::loadCurrentTour()
{
    m_currentTour = qelGet(m_tours, m_currentTourName);
    if (!qelListObjectOf(m_currentTour)) {
        m_currentTour = qelNewIntList(4);
        qelPut(m_tours, m_currentTourName, m_currentTour);
    }
}

// A new choice of tour starts its editing afresh.
void VBCRDialog::startEditing()
{
    m_editing = true;
    m_entryAdded = false;
    m_tourEmptied = false;
}

void VBCRDialog::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    m_tours = readTours();
    if (!qelTableOf(m_tours))
        m_tours = qelTable(4, 100, 75);
    m_tourNames = qelGet(m_tours, qelValue(tourNamesKey));
    if (!qelListObjectOf(m_tourNames)) {
        m_tourNames = qelMakeList(4, 100, QEL_GENERAL_LIST);
        qelPut(m_tours, qelValue(tourNamesKey), m_tourNames);
    }
    m_currentTourName = qelNil;
    m_currentTour = qelNil;
    m_entryOffered = 0;
    m_editing = false;
    m_entryAdded = false;
    m_tourEmptied = false;

    int32_t sel = 0;
    if (holds(data, "VerbID")) {
        m_entryId = qelIntValue(qelGet(data, qelValue("VerbID")));
        m_entryTitle = qelGet(data, qelValue("VerbTit"));
        m_entryOffered = 1;
    } else if (holds(data, "NewRoteiro")) {
        qelValue name = qelValue("Meu Roteiro");
        for (int32_t n = 1; listHolds(m_tourNames, name); ++n)
            name = qelStringValue(("Meu Roteiro " + std::to_string(n)).c_str());
        sel = qelCount(m_tourNames);
        qelAddItem(m_tourNames, name);
        m_currentTourName = name;
        m_currentTour = tourOf(qelGet(data, qelValue("NewRoteiro")));
        qelPut(m_tours, name, m_currentTour);
        startEditing();
    }

    qelValue roteiros = control("Roteiros");
    if (qelControlOf(roteiros)) {
        qelPerformAction(roteiros, "Initialize");
        qelPerform(roteiros, "setList", m_tourNames);
    }
    if (qelCount(m_tourNames) > 0) {
        if (qelControlOf(roteiros))
            qelPerform(roteiros, "setSelection", qelMakeInt(sel));
        m_currentTourName = qelGet(m_tourNames, sel);
        loadCurrentTour();
        qelValue verbetes = control("Verbetes");
        if (qelControlOf(verbetes)) {
            qelPerformAction(verbetes, "Initialize");
            qelPerform(verbetes, "setList", m_currentTour);
            if (qelCount(m_currentTour) > 0)
                qelPerform(verbetes, "setSelection", qelMakeInt(0));
        }
    }
    refreshButtons(false);
    qelMediaDialogObject::open(data);
}

void VBCRDialog::close()
{
    qelMediaDialogObject::close();
    m_tours = qelNil;
    m_tourNames = qelNil;
    m_currentTour = qelNil;
    m_currentTourName = qelNil;
}

void VBCRDialog::handleControl(const qelValue& object)
{
    qelValue self = qelFormValue(this);
    qelControlObject* control = qelControlOf(object);
    qelValue name = control ? qelResolve(control->getProperty("Name")) : qelNil;
    if (name == "Ok")
        saveTours();
    else if (name == "Cancelar" || name == "Fechar")
        endDialog();
    else if (name == "Incluir Roteiro")
        newTour();
    else if (name == "Excluir Roteiro")
        deleteTour();
    else if (name == "Roteiros")
        selectTour();
    else if (name == "Incluir Verbete")
        includeEntry();
    else if (name == "Excluir Verbete")
        excludeEntry();
}

void VBCRDialog::saveTours()
{
    // The old file stays until the new one is whole; when it cannot be written the editor stays
    // open with the changes, so the user may try again or drop them.
    if (!writeTours(m_tours)) {
        qelMessageBox(qelValue("N\xE3o foi poss\xEDvel gravar os roteiros no disco."));
        return;
    }
    endDialog();
}

qelValue VBCRDialog::askTourName(const qelValue& notice)
{
    return qelRunDialog(qelValue("NomeRoteiroDlg"), notice);
}

void VBCRDialog::newTour()
{
    qelValue notice;
    qelValue name;
    for (;;) {
        qelValue typed = askTourName(notice);
        if (!typed.isString())
            return;
        name = cleanName(typed);
        if (*qelCString(name) == 0)
            notice = qelValue("D\xEA um nome ao roteiro.");
        else if (name == tourNamesKey)
            notice = qelValue("Este nome \xE9 reservado. Escolha outro.");
        else if (listHolds(m_tourNames, name))
            notice = qelValue("J\xE1 existe um roteiro com este nome.");
        else
            break;
    }
    m_currentTourName = name;
    m_currentTour = qelNewIntList(4);
    qelAddItem(m_tourNames, name);
    qelPut(m_tours, qelValue(tourNamesKey), m_tourNames);
    qelPut(m_tours, name, m_currentTour);
    showTours(qelCount(m_tourNames) - 1);
    selectTour();
}

// The tour row selected in "Roteiros"; -1 for none (or no list).
int32_t VBCRDialog::selectedTourRow()
{
    qelValue roteiros = control("Roteiros");
    if (!qelControlOf(roteiros))
        return -1;
    int32_t i = qelIntValue(qelPerformAction(roteiros, "getSelection"));
    return i >= 0 && i < qelCount(m_tourNames) ? i : -1;
}

// "Roteiros" lists the tours anew with the row selected (-1: none) and draws.
void VBCRDialog::showTours(int32_t row)
{
    qelValue roteiros = control("Roteiros");
    if (!qelControlOf(roteiros))
        return;
    qelPerform(roteiros, "setList", m_tourNames);
    if (row >= 0)
        qelPerform(roteiros, "setSelection", qelMakeInt(row));
    qelPerformAction(roteiros, "Draw");
}

// "Verbetes" shows the ids' entries and draws.
void VBCRDialog::showEntries(const qelValue& ids)
{
    qelValue verbetes = control("Verbetes");
    if (qelControlOf(verbetes)) {
        qelPerform(verbetes, "setList", ids);
        qelPerformAction(verbetes, "Draw");
    }
}

void VBCRDialog::selectTour()
{
    int32_t i = selectedTourRow();
    if (i < 0)
        return;
    m_currentTourName = qelGet(m_tourNames, i);
    startEditing();
    refreshButtons();
    loadCurrentTour();
    showEntries(m_currentTour);
}

void VBCRDialog::deleteTour()
{
    int32_t i = selectedTourRow();
    if (i < 0)
        return;
    qelValue name = qelGet(m_tourNames, i);
    if (isLockedTour(name))
        return;
    qelListRemove(m_tourNames, name);
    if (qelTableObject* table = qelTableOf(m_tours))
        table->remove(name);
    qelPut(m_tours, qelValue(tourNamesKey), m_tourNames);
    int32_t count = qelCount(m_tourNames);
    if (count > 0) {
        showTours(i < count ? i : count - 1);
        selectTour();
        return;
    }
    // No tour left: nothing is selected, so nothing can be edited.
    showTours(-1);
    m_currentTourName = qelNil;
    m_currentTour = qelNil;
    refreshButtons();
    showEntries(qelNewIntList(4));
}

void VBCRDialog::includeEntry()
{
    if (!m_entryOffered || !m_currentTourName.isString() || isLockedTour(m_currentTourName))
        return;
    // The entry is added once; the tour is no longer empty.
    m_entryAdded = true;
    m_tourEmptied = false;
    refreshButtons();
    qelValue verbetes = control("Verbetes");
    if (qelControlOf(verbetes)) {
        qelPerform(verbetes, "addItem", qelMakeInt(m_entryId));
        qelPerformAction(verbetes, "Draw");
        m_currentTour = qelPerformAction(verbetes, "getList");
    } else {
        qelAddItem(m_currentTour, qelMakeInt(m_entryId));
    }
    qelPut(m_tours, m_currentTourName, m_currentTour);
}

void VBCRDialog::excludeEntry()
{
    if (!m_currentTourName.isString() || isLockedTour(m_currentTourName))
        return;
    qelValue verbetes = control("Verbetes");
    if (!qelControlOf(verbetes))
        return;
    int32_t i = qelIntValue(qelPerformAction(verbetes, "getSelection"));
    if (i < 0 || i >= qelCount(m_currentTour))
        return;
    int32_t id = qelIntAt(m_currentTour, i);
    qelPerform(verbetes, "deleteItem", qelMakeInt(i));
    qelPerformAction(verbetes, "Draw");
    m_currentTour = qelPerformAction(verbetes, "getList");
    qelPut(m_tours, m_currentTourName, m_currentTour);
    if (qelCount(m_currentTour) == 0)
        m_tourEmptied = true;
    // The offered entry taken out may be put back.
    if (m_entryOffered && id == m_entryId)
        m_entryAdded = false;
    refreshButtons();
}
