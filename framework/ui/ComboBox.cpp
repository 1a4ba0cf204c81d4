#include "framework/ui/ComboBox.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Geometry.h"
#include "framework/display/Image.h"
#include "framework/display/Region.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/ListScrolling.h"
#include "framework/ui/UiRefresh.h"

#include <algorithm>

ComboBox::ComboBox(const qelValue& data)
    : qelMediaControlObject(data)
{
}

ComboBox::~ComboBox() = default;

int32_t ComboBox::getInt(const qelValue& key, int32_t defaultValue)
{
    qelValue value = getProperty(key);
    switch (value.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
    case QEL_FLOAT_TYPE:
    case QEL_STRING_TYPE:
        return qelIntValue(value);
    default:
        return defaultValue;
    }
}

int32_t ComboBox::itemCount() const
{
    return list.type() == QEL_LIST_TYPE ? qelCount(list) : 0;
}

int32_t ComboBox::visibleRows() const
{
    return qelVisibleRows(listHeight, rowHeight);
}

int32_t ComboBox::buttonX()
{
    return getInt("DropButtonX", fieldLeft + fieldWidth + buttonSpace);
}

int32_t ComboBox::buttonY()
{
    return getInt("DropButtonY", fieldTop);
}

void ComboBox::setUp()
{
    if (list.isNil()) {
        list = getProperty("List");
        if (list.type() != QEL_LIST_TYPE || !list.object())
            list = qelMakeList(4, 100, QEL_GENERAL_LIST);
    }
    selectionImage = imageProperty("SelectionImage");
    buttonUpImage = imageProperty("DropButtonUpImage");
    qelValue upMask = imageProperty("DropButtonUpMask");
    if (!buttonUpImage.isNil() && !upMask.isNil())
        qelSetImageMask(buttonUpImage, upMask);
    buttonDownImage = imageProperty("DropButtonDownImage");
    qelValue downMask = imageProperty("DropButtonDownMask");
    if (!buttonDownImage.isNil() && !downMask.isNil())
        qelSetImageMask(buttonDownImage, downMask);
    buttonWidth = qelWidthOf(buttonUpImage);
    backgroundImage = imageProperty("Background Image");
    thumbImage = imageProperty("ThumbImage");
    thumbMask = imageProperty("ThumbMask");
    if (!thumbImage.isNil() && !thumbMask.isNil())
        qelSetImageMask(thumbImage, thumbMask);
    thumbHighlight = imageProperty("ThumbHighlight");
    scrollBarWidth = qelWidthOf(thumbImage);
    font = getProperty("Font");

    int32_t textHeight = 0;
    rowHeight = qelListRowHeight(*this, font, &textHeight);
    int32_t maxItems = std::max(0, getInt("MaxItems", itemCount()));
    int32_t dropWidth = getInt("DropButtonWidth", qelWidthOf(buttonDownImage));
    buttonSpace = getInt("DropButtonSpace", 2);

    fieldRegion = regionProperty("EditHotSpot");
    int32_t regionWidth = fieldRegion.isNil() ? 0 : qelWidth(fieldRegion);
    fieldLeft = fieldRegion.isNil() ? 0 : qelLeft(fieldRegion);
    fieldTop = fieldRegion.isNil() ? 0 : qelTop(fieldRegion);
    fieldHeight = fieldRegion.isNil() ? 0 : qelHeight(fieldRegion);
    fieldWidth = regionWidth - dropWidth - buttonSpace;
    listLeft = fieldLeft;
    listTop = fieldTop + fieldHeight + 1;
    listWidth = regionWidth;
    listHeight = qelClampInt((int64_t(textHeight) + 1) * maxItems + 2, 0, INT32_MAX);
    listRegion = qelRectValue(listLeft, listTop, listWidth, listHeight);
    openRegion = qelRectValue(fieldLeft, fieldTop, regionWidth, listTop + listHeight - fieldTop);
    if (!fieldRegion.isNil())
        setProperty("Hot Spot", fieldRegion);
    if (getBool("SaveBackground", 0) && savedFieldBackground.isNil())
        savedFieldBackground = qelGrabWindowImage(fieldLeft, fieldTop, fieldWidth, fieldHeight);

    backgroundColor = getInt("BackgroundColor", 0xFFFFFF);
    textColor = getInt("TextColor", 1);
    selectionColor = getInt("SelectionColor", 0xFFFF00);
    textSelectionColor = getInt("TextSelectionColor", 1);
    borderColor = getInt("BorderColor", 1);
    drawBorder = getBool("DrawBorder", 0);
    drawActive = getBool("DrawActive", 1);

    int32_t barLeft = listLeft + listWidth - scrollBarWidth;
    upArrowRegion = regionProperty("UpArrowRegion");
    int32_t upHeight = getInt("UpArrowH", 0);
    if (upArrowRegion.isNil() && scrollBarWidth > 0 && upHeight > 0)
        upArrowRegion = qelRectValue(barLeft, listTop, scrollBarWidth, upHeight);
    downArrowRegion = regionProperty("DownArrowRegion");
    int32_t downHeight = getInt("DownArrowH", 0);
    if (downArrowRegion.isNil() && scrollBarWidth > 0 && downHeight > 0)
        downArrowRegion = qelRectValue(barLeft, listTop + listHeight - downHeight, scrollBarWidth, downHeight);
    scrollBarRegion = qelScrollBarArea(*this, barLeft, listTop, scrollBarWidth, listHeight);
    scrollBarImage = imageProperty("ScrollbarImage");
    if (scrollBarImage.isNil())
        scrollBarImage = qelScrollBarStrip(*this, scrollBarRegion);

    // The screen under the drop button, taken once: later set-ups would take the button itself.
    if (getProperty("DropButtonBackground").type() != QEL_IMAGE_TYPE) {
        int32_t w = buttonWidth > 0 ? buttonWidth : dropWidth;
        int32_t h = buttonUpImage.isNil() ? fieldHeight : qelHeight(buttonUpImage);
        qelValue under = qelGrabWindowImage(buttonX(), buttonY(), w, h);
        if (!under.isNil())
            setProperty("DropButtonBackground", under);
    }
    drawFlag = 1;
    initialized = 1;
}

void ComboBox::setSelection(int32_t index, int32_t refresh)
{
    int32_t count = itemCount();
    if (count == 0 || index < 0 || index >= count || index == selection)
        return;
    selection = index;
    if (!initialized)
        return;
    draw();
    if (refresh)
        qelUiUpdateWindow();
}

void ComboBox::drawDropButton(int32_t down)
{
    int32_t x = buttonX();
    int32_t y = buttonY();
    qelValue under = getProperty("DropButtonBackground");
    if (under.type() == QEL_IMAGE_TYPE)
        qelShowImageAt(under, x, y, 0, 0, 0, 0);
    qelValue image = down ? buttonDownImage : buttonUpImage;
    if (!image.isNil())
        qelShowImageAt(image, x, y, 0, 0, 0, 0);
}

void ComboBox::draw()
{
    if (!isEnabled())
        return;
    if (!initialized)
        setUp();
    // With no selection the closed box shows nothing, not even its button.
    if (itemCount() == 0 || selection < 0 || selection >= itemCount())
        return;
    if (!heldOpen)
        drawField();
    drawDropButton(isDown || heldOpen);
}

void ComboBox::drawField()
{
    bool showsActive = active && drawActive;
    if (showsActive)
        qelRectangle(fieldLeft, fieldTop, fieldWidth, fieldHeight, selectionColor);
    else if (!savedFieldBackground.isNil())
        qelShowImageAt(savedFieldBackground, fieldLeft, fieldTop, 0, 0, 0, 0);
    else
        qelRectangle(fieldLeft, fieldTop, fieldWidth, fieldHeight, backgroundColor);
    if (selection < 0 || selection >= itemCount())
        return;
    qelValue text = qelValueToString(qelGet(list, selection));
    qelValue previousFont = qelSetFont(font);
    int32_t previousBack = qelSetBackColor(-1);
    int32_t previousColor = qelSetColor(showsActive ? textSelectionColor : textColor);
    int32_t textWidth = 0;
    int32_t textHeight = 0;
    qelMeasureString("|", font, &textWidth, &textHeight);
    qelClipRect(fieldLeft, fieldTop, fieldWidth, fieldHeight);
    qelDrawTextInRect(text, fieldLeft + 2, fieldTop + (fieldHeight - textHeight) / 2, 0, 0, 0, 0);
    qelResetClip();
    qelSetColor(previousColor);
    qelSetBackColor(previousBack);
    qelSetFont(previousFont);
}

void ComboBox::drawRow(
    const qelValue& items, int32_t index, int32_t x, int32_t y, int32_t w, int32_t h, int32_t highlighted)
{
    if (highlighted) {
        if (!selectionImage.isNil())
            qelShowImageAt(selectionImage, x, y, 0, 0, 0, 0);
        else
            qelRectangle(x, y, w, h, selectionColor);
    }
    qelSetColor(highlighted ? textSelectionColor : textColor);
    qelDrawTextInRect(qelValueToString(qelGet(items, index)), x + 2, y, 0, 0, 0, 0);
    qelSetColor(textColor);
}

void ComboBox::setDisabledControls(int32_t disabled)
{
    qelValue controls = getProperty("ControlsToDisable");
    if (controls.type() != QEL_LIST_TYPE)
        return;
    int32_t count = qelCount(controls);
    for (int32_t i = 0; i < count; ++i) {
        qelValue control = qelResolve(qelGet(controls, i));
        if (control.type() == QEL_CONTROL_TYPE)
            qelPut(control, "Disabled", qelMakeBoolean(disabled));
    }
}

void ComboBox::drawScrollBar()
{
    if (!scrollBarRegion.isNil() && !scrollBarImage.isNil())
        qelShowImageAt(scrollBarImage, qelLeft(scrollBarRegion), qelTop(scrollBarRegion), 0, 0, 0, 0);
    thumbTop = qelThumbTop(listTop, listHeight, qelHeightOf(upArrowRegion), qelHeightOf(downArrowRegion),
        qelHeightOf(thumbImage), listTopIndex, itemCount() - visibleRows());
    qelValue thumb = draggingThumb && !thumbHighlight.isNil() ? thumbHighlight : thumbImage;
    if (!thumb.isNil())
        qelShowImageAt(thumb, listLeft + listWidth - scrollBarWidth, thumbTop, 0, 0, 0, 0);
}

void ComboBox::drawOpenList()
{
    if (!isEnabled() || !drawFlag)
        return;
    setDisabledControls(1);
    if (list.isNil())
        return;
    if (savedUnderList.isNil()) {
        // One pixel more each way: the border's outline lies on the region's far edges.
        savedUnderList = qelGrabWindowImage(listLeft, listTop, listWidth + 1, listHeight + 1);
        setProperty("Hot Spot", openRegion);
    }
    if (!backgroundImage.isNil())
        qelShowImageAt(backgroundImage, listLeft, listTop, 0, 0, 0, 0);
    else
        qelRectangle(listLeft, listTop, listWidth, listHeight, backgroundColor);
    qelValue previousFont = qelSetFont(font);
    int32_t previousColor = qelSetColor(textColor);
    int32_t previousBack = qelSetBackColor(-1);
    int32_t count = itemCount();
    int32_t columnWidth = listWidth;
    listHasScrollBar = hasProperty("MaxItems") && count > getInt("MaxItems", count);
    if (listHasScrollBar) {
        drawScrollBar();
        columnWidth -= scrollBarWidth;
    }
    qelClipRect(listLeft, listTop, columnWidth, listHeight);
    int64_t y = int64_t(listTop) + 1;
    for (int32_t i = std::max(0, listTopIndex); i < count && y < int64_t(listTop) + listHeight; ++i) {
        drawRow(list, i, listLeft + 1, int32_t(y), columnWidth - 2, rowHeight, i == highlight);
        y += rowHeight;
    }
    qelResetClip();
    drawDropButton(1);
    if (drawBorder)
        qelFrameRegion(listRegion, borderColor);
    qelSetBackColor(previousBack);
    qelSetColor(previousColor);
    qelSetFont(previousFont);
}

void ComboBox::openList(int32_t firstOfClick)
{
    highlight = selection;
    if (firstOfClick) {
        listTopIndex = getBool("SelectAtTop", 0) && selection != -1 ? selection : 0;
        // A start that would leave the list short goes up; fewer items than rows start at 0.
        listTopIndex = std::max(0, std::min(listTopIndex, itemCount() - visibleRows()));
    }
    markDown();
    drawOpenList();
    opened = 1;
}

void ComboBox::closeList()
{
    // A list that never showed disabled nothing and covered nothing.
    bool shown = isDown || heldOpen || !savedUnderList.isNil();
    if (shown)
        setDisabledControls(0);
    if (!savedUnderList.isNil()) {
        // Back exactly where it was taken.
        qelShowImageAt(savedUnderList, listLeft, listTop, 0, 0, 0, 0);
        savedUnderList = qelNil;
    }
    if (!fieldRegion.isNil())
        setProperty("Hot Spot", fieldRegion);
    isDown = 0;
    opened = 0;
    pressedOnField = 0;
    markUp();
    heldOpen = 0;
    draw();
}

void ComboBox::closeUp(int32_t x, int32_t y, int32_t commit, int32_t hasPoint)
{
    if (!commit && hasPoint && !heldOpen && qelRegionHolds(fieldRegion, x, y)) {
        heldOpen = 1;
        draw();
        return;
    }
    if (commit && highlight != selection)
        setSelection(highlight, 0);
    closeList();
}

void ComboBox::activate()
{
    qelMediaControlObject::activate();
    active = 1;
    draw();
}

void ComboBox::deactivate()
{
    qelMediaControlObject::deactivate();
    heldOpen = 0;
    active = 0;
    if (isDown)
        closeList();
    draw();
}

qelValue ComboBox::getCursor()
{
    if (handCursor.isNil())
        handCursor = qelLoadResource("HandCursor");
    return handCursor;
}

qelValue ComboBox::perform(const qelValue& action, const qelValue& data)
{
    if (action == "getSelection")
        return qelMakeInt(selection);
    if (action == "setSelection") {
        setSelection(qelIntValue(data), 0);
        return qelNil;
    }
    if (action == "getSelectionStr") {
        if (selection < 0 || selection >= itemCount())
            return qelNil;
        return qelGet(list, selection);
    }
    if (action == "setSelectionStr") {
        if (!data.isNil() && selection >= 0 && selection < itemCount())
            qelPut(list, selection, data);
        return qelNil;
    }
    if (action == "setList") {
        list = qelNil;
        setProperty("List", data);
        if (initialized)
            setUp();
        return qelNil;
    }
    if (action == "getList")
        return list;
    if (action == "isDown")
        return qelMakeBoolean(isDown);
    if (action == "closeUp") {
        // A closed box has nothing to close.
        if (isDown || heldOpen)
            closeUp(0, 0, 0, 0);
        return qelNil;
    }
    if (action == "onKey") {
        int32_t result = key(qelIntValue(data), 0);
        setSelection(highlight, 0);
        return qelMakeBoolean(result);
    }
    if (action == "drawFlag") {
        drawFlag = qelIsTrue(data) ? 1 : 0;
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}
