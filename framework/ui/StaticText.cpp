#include "framework/ui/StaticText.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/Geometry.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"

StaticText::StaticText(const qelValue& data)
    : qelMediaControlObject(data)
{
}

StaticText::~StaticText() = default;

int32_t StaticText::colourProperty(const char* key, int32_t defaultValue)
{
    qelValue value = getProperty(key);
    switch (value.type()) {
    case QEL_INT_TYPE:
    case QEL_FLOAT_TYPE:
    case QEL_BOOLEAN_TYPE:
    case QEL_STRING_TYPE:
        return qelIntValue(value);
    default:
        // A list or table where a colour belongs is taken as no colour, not as the type error
        // that would end the program.
        return defaultValue;
    }
}

void StaticText::init()
{
    initialized = 1;
    // A missing region is reported by the region readers (a type error naming them).
    textRegion = getProperty("TextRegion");
    regionLeft = qelLeft(textRegion);
    regionTop = qelTop(textRegion);
    regionWidth = qelWidth(textRegion);
    regionHeight = qelHeight(textRegion);
    if (cursor.isNil() && hasProperty("Hot Spot"))
        cursor = qelLoadResource("HandCursor");
    hAlign = 0;
    if (hasProperty("Align")) {
        qelValue align = getProperty("Align");
        hAlign = align == "Center" ? 1 : align == "Right" ? 2 : 0;
    }
    vAlign = 2;
    if (hasProperty("VAlign")) {
        qelValue align = getProperty("VAlign");
        vAlign = align == "Center" ? 1 : align == "Bottom" ? 0 : 2;
    }
    fontStyle = 0;
    if (qelIsTrue(getProperty("Bold")))
        fontStyle = 2;
    if (qelIsTrue(getProperty("Underline")))
        fontStyle += 4;
    font = hasProperty("Font") ? getProperty("Font") : qelFontValue("MS Sans Serif", 8, fontStyle);
    backgroundColor = colourProperty("Background Color", -1);
    foregroundColor = colourProperty("Foreground Color", 1);
}

qelValue StaticText::perform(const qelValue& action, const qelValue& data)
{
    if (action == "SetText") {
        setText(data, 1);
        return qelNil;
    }
    if (action == "GetText")
        return getProperty("Text");
    if (action == "Initialize") {
        init();
        return qelNil;
    }
    if (action == "DiscardBK") {
        savedRegion = qelNil;
        return qelNil;
    }
    if (action == "ClearText") {
        setProperty("Text", " ");
        if (!savedRegion.isNil()) {
            if (qelWindowObject* port = qelMainPort())
                port->drawImage(savedRegion, regionLeft, regionTop, 0, 0, 0, 0);
        }
        return qelNil;
    }
    return qelMediaControlObject::perform(action, data);
}

void StaticText::setText(const qelValue& text, int32_t redraw)
{
    setProperty("Text", text);
    if (redraw)
        draw();
}

void StaticText::restoreRegion()
{
    if (savedRegion.isNil())
        return;
    if (qelWindowObject* port = qelMainPort())
        port->drawImage(savedRegion, regionLeft, regionTop, 0, 0, 0, 0);
    savedRegion = qelNil;
}

void StaticText::draw()
{
    if (!initialized)
        init();
    // Also for a hidden or disabled label: drawing it then erases its text.
    restoreRegion();
    if (!isEnabled())
        return;
    qelWindowObject* port = qelMainPort();
    if (!port)
        return;
    if (qelIsTrue(getProperty("Save Background")))
        savedRegion = port->grabImage(regionLeft, regionTop, regionWidth, regionHeight);
    qelValue text = getProperty("Text");
    if (text.isNil())
        text = getProperty("Name");
    if (text.isNil() || (text.isString() && qelCount(text) == 0))
        return;
    qelValue previousFont = qelSetFont(font);
    int32_t previousBack = qelSetBackColor(backgroundColor);
    int32_t previousColor = qelSetColor(foregroundColor);
    if (text.isString()) {
        if (vAlign == 2) {
            qelDrawTextInRect(text, regionLeft, regionTop, regionWidth, regionHeight, hAlign, 1);
        } else {
            int32_t width = regionWidth;
            int32_t height = regionHeight;
            qelDrawTextMeasure(text, font, &width, &height);
            int32_t top = vAlign == 1 ? regionTop + (regionHeight - height) / 2 : regionTop + regionHeight - height;
            qelDrawTextInRect(text, regionLeft, top, regionWidth, height, hAlign, 1);
        }
    } else if (text.type() == QEL_TEXTMAP_TYPE) {
        qelDrawTextMap(text, regionLeft, regionTop, 0, 0);
    }
    qelSetColor(previousColor);
    qelSetBackColor(previousBack);
    qelSetFont(previousFont);
}
