#include "framework/ui/MediaDialogObject.h"

#include "framework/display/MovieObject.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Settings.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/MediaServices.h"
#include "framework/ui/Perform.h"

namespace {

constexpr int32_t F1_KEY = 0x10000;
constexpr int32_t TAB_KEY = 9;

} // namespace

qelMediaDialogObject::qelMediaDialogObject(const qelValue& data)
    : qelDialogObject(data)
{
}

qelMediaDialogObject::~qelMediaDialogObject() = default;

qelValue qelMediaDialogObject::rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers)
{
    qelValue state = qelFormObject::rolloverOn(control, x, y, modifiers);
    helpBox.helpText = qelNil;
    if (qelGetBoolSetting("RolloverHelp", 0)) {
        qelValue help = qelControlOf(control) ? qelPerformAction(control, "getHelpString") : qelNil;
        // The rollover's point is in dialog coordinates; the box is placed from window
        // coordinates, as the pointer moves report them.
        helpBox.wait(help, x + originX, y + originY);
    }
    return state;
}

void qelMediaDialogObject::rolloverOff(
    const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue& state)
{
    helpBox.remove(false);
    qelFormObject::rolloverOff(control, x, y, modifiers, state);
}

void qelMediaDialogObject::open(const qelValue& data)
{
    qelCloseAllMovies();
    qelDialogObject::open(data);
    qelActivateFirstTabStop(*this);
    qelServices().setCursor(qelNil);
}

void qelMediaDialogObject::close()
{
    if (hasSound())
        stopSound();
    qelDialogObject::close();
}

void qelMediaDialogObject::endDialog()
{
    if (hasSound())
        stopSound();
    qelDialogObject::endDialog();
}

void qelMediaDialogObject::key(int32_t code, int32_t modifiers)
{
    qelValue self = qelFormValue(this);
    helpBox.remove(true);
    if (hasSound())
        stopSound();
    if (code == F1_KEY) {
        showHelp();
        return;
    }
    if (code == QEL_KEY_F4 && (modifiers & QEL_ALT_KEY)) {
        // The event queue keeps a single quit: one already queued (the environment's own answer
        // to Alt+F4) absorbs this one.
        qelPostQuit();
    } else if (code == TAB_KEY && qelTabToNextStop(*this, modifiers, false)) {
        return;
    }
    qelDialogObject::key(code, modifiers);
}

void qelMediaDialogObject::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    helpBox.remove(true);
    if (hasSound())
        stopSound();
    if (!controlAt(x, y).isNil())
        qelFormObject::mouseDown(x, y, modifiers, clicks);
    else
        qelDialogObject::mouseDown(x, y, modifiers, clicks);
}

void qelMediaDialogObject::mouseMove(int32_t x, int32_t y, int32_t modifiers)
{
    helpBox.follow(x, y);
    qelFormObject::mouseMove(x, y, modifiers);
}

void qelMediaDialogObject::tick()
{
    helpBox.tick(originX, originY);
    qelDialogObject::tick();
}

void qelMediaDialogObject::drag(int32_t x, int32_t y)
{
    DragStyle style;
    style.bottomMargin = 20;
    style.pictureFromScreen = true;
    style.flushDrags = false;
    style.copyIntoSaved = true;
    dragWith(x, y, style);
    setResourceProperty("Origin X", qelMakeInt(originX));
    setResourceProperty("Origin Y", qelMakeInt(originY));
    activate();
}

qelValue qelMediaDialogObject::backgroundImage()
{
    return getProperty("Background Image");
}

int32_t qelMediaDialogObject::playSound(const qelValue& value, int32_t loop)
{
    sound = qelScreenSound(value);
    return qelStartScreenSound(sound, loop);
}

void qelMediaDialogObject::stopSound()
{
    qelStopScreenSound(sound);
}

void qelMediaDialogObject::narrate(int32_t force)
{
    qelNarrateForm(*this, force, [this](const qelValue& value, int32_t loop) { return playSound(value, loop); });
}

void qelMediaDialogObject::showHelp()
{
    qelShowApplicationHelp(helpContext());
}

int32_t qelMediaDialogObject::getBool(const qelValue& key, int32_t defaultValue)
{
    return hasProperty(key) ? (qelIsTrue(getProperty(key)) ? 1 : 0) : defaultValue;
}

int32_t qelMediaDialogObject::getInt(const qelValue& key, int32_t defaultValue)
{
    return hasProperty(key) ? qelIntValue(getProperty(key)) : defaultValue;
}

void qelMediaDialogObject::setBool(const qelValue& key, int32_t flag)
{
    setProperty(key, qelMakeBoolean(flag));
}

void qelMediaDialogObject::setInt(const qelValue& key, int32_t n)
{
    setProperty(key, qelMakeInt(n));
}
