#include "framework/ui/MediaControlObject.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Image.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/UiRefresh.h"

qelMediaControlObject::qelMediaControlObject(const qelValue& data)
    : qelControlObject(data)
{
}

qelMediaControlObject::~qelMediaControlObject() = default;

qelValue qelMediaControlObject::getProperty(const qelValue& key)
{
    return qelResolve(qelControlObject::getProperty(key));
}

int32_t qelMediaControlObject::getInt(const qelValue& key, int32_t defaultValue)
{
    qelValue value = getProperty(key);
    return value.type() == QEL_INT_TYPE ? value.payload() : defaultValue;
}

qelValue qelMediaControlObject::perform(const qelValue& action, const qelValue& data)
{
    if (action == "getHelpString")
        return getHelp();
    return qelControlObject::perform(action, data);
}

qelValue qelMediaControlObject::getCursor()
{
    return qelLoadResource("HandCursor");
}

void qelMediaControlObject::rolloverCorner(int32_t& x, int32_t& y)
{
    // The hot spot's corner is read even when both coordinates are given.
    qelValue spot = hotSpot();
    int32_t left = spot.isNil() ? 0 : qelLeft(spot);
    int32_t top = spot.isNil() ? 0 : qelTop(spot);
    x = getInt("RolloverX", left);
    y = getInt("RolloverY", top);
}

qelValue qelMediaControlObject::rolloverOn(int32_t, int32_t, int32_t)
{
    qelValue image = qelLoadImageResource(getProperty("RolloverImage"));
    qelValue mask = getProperty("RolloverMask");
    if (image.type() != QEL_IMAGE_TYPE)
        return qelNil;
    int32_t x0 = 0;
    int32_t y0 = 0;
    rolloverCorner(x0, y0);
    qelWindowObject* port = qelMainPort();
    if (!port)
        return qelNil;
    savedBackground = port->grabImage(x0, y0, qelWidth(image), qelHeight(image));
    if (savedBackground.type() == QEL_IMAGE_TYPE) {
        if (!mask.isNil())
            qelSetImageMask(image, qelLoadImageResource(mask));
        port->drawImage(image, x0, y0, 0, 0, 0, 0);
        qelUiUpdateWindow();
    }
    return qelNil;
}

void qelMediaControlObject::rolloverOff(int32_t, int32_t, int32_t, const qelValue&)
{
    if (savedBackground.isNil())
        return;
    int32_t x0 = 0;
    int32_t y0 = 0;
    rolloverCorner(x0, y0);
    if (qelWindowObject* port = qelMainPort()) {
        port->drawImage(savedBackground, x0, y0, 0, 0, 0, 0);
        qelUiUpdateWindow();
    }
}

void qelMediaControlObject::mediaNotify(const qelValue& first, const qelValue& second)
{
    if (first == sound && (second == "ended" || second == "aborted"))
        stopClickSound();
}

int32_t qelMediaControlObject::playClickSound(const qelValue& name, int32_t loop)
{
    if (!qelGetBoolSetting("SoundEffects", 1))
        return 0;
    qelValue source = name;
    if (source.isString()) {
        if (qelFindChar(source, '.', 0) < 0)
            source = source + "." + qelGetSetting("AudioExtension");
        source = qelLoadResource(source);
    }
    source = qelResolve(source);
    qelServices().stopCurrentSound();
    // A sound that could not be loaded has nothing to play and is not kept: stopping it at the
    // next click, key or close would be a type error that ends the program.
    if (source.type() != QEL_SOUND_TYPE) {
        sound = qelNil;
        return 0;
    }
    sound = source;
    return qelPlay(sound, 0, -1, loop ? 1 : 0);
}

void qelMediaControlObject::stopClickSound()
{
    if (sound.isNil())
        return;
    qelValue playing = sound;
    sound = qelNil;
    qelStop(playing);
}

int32_t qelMediaControlObject::hasClickSound()
{
    return !sound.isNil();
}

void qelHandleActiveControl()
{
    qelValue current = qelActiveForm();
    if (qelFormObject* form = qelFormOf(current)) {
        qelValue control = form->activeControl;
        form->handleControl(control);
    }
}

qelValue qelMediaControlObject::imageProperty(const char* key)
{
    qelValue value = getProperty(key);
    if (value.isString())
        value = qelLoadImageResource(value);
    return value.type() == QEL_IMAGE_TYPE && value.object() ? value : qelNil;
}

qelValue qelMediaControlObject::regionProperty(const char* key)
{
    qelValue value = getProperty(key);
    return value.type() == QEL_REGION_TYPE && value.object() ? value : qelNil;
}
