#include "app/reference/VerbeteForm.h"

#include "app/reference/SearchMarks.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/MarkList.h"
#include "app/shell/TableKeys.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

#include <string>

namespace {

// The entry record's elements.
constexpr int32_t listIdElement = 0;
constexpr int32_t headingElement = 1;
constexpr int32_t nameElement = 2;
constexpr int32_t subcategoryElement = 3;
constexpr int32_t textElement = 4;
constexpr int32_t seeAlsoElement = 5;
constexpr int32_t picturesElement = 8;
// The media record's picture.
constexpr int32_t mediaPictureElement = 6;
// Mouse down and up, key down and up: what a user did while the page was built.
constexpr int32_t inputEvents = 0x3A0;
// Browse lists and tours may carry a section in the high half of an id; the entry's list id is
// the low half.
constexpr int32_t listIdMask = 0xFFFF;

const char* const popUpMenu = "PopUpMenu";
const char* const seeAlsoName = "VejaTamb\xE9m";



// An integer of the data; anything that is not one gives the fallback.
int32_t intOf(const qelValue& value, int32_t fallback = 0)
{
    return value.type() == QEL_INT_TYPE ? value.payload() : fallback;
}

// Element i of a list; nil outside it or for anything that is not a list.
qelValue elementOf(const qelValue& list, int32_t i)
{
    qelListObject* object = qelListObjectOf(list);
    return object && i >= 0 && i < object->count ? qelResolve(object->elementAt(i)) : qelNil;
}

int32_t countOf(const qelValue& list)
{
    qelListObject* object = qelListObjectOf(list);
    return object ? object->count : 0;
}

bool listHolds(const qelValue& list, int32_t n)
{
    for (int32_t i = 0, count = countOf(list); i < count; ++i) {
        if (intOf(elementOf(list, i), -1) == n)
            return true;
    }
    return false;
}

std::string textOf(const qelValue& value)
{
    return value.isString() ? std::string(qelCString(value), size_t(qelCount(value))) : std::string();
}

qelValue stringValue(const std::string& text)
{
    return qelStringValueN(text.data(), int32_t(text.size()));
}

void setCursorWaiting(bool waiting)
{
    qelEnvironmentServices& services = qelServices();
    services.setCursor(waiting ? services.waitCursor() : qelNil);
}

} // namespace

std::string VerbeteForm::shownHeading(const std::string& heading, const std::string& name)
{
    std::string shown = heading.substr(0, heading.find('{'));
    while (!shown.empty() && shown.back() == ' ')
        shown.pop_back();
    return shown.empty() ? name : shown;
}

bool VerbeteForm::wantsOpening(const qelValue& data) const
{
    return tableHolds(data, "Text") || tableHolds(data, "Index");
}

void VerbeteForm::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    if (!wantsOpening(data))
        return;
    loadResourceTable();
    setup(data);
    enableMenuItem(popUpMenu, "Roteiros");
    VLTextForm::open(data);
}

void VerbeteForm::reenter(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    if (!wantsOpening(data))
        return;
    setup(data);
    enableMenuItem(popUpMenu, "Roteiros");
    draw();
}

int32_t VerbeteForm::recordOfListId(int32_t listId)
{
    return DBLists::instance().idOfName("VDB_LISTID", qelValue(std::to_string(listId).c_str()));
}

qelValue VerbeteForm::recordElement(int32_t index) const
{
    return elementOf(m_record, index);
}

qelValue VerbeteForm::categoryPath(int32_t subcategory, int32_t* mainCategory, qelValue* mainName)
{
    qelValue category = qelResolve(getProperty(qelValue(("Cat" + std::to_string(subcategory)).c_str())));
    int32_t main = intOf(elementOf(category, 0));
    qelValue name = elementOf(qelResolve(getProperty("MCategs")), main - 1);
    qelValue subName = elementOf(category, 1);
    if (mainCategory)
        *mainCategory = name.isString() ? main : 0;
    if (mainName)
        *mainName = name;
    if (!name.isString() || !subName.isString())
        return qelEmptyString();
    return name + "/" + subName;
}

void VerbeteForm::setup(const qelValue& data)
{
    // A copy: the history keeps the table it was given as it was when the page was left.
    m_pageData = qelTableOf(data) ? qelCopy(data) : qelTable(4, 100, 75);
    m_listKind = NoList;
    int32_t recordNumber = -1;
    if (tableHolds(data, "BrowseList")) {
        // A tour or a word search's result.
        m_browseList = tableEntry(data, "BrowseList");
        m_searchedText = tableEntry(data, "SearchedText");
        m_position = intOf(tableEntry(data, "Index"));
        if (m_position < 0 || m_position >= countOf(m_browseList))
            m_position = 0;
        recordNumber = recordOfListId(intOf(elementOf(m_browseList, m_position)) & listIdMask);
        if (tableHolds(data, "Roteiro")) {
            m_listKind = Tour;
            m_currentCategory = "Roteiros";
        } else {
            m_listKind = SearchResult;
            m_currentCategory = "Busca";
        }
        select(recordNumber);
        m_currentSubcategory = categoryPath(intOf(recordElement(subcategoryElement)), nullptr, nullptr);
    } else if (qelIsTrue(tableEntry(data, "FullList"))) {
        // The whole alphabetical index.
        int32_t id = tableHolds(data, "Index") ? intOf(tableEntry(data, "Index"))
                                          : DBLists::instance().idListGet(0, tableEntry(data, "Text"));
        recordNumber = recordOfListId(id);
        m_listKind = AlphabeticalIndex;
        m_browseList = loadIDCatList(0, 1);
        m_categoryId = 0;
        m_position = m_browseList.isNil() ? -1 : qelIndexOf(m_browseList, qelMakeInt(id), 0);
        select(recordNumber);
        m_currentCategory = "Indice";
        m_currentSubcategory = categoryPath(intOf(recordElement(subcategoryElement)), nullptr, nullptr);
    } else {
        // A sub-category's list.
        m_position = intOf(tableEntry(data, "Index"));
        m_browseList = tableHolds(data, "SCatID") ? loadIDCatList(intOf(tableEntry(data, "SCatID")), 1) : getCachedIDList(0);
        if (m_position < 0 || m_position >= countOf(m_browseList))
            m_position = 0;
        recordNumber = recordOfListId(intOf(elementOf(m_browseList, m_position), -1));
        select(recordNumber);
        enterCategory(m_categoryId);
    }
    showListKind();
}

void VerbeteForm::enterCategory(int32_t subcategory)
{
    int32_t main = 0;
    qelValue mainName;
    categoryPath(subcategory, &main, &mainName);
    if (main > 0) {
        m_listKind = main;
        m_currentCategory = mainName;
        m_currentSubcategory
            = elementOf(qelResolve(getProperty(qelValue(("Cat" + std::to_string(subcategory)).c_str()))), 1);
    }
}

void VerbeteForm::showListKind()
{
    std::string kind = "Cat" + std::to_string(m_listKind);
    qelValue background = qelResolve(getProperty(qelValue((kind + " BkImage").c_str())));
    if (!background.isNil())
        setProperty("Background Image", background);
    qelValue path = qelResolve(getProperty("SCategName"));
    if (qelControlObject* control = qelControlOf(path)) {
        qelValue colour = qelResolve(getProperty(qelValue((kind + " TxColor").c_str())));
        if (!colour.isNil())
            control->setProperty("Foreground Color", colour);
        qelPerformAction(path, "Initialize");
    }
}

void VerbeteForm::select(int32_t recordNumber)
{
    m_recordNumber = recordNumber;
    qelValue record = recordNumber >= 0 ? DBLists::instance().record(recordNumber, 0) : qelNil;
    // An id the entries do not know leaves the entry shown as it was.
    if (qelListObjectOf(record))
        m_record = record;
    if (!qelListObjectOf(m_record))
        return;
    qelPut(m_pageData, qelValue("Text"), recordElement(nameElement));
    qelPut(m_pageData, qelValue("Index"), qelMakeInt(m_position));
    if (m_listKind == AlphabeticalIndex) {
        qelPut(m_pageData, qelValue("Index"), recordElement(listIdElement));
    } else if (m_listKind != Tour && m_listKind != SearchResult) {
        m_categoryId = intOf(recordElement(subcategoryElement));
        qelPut(m_pageData, qelValue("SCatID"), qelMakeInt(m_categoryId));
    }
    updateMarkItems();
}

void VerbeteForm::updateMarkItems()
{
    bool marked = listHolds(getMarkList(), intOf(recordElement(listIdElement), -1));
    if (marked) {
        enableMenuItem(popUpMenu, "Desmarcar");
        disableMenuItem(popUpMenu, "Marcar");
    } else {
        disableMenuItem(popUpMenu, "Desmarcar");
        enableMenuItem(popUpMenu, "Marcar");
    }
}

void VerbeteForm::draw()
{
    qelValue self = qelFormValue(this);
    if (!qelListObjectOf(m_record)) {
        VLTextForm::draw();
        return;
    }
    int32_t subcategory = intOf(recordElement(subcategoryElement));
    // Tours and search results keep their kind and section: the words stay struck and the
    // section's pop-up stays the tour's or the search's, whatever an earlier visit left.
    if (m_listKind == Tour || m_listKind == SearchResult) {
        m_currentSubcategory = categoryPath(subcategory, nullptr, nullptr);
    } else if (m_categoryId == 0) {
        m_currentCategory = "Indice";
        m_currentSubcategory = categoryPath(subcategory, nullptr, nullptr);
    } else if (m_categoryId != subcategory) {
        m_categoryId = subcategory;
        enterCategory(subcategory);
    }
    m_entryTitle = recordElement(nameElement);
    m_entryId = intOf(recordElement(listIdElement));
    if (qelControlOf(qelResolve(getProperty("SCategName"))))
        qelPerform(qelResolve(getProperty("SCategName")), "SetText", m_currentSubcategory);
    if (qelControlOf(qelResolve(getProperty("ItemName"))))
        qelPerform(qelResolve(getProperty("ItemName")), "SetText", m_entryTitle);

    qelValue text = recordElement(textElement);
    if (m_listKind == SearchResult && m_searchedText.isString() && text.isString())
        text = stringValue(markSearchWords(textOf(text), textOf(m_searchedText)));
    qelValue texto = qelResolve(getProperty("Texto"));
    if (qelControlOf(texto)) {
        qelPerformAction(texto, "Initialize");
        qelValue pictures = recordElement(picturesElement);
        if (qelListObjectOf(pictures)) {
            qelValue images = qelTable(4, 100, 75);
            for (int32_t i = 0, count = countOf(pictures); i < count; ++i) {
                qelValue name = elementOf(pictures, i);
                int32_t media = DBLists::instance().idOfName("MDB_FNAME", name);
                // A picture the media do not know is left out; the text shows without it.
                if (media < 0)
                    continue;
                qelPut(images, name, elementOf(DBLists::instance().record(media, 1), mediaPictureElement));
            }
            qelPerform(texto, "SetImageList", images);
        }
        qelPerform(texto, "SetText", text);
    }

    qelValue seeAlso = recordElement(seeAlsoElement);
    qelValue seeAlsoView = qelResolve(getProperty(seeAlsoName));
    if (qelControlObject* view = qelControlOf(seeAlsoView)) {
        if (seeAlso.isString() && qelCount(seeAlso) > 0) {
            view->setProperty("Hidden", qelFalse);
            qelPerformAction(seeAlsoView, "Initialize");
            qelPerform(seeAlsoView, "SetText", "(Veja Tamb\xE9m: " + seeAlso + ")");
        } else {
            view->setProperty("Hidden", qelTrue);
        }
    }
    VLTextForm::draw();
}

void VerbeteForm::step(int32_t direction)
{
    qelValue self = qelFormValue(this);
    int32_t count = countOf(m_browseList);
    if (count == 0)
        return;
    setCursorWaiting(true);
    if (direction > 0) {
        m_position = m_position + 1 >= count ? 0 : m_position + 1;
    } else {
        if (m_position <= 0 || m_position > count)
            m_position = count;
        m_position = m_position - 1;
    }
    select(recordOfListId(intOf(elementOf(m_browseList, m_position)) & listIdMask));
    draw();
    qelRefreshWindowArea(0, 0, 0, 0);
    // Clicks and keys given while the page was built are not replayed on the new page.
    qelFlushEvents(inputEvents);
    setCursorWaiting(false);
}

void VerbeteForm::next()
{
    step(1);
}

void VerbeteForm::previous()
{
    step(-1);
}

void VerbeteForm::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    if (name == "Previous") {
        previous();
    } else if (name == "Next") {
        next();
    } else if (name == "Imprimir") {
        print();
    } else if (name == "Copiar") {
        copyText(recordElement(headingElement), recordElement(textElement));
    } else {
        VLTextForm::handleControl(control);
    }
}

int32_t VerbeteForm::markerCommand(const qelValue& text)
{
    int32_t id = intOf(recordElement(listIdElement), -1);
    if (text == "Marcar" && id >= 0) {
        addMark(id);
        disableMenuItem(popUpMenu, "Marcar");
        enableMenuItem(popUpMenu, "Desmarcar");
        enableMenuItem(popUpMenu, "Lista de Marcados");
        return 0;
    }
    if (text == "Desmarcar" && id >= 0) {
        removeMark(id);
        disableMenuItem(popUpMenu, "Desmarcar");
        enableMenuItem(popUpMenu, "Marcar");
        if (countMarks() == 0)
            disableMenuItem(popUpMenu, "Lista de Marcados");
        return 0;
    }
    return VLTextForm::markerCommand(text);
}

void VerbeteForm::print()
{
    qelValue self = qelFormValue(this);
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    if (qelTableOf(attributes)) {
        qelPut(attributes, qelValue("Title"),
            stringValue(shownHeading(textOf(recordElement(headingElement)), textOf(recordElement(nameElement)))));
        qelPut(attributes, qelValue("Text"), recordElement(textElement));
    }
    VLTextForm::print();
}

qelValue VerbeteForm::historyText()
{
    disableMenuItem(popUpMenu, "Desmarcar");
    disableMenuItem(popUpMenu, "Marcar");
    disableMenuItem(popUpMenu, "Roteiros");
    if (!qelTableOf(m_pageData))
        return qelNil;
    std::string heading = shownHeading(textOf(recordElement(headingElement)), textOf(recordElement(nameElement)));
    qelPut(m_pageData, qelValue("History Text"), stringValue("Verbete: " + heading));
    return m_pageData;
}
