#include "app/shell/DisplayMenu.h"

#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"

namespace {

// A picture named by the menu's property, else by the opening data.
qelValue pictureFor(qelFormObject& menu, const qelValue& data, const char* key)
{
    qelValue name = qelResolve(menu.getProperty(key));
    if (name.isNil()) {
        if (qelTableObject* table = qelTableOf(data))
            name = qelResolve(table->get(key));
    }
    if (name.isNil())
        return qelNil;
    qelValue image = qelLoadImageResource(name);
    return image.type() == QEL_IMAGE_TYPE ? image : qelNil;
}

} // namespace

void DisplayMenu::open(const qelValue& data)
{
    loadResourceTable();
    m_highlightPicture = pictureFor(*this, data, "Highlight");
    m_disabledPicture = pictureFor(*this, data, "Disabled");
    MenuDialog::open(data);
}

qelValue DisplayMenu::itemRect(int32_t index)
{
    qelListObject* list = qelListObjectOf(items);
    if (!list || index < 0 || index >= list->count)
        return qelNil;
    qelListObject* fields = qelListObjectOf(qelResolve(list->elementAt(index)));
    if (!fields || fields->kind() != QEL_GENERAL_LIST || fields->count < 3)
        return qelNil;
    // The framework's own third element, a left indent, keeps the item a text item.
    qelValue rect = qelResolve(fields->elementAt(2));
    return rect.type() == QEL_REGION_TYPE ? rect : qelNil;
}

void DisplayMenu::drawCut(const qelValue& picture, const qelValue& rect)
{
    if (picture.type() != QEL_IMAGE_TYPE)
        return;
    int32_t left = qelLeft(rect);
    int32_t top = qelTop(rect);
    qelValue piece = qelImageFromImage(picture, left, top, qelWidth(rect), qelHeight(rect));
    if (piece.type() == QEL_IMAGE_TYPE)
        qelShowImageAt(piece, left, top, 0, 0, 0, 0);
}

void DisplayMenu::drawItem(int32_t index)
{
    qelValue rect = itemRect(index);
    if (rect.isNil()) {
        MenuDialog::drawItem(index);
        return;
    }
    qelListObject* fields = qelListObjectOf(qelResolve(qelListObjectOf(items)->elementAt(index)));
    qelValue text = qelResolve(fields->elementAt(0));
    int32_t left = qelLeft(rect);
    int32_t top = qelTop(rect);
    int32_t width = qelWidth(rect);
    int32_t height = qelHeight(rect);
    qelTableObject* disabled = qelTableOf(disabledItems);
    if (disabled && !text.isNil() && disabled->find(text) >= 0 && qelIsTrue(disabled->get(text))) {
        drawCut(m_disabledPicture, rect);
    } else if (index == selectedIndex) {
        // What the highlight covers comes back from where it was taken.
        highlightBacking = qelGrabWindowImage(left, top, width, height);
        highlightLeft = left;
        highlightTop = top;
        highlightRect = qelRectValue(left + originX, top + originY, width, height);
        drawCut(m_highlightPicture, rect);
    } else {
        drawCut(background, rect);
    }
}

int32_t DisplayMenu::itemAtY(int32_t x, int32_t y)
{
    int32_t localX = x - originX;
    int32_t localY = y - originY;
    if (localX < 0 || localY < 0 || itemCount <= 0)
        return -1;
    for (int32_t i = itemCount - 1; i >= 0; --i) {
        qelValue rect = itemRect(i);
        if (rect.isNil())
            return MenuDialog::itemAtY(x, y);
        if (qelContainsPoint(rect, localX, localY))
            return i;
    }
    return -1;
}
