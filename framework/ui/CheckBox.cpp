#include "framework/ui/CheckBox.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Image.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"

namespace {

int32_t widthOf(const qelValue& image)
{
    return image.isNil() ? 0 : qelWidth(image);
}

int32_t heightOf(const qelValue& image)
{
    return image.isNil() ? 0 : qelHeight(image);
}

} // namespace

CheckBox::CheckBox(const qelValue& data)
    : qelMediaControlObject(data)
{
}

CheckBox::~CheckBox() = default;

qelValue CheckBox::perform(const qelValue& action, const qelValue& data)
{
    if (action == "IsSelected")
        return qelMakeBoolean(selected);
    if (action == "Select") {
        setSelected(qelIsTrue(data), setUp);
        return qelNil;
    }
    if (action == "SelectDontDraw") {
        setSelected(qelIsTrue(data), 0);
        return qelNil;
    }
    return qelControlObject::perform(action, data);
}

void CheckBox::setSelected(int32_t flag, int32_t redraw)
{
    selected = flag ? 1 : 0;
    if (redraw)
        draw();
}

void CheckBox::setup()
{
    selectedImage = imageProperty("SelectedImage");
    deselectedImage = imageProperty("DeselectedImage");
    qelValue mask = imageProperty("Mask");
    if (!mask.isNil()) {
        if (!selectedImage.isNil())
            qelSetImageMask(selectedImage, mask);
        if (!deselectedImage.isNil())
            qelSetImageMask(deselectedImage, mask);
    }
    spot = hotSpot();
    int32_t left = spot.isNil() ? 0 : qelLeft(spot);
    int32_t top = spot.isNil() ? 0 : qelTop(spot);
    boxX = left;
    boxY = top;
    boxWidth = spot.isNil() ? 0 : qelWidth(spot);
    boxHeight = spot.isNil() ? 0 : qelHeight(spot);
    // Without a selected picture the box takes no room: the label starts 5 pixels in.
    int32_t selectedWidth = widthOf(selectedImage);
    labelX = left + selectedWidth + 5;
    labelWidth = boxWidth - selectedWidth - 5;
    if (hasProperty("TextBitmap")) {
        textBitmap = qelLoadImageResource(getProperty("TextBitmap"));
        if (textBitmap.type() != QEL_IMAGE_TYPE || !textBitmap.object())
            textBitmap = qelNil;
        labelY = top + (heightOf(selectedImage) - heightOf(textBitmap)) / 2 + 2;
        labelHeight = heightOf(textBitmap);
    } else {
        labelY = top;
        labelHeight = boxHeight;
        qelValue align = getProperty("Align");
        alignment = align == "Center" ? 1 : align == "Right" ? 2 : 0;
        fontStyle = getBool("Bold", 0) ? 2 : 0;
        font = hasProperty("Font") ? getProperty("Font") : qelFontValue("Arial", 8, fontStyle);
        backgroundColor = getInt("BackgroundColor", -1);
        foregroundColor = getInt("ForegroundColor", 1);
    }
    if (hasProperty("SelectedX"))
        boxX = getInt("SelectedX", 0);
    if (hasProperty("SelectedY"))
        boxY = getInt("SelectedY", 0);
    setUp = 1;
}

qelValue CheckBox::boxLook(int32_t state)
{
    qelValue image = state ? selectedImage : deselectedImage;
    return image.isNil() ? savedBox : image;
}

void CheckBox::showBox(const qelValue& look)
{
    qelWindowObject* port = qelMainPort();
    if (!port || look.isNil())
        return;
    // The screen goes back first, so that a masked box never shows the other state through it.
    if (!savedBox.isNil() && look.object() != savedBox.object())
        port->drawImage(savedBox, boxX, boxY, 0, 0, 0, 0);
    port->drawImage(look, boxX, boxY, 0, 0, 0, 0);
}

void CheckBox::draw()
{
    if (!isVisible())
        return;
    if (!setUp)
        setup();
    if (savedBox.isNil()) {
        boxWidth = widthOf(selectedImage);
        boxHeight = heightOf(selectedImage);
        if (qelWindowObject* port = qelMainPort())
            savedBox = port->grabImage(boxX, boxY, boxWidth, boxHeight);
    }
    // A disabled check box shows no box, only the screen that was under it.
    showBox(isEnabled() ? boxLook(selected) : savedBox);
    drawLabel();
}

void CheckBox::drawLabel()
{
    if (!textBitmap.isNil()) {
        if (qelWindowObject* port = qelMainPort())
            port->drawImage(textBitmap, labelX, labelY, 0, 0, 0, 0);
        return;
    }
    qelValue text = getProperty("Text");
    if (!text.isString())
        return;
    qelValue previousFont = qelSetFont(font);
    int32_t previousBack = qelSetBackColor(backgroundColor);
    int32_t previousColor = qelSetColor(foregroundColor);
    qelDrawTextInRect(text, labelX, labelY, labelWidth, labelHeight, alignment, 1);
    qelSetColor(previousColor);
    qelSetBackColor(previousBack);
    qelSetFont(previousFont);
}

int32_t CheckBox::track(int32_t, int32_t, int32_t, int32_t)
{
    if (hasProperty("Sound"))
        playClickSound(getProperty("Sound"), 0);
    if (!setUp)
        setup();
    m_currentLook = boxLook(selected);
    m_otherLook = boxLook(!selected);
    showBox(m_otherLook);
    trackStart();
    PressEnd end = followPress(spot);
    int32_t result = 0;
    if (end.releasedInside) {
        selected = !selected;
        result = 1;
        showBox(m_otherLook);
    } else {
        showBox(m_currentLook);
    }
    m_currentLook = qelNil;
    m_otherLook = qelNil;
    trackEnd();
    return result;
}

int32_t CheckBox::pressMoved(int32_t inside, int32_t)
{
    showBox(inside ? m_otherLook : m_currentLook);
    return 1;
}
