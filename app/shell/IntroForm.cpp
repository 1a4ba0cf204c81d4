#include "app/shell/IntroForm.h"

#include "framework/display/DrawingInterface.h"
#include "framework/display/MovieObject.h"
#include "framework/display/WindowServices.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/History.h"

namespace {

// The queued mouse and key events (move, down, drag, up, key down, key up).
constexpr int32_t inputEvents = 0x3F0;
// The same and the media notices.
constexpr int32_t inputAndMediaEvents = 0x23F0;
// An item holds the movie, x, y, width, height, an unread element and the picture.
constexpr int32_t itemLength = 7;

bool isEndNotice(const qelValue& message)
{
    return message == "ended" || message == "aborted";
}

int32_t intAt(const qelValue& item, int32_t index)
{
    qelValue value = qelGet(item, index);
    return value.type() == QEL_INT_TYPE ? value.payload() : 0;
}

} // namespace

void IntroForm::open(const qelValue& data)
{
    qelValue self = qelFormValue(this);
    loadResourceTable();
    qelFlushEvents(inputEvents);
    m_playList = qelResolve(getProperty("PlayList"));
    m_itemCount = m_playList.type() == QEL_LIST_TYPE ? qelCount(m_playList) : 0;
    m_nextItem = 0;
    m_itemMovie = qelNil;
    m_started = false;
    m_leaving = false;
    qelMediaFormObject::open(data);
}

void IntroForm::draw()
{
    if (m_started)
        return;
    m_started = true;
    playSound(getProperty("Trilha"), 1);
    if (m_itemCount == 0) {
        goToMainMenu();
        return;
    }
    startNextItem();
}

void IntroForm::startNextItem()
{
    qelValue item = qelGet(m_playList, m_nextItem);
    ++m_nextItem;
    m_itemMovie = qelNil;
    // A short item (content out of shape) is passed over as one without movie or picture.
    if (item.type() != QEL_LIST_TYPE || qelCount(item) < itemLength)
        return;
    video = qelLoadMovieResource(qelGet(item, 0), 0);
    int32_t x = intAt(item, 1);
    int32_t y = intAt(item, 2);
    int32_t autoRefresh = qelSetAutoRefresh(0);
    if (video.type() == QEL_MOVIE_TYPE) {
        m_itemMovie = video;
        qelMove(video, x, y);
        qelSetSize(video, intAt(item, 3), intAt(item, 4));
        qelPlay(video, 0, -1, 0);
    } else {
        video = qelNil;
    }
    // An item without a picture names none (nil or an empty name).
    qelValue picture = qelGet(item, 6);
    if (!picture.isNil() && !(picture.isString() && qelCount(picture) == 0))
        qelShowImageAt(picture, x, y, 0, 0, 0, 0);
    qelSetAutoRefresh(autoRefresh);
}

void IntroForm::mediaNotify(const qelValue& media, const qelValue& message)
{
    qelValue self = qelFormValue(this);
    if (m_leaving)
        return;
    if (!m_itemMovie.isNil()) {
        if (!(media == m_itemMovie) || !isEndNotice(message))
            return;
        if (!video.isNil())
            stopVideo();
    }
    if (m_nextItem >= m_itemCount) {
        goToMainMenu();
        return;
    }
    startNextItem();
}

void IntroForm::handleControl(const qelValue& control)
{
    qelControlObject* object = qelControlOf(control);
    qelValue hotspot = getProperty("ScreenHotspot");
    if (object && !hotspot.isNil() && object->getProperty("Name") == hotspot) {
        stopVideo();
        goToMainMenu();
        return;
    }
    qelFormObject::handleControl(control);
}

void IntroForm::key(int32_t code, int32_t modifiers)
{
    stopVideo();
    goToMainMenu();
}

void IntroForm::goToMainMenu()
{
    // Asked once: a second request for the form just opened would only re-enter it.
    if (m_leaving)
        return;
    m_leaving = true;
    qelValue self = qelFormValue(this);
    qelValue data = qelTable(4, 100, 75);
    qelPut(data, "NoFade", qelTrue);
    qelHistoryGoTo("MainForm", data);
}

void IntroForm::close()
{
    qelValue self = qelFormValue(this);
    qelFlushEvents(inputAndMediaEvents);
    qelResetClip();
    qelMediaFormObject::close();
    releaseResourceTable();
    // Stopping the movie and the soundtrack may have queued their notices: they are the
    // intro's, not the next screen's.
    qelFlushEvents(inputAndMediaEvents);
    m_playList = qelNil;
    m_itemMovie = qelNil;
}
