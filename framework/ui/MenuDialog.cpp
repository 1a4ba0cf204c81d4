#include "framework/ui/MenuDialog.h"

#include "framework/display/ColourValue.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Region.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/MediaServices.h"

int32_t MenuDialog::cascadeTicks = 0;

namespace {

const char* const closeAll = "__CLOSE__";
const char* const stayOpen = "__STAYOPEN__";

qelListObject* generalList(const qelValue& value)
{
    qelListObject* list = qelListObjectOf(value);
    return list && list->kind() == QEL_GENERAL_LIST ? list : nullptr;
}

bool tableHas(const qelValue& table, const char* key)
{
    qelTableObject* t = qelTableOf(table);
    return t && t->find(key) >= 0;
}

qelValue tableGet(const qelValue& table, const qelValue& key)
{
    qelTableObject* t = qelTableOf(table);
    return t ? t->get(key) : qelNil;
}

bool contains(const qelValue& region, int32_t x, int32_t y)
{
    return region.type() == QEL_REGION_TYPE && qelContainsPoint(region, x, y);
}

} // namespace

MenuDialog::MenuDialog(const qelValue& data)
    : qelMediaDialogObject(data)
{
}

MenuDialog::~MenuDialog() = default;

qelNamedObject* MenuDialog::newInstance(const qelValue& data)
{
    return new MenuDialog(data);
}

qelValue MenuDialog::itemAt(int32_t index)
{
    qelListObject* list = generalList(items);
    if (!list || index < 0 || index >= list->count)
        return qelNil;
    return qelResolve(list->elementAt(index));
}

qelValue MenuDialog::itemText(int32_t index)
{
    qelValue item = itemAt(index);
    qelListObject* fields = generalList(item);
    return fields && fields->count > 0 ? qelResolve(fields->elementAt(0)) : qelNil;
}

bool MenuDialog::isSeparator(int32_t index)
{
    return itemText(index) == "---";
}

bool MenuDialog::isDisabled(const qelValue& text)
{
    qelTableObject* table = qelTableOf(disabledItems);
    return table && !text.isNil() && table->find(text) >= 0 && qelIsTrue(table->get(text));
}

bool MenuDialog::hasCascade(const qelValue& text)
{
    qelTableObject* table = qelTableOf(cascadeTable);
    return table && !text.isNil() && table->find(text) >= 0;
}

// The look: the background picture, the colours, the text margins, the cascade table and the
// pictures shown while the menu is open; the opening data's own over the properties'.
void MenuDialog::readStyle(const qelValue& data)
{
    qelValue backgroundValue;
    if (tableHas(data, "Background")) {
        hasBackground = 1;
        backgroundValue = tableGet(data, "Background");
    } else {
        hasBackground = hasProperty("Background") ? 1 : 0;
        backgroundValue = getProperty("Background");
    }
    background = backgroundValue.isNil() ? qelNil : qelLoadImageResource(backgroundValue);

    // A colour that is absent or no colour number keeps its default.
    foregroundColor = qelColourValue(getProperty("ForegroundColor"), 1);
    disabledColor = qelColourValue(getProperty("DisabledColor"), 0x808080);
    backgroundColor = qelColourValue(getProperty("BackgroundColor"), -1);
    selectedForegroundColor = qelColourValue(getProperty("SelectedForegroundColor"), 0xFFFFFF);
    selectedBackgroundColor = qelColourValue(getProperty("SelectedBackgroundColor"), 1);
    textX = getInt("TextX", 0);
    textY = getInt("TextY", 0);

    if (hasProperty("CascadeTable"))
        cascadeTable = qelResolve(getProperty("CascadeTable"));
    if (hasProperty("AddedImage"))
        addImage(getProperty("AddedImage"));
    if (qelTableOf(data)) {
        if (tableHas(data, "AddedImage"))
            addImage(tableGet(data, "AddedImage"));
        if (tableHas(data, "CascadeTable"))
            cascadeTable = qelResolve(tableGet(data, "CascadeTable"));
    }
}

// Where the menu goes and how large it is: a sub-menu placed beside its parent's item, or the
// origin, offsets and size the opening data give; the background's size by default. Also the
// chain of parent menus and the items the data bring.
void MenuDialog::place(const qelValue& data)
{
    bool backgroundImage = background.type() == QEL_IMAGE_TYPE;
    if (qelTableOf(data)) {
        bool positioned = false;
        if (tableHas(data, "UseDefaultPosition"))
            useDefaultPosition = qelIsTrue(tableGet(data, "UseDefaultPosition")) ? 1 : 0;
        if (tableHas(data, "ParentsList")) {
            parents = tableGet(data, "ParentsList");
            isSubMenu = 1;
            qelListObject* chain = generalList(parents);
            if (useDefaultPosition && chain && chain->count > 0) {
                positioned = true;
                qelValue r = tableGet(chain->elementAt(chain->count - 1), "SubItemRect");
                if (hasBackground && backgroundImage && r.type() == QEL_REGION_TYPE) {
                    int32_t backgroundWidth = qelWidth(background);
                    int32_t backgroundHeight = qelHeight(background);
                    int32_t x = qelLeft(r) + qelWidth(r) + 1;
                    int32_t y = qelTop(r) - 4;
                    // Beside the item on its right, or on its left when the menu would pass the
                    // media area's right edge; below, or bottom-aligned with the item.
                    setInt("Origin X", x + backgroundWidth < qelMediaWidth() ? x : qelLeft(r) - backgroundWidth - 1);
                    setInt("Origin Y",
                        y + backgroundHeight < qelMediaHeight() ? y : qelTop(r) - backgroundHeight + qelHeight(r) - 1);
                }
            }
        } else {
            parents = qelMakeList(4, 100, QEL_GENERAL_LIST);
            isSubMenu = 0;
        }
        if (tableHas(data, "Items"))
            setProperty("Items", tableGet(data, "Items"));
        if (!positioned) {
            if (tableHas(data, "Origin X"))
                setProperty("Origin X", tableGet(data, "Origin X"));
            if (tableHas(data, "Origin Y"))
                setProperty("Origin Y", tableGet(data, "Origin Y"));
            if (tableHas(data, "Offset X")) {
                offsetX = qelIntValue(tableGet(data, "Offset X"));
                setInt("Origin X", qelIntValue(qelLoadResource("Origin X")) + offsetX);
            }
            if (tableHas(data, "Offset Y")) {
                offsetY = qelIntValue(tableGet(data, "Offset Y"));
                setInt("Origin Y", qelIntValue(qelLoadResource("Origin Y")) + offsetY);
            }
        }
        // Without a background the size comes from the data, or from the items when measured.
        if (tableHas(data, "Width"))
            setProperty("Width", tableGet(data, "Width"));
        else if (backgroundImage)
            setInt("Width", qelWidth(background));
        if (tableHas(data, "Height"))
            setProperty("Height", tableGet(data, "Height"));
        else if (backgroundImage)
            setInt("Height", qelHeight(background));
    } else if (generalList(data)) {
        parents = data;
        isSubMenu = 1;
    } else {
        parents = qelMakeList(4, 100, QEL_GENERAL_LIST);
        isSubMenu = 0;
    }
}

// The items, the font they are drawn in (made current with the menu's colours), their
// measures, and the table of this menu's disabled items (made and kept when missing).
void MenuDialog::measure()
{
    items = qelResolve(getProperty("Items"));
    qelListObject* list = generalList(items);
    itemCount = list ? list->count : 0;

    font = qelResolve(getProperty("Font"));
    if (font.isNil())
        font = qelDefaultFont();
    previousFont = qelSetFont(font);
    previousColor = qelSetColor(foregroundColor);
    previousBackColor = qelSetBackColor(backgroundColor);

    measureItems();
    selectedIndex = -1;

    qelValue name = getProperty("Name");
    qelValue disabled = qelLoadResource("DisabledMenuItemsTable");
    disabledItems = tableGet(disabled, name);
    if (!qelTableOf(disabledItems)) {
        disabledItems = qelTable(4, 100, 75);
        if (qelTableObject* table = qelTableOf(disabled); table && !name.isNil())
            table->put(name, disabledItems);
    }
}

void MenuDialog::open(const qelValue& data)
{
    loadResourceTable();
    menuResult = qelNil;
    highlightBacking = qelNil;
    offsetX = 0;
    offsetY = 0;
    useDefaultPosition = 0;
    addedImageShown = 0;
    computedWidth = 0;
    cascadeTable = qelNil;

    readStyle(data);
    place(data);
    measure();

    qelMediaDialogObject::open(data);

    menuRect = qelRectValue(originX, originY, width, height);
    setProperty("MenuRect", menuRect);
    closing = 0;
    closingCountdown = 2;
    pendingCascade = qelNil;
    qelServices().setCursor(qelLoadResource("HandCursor"));
}

void MenuDialog::measureItems()
{
    itemWidth = 0;
    int32_t tallest = 0;
    for (int32_t i = 0; i < itemCount; ++i) {
        qelValue text = itemText(i);
        int32_t w = 0;
        int32_t h = 0;
        if (text.isString())
            qelMeasureString(text, font, &w, &h);
        if (hasCascade(text))
            w += 30;
        itemWidth = std::max(itemWidth, w);
        tallest = std::max(tallest, h);
    }
    itemHeight = tallest + getInt("Spacing", 0);
    if (!hasProperty("Width")) {
        // The dialog takes its size from "Width": a menu given none is as wide as its items and
        // the cascade arrow drawn to their right (which a background picture otherwise holds).
        bool arrows = false;
        for (int32_t i = 0; i < itemCount && !arrows; ++i)
            arrows = hasCascade(itemText(i));
        computedWidth = 1;
        setInt("Width", textX + itemWidth + (arrows ? itemHeight / 4 + 1 : 0));
    }
    menuWidth = getInt("Width", textX + itemWidth);
    if (hasProperty("Height")) {
        menuHeight = getInt("Height", 0);
    } else {
        menuHeight = itemHeight * itemCount + textY + 1;
        setInt("Height", menuHeight);
        setProperty("BottomClipped", qelTrue);
    }
}

void MenuDialog::draw()
{
    qelSetColor(foregroundColor);
    qelSetBackColor(backgroundColor);
    int32_t w = getInt("Width", 0);
    int32_t h = menuHeight;
    if (hasBackground) {
        if (qelWindowObject* port = qelMainPort(); port && background.type() == QEL_IMAGE_TYPE)
            port->drawImage(background, 0, 0, 0, 0, w, h);
        if (qelIsTrue(getProperty("BottomClipped")))
            qelDrawLine(0, h - 1, w, h - 1);
    } else if (backgroundColor != -1) {
        // -1 is the transparent text background: there is no colour to fill with.
        qelRectangle(0, 0, w, h, backgroundColor);
    }
    for (int32_t i = 0; i < itemCount; ++i)
        drawItem(i);
    qelRefreshWindowArea(0, 0, 0, 0);
}

void MenuDialog::drawItem(int32_t i)
{
    qelValue item = itemAt(i);
    qelListObject* fields = generalList(item);
    qelValue text = itemText(i);
    itemX = textX + (fields && fields->count > 2 ? qelIntValue(qelResolve(fields->elementAt(2))) : 0);
    itemTop = i * itemHeight + textY;

    if (isDisabled(text)) {
        qelSetColor(disabledColor);
        qelSetBackColor(backgroundColor);
    } else if (i == selectedIndex && !isSeparator(i)) {
        highlightBacking = qelGrabWindowImage(0, itemTop, menuWidth, itemHeight);
        highlightLeft = 0;
        highlightTop = itemTop;
        highlightRect = qelRectValue(originX, originY + itemTop, menuWidth, itemHeight);
        qelRectangle(0, itemTop, menuWidth - 1, itemHeight, selectedBackgroundColor);
        qelSetColor(selectedForegroundColor);
        qelSetBackColor(selectedBackgroundColor);
    } else {
        qelSetColor(foregroundColor);
        qelSetBackColor(backgroundColor);
    }

    if (isSeparator(i)) {
        qelDrawLine(0, itemTop + itemHeight / 2, menuWidth, itemTop + itemHeight / 2);
    } else if (text.isString()) {
        qelDrawTextInRect(text, itemX, itemTop, 0, 0, 0, 1);
    }

    if (hasCascade(text)) {
        // A solid triangle pointing right, drawn as shrinking vertical lines.
        int32_t q = itemHeight / 4;
        int32_t n = 2 * q + 1;
        int32_t x = itemWidth + textX;
        int32_t y = itemTop + q;
        while (n > 0) {
            qelDrawLine(x, y, x, y + n);
            x += 1;
            y += 1;
            n -= 2;
        }
    }
}

void MenuDialog::removeHighlight()
{
    if (highlightBacking.isNil())
        return;
    qelValue backing = highlightBacking;
    highlightBacking = qelNil;
    qelShowImageAt(backing, highlightLeft, highlightTop, 0, 0, 0, 0);
}

int32_t MenuDialog::itemAtY(int32_t, int32_t y)
{
    int32_t d = y - originY - textY;
    // Without items (or with items of no height) nothing can be under the pointer.
    if (d < 0 || itemHeight <= 0)
        return -1;
    int32_t i = d / itemHeight;
    return i > itemCount - 1 ? -1 : i;
}

int32_t MenuDialog::parentTest(int32_t x, int32_t y)
{
    qelListObject* chain = generalList(parents);
    if (!chain)
        return 0;
    for (int32_t i = chain->count - 1; i >= 0; --i) {
        qelValue parent = chain->elementAt(i);
        if (contains(tableGet(parent, "SubItemRect"), x, y))
            return 2;
        if (contains(tableGet(parent, "MenuRect"), x, y))
            return 1;
    }
    return 0;
}

void MenuDialog::mouseMove(int32_t x, int32_t y, int32_t)
{
    pointerX = x;
    pointerY = y;
    int32_t old = selectedIndex;
    selectedIndex = itemAtY(x, y);
    qelValue text = selectedIndex >= 0 ? itemText(selectedIndex) : qelNil;
    if (!(text == pendingCascade))
        pendingCascade = qelNil;

    if (!contains(menuRect, x, y)) {
        removeHighlight();
        selectedIndex = -1;
        if (isSubMenu && parentTest(x, y) == 1) {
            menuResult = stayOpen;
            closing = 1;
        }
        return;
    }
    if (selectedIndex >= 0 && isSeparator(selectedIndex)) {
        removeHighlight();
        selectedIndex = -1;
        return;
    }
    if (selectedIndex == -1)
        return;
    closing = 0;
    if (selectedIndex != old) {
        removeHighlight();
        drawItem(selectedIndex);
        qelRefreshWindowArea(0, 0, 0, 0);
        if (hasCascade(text))
            pendingCascade = text;
    }
}

void MenuDialog::mouseDrag(int32_t x, int32_t y, int32_t modifiers)
{
    mouseMove(x, y, modifiers);
}

void MenuDialog::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t)
{
    qelValue self = qelFormValue(this);
    bool inside = contains(menuRect, x, y);
    if (inside)
        mouseMove(x, y, modifiers);
    qelValue text = selectedIndex >= 0 ? itemText(selectedIndex) : qelNil;
    int32_t p = parentTest(x, y);
    if (isDisabled(text) || (selectedIndex >= 0 && isSeparator(selectedIndex)))
        return;
    if (isSubMenu) {
        if (p == 1) {
            menuResult = stayOpen;
            endDialog();
            return;
        }
        if (p == 2)
            return;
    }
    if (hasCascade(text))
        openCascade();
    if (inside)
        return;
    menuResult = isSubMenu ? qelValue(closeAll) : qelNil;
    endDialog();
}

void MenuDialog::mouseUp(int32_t x, int32_t y, int32_t modifiers)
{
    if (!contains(menuRect, x, y))
        return;
    mouseMove(x, y, modifiers);
    if (selectedIndex < 0)
        return;
    qelValue text = itemText(selectedIndex);
    if (isDisabled(text))
        return;
    qelListObject* fields = generalList(itemAt(selectedIndex));
    qelValue chosen = qelTable(2, 100, 75);
    qelTableOf(chosen)->put("Text", text);
    qelTableOf(chosen)->put(
        "Index", fields && fields->count > 1 ? qelIntValue(qelResolve(fields->elementAt(1))) : selectedIndex);
    menuResult = chosen;
    endDialog();
}

void MenuDialog::tick()
{
    qelValue self = qelFormValue(this);
    if (!pendingCascade.isNil()) {
        if (cascadeTicks > 1) {
            cascadeTicks = 0;
            pendingCascade = qelNil;
            openCascade();
        } else {
            ++cascadeTicks;
        }
    }
    if (!closing) {
        closingCountdown = 2;
        return;
    }
    if (closingCountdown == 0) {
        endDialog();
        // The parent menu sees the pointer where it now is.
        qelEvent move;
        move.type = QEL_MOUSE_MOVE_EVENT;
        move.time = int32_t(qelClockNow());
        move.x = pointerX;
        move.y = pointerY;
        qelPostEvent(move);
        return;
    }
    --closingCountdown;
}

void MenuDialog::openCascade()
{
    if (selectedIndex < 0)
        return;
    qelValue text = itemText(selectedIndex);
    if (isDisabled(text))
        return;
    // A cascade entry must be a table naming the sub-menu's dialog; anything else opens nothing.
    qelValue sub = qelResolve(tableGet(cascadeTable, text));
    qelTableObject* subTable = qelTableOf(sub);
    if (!subTable)
        return;

    qelValue chain = qelMakeList(4, 100, QEL_GENERAL_LIST);
    if (qelListObject* own = generalList(parents)) {
        for (int32_t i = 0; i < own->count; ++i)
            qelListObjectOf(chain)->append(own->elementAt(i));
    }
    setProperty("SubItemRect", highlightRect);
    // The parent's rectangles as they are now, in a table of its own (the sub-menu keeps it).
    qelValue snapshot = qelTable(4, 100, 75);
    if (qelTableObject* own = qelTableOf(properties)) {
        for (int32_t slot = own->firstIndex(); slot >= 0; slot = own->nextIndex(slot))
            qelTableOf(snapshot)->put(own->keyAt(slot), own->valueAt(slot));
    }
    qelListObjectOf(chain)->append(snapshot);

    subTable->put("ParentsList", chain);
    if (offsetY)
        subTable->put("Offset Y", offsetY);
    if (offsetX)
        subTable->put("Offset X", offsetX);
    if (useDefaultPosition)
        subTable->put("UseDefaultPosition", qelTrue);

    qelValue answer = qelRunDialog(subTable->get("DlgName"), sub);
    // The chain holds this menu's snapshot, which holds its cascade table, which holds the
    // sub-menu's table: left in place, the cycle would never be freed.
    subTable->remove("ParentsList");
    if (answer == closeAll) {
        menuResult = isSubMenu ? qelValue(closeAll) : qelNil;
        endDialog();
    } else if (answer == stayOpen) {
        menuResult = qelNil;
        resume();
    } else {
        menuResult = answer;
        endDialog();
    }
}

void MenuDialog::addImage(const qelValue& value)
{
    if (qelTableObject* table = qelTableOf(value)) {
        int32_t x = qelIntValue(table->get("Origin X"));
        int32_t y = qelIntValue(table->get("Origin Y"));
        qelValue image = qelLoadImageResource(qelResolve(table->get("Image")));
        if (image.type() != QEL_IMAGE_TYPE)
            return;
        qelRefreshWindowArea(0, 0, 0, 0);
        addedImageX = x;
        addedImageY = y;
        addedImageBacking = qelGrabWindowImage(x, y, qelWidth(image), qelHeight(image));
        qelShowImageAt(image, x, y, 0, 0, 0, 0);
        addedImageShown = 1;
        return;
    }
    qelListObject* list = generalList(value);
    if (!list)
        return;
    addedImageBacking = qelCopy(value);
    qelListObject* backing = generalList(addedImageBacking);
    qelRefreshWindowArea(0, 0, 0, 0);
    for (int32_t i = 0; i < list->count; ++i) {
        qelListObject* entry = generalList(qelResolve(list->elementAt(i)));
        if (!entry || entry->count < 3)
            continue;
        qelValue image = qelLoadImageResource(qelResolve(entry->elementAt(0)));
        if (image.type() != QEL_IMAGE_TYPE)
            continue;
        int32_t x = qelIntValue(entry->elementAt(1));
        int32_t y = qelIntValue(entry->elementAt(2));
        if (qelListObject* kept = generalList(backing->elementAt(i)))
            kept->putAt(0, qelGrabWindowImage(x, y, qelWidth(image), qelHeight(image)));
        qelShowImageAt(image, x, y, 0, 0, 0, 0);
    }
    addedImageShown = 1;
}

void MenuDialog::close()
{
    qelSetFont(previousFont);
    qelSetColor(previousColor);
    qelSetBackColor(previousBackColor);
    qelValue closingSound = qelResolve(getProperty("Sound"));
    if (closingSound.isString())
        closingSound = qelScreenSound(closingSound);
    if (!isSubMenu)
        qelServices().setCursor(qelNil);
    if (qelIsTrue(getProperty("BottomClipped")))
        removeProperty("Height");
    if (computedWidth) {
        removeProperty("Width");
        computedWidth = 0;
    }

    qelMediaDialogObject::close();

    if (closingSound.type() == QEL_SOUND_TYPE && qelTableOf(menuResult) && qelGetBoolSetting("SoundEffects", 1))
        playSound(closingSound, 0);

    if (addedImageShown) {
        addedImageShown = 0;
        qelValue backing = addedImageBacking;
        addedImageBacking = qelNil;
        if (qelListObject* list = generalList(backing)) {
            for (int32_t i = list->count - 1; i >= 0; --i) {
                qelListObject* entry = generalList(list->elementAt(i));
                if (entry && entry->count >= 3 && entry->elementAt(0).type() == QEL_IMAGE_TYPE)
                    qelShowImageAt(entry->elementAt(0), qelIntValue(entry->elementAt(1)),
                        qelIntValue(entry->elementAt(2)), 0, 0, 0, 0);
            }
        } else {
            qelShowImageAt(backing, addedImageX, addedImageY, 0, 0, 0, 0);
        }
    }
}
