#include "app/reference/BuscaDialog.h"

#include "app/reference/SearchSources.h"
#include "app/shell/DBLists.h"
#include "framework/display/Cursor.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"
#include "recdb/index/IndexObject.h"

#include <string>
#include <vector>

namespace {

// Control and property names with accented letters, in cp1252.
constexpr const char* advancedOpen = "Avan\xE7" "adoAbrir";
constexpr const char* advancedClose = "Avan\xE7" "adoFechar";
constexpr const char* advancedBackground = "Avan\xE7" "adoBK";
constexpr const char* advancedGroupKey = "Avan\xE7" "adoGroup";
// The general names: the kind of DBLists whose name list is keyed by packed ids.
constexpr int32_t generalNames = 5;
constexpr int32_t enterKey = 13;

std::string textOf(const qelValue& value)
{
    return value.isString() ? std::string(qelCString(value), size_t(qelCount(value))) : std::string();
}

// The row texts of packed ids, from the general name list.
class ListNames final : public SearchNames {
public:
    explicit ListNames(DBLists& lists)
        : m_lists(lists)
    {
        m_lists.loadNameList(generalNames);
    }
    std::string nameOf(int32_t id) override { return textOf(m_lists.kindNameListGet(generalNames, qelValue(id))); }

private:
    DBLists& m_lists;
};

// A key-down event waiting in the queue (left there) asks the search to stop. Looking at the
// queue also lets the window system's pending messages through.
class QueuedKey final : public SearchCancel {
public:
    bool cancelRequested() override
    {
        if (m_pressed)
            return true;
        uint32_t now = qelClockNow();
        // Why: every look pumps the window system, which costs far more than a step of the
        // search; a few milliseconds between looks keeps a long search quick and a key still
        // stops it at once to the eye.
        if (m_looked && int32_t(now - m_lastLook) < lookEveryMs)
            return false;
        m_looked = true;
        m_lastLook = now;
        qelEvent event;
        qelPeekEvent(event, QEL_KEY_DOWN_EVENT, 0);
        m_pressed = (event.type & QEL_KEY_DOWN_EVENT) != 0;
        return m_pressed;
    }

private:
    static constexpr int32_t lookEveryMs = 4;
    bool m_pressed { false };
    bool m_looked { false };
    uint32_t m_lastLook { 0 };
};

} // namespace

BuscaDialog::~BuscaDialog() = default;

std::string& BuscaDialog::lastSearchText()
{
    static std::string text;
    return text;
}

qelValue BuscaDialog::control(const char* name)
{
    return findControl("Name", qelValue(name));
}

qelValue BuscaDialog::send(const char* name, const char* verb, const qelValue& data)
{
    qelValue target = control(name);
    if (target.isNil())
        return qelNil;
    return qelPerform(target, qelValue(verb), data);
}

void BuscaDialog::setDisabled(const char* name, bool disabled, bool draw)
{
    qelValue target = control(name);
    qelControlObject* object = qelControlOf(target);
    if (!object)
        return;
    object->setProperty("Disabled", disabled ? qelTrue : qelFalse);
    if (draw)
        qelPerformAction(target, "Draw");
}

void BuscaDialog::select(const qelValue& box, bool on, bool draw)
{
    if (!box.isNil())
        qelPerform(box, qelValue(draw ? "Select" : "SelectDontDraw"), on ? qelTrue : qelFalse);
}

qelValue BuscaDialog::advancedGroup()
{
    qelValue group = getProperty(advancedGroupKey);
    return qelListObjectOf(group) ? group : qelNil;
}

void BuscaDialog::setAdvancedShown(bool shown)
{
    qelValue group = advancedGroup();
    for (int32_t i = 0; i < qelCount(group); ++i) {
        qelValue box = findControl("Name", qelGet(group, i));
        if (qelControlObject* object = qelControlOf(box))
            object->setProperty("Hidden", shown ? qelFalse : qelTrue);
    }
}

void BuscaDialog::showCount(int32_t n)
{
    std::string message = n == 0 ? "Nenhum item encontrado"
        : n == 1                  ? "1 item encontrados"
                                  : std::to_string(n) + " itens encontrados";
    send("ResultCountText", "SetText", qelValue(message.c_str()));
}

void BuscaDialog::open(const qelValue& data)
{
    m_keywords = std::make_unique<KeywordFiles>(KeywordFiles::openLocated());
    m_result = qelNil;
    m_selectedId = qelNil;
    qelMediaDialogObject::open(data);
    send("What2Find", "setText", qelValue(lastSearchText().c_str()));
    bool disabled = true;
    if (qelListObjectOf(m_results)) {
        send("ResultsListBox", "setList", m_results);
        if (qelCount(m_results) >= 1) {
            showCount(qelCount(m_results));
            disabled = false;
        }
    }
    setDisabled("Ok", disabled);
    setDisabled("Limpar", disabled);
    qelValue mask = qelTableOf(data) ? qelTableOf(data)->get("FilterMask") : qelNil;
    m_filterMask = mask.type() == QEL_INT_TYPE ? mask.payload() : SearchEngine::allSections;
    if (m_filterMask == SearchEngine::allSections) {
        select(control("Todas"), true, false);
        setDisabled("Salvar", true, false);
    } else if (m_filterMask == SearchEngine::entriesSection) {
        select(control("Verbetes"), true, false);
        setDisabled("Salvar", false, false);
    } else {
        qelValue group = advancedGroup();
        for (int32_t i = 0; i + 2 < qelCount(group) && i < 31; ++i)
            select(findControl("Name", qelGet(group, i)), (m_filterMask >> i) & 1, false);
        setDisabled("Salvar", true, false);
    }
    draw();
    // Typing goes to the query from the start.
    setActiveControl(control("What2Find"), 1);
}

void BuscaDialog::runQuery()
{
    std::string query = textOf(send("What2Find", "getText"));
    DBLists& lists = DBLists::instance();
    ListNames names(lists);
    // The list-id index and the entries archive open once for the whole search, not per entry.
    EntryRecordTexts entries([&lists](qelValue& listIds, qelValue& records) {
        listIds = lists.index("VDB_LISTID");
        records = qelOpenArchive(qelLocateFile("Verbetes", "DAT"), 0);
    });
    QueuedKey cancel;
    KeywordFiles none(qelNil, qelNil);
    SearchEngine engine(m_keywords ? *m_keywords : none, names, entries, cancel);
    engine.onPhraseMode = [this] {
        m_filterMask = SearchEngine::allSections;
        m_phraseMode = 1;
        qelValue box = control("Verbetes");
        if (box.isNil())
            return SearchEngine::entriesSection;
        handleControl(box);
        return m_filterMask;
    };
    bool phrase = false;
    std::vector<int32_t> found = engine.search(query, m_filterMask, phrase);
    m_phraseMode = phrase ? 1 : 0;
    m_results = qelMakeList(int32_t(found.size()) + 4, 100, QEL_INT_LIST);
    for (int32_t id : found)
        qelListObjectOf(m_results)->append(qelValue(id));

    send("ResultsListBox", "setList", m_results);
    send("ResultsListBox", "Draw");
    int32_t n = qelCount(m_results);
    showCount(n);
    if (n > 0) {
        setDisabled("Ok", false);
        setDisabled("Limpar", false);
    } else {
        setDisabled("Ok", true);
        if (m_filterMask == SearchEngine::allSections)
            setDisabled("Limpar", true);
    }
}

void BuscaDialog::resetFilter()
{
    qelValue group = advancedGroup();
    for (int32_t i = 0; i + 2 < qelCount(group) && i < 31; ++i)
        if ((m_filterMask >> i) & 1)
            select(findControl("Name", qelGet(group, i)), false);
    select(control("Todas"), true);
    m_filterMask = SearchEngine::allSections;
    setDisabled("Salvar", true);
}

void BuscaDialog::handleControl(const qelValue& controlValue)
{
    qelControlObject* object = qelControlOf(controlValue);
    qelValue name = object ? object->getProperty("Name") : qelNil;
    std::string which = textOf(name);
    bool isSectionBox = object && object->hasProperty("FilterMask");
    if (which == "Cancelar" || which == "Fechar" || which == "Fechar1") {
        m_selectedId = qelNil;
        m_result = qelNil;
        endDialog();
    } else if (which == "Procurar") {
        runQuery();
    } else if (which == "Ok" || which == "ResultsListBox") {
        qelValue selection = send("ResultsListBox", "getSelection");
        if (selection.type() == QEL_INT_TYPE && selection.payload() != -1 && selection.payload() >= 0
            && selection.payload() < qelCount(m_results)) {
            m_selectedIndex = selection.payload();
            m_selectedId = qelGet(m_results, m_selectedIndex);
            m_selectedText = send("ResultsListBox", "getSelectionStr");
            endDialog();
        }
    } else if (which == "Limpar") {
        m_selectedId = qelNil;
        m_results = qelNil;
        setDisabled("Limpar", true);
        send("What2Find", "setText", qelValue(""));
        send("What2Find", "Draw");
        send("ResultsListBox", "setList", qelNil);
        send("ResultsListBox", "Draw");
        setDisabled("Ok", true);
        send("ResultCountText", "SetText", qelValue(" "));
        if (m_filterMask != SearchEngine::allSections)
            resetFilter();
    } else if (isSectionBox) {
        int32_t bit = qelIntValue(object->getProperty("FilterMask"));
        if (m_filterMask == SearchEngine::allSections) {
            select(control("Todas"), false);
            m_filterMask = bit;
        } else if (m_filterMask & bit) {
            m_filterMask -= bit;
            if (m_filterMask == 0) {
                select(control("Todas"), true);
                m_filterMask = SearchEngine::allSections;
            }
        } else {
            m_filterMask += bit;
        }
        setDisabled("Salvar", m_filterMask != SearchEngine::entriesSection);
        if (!m_phraseMode)
            runQuery();
    } else if (which == "Todas" && m_filterMask != SearchEngine::allSections) {
        resetFilter();
        runQuery();
    } else if (which == advancedOpen) {
        setDisabled(advancedOpen, true, false);
        setDisabled(advancedClose, false);
        setDisabled(advancedBackground, false);
        setAdvancedShown(true);
        setDisabled("Ajuda", true);
        setDisabled("Fechar", true);
        setDisabled("Ajuda1", false);
        setDisabled("Fechar1", false);
        draw();
    } else if (which == advancedClose) {
        setDisabled(advancedClose, true, false);
        setDisabled(advancedOpen, false);
        setAdvancedShown(false);
        setDisabled(advancedBackground, true);
        setDisabled("Ajuda1", true);
        setDisabled("Fechar1", true);
        setDisabled("Ajuda", false);
        setDisabled("Fechar", false);
        draw();
    } else if (which == "Salvar") {
        qelValue shown = send("ResultsListBox", "getList");
        qelValue numbers = qelMakeList(4, 100, QEL_INT_LIST);
        for (int32_t i = 0; i < qelCount(shown); ++i)
            qelListObjectOf(numbers)->append(qelValue(qelIntAt(shown, i) & 0xFFFF));
        qelValue table = qelTable(4, 100, 75);
        qelTableOf(table)->put("NewRoteiro", numbers);
        runTourEditor(table);
    } else {
        qelDialogObject::handleControl(controlValue);
    }
    setActiveControl(control("What2Find"), 1);
}

void BuscaDialog::runTourEditor(const qelValue& data)
{
    qelRunDialog(qelValue("VBCRDialog"), data);
}

void BuscaDialog::key(int32_t code, int32_t modifiers)
{
    if (code == enterKey) {
        handleControl(control("Procurar"));
        return;
    }
    qelMediaDialogObject::key(code, modifiers);
}

qelValue BuscaDialog::result()
{
    m_result = qelMediaDialogObject::result();
    if (!qelTableOf(m_result))
        m_result = qelTable(5, 100, 75);
    qelTableObject* table = qelTableOf(m_result);
    table->put("FilterMask", qelValue(m_filterMask));
    if (!m_selectedId.isNil()) {
        int32_t id = qelIntAt(m_results, m_selectedIndex);
        std::vector<int32_t> results;
        for (int32_t i = 0; i < qelCount(m_results); ++i)
            results.push_back(qelIntAt(m_results, i));
        qelValue browse = qelMakeList(4, 100, QEL_INT_LIST);
        for (int32_t kept : SearchEngine::filterBySection(results, id >> 16))
            qelListObjectOf(browse)->append(qelValue(kept));
        table->put("Text", m_selectedText);
        table->put("BrowseList", browse);
        table->put("Index", qelValue(qelIndexOf(browse, qelValue(id), 0)));
        table->put("SearchedText", send("What2Find", "getText"));
    }
    return m_result;
}

void BuscaDialog::close()
{
    if (!m_result.isNil())
        lastSearchText() = textOf(send("What2Find", "getText"));
    setAdvancedShown(false);
    setDisabled(advancedBackground, true, false);
    qelMediaDialogObject::close();
    m_keywords.reset();
    qelSetCursor(qelArrowCursor());
}
