#include "app/reference/ListasDlg.h"

#include "app/reference/ReviewLists.h"
#include "app/shell/CascadePlace.h"
#include "app/shell/CategoryLists.h"
#include "app/shell/NamedControl.h"
#include "framework/display/Cursor.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/Perform.h"

int32_t ListasDlg::s_selectedIndex = -1;

namespace {

const char* const stayOpen = "__STAYOPEN__";
const char* const listName = "Lista";

bool has(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t && t->find(key) >= 0;
}

qelValue get(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->get(key) : qelNil;
}

qelListObject* generalList(const qelValue& value)
{
    qelListObject* list = qelListObjectOf(value);
    return list && list->kind() == QEL_GENERAL_LIST ? list : nullptr;
}

bool isRect(const qelValue& value)
{
    return value.type() == QEL_REGION_TYPE;
}

bool isImage(const qelValue& value)
{
    return value.type() == QEL_IMAGE_TYPE;
}

bool isEmptyList(const qelValue& value)
{
    return value.isNil() || (qelListObjectOf(value) && qelCount(value) == 0);
}

} // namespace

qelValue ListasDlg::listControl()
{
    return namedControl(*this, listName);
}

void ListasDlg::setKind(int32_t kind)
{
    m_kind = kind;
    if (qelControlObject* list = qelControlOf(listControl()))
        list->setProperty("dbID", qelMakeInt(kind));
}

void ListasDlg::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    m_kind = 0;
    m_offsetX = 0;
    m_offsetY = 0;
    m_fullList = 0;
    m_cascadePlaced = 0;
    // A run without parents must not take a press for one on a parent of an earlier run.
    m_hasParents = 0;
    m_menuResult = qelNil;
    m_addedImages.restore();
    m_parentsList = qelMakeList(4, 100, QEL_GENERAL_LIST);

    if (hasProperty("AddedImage"))
        showAddedImage(getProperty("AddedImage"));

    loadResourceTable();
    if (hasProperty("dbID"))
        setKind(qelIntValue(qelResolve(getProperty("dbID"))));

    qelSetCursor(qelWaitCursor());

    qelValue background;
    if (qelTableOf(data)) {
        if (has(data, "AddedImage"))
            showAddedImage(get(data, "AddedImage"));
        if (has(data, "FullList"))
            m_fullList = 1;
        if (has(data, "Background")) {
            background = qelLoadImageResource(get(data, "Background"));
            setProperty("Background Image", background);
        }
        if (has(data, "ParentsList")) {
            m_parentsList = get(data, "ParentsList");
            m_hasParents = 1;
            if (get(data, "UseDefaultPosition") == qelTrue) {
                m_cascadePlaced = 1;
                if (background.isNil() && hasProperty("Background Image"))
                    background = qelLoadImageResource(getProperty("Background Image"));
                placeBesideParent(background);
            }
        }
        m_itemList = has(data, "BrowseList") ? get(data, "BrowseList") : qelMakeList(4, 100, QEL_GENERAL_LIST);
        s_selectedIndex = has(data, "Selected") ? qelIntValue(get(data, "Selected")) : -1;
        if (!m_cascadePlaced) {
            if (has(data, "Origin X"))
                setProperty("Origin X", get(data, "Origin X"));
            if (has(data, "Origin Y"))
                setProperty("Origin Y", get(data, "Origin Y"));
            if (has(data, "Offset X")) {
                m_offsetX = qelIntValue(get(data, "Offset X"));
                setInt("Origin X", qelIntValue(qelResolve(getProperty("Origin X"))) + m_offsetX);
            }
            if (has(data, "Offset Y")) {
                m_offsetY = qelIntValue(get(data, "Offset Y"));
                setInt("Origin Y", qelIntValue(qelResolve(getProperty("Origin Y"))) + m_offsetY);
            }
        }
        if (has(data, "SCatID"))
            m_listCategory = qelIntValue(get(data, "SCatID"));
        if (has(data, "dbID"))
            setKind(qelIntValue(get(data, "dbID")));
    }
    if (background.isNil() && hasProperty("Background Image"))
        background = qelLoadImageResource(getProperty("Background Image"));
    fitList(background);

    qelMediaDialogObject::open(data);

    m_frameRect = qelRectValue(originX, originY, width, height);
    m_chosenItem = qelNil;

    if (isEmptyList(m_itemList)) {
        if (m_kind == 3)
            m_use98 = qelIsTrue(get(data, "Retro98")) ? 1 : 0;
        m_itemList = loadList(m_kind, m_listCategory);
        // A category's list that cannot be read shows as an empty list.
        if (!qelListObjectOf(m_itemList))
            m_itemList = qelMakeList(4, 100, QEL_GENERAL_LIST);
        if (m_listCategory == 0)
            m_fullList = 1;
    }
    qelValue list = listControl();
    if (qelControlOf(list)) {
        qelPerform(list, "setList", m_itemList);
        if (s_selectedIndex != -1)
            qelPerform(list, "setSelection", qelMakeInt(s_selectedIndex));
    }

    draw();
    qelSetCursor(qelArrowCursor());
}

// Beside the last parent's item (cascadePlacement). Without the dialog's picture there is no size
// to place.
void ListasDlg::placeBesideParent(const qelValue& background)
{
    qelListObject* chain = generalList(m_parentsList);
    if (!chain || chain->count == 0 || !isImage(background))
        return;
    std::optional<CascadePlace> place = cascadePlacement(get(chain->elementAt(chain->count - 1), "SubItemRect"),
        qelWidth(background), qelHeight(background), qelMediaWidth(), qelMediaHeight());
    if (!place)
        return;
    setInt("Origin X", place->x);
    setInt("Origin Y", place->y);
}

// The list box is narrowed to end three pixels inside the dialog's picture. Without a picture
// there is nothing to measure and the box keeps its size.
void ListasDlg::fitList(const qelValue& background)
{
    qelControlObject* list = qelControlOf(listControl());
    if (!list || !isImage(background))
        return;
    qelValue h = list->getProperty("Hot Spot");
    if (!isRect(h))
        return;
    int32_t limit = qelWidth(background);
    if (qelLeft(h) + qelWidth(h) > limit)
        list->setProperty("Hot Spot", qelRectValue(qelLeft(h), qelTop(h), limit - qelLeft(h) - 3, qelHeight(h)));
}

qelValue ListasDlg::loadList(int32_t kind, int32_t category)
{
    switch (kind) {
    case 0:
        return loadIDCatList(category, 1);
    case 1:
    case 2:
        return loadIDMidList(category);
    case 3:
        return reviewCategoryList(category, 1, m_use98 != 0);
    case 4:
        return loadATCatList(category, 1);
    default:
        return qelNil;
    }
}

void ListasDlg::handleControl(const qelValue& control)
{
    qelValue self = qelFormValue(this);
    qelControlObject* object = qelControlOf(control);
    qelValue name = object ? qelResolve(object->getProperty("Name")) : qelNil;
    if (name == listName) {
        qelValue s = qelPerformAction(control, "getSelection");
        if (s.isNil() || qelIntValue(s) == -1)
            return;
        s_selectedIndex = qelIntValue(s);
        m_chosenItem = qelGet(m_itemList, s_selectedIndex);
        m_chosenText = qelPerformAction(control, "getSelectionStr");
        endDialog();
        return;
    }
    if (name == "Brasil") {
        showRegion(1);
        return;
    }
    if (name == "Mundo") {
        showRegion(2);
        return;
    }
    qelMediaDialogObject::handleControl(control);
}

// The review's articles of the region; the button of the region shown is disabled.
void ListasDlg::showRegion(int32_t region)
{
    m_itemList = reviewCategoryList(m_listCategory, region, m_use98 != 0);
    if (!qelListObjectOf(m_itemList))
        m_itemList = qelMakeList(4, 100, QEL_GENERAL_LIST);
    qelValue list = listControl();
    if (qelControlOf(list)) {
        qelPerform(list, "setList", m_itemList);
        qelPerformAction(list, "Draw");
    }
    const char* shown = region == 1 ? "Brasil" : "Mundo";
    const char* other = region == 1 ? "Mundo" : "Brasil";
    for (const char* button : { shown, other }) {
        qelValue control = findControl("Name", qelValue(button));
        if (qelControlObject* object = qelControlOf(control)) {
            object->setProperty("Disabled", button == shown ? qelTrue : qelFalse);
            qelPerformAction(control, "Draw");
        }
    }
}

int32_t ListasDlg::hitTest(int32_t x, int32_t y)
{
    return cascadeHitTest(m_frameRect, m_parentsList, x, y);
}

void ListasDlg::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    int32_t t = hitTest(x, y);
    if (t == 3) {
        m_menuResult = qelNil;
    } else if (m_hasParents && t == 1) {
        s_selectedIndex = -1;
        m_menuResult = stayOpen;
        endDialog();
    } else if (m_hasParents && t == 2) {
        // A press on the item that opened the dialog is ignored.
        return;
    } else if (t == 0) {
        s_selectedIndex = -1;
        endDialog();
    }
    qelMediaDialogObject::mouseDown(x, y, modifiers, clicks);
}

void ListasDlg::mouseMove(int32_t x, int32_t y, int32_t)
{
    if (!m_hasParents || (isRect(m_frameRect) && qelContainsPoint(m_frameRect, x, y)))
        return;
    if (hitTest(x, y) == 1) {
        m_menuResult = stayOpen;
        endDialog();
    }
}

void ListasDlg::showAddedImage(const qelValue& pictures)
{
    m_addedImages.show(pictures);
}

void ListasDlg::close()
{
    m_addedImages.restore();
    qelMediaDialogObject::close();
}

qelValue ListasDlg::result()
{
    if (m_menuResult == stayOpen)
        return m_menuResult;
    if (m_chosenItem.isNil())
        return qelNil;
    qelValue table = qelTable(3, 100, 75);
    qelPut(table, "Text", m_chosenText);
    if (m_fullList) {
        qelPut(table, "FullList", qelTrue);
        qelPut(table, "Index", qelMakeInt(qelIntValue(m_chosenItem)));
    } else {
        qelPut(table, "Index", qelMakeInt(s_selectedIndex));
    }
    return table;
}
