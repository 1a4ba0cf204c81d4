#include "framework/ui/MediaFormObject.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/Fade.h"
#include "framework/display/Geometry.h"
#include "framework/display/MovieObject.h"
#include "framework/display/PaletteObject.h"
#include "framework/display/Transition.h"
#include "framework/display/WindowObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/History.h"
#include "framework/ui/MediaServices.h"
#include "framework/ui/Perform.h"

namespace {

constexpr int32_t F1_KEY = 0x10000;
constexpr int32_t TAB_KEY = 9;
constexpr int32_t FADE_IN_TRANSITION = 12;
constexpr int32_t FADE_OUT_TRANSITION = 13;

// The fade over the media area (the palette formula, blended at presentation on true colour).
void paletteFade(int32_t code, int32_t milliseconds)
{
    qelTransition(code, milliseconds, 0, 0, 0, qelMediaWidth(), qelMediaHeight());
}

class WaitCursor {
public:
    WaitCursor()
    {
        qelEnvironmentServices& services = qelServices();
        previous = services.setCursor(services.waitCursor());
    }
    void restore() { qelServices().setCursor(previous); }

    qelValue previous;
};

bool isEndNotice(const qelValue& notice)
{
    return notice == "ended" || notice == "aborted";
}

} // namespace

qelMediaFormObject::qelMediaFormObject(const qelValue& data)
    : qelFormObject(data)
{
}

qelMediaFormObject::~qelMediaFormObject() = default;

qelValue qelMediaFormObject::rolloverOn(const qelValue& control, int32_t x, int32_t y, int32_t modifiers)
{
    qelValue state = qelFormObject::rolloverOn(control, x, y, modifiers);
    qelValue help = qelControlOf(control) ? qelPerformAction(control, "getHelpString") : qelNil;
    helpBox.wait(help, x, y);
    return state;
}

void qelMediaFormObject::rolloverOff(
    const qelValue& control, int32_t x, int32_t y, int32_t modifiers, const qelValue& state)
{
    helpBox.remove(false);
    qelFormObject::rolloverOff(control, x, y, modifiers, state);
}

void qelMediaFormObject::open(const qelValue& data)
{
    noFade = 0;
    if (qelTableObject* table = qelTableOf(data)) {
        if (table->find("NoFade") >= 0)
            noFade = qelIsTrue(table->get("NoFade")) ? 1 : 0;
    }
    if (!noFade)
        fadeOut();
    qelFormObject::open(data);
    qelActivateFirstTabStop(*this);
}

void qelMediaFormObject::afterOpen()
{
    if (!noFade)
        fadeIn();
    draw();
    qelServices().setCursor(qelNil);
}

void qelMediaFormObject::close()
{
    if (hasVideo())
        stopVideo();
    if (hasSound())
        stopSound();
    qelFormObject::close();
}

void qelMediaFormObject::interrupt()
{
    helpBox.remove(true);
    if (hasVideo())
        stopVideo();
    if (hasSound())
        stopSound();
}

void qelMediaFormObject::mouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelValue self = qelFormValue(this);
    interrupt();
    qelFormObject::mouseDown(x, y, modifiers, clicks);
}

void qelMediaFormObject::mouseMove(int32_t x, int32_t y, int32_t modifiers)
{
    helpBox.follow(x, y);
    qelFormObject::mouseMove(x, y, modifiers);
}

void qelMediaFormObject::key(int32_t code, int32_t modifiers)
{
    qelValue self = qelFormValue(this);
    interrupt();
    if (code == F1_KEY) {
        showHelp();
        return;
    }
    if (code == TAB_KEY && qelTabToNextStop(*this, modifiers, true))
        return;
    qelFormObject::key(code, modifiers);
}

void qelMediaFormObject::mediaNotify(const qelValue& first, const qelValue& second)
{
    if (!video.isNil() && first == video && isEndNotice(second))
        stopVideo();
    if (!sound.isNil() && first == sound && isEndNotice(second))
        stopSound();
    qelFormObject::mediaNotify(first, second);
}

void qelMediaFormObject::tick()
{
    helpBox.tick(0, 0);
    qelFormObject::tick();
}

int32_t qelMediaFormObject::fadeTime()
{
    qelValue time = qelLoadResource("FadeTime");
    return time.isNil() ? 0 : qelIntValue(time);
}

int32_t qelMediaFormObject::usesPaletteFade()
{
    // A true-colour display fades too when the fades are blended at presentation.
    return !qelGetBoolSetting("MPEG", 0) && qelCanFadeDisplay() ? 1 : 0;
}

void qelMediaFormObject::fadeOut()
{
    qelSetColor(1);
    int32_t time = fadeTime();
    int32_t width = qelMediaWidth();
    int32_t height = qelMediaHeight();
    if (usesPaletteFade()) {
        qelRemapDIB();
        qelRefreshWindowArea(0, 0, width, height);
        paletteFade(FADE_OUT_TRANSITION, time);
        return;
    }
    qelRectangle(0, 0, width, height, 1);
    qelRefreshWindowArea(0, 0, width, height);
}

void qelMediaFormObject::fadeIn()
{
    qelSetColor(1);
    int32_t time = fadeTime();
    if (usesPaletteFade()) {
        qelRemapDIB();
        paletteFade(FADE_IN_TRANSITION, time);
        return;
    }
    qelRefreshWindowArea(0, 0, qelMediaWidth(), qelMediaHeight());
}

void qelMediaFormObject::goToForm(const qelValue& name, const qelValue& data)
{
    qelValue self = qelFormValue(this);
    qelEnvironmentServices& services = qelServices();
    services.setCursor(services.waitCursor());
    qelHistoryGoTo(name, data);
    services.setCursor(qelNil);
}

void qelMediaFormObject::goHistory(int32_t step)
{
    qelValue self = qelFormValue(this);
    qelEnvironmentServices& services = qelServices();
    services.setCursor(services.waitCursor());
    qelHistoryGo(step, 1);
    services.setCursor(qelNil);
}

int32_t qelMediaFormObject::playVideo(const qelValue& name, int32_t allowDouble)
{
    WaitCursor wait;
    int32_t mpeg = qelGetBoolSetting("MPEG", 0);
    video = qelLoadMovieResource(name, allowDouble);
    if (video.isNil()) {
        wait.restore();
        return 0;
    }
    int32_t w = qelWidth(video);
    int32_t h = qelHeight(video);
    int32_t doubled = qelGetBoolSetting("DoubleSizedVideo", 0) && allowDouble;
    if (doubled) {
        if (mpeg) {
            w = 320;
            h = 240;
        }
        w *= 2;
        h *= 2;
    }
    int32_t mediaWidth = qelMediaWidth();
    int32_t mediaHeight = qelMediaHeight();
    videoX = (mediaWidth - w) / 2;
    videoY = (mediaHeight - h) / 2;
    if (mpeg && doubled)
        qelSetPreference("FullScreenVideo", qelTrue);
    int32_t autoRefresh = qelSetAutoRefresh(0);
    if (mpeg) {
        qelMove(video, videoX, videoY);
        qelValue black = qelLoadImageResource("blackvfw.rle");
        if (qelWindowObject* port = qelMainPort(); port && !black.isNil())
            port->selectPalette(black, 0, 0, qelWidth(black), qelHeight(black));
        qelRectangle(0, 0, mediaWidth, mediaHeight, 1);
    } else {
        qelDrawMovieFrame(video, 0, videoX, videoY, w, h);
    }
    int32_t result = qelPlay(video, 0, -1, 0);
    wait.restore();
    qelSetAutoRefresh(autoRefresh);
    return result;
}

void qelMediaFormObject::stopVideo()
{
    qelSetPreference("FullScreenVideo", qelFalse);
    if (video.isNil())
        return;
    qelValue playing = video;
    video = qelNil;
    qelStop(playing);
    qelReleaseMovie(playing);
}

int32_t qelMediaFormObject::playSound(const qelValue& value, int32_t loop)
{
    sound = qelScreenSound(value);
    return qelStartScreenSound(sound, loop);
}

void qelMediaFormObject::stopSound()
{
    qelStopScreenSound(sound);
}

void qelMediaFormObject::narrate(int32_t force)
{
    qelNarrateForm(*this, force, [this](const qelValue& value, int32_t loop) { return playSound(value, loop); });
}

void qelMediaFormObject::showHelp()
{
    qelShowApplicationHelp(helpContext());
}

int32_t qelMediaFormObject::getBool(const qelValue& key, int32_t defaultValue)
{
    return hasProperty(key) ? (qelIsTrue(getProperty(key)) ? 1 : 0) : defaultValue;
}

int32_t qelMediaFormObject::getInt(const qelValue& key, int32_t defaultValue)
{
    if (!hasProperty(key))
        return defaultValue;
    qelValue value = qelResolve(getProperty(key));
    return value.type() == QEL_INT_TYPE ? value.payload() : defaultValue;
}

void qelMediaFormObject::setBool(const qelValue& key, int32_t flag)
{
    setProperty(key, qelMakeBoolean(flag));
}

void qelMediaFormObject::setInt(const qelValue& key, int32_t n)
{
    setProperty(key, qelMakeInt(n));
}

void qelMediaFormObject::disableMenuItem(const qelValue& menu, const qelValue& item)
{
    qelDisableMenuItem(menu, item);
}

void qelMediaFormObject::enableMenuItem(const qelValue& menu, const qelValue& item)
{
    qelEnableMenuItem(menu, item);
}
