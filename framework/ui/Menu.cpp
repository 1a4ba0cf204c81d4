#include "framework/ui/Menu.h"

#include "framework/display/ColourValue.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ListScrolling.h"

namespace {

constexpr int32_t boxGrey = 0x808080;
constexpr int32_t frameLight = 0xFFFFFF;
constexpr int32_t frameGrey = 0xC0C0C0;
constexpr int32_t frameShadow = 0x808080;
constexpr int32_t darkColour = 1;
// The mouse events the menu's loop takes, the key press that ends it, and the quit that cancels
// it (posted again for the main loop); every other event stays queued for the form (a media
// notice, a focus change).
constexpr int32_t mouseEvents = QEL_MOUSE_MOVE_EVENT | QEL_MOUSE_DOWN_EVENT | QEL_DRAG_EVENT | QEL_MOUSE_UP_EVENT;
constexpr int32_t menuEvents = mouseEvents | QEL_KEY_DOWN_EVENT | QEL_QUIT_EVENT;
// A press this soon after the menu opens is the press that opened it, unless it chose an item.
constexpr uint32_t clickGuardMs = 100;

qelListObject* listOf(const qelValue& value)
{
    return value.type() == QEL_LIST_TYPE ? qelListObjectOf(value) : nullptr;
}

int32_t countOf(const qelValue& list)
{
    qelListObject* l = listOf(list);
    return l ? l->count : 0;
}

qelValue elementOf(const qelValue& list, int32_t i)
{
    qelListObject* l = listOf(list);
    return l && i >= 0 && i < l->count ? qelResolve(l->elementAt(i)) : qelNil;
}

} // namespace

Menu::Menu(const qelValue& data)
    : qelMediaControlObject(data)
{
}

Menu::~Menu() = default;

Menu::Rect Menu::rowRect(const BoxGeometry& b, int32_t i)
{
    return { b.left, b.top + i * b.itemHeight, b.width, b.itemHeight };
}

Menu::Rect Menu::drawnBox(const BoxGeometry& b)
{
    int32_t h = b.itemHeight;
    return { b.left - h / 2, b.top - 4, b.width + h, b.count * h + 8 };
}

Menu::Rect Menu::mainHitRegion(const BoxGeometry& b)
{
    return { b.left - 4, b.top - 4, b.width + 8, b.count * b.itemHeight + 8 };
}

Menu::Rect Menu::highlightBar(const BoxGeometry& b, int32_t i)
{
    int32_t h = b.itemHeight;
    return { b.left - h / 2 + 3, b.top + i * h, b.width + h - 6, h };
}

int32_t Menu::rowIndexAt(const BoxGeometry& b, int32_t y)
{
    if (b.count <= 0)
        return -1;
    // Item heights are at least 2 (the text's height plus 2), so the division is safe; the guard
    // keeps a hand-made geometry of 0 from dividing.
    return qelClampInt(qelDivide(int64_t(y) - b.top, b.itemHeight), 0, b.count - 1);
}

qelValue Menu::font()
{
    qelValue f = getProperty("Font");
    return f.isNil() ? qelDefaultFont() : f;
}

qelValue Menu::items()
{
    return getProperty("Items");
}

qelValue Menu::cascadeOf(const qelValue& item)
{
    if (!cascading || item.isNil())
        return qelNil;
    qelTableObject* table = qelTableOf(qelResolve(getProperty("CascadingItems")));
    if (!table || table->find(item) < 0)
        return qelNil;
    return qelResolve(table->get(item));
}

qelValue Menu::cascadeList()
{
    return cascadeOf(cascadeOwner);
}

void Menu::init()
{
    mainBox.left = 0;
    mainBox.top = 0;
    cascading = hasProperty("CascadingItems") ? 1 : 0;
    measureItems();
    hasBackground = hasProperty("Background") ? 1 : 0;
    // A colour that is absent or no colour number keeps its default.
    foregroundColor = qelColourValue(getProperty("ForegroundColor"), 1);
    backgroundColor = qelColourValue(getProperty("BackgroundColor"), -1);
    selectedForegroundColor = qelColourValue(getProperty("SelectedForegroundColor"), 0xFFFFFF);
    selectedBackgroundColor = qelColourValue(getProperty("SelectedBackgroundColor"), 1);
}

void Menu::measure(const qelValue& list, BoxGeometry& box)
{
    qelValue f = font();
    int32_t widest = 0;
    int32_t tallest = 0;
    int32_t n = countOf(list);
    for (int32_t i = 0; i < n; ++i) {
        int32_t w = 0, h = 0;
        qelMeasureString(elementOf(list, i), f, &w, &h);
        widest = std::max(widest, w);
        tallest = std::max(tallest, h);
    }
    box.count = n;
    box.itemWidth = widest;
    box.width = widest;
    box.itemHeight = tallest + 2;
    box.height = qelClampInt(int64_t(n) * box.itemHeight, 0, INT32_MAX);
}

void Menu::measureItems()
{
    measure(items(), mainBox);
}

void Menu::measureCascade()
{
    measure(cascadeList(), cascadeBox);
}

void Menu::placeMenu(int32_t x, int32_t y)
{
    BoxGeometry& b = mainBox;
    b.left = x + 10;
    b.top = y + 10;
    if (!getProperty("FixedX").isNil())
        b.left = getInt("FixedX", b.left);
    if (!getProperty("FixedY").isNil())
        b.top = getInt("FixedY", b.top);
    if (b.left + b.width + 8 > qelMediaWidth())
        b.left = qelMediaWidth() - 8 - b.width;
    if (b.left < 4)
        b.left = 4;
    if (b.top + b.height + 8 > qelMediaHeight())
        b.top = qelMediaHeight() - 8 - b.height;
    if (b.top < 4)
        b.top = 4;
}

void Menu::placeCascade()
{
    BoxGeometry& c = cascadeBox;
    const BoxGeometry& m = mainBox;
    c.left = m.left + m.width + c.itemHeight / 2 + 9;
    c.top = m.highlightTop;
    if (!getProperty("CascadeFixedX").isNil())
        c.left = getInt("CascadeFixedX", c.left);
    if (!getProperty("CascadeFixedY").isNil())
        c.top = getInt("CascadeFixedY", c.top);
    // Past the right edge the cascade opens on the main box's left.
    if (c.left + c.width > qelMediaWidth())
        c.left = m.left - c.itemHeight / 2 - c.width - 9;
    // Past the bottom it ends on the main box's last line.
    if (c.top + c.height + 8 > qelMediaHeight())
        c.top = m.top + m.height - c.height;
    if (c.top < 4)
        c.top = 4;
}

void Menu::drawBox(const BoxGeometry& box, const qelValue& list, qelValue& saved, bool framed)
{
    int32_t previousColour = qelSetColor(foregroundColor);
    int32_t previousBack = qelSetBackColor(backgroundColor);
    Rect d = drawnBox(box);
    if (saved.isNil())
        saved = qelGrabWindowImage(d.x, d.y, d.w, d.h);
    qelValue background = hasBackground ? imageProperty("Background") : qelNil;
    if (!background.isNil())
        qelShowImageAt(qelImageFromImage(background, 1, 1, d.w, d.h), d.x, d.y, 0, 0, 0, 0);
    else
        qelRectangle(d.x, d.y, d.w, d.h, boxGrey);
    if (framed)
        drawFrame(d.x, d.y, d.w, d.h);
    qelValue previousFont = qelSetFont(font());
    for (int32_t i = 0; i < box.count; ++i) {
        Rect r = rowRect(box, i);
        qelDrawTextInRect(elementOf(list, i), r.x, r.y, r.w, r.h, 0, 1);
    }
    qelRefreshWindowArea(0, 0, 0, 0);
    qelSetFont(previousFont);
    qelSetColor(previousColour);
    qelSetBackColor(previousBack);
}

void Menu::drawMenu()
{
    drawBox(mainBox, items(), savedMain, false);
}

void Menu::drawCascade()
{
    drawBox(cascadeBox, cascadeList(), savedCascade, true);
}

void Menu::drawFrame(int32_t x, int32_t y, int32_t w, int32_t h)
{
    int32_t previousWidth = qelSetLineWidth(1);
    int32_t previousBack = qelSetBackColor(-1);
    int32_t previousColour = qelSetColor(frameLight);
    qelDrawLine(x, y, x + w - 1, y);
    qelSetColor(darkColour);
    qelDrawLine(x + w - 1, y, x + w - 1, y + h - 1);
    qelDrawLine(x + w - 1, y + h - 1, x, y + h - 1);
    qelSetColor(frameLight);
    qelDrawLine(x, y + h - 1, x, y);
    qelSetColor(frameGrey);
    qelDrawLine(x + 1, y + h - 2, x + 1, y);
    qelDrawLine(x + 1, y + 1, x + w - 1, y + 1);
    qelSetColor(frameShadow);
    qelDrawLine(x + w - 2, y + 1, x + w - 2, y + h - 1);
    qelDrawLine(x + w - 3, y + h - 2, x, y + h - 2);
    qelSetColor(previousColour);
    qelSetBackColor(previousBack);
    qelSetLineWidth(previousWidth);
}

void Menu::restore(qelValue& saved, int32_t x, int32_t y)
{
    if (saved.type() == QEL_IMAGE_TYPE)
        qelShowImageAt(saved, x, y, 0, 0, 0, 0);
    saved = qelNil;
}

void Menu::highlight(BoxGeometry& box, const qelValue& list, int32_t i, qelValue& saved)
{
    restore(saved, box.highlightLeft - box.itemHeight / 2 + 3, box.highlightTop);
    box.highlightLeft = box.left;
    box.highlightTop = box.top + i * box.itemHeight;
    Rect bar = highlightBar(box, i);
    saved = qelGrabWindowImage(bar.x, bar.y, bar.w, bar.h);
    qelRectangle(bar.x, bar.y, bar.w, bar.h, darkColour);
    // One line in the selected colours that tracking made current.
    qelDrawTextInRect(elementOf(list, i), box.highlightLeft, box.highlightTop, box.width, box.itemHeight, 0, 0);
    qelRefreshWindowArea(0, 0, 0, 0);
}

void Menu::openCascade(int32_t i)
{
    cascadeOwner = elementOf(items(), i);
    measureCascade();
    // A cascade without items opens nothing: there would be no row to point at.
    if (cascadeBox.count == 0) {
        cascadeOwner = qelNil;
        return;
    }
    placeCascade();
    ownerRow = rowRect(mainBox, i);
    int32_t previousColour = qelSetColor(foregroundColor);
    drawCascade();
    qelSetColor(previousColour);
    cascadeOpen = 1;
    currentCascadeItem = -1;
}

void Menu::closeCascade()
{
    Rect d = drawnBox(cascadeBox);
    restore(savedCascade, d.x, d.y);
    savedCascadeHighlight = qelNil;
    qelRefreshWindowArea(0, 0, 0, 0);
    currentCascadeItem = -1;
    cascadeOpen = 0;
    cascadeOwner = qelNil;
}

bool Menu::inCascade(int32_t x, int32_t y) const
{
    const BoxGeometry& c = cascadeBox;
    return cascadeOpen && Rect { c.left, c.top, c.width, c.count * c.itemHeight }.contains(x, y);
}

void Menu::hover(int32_t x, int32_t y)
{
    if (cascadeOpen) {
        if (inCascade(x, y)) {
            int32_t j = rowIndexAt(cascadeBox, y);
            if (j != currentCascadeItem) {
                currentCascadeItem = j;
                highlight(cascadeBox, cascadeList(), j, savedCascadeHighlight);
            }
            return;
        }
        if (ownerRow.contains(x, y)) {
            restore(savedCascadeHighlight, cascadeBox.highlightLeft - cascadeBox.itemHeight / 2 + 3,
                cascadeBox.highlightTop);
            qelRefreshWindowArea(0, 0, 0, 0);
            currentCascadeItem = -1;
            return;
        }
        // Leaving the cascade takes its highlight away with its choice.
        restore(savedCascadeHighlight, cascadeBox.highlightLeft - cascadeBox.itemHeight / 2 + 3,
            cascadeBox.highlightTop);
        currentCascadeItem = -1;
    }
    if (mainHitRegion(mainBox).contains(x, y)) {
        int32_t i = rowIndexAt(mainBox, y);
        if (i == currentItem)
            return;
        currentItem = i;
        highlight(mainBox, items(), i, savedHighlight);
        qelValue item = elementOf(items(), i);
        bool opens = !cascadeOf(item).isNil();
        // Another row's cascade never stays open under this row: its indexes belong to its own list.
        if (cascadeOpen && (!opens || !(cascadeOwner == item)))
            closeCascade();
        if (!cascadeOpen && opens)
            openCascade(i);
        qelRefreshWindowArea(0, 0, 0, 0);
        return;
    }
    if (!cascadeOpen) {
        restore(savedHighlight, mainBox.highlightLeft - mainBox.itemHeight / 2 + 3, mainBox.highlightTop);
        qelRefreshWindowArea(0, 0, 0, 0);
        currentItem = -1;
    }
    qelRefreshWindowArea(0, 0, 0, 0);
}

int32_t Menu::track(int32_t x, int32_t y, int32_t, int32_t)
{
    measureItems();
    // Without items there is no box to open and no row to choose.
    if (mainBox.count == 0)
        return 0;
    placeMenu(x, y);
    drawMenu();
    qelFlushEvents(mouseEvents);
    int32_t previousColour = qelSetColor(selectedForegroundColor);
    int32_t previousBack = qelSetBackColor(selectedBackgroundColor);
    qelValue previousFont = qelSetFont(font());
    qelFlushEvents(mouseEvents);
    clickGuard = qelClockNow() + clickGuardMs;
    trackStart();
    bool dragged = false;
    while (true) {
        qelEvent event;
        qelGetEvent(event, menuEvents, -1);
        // A quit (the window closing) or an empty event (no window layer can post anything any
        // more) cancels the menu.
        if (event.type == 0 || event.type == QEL_QUIT_EVENT) {
            if (event.type == QEL_QUIT_EVENT)
                qelPostQuit();
            currentItem = -1;
            break;
        }
        if (event.type == QEL_KEY_DOWN_EVENT) {
            // The key still reaches the form; the highlighted item counts as chosen.
            qelPostEvent(event);
            break;
        }
        qelLocalizeEvent(event);
        if (event.type == QEL_MOUSE_MOVE_EVENT || event.type == QEL_DRAG_EVENT) {
            if (event.type == QEL_DRAG_EVENT)
                dragged = true;
            hover(event.x, event.y);
            continue;
        }
        if (event.type == QEL_MOUSE_UP_EVENT && !dragged)
            continue;
        if (inCascade(event.x, event.y)) {
            if (currentCascadeItem == -1)
                currentItem = -1;
        } else if (!mainHitRegion(mainBox).contains(event.x, event.y)) {
            currentItem = -1;
        }
        if (int32_t(clickGuard - qelClockNow()) > 0 && currentItem == -1)
            continue;
        break;
    }
    trackEnd();
    qelSetFont(previousFont);
    qelSetColor(previousColour);
    qelSetBackColor(previousBack);
    Rect c = drawnBox(cascadeBox);
    if (!savedCascade.isNil())
        restore(savedCascade, c.x, c.y);
    savedCascadeHighlight = qelNil;
    Rect m = drawnBox(mainBox);
    restore(savedMain, m.x, m.y);
    savedHighlight = qelNil;
    qelRefreshWindowArea(0, 0, 0, 0);

    int32_t chosen = 0;
    if (currentItem != -1) {
        qelValue item = elementOf(items(), currentItem);
        if (!cascading) {
            // "Results" shorter than "Items" answers the item's own text.
            qelValue results = getProperty("Results");
            result = currentItem < countOf(results) ? elementOf(results, currentItem) : item;
            chosen = 1;
        } else {
            result = item;
            qelValue sub = cascadeOf(item);
            if (sub.isNil()) {
                chosen = 1;
            } else if (cascadeOpen && currentCascadeItem != -1) {
                result = elementOf(sub, currentCascadeItem);
                chosen = 1;
            }
        }
    }
    currentItem = -1;
    currentCascadeItem = -1;
    cascadeOpen = 0;
    cascadeOwner = qelNil;
    return chosen;
}

qelValue Menu::perform(const qelValue& action, const qelValue& data)
{
    if (action == "GetResult")
        return result;
    return qelMediaControlObject::perform(action, data);
}
