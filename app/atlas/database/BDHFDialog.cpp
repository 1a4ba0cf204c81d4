#include "app/atlas/database/BDHFDialog.h"

#include "app/atlas/database/SavedSearches.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <cstring>

namespace {

// The Delete key as the window layer reports it (special key 0x0E in the upper half).
constexpr int32_t deleteKey = 0x0E << 16;

qelValue actionTable(const qelValue& action)
{
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, "Action", action);
    return table;
}

bool isProtected(const qelValue& search)
{
    qelValue name = qelGet(search, "Name");
    return name.isString() && std::strncmp(qelCString(name), "**", 2) == 0;
}

} // namespace

qelValue BDHFDialog::control(const char* name)
{
    return findControl("Name", name);
}

void BDHFDialog::setEnabled(const char* name, bool enabled)
{
    qelValue found = control(name);
    if (!found.isNil())
        setControlEnabled(found, enabled ? 1 : 0);
}

void BDHFDialog::setHidden(const char* name, bool hidden)
{
    qelValue found = control(name);
    if (!found.isNil())
        setControlHidden(found, hidden ? 1 : 0);
}

bool BDHFDialog::isEnabled(const char* name)
{
    qelValue found = control(name);
    return !found.isNil() && !qelIsTrue(qelGet(found, "Disabled"));
}

void BDHFDialog::open(const qelValue& data)
{
    loadResourceTable();
    if (data.type() == QEL_TABLE_TYPE) {
        for (const char* name : { "SelPhoto", "SelPesq", "SelContents" }) {
            qelValue found = control(name);
            if (!found.isNil())
                qelPut(found, "Image", qelGet(data, qelValue(name) + " Image"));
        }
        m_databaseName = qelGet(data, "Selection");
        m_searches = loadSavedSearches(m_databaseName);
    }
    m_selectedSearch = qelNil;
    if (m_searches.type() == QEL_LIST_TYPE && qelCount(m_searches) > 0) {
        qelValue list = control("PesqListBox");
        qelPerform(list, "setList", m_searches);
        qelPerformAction(list, "Initialize");
        qelPerform(list, "setSelection", qelMakeInt(0));
        setHidden("CompBackground", true);
        setHidden("SelContents", false);
        setEnabled("Excluir", false);
        setEnabled("Abrir", true);
        setEnabled("Modificar", true);
        m_selectedSearch = qelGet(m_searches, 0);
        qelValue contents = control("ContentsListBox");
        qelPerform(contents, "setList", qelGet(m_selectedSearch, "Contents"));
        qelPerformAction(contents, "Initialize");
    }
    m_result = qelNil;
    qelMediaDialogObject::open(data);
    m_rectLeft = getInt("Origin X", 0);
    m_rectTop = getInt("Origin Y", 0);
    m_rectWidth = widthValue();
    m_rectHeight = heightValue();
}

void BDHFDialog::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    if (!object)
        return;
    qelValue name = object->getProperty("Name");
    if (name == "ContentsListBox" || name == "Nova Pesquisa" || name == "Excluir" || name == "Abrir"
        || name == "Modificar" || name == "PesqListBox") {
        handleAction(name);
        return;
    }
    qelMediaDialogObject::handleControl(control);
}

void BDHFDialog::handleAction(const qelValue& name)
{
    if (name == "ContentsListBox") {
        handleAction("Abrir");
    } else if (name == "Nova Pesquisa") {
        m_result = actionTable(name);
        endDialog();
    } else if (name == "Excluir") {
        deleteSelected();
    } else if (name == "Abrir" || name == "Modificar") {
        m_result = actionTable(name);
        qelPut(m_result, "Pesquisa", m_selectedSearch);
        endDialog();
    } else if (name == "PesqListBox") {
        selectFromList();
    }
}

void BDHFDialog::selectFromList()
{
    qelValue list = control("PesqListBox");
    qelValue selection = qelPerformAction(list, "getSelection");
    bool doubleClick = qelIsTrue(qelPerformAction(list, "dblClicked"));
    // A list reports no selection as nil or -1; a row past the list is no selection either.
    if (selection.isNil() || qelIntValue(selection) < 0 || qelIntValue(selection) >= qelCount(m_searches))
        return;
    m_selectedSearch = qelGet(m_searches, qelIntValue(selection));
    setEnabled("Excluir", !isProtected(m_selectedSearch));
    qelPerformAction(control("Excluir"), "Draw");
    if (doubleClick) {
        handleAction("Abrir");
        return;
    }
    qelValue contents = control("ContentsListBox");
    qelPerform(contents, "setList", qelGet(m_selectedSearch, "Contents"));
    qelPerformAction(contents, "Draw");
}

void BDHFDialog::deleteSelected()
{
    if (m_selectedSearch.isNil())
        return;
    qelValue list = control("PesqListBox");
    int32_t row = qelIntValue(qelPerformAction(list, "getSelection"));
    if (row <= 0)
        row = 1;
    removeSavedSearch(m_databaseName, m_selectedSearch);
    m_selectedSearch = qelNil;
    qelPerform(list, "setList", m_searches);
    qelPerformAction(list, "Initialize");
    if (qelCount(m_searches) == 0) {
        showNoSearch();
        qelPerformAction(list, "Draw");
        return;
    }
    int32_t next = row - 1 < qelCount(m_searches) ? row - 1 : qelCount(m_searches) - 1;
    qelPerform(list, "setSelection", qelMakeInt(next));
    qelPerformAction(list, "Draw");
    handleAction("PesqListBox");
}

void BDHFDialog::showNoSearch()
{
    qelValue contents = control("ContentsListBox");
    qelPerform(contents, "setList", qelMakeList(4, 100, QEL_GENERAL_LIST));
    qelPerformAction(contents, "Initialize");
    qelPerformAction(contents, "Draw");
    setEnabled("Excluir", false);
    setEnabled("Abrir", false);
    setEnabled("Modificar", false);
    setHidden("SelContents", true);
    setHidden("CompBackground", false);
}

void BDHFDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    if (x < m_rectLeft || y < m_rectTop || x >= m_rectLeft + m_rectWidth || y >= m_rectTop + m_rectHeight) {
        m_result = qelNil;
        endDialog();
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

void BDHFDialog::key(int32_t code, int32_t modifiers)
{
    if (code == deleteKey) {
        // Only what the button would do: nothing while it is disabled.
        if (isEnabled("Excluir"))
            handleAction("Excluir");
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}
