#include "app/reference/RetroForm.h"

#include "app/reference/ReviewLists.h"
#include "app/shell/DBLists.h"
#include "app/shell/TrimBlanks.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/Perform.h"
#include "recdb/index/IndexObject.h"

#include <string>

namespace {

// Every month page takes the look of this section number.
constexpr int32_t monthLook = 11;
// The month header is drawn under the menu bar.
constexpr int32_t headerY = 24;
// A media record's element that the text view takes for a picture of that file.
constexpr int32_t mediaPictureElement = 6;

bool beginsWithArrow(const qelValue& text)
{
    return text.isString() && qelCount(text) >= 2 && qelFindString(text, "->", 0) == 0;
}

bool holdsIndex(const qelValue& choice)
{
    return qelTableOf(choice) && qelContainsKey(choice, qelValue("Index"));
}

// The title of the page data: "Text" without its "->" and trimmed.
qelValue titleOf(const qelValue& data)
{
    qelValue text = qelGet(data, "Text");
    if (!text.isString() || qelCount(text) < 2)
        return qelValue("");
    return trimBlanks(qelRight(text, qelCount(text) - 2));
}

qelValue numbered(const char* prefix, int32_t n, const char* suffix = "")
{
    return qelValue((prefix + std::to_string(n) + suffix).c_str());
}

} // namespace

bool RetroForm::fillable(const qelValue& data)
{
    return qelTableOf(data) && qelContainsKey(data, qelValue("Text"));
}

void RetroForm::open(const qelValue& data)
{
    loadResourceTable();
    if (fillable(data))
        fill(data);
    // The page opens with its menu bar even when nothing fills it, so an empty page can still be
    // left.
    BarraMenuForm::open(data);
    if (fillable(data))
        qelPerform(qelResolve(getProperty("Texto")), "GotoMarker", "Index");
}

void RetroForm::reenter(const qelValue& data)
{
    if (!fillable(data))
        return;
    fill(data);
    // The category pop-ups as the menu bar's open takes them: "Trio", narrowed to the key.
    m_categoryMenus = qelResolve(getProperty("Trio"));
    if (!m_categoryKey.isNil() && qelTableOf(m_categoryMenus)) {
        m_categoryMenus = qelContainsKey(m_categoryMenus, m_categoryKey) ? qelResolve(qelGet(m_categoryMenus, m_categoryKey))
                                                                         : qelNil;
    }
    qelPerform(qelResolve(getProperty("Texto")), "GotoMarker", "Index");
    draw();
}

void RetroForm::markReviewSet()
{
    qelValue trio = qelResolve(getProperty("Trio"));
    qelTableObject* menus = qelTableOf(trio);
    if (!menus)
        return;
    qelValue set = m_reviewSet ? qelTrue : qelFalse;
    for (int32_t slot = menus->firstIndex(); slot >= 0; slot = menus->nextIndex(slot)) {
        qelValue menu = qelResolve(menus->valueAt(slot));
        if (!qelTableOf(menu))
            continue;
        qelPut(menu, qelValue("Retro98"), set);
        qelTableObject* cascade = qelTableOf(qelResolve(qelGet(menu, "CascadeTable")));
        for (int32_t c = cascade ? cascade->firstIndex() : -1; c >= 0; c = cascade->nextIndex(c)) {
            qelValue entry = qelResolve(cascade->valueAt(c));
            if (qelTableOf(entry))
                qelPut(entry, qelValue("Retro98"), set);
        }
    }
}

bool RetroForm::fill(const qelValue& data)
{
    // Everything the page shows is gathered first and the page changed only when all of it is
    // there: a fill that fails leaves the text, the article, the data, the set and the menu
    // bar's fields of the page shown, so that its history entry and its print still describe
    // what the reader sees.
    bool use98 = qelIsTrue(qelGet(data, "Retro98"));
    const ReviewSetFiles& files = reviewSetFiles(use98);
    qelValue titlePath = qelLocateFile(files.titles, "IDX");
    qelValue titles = qelFileExists(titlePath) ? qelOpenIndex(titlePath, 0, 0) : qelNil;
    qelValue archive = reviewOpenFile(files.data, "DAT");
    qelValue sections = reviewSectionTable(use98);

    bool byMonth = qelIsTrue(qelGet(data, "Mes"));
    int32_t groupElement = byMonth ? review::categoryElement : review::monthElement;
    int32_t keyElement = byMonth ? review::monthElement : review::categoryElement;

    // An unknown title, or a section the category list does not hold, names no article: the
    // page stays as it was rather than showing another article's section.
    qelValue number = qelIndexObjectOf(titles) ? qelGet(titles, titleOf(data)) : qelNil;
    if (number.isNil())
        return false;
    int32_t r = qelIntValue(number);
    qelValue article = reviewRecord(archive, r);
    if (article.isNil())
        return false;
    int32_t region = qelIntAt(article, review::regionElement);
    int32_t group = qelIntAt(article, groupElement);
    int32_t k = qelIntAt(article, keyElement);
    qelValue sectionKey = qelMakeInt(byMonth ? k + review::monthKeyBase : k);
    qelValue list = sections.isNil() || !qelContainsKey(sections, sectionKey) ? qelNil : qelGet(sections, sectionKey);
    if (!qelListObjectOf(list))
        return false;

    std::string text;
    qelValue pictures;
    for (int32_t i = 0; i < qelCount(list); ++i) {
        int32_t q = qelIntAt(list, i);
        qelValue record = reviewRecord(archive, q);
        if (record.isNil() || qelIntAt(record, review::regionElement) != region
            || qelIntAt(record, groupElement) != group)
            continue;
        text += headingOpen;
        text += qelCString(qelGet(record, review::headingElement));
        text += headingClose;
        if (q == r)
            text += marker;
        text += bodyOpen;
        text += qelCString(qelGet(record, review::bodyElement));
        text += bodyClose;
        qelValue names = qelCount(record) > review::picturesElement ? qelGet(record, review::picturesElement) : qelNil;
        if (qelListObjectOf(names)) {
            if (pictures.isNil())
                pictures = qelMakeList(4, 100, QEL_GENERAL_LIST);
            for (int32_t p = 0; p < qelCount(names); ++p)
                qelAddItem(pictures, qelGet(names, p));
        }
    }

    // The pictures the texts show, by file name: each must be a media file.
    qelValue images;
    if (!pictures.isNil()) {
        images = qelTable(4, 100, 75);
        DBLists& lists = DBLists::instance();
        for (int32_t p = 0; p < qelCount(pictures); ++p) {
            qelValue name = qelGet(pictures, p);
            int32_t id = lists.idOfName("MDB_FNAME", name);
            if (id < 0)
                return false;
            qelPut(images, name, qelGet(lists.record(id, 1), mediaPictureElement));
        }
    }

    m_reviewSet = use98 ? 1 : 0;
    markReviewSet();
    m_currentData = data;
    m_currentArticle = article;
    qelValue texto = qelResolve(getProperty("Texto"));
    if (!text.empty()) {
        // Set even when these articles show no picture, so that the list of the page shown
        // before does not stay with the new text.
        qelPerform(texto, "SetImageList", images);
        qelPerform(texto, "SetText", qelStringValueN(text.data(), int32_t(text.size())));
    }

    m_categoryId = k;
    int32_t look;
    if (byMonth) {
        m_currentCategory = reviewMonthName(k);
        m_currentSubcategory = reviewCategoryName(qelIntAt(article, review::categoryElement));
        m_categoryId = k + review::monthKeyBase;
        look = monthLook;
        m_categoryKey = qelValue("M\xEAs");
    } else {
        m_currentCategory = reviewCategoryName(k);
        m_currentSubcategory = reviewMonthName(qelIntAt(article, review::monthElement));
        look = k;
        m_categoryKey = qelValue("Categoria");
    }
    setSectionLook(look, region);
    return true;
}

void RetroForm::setSectionLook(int32_t section, int32_t region)
{
    setProperty("Background Image", getProperty(numbered("Cat", section, " BkImage")));
    qelValue subcategory = qelResolve(getProperty("SCategName"));
    if (qelControlOf(subcategory)) {
        qelPut(subcategory, qelValue("Foreground Color"), getProperty(numbered("Cat", section, " TxColor")));
        qelPerformAction(subcategory, "Initialize");
    }
    // The region shown is the disabled one of the two buttons; the next drawing shows them.
    qelValue brasil = qelResolve(getProperty("Brasil"));
    qelValue mundo = qelResolve(getProperty("Mundo"));
    if (qelControlOf(brasil))
        qelPut(brasil, qelValue("Disabled"), region == 1 ? qelTrue : qelFalse);
    if (qelControlOf(mundo))
        qelPut(mundo, qelValue("Disabled"), region == 1 ? qelFalse : qelTrue);
}

void RetroForm::draw()
{
    VLTextForm::draw();
    if (m_categoryId > review::monthKeyBase) {
        qelValue header = qelResolve(getProperty(numbered("Hdr", m_categoryId)));
        if (!header.isNil())
            qelShowImageAt(header, 0, headerY, 0, 0, 0, 0);
    }
    qelValue subcategory = qelResolve(getProperty("SCategName"));
    if (qelControlOf(subcategory))
        qelPerform(subcategory, "SetText", m_currentSubcategory);
}

void RetroForm::discardSubcategoryBackground()
{
    qelValue subcategory = qelResolve(getProperty("SCategName"));
    if (qelControlOf(subcategory))
        qelPerformAction(subcategory, "DiscardBK");
}

void RetroForm::goToChoice(const qelValue& choice)
{
    // A heading of the lists, or nothing chosen, opens nothing.
    if (!holdsIndex(choice) || !beginsWithArrow(qelGet(choice, "Text")))
        return;
    discardSubcategoryBackground();
    goToForm(getProperty("Form Name"), choice);
}

void RetroForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    if (name == "Imprimir") {
        print();
    } else if (name == "Copiar") {
        // The page has no copy.
    } else if (name == "MCategName" && !m_categoryMenus.isNil()) {
        goToChoice(qelRunDialog("PopUpMenu1", m_categoryMenus));
    } else if (name == "SCategName" && !m_categoryMenus.isNil() && m_currentCategory.isString()) {
        qelValue menu = qelCopy(qelResolve(qelGet(qelResolve(qelGet(m_categoryMenus, "CascadeTable")), m_currentCategory)));
        // A section the description does not hold has no pop-up.
        if (!qelTableOf(menu))
            return;
        qelPut(menu, qelValue("Origin X"), getProperty("SCategXPos"));
        qelPut(menu, qelValue("Origin Y"), getProperty("SCategYPos"));
        qelRemoveKey(menu, qelValue("UseDefaultPosition"));
        goToChoice(qelRunDialog(qelGet(menu, "DlgName"), menu));
    } else if (name == "GoBack") {
        discardSubcategoryBackground();
        VLTextForm::handleControl(control);
    } else {
        VLTextForm::handleControl(control);
    }
}

void RetroForm::print()
{
    qelValue attributes = qelResolve(getProperty("PrintAttributes"));
    if (qelTableOf(attributes) && qelListObjectOf(m_currentArticle)) {
        qelPut(attributes, qelValue("Title"), qelGet(m_currentArticle, review::titleElement));
        qelPut(attributes, qelValue("Text"), qelGet(m_currentArticle, review::bodyElement));
    }
    VLTextForm::print();
}

qelValue RetroForm::historyText()
{
    if (!qelTableOf(m_currentData))
        return qelNil;
    qelPut(m_currentData, qelValue("History Text"), "Retrospeciva: " + titleOf(m_currentData));
    return m_currentData;
}
