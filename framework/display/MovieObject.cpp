#include "framework/display/MovieObject.h"

#include "framework/display/AppWindow.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/MovieState.h"
#include "framework/display/Sound.h"
#include "framework/display/WindowObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Directory.h"
#include "platform/video/MoviePlayer.h"

#include <string>

using platform::video::MoviePlayer;
using platform::video::PlayerOk;

namespace {

qelMovieState& state()
{
    return qelMovieStateNow();
}

// Commands on a missing device fail like commands on a closed one.
uint32_t noDevice()
{
    return platform::video::ErrorInvalidDevice;
}

std::string text(const qelValue& value)
{
    return value.isNil() ? std::string() : std::string(qelCString(value));
}

uint32_t mainWindowHandle()
{
    qelWindowObject* port = qelMainPort();
    return port ? port->handle : 0;
}

} // namespace

qelMovieObject* qelMovieOf(const qelValue& value)
{
    return value.type() == QEL_MOVIE_TYPE ? dynamic_cast<qelMovieObject*>(value.object()) : nullptr;
}

qelValue qelMovieFromFile(const qelValue& path, const qelValue& extension, int32_t fullScreen)
{
    qelValue type = qelUpperCase(extension);
    std::string name = text(type);
    if (name != "AVI" && name != "MPG") {
        qelMessageBox(qelMovieText("Unrecognized movie type: " + name));
        return qelNil;
    }
    return qelMakeObjectValue(QEL_MOVIE_TYPE, new qelMovieObject(path, type, fullScreen));
}

qelMovieObject::qelMovieObject(const qelValue& file, const qelValue& type, int32_t fullScreen)
    : m_fullScreen(fullScreen)
    , m_file(file)
    , m_type(type)
{
    if (qelWindowObject* port = qelMainPort()) {
        m_mediaOffsetX = port->mediaLeft;
        m_mediaOffsetY = port->mediaTop;
    }
    m_alias = qelMovieText(std::to_string(++state().aliasCounter));
}

qelMovieObject::~qelMovieObject()
{
    close();
}

bool qelMovieObject::isMpeg() const
{
    return text(m_type) == "MPG";
}

bool qelMovieObject::open()
{
    m_type = qelUpperCase(qelExtension(m_file));
    if (m_opened)
        return !m_openPending;
    m_opened = 1;
    m_openPending = 1;
    qelMovieState& s = state();
    if (s.extensions.isNil())
        s.extensions = qelReadMciExtensions("mci extensions");
    m_deviceType = qelGet(s.extensions, m_type);
    if (m_deviceType.isNil()) {
        qelMessageBox(qelMovieText("Unrecognized movie file type: " + text(m_type)));
        return false;
    }
    MoviePlayer* player = qelMoviePlayer();
    std::string deviceType = text(m_deviceType);
    if (s.devices.isNil())
        s.devices = qelTable(4, 100, 75);
    qelValue entry = qelGet(s.devices, m_deviceType);
    if (!entry.isNil()) {
        qelPut(entry, 1, qelMakeInt(qelIntAt(entry, 1) + 1));
    } else {
        uint32_t typeDevice = 0;
        uint32_t code = player ? player->openType(deviceType, typeDevice) : noDevice();
        if (code != PlayerOk) {
            qelReportMciError(code, qelMovieText("open " + deviceType));
            qelMessageBox(qelMovieText("Cannot initialize video subsystem with this MCI driver: " + deviceType));
            return false;
        }
        qelPut(s.devices, m_deviceType, qelListOf({ qelMakeInt(int32_t(typeDevice)), qelMakeInt(1) }));
    }
    m_typeUser = true;

    std::string file = text(m_file);
    std::string path = platform::resolvePath(platform::cp1252::toUtf8(file));
    uint32_t device = 0;
    uint32_t code
        = player ? player->openElement(deviceType, path, text(m_alias), mainWindowHandle(), device) : noDevice();
    if (code != PlayerOk) {
        qelReportMciError(code, qelMovieText("open element " + file));
        qelMessageBox(qelMovieText("Cannot instantiate movie: " + file));
        return false;
    }
    m_device = device;
    int w = 0;
    int h = 0;
    player->sourceSize(m_device, w, h);
    m_width = w;
    m_height = h;
    int32_t frames = 0;
    player->length(m_device, frames);
    m_length = frames;
    m_openPending = 0;
    return true;
}

void qelMovieObject::close()
{
    MoviePlayer* player = qelMoviePlayer();
    qelMovieState& s = state();
    // A movie closed while it plays stops without a notice and leaves the playing list, which
    // would otherwise keep the event loop waiting for an end that never comes.
    if (m_playing) {
        if (player && m_device)
            player->stop(m_device);
        m_playing = 0;
        if (!s.playing.isNil()) {
            for (int32_t i = qelMovieCount(s.playing) - 1; i >= 0; --i) {
                if (qelMovieOf(qelGet(s.playing, i)) == this)
                    qelListRemove(s.playing, qelGet(s.playing, i));
            }
            if (qelMovieCount(s.playing) == 0)
                s.playing = qelNil;
        }
    }
    if (m_shown) {
        if (isMpeg())
            qelSetCurrentMovieDevice(-1);
        if (player && m_device)
            player->show(m_device, false);
        m_shown = 0;
    }
    if (m_opened) {
        if (player && m_device)
            player->close(m_device);
        m_opened = 0;
        m_device = 0;
        qelValue entry = m_typeUser ? qelGet(s.devices, m_deviceType) : qelNil;
        if (!entry.isNil()) {
            int32_t users = qelIntAt(entry, 1) - 1;
            if (users <= 0) {
                if (player)
                    player->close(uint32_t(qelIntAt(entry, 0)));
                qelRemoveKey(s.devices, m_deviceType);
            } else {
                qelPut(entry, 1, qelMakeInt(users));
            }
        }
        m_typeUser = false;
    }
    m_opened = m_openPending = m_suspended = 0;
    m_palette = qelNil;
}

int32_t qelMovieObject::width()
{
    open();
    return m_width;
}

int32_t qelMovieObject::height()
{
    open();
    return m_height;
}

int32_t qelMovieObject::position()
{
    if (!open())
        return 0;
    int32_t frame = 0;
    MoviePlayer* player = qelMoviePlayer();
    if (!player || player->position(m_device, frame) != PlayerOk)
        return 0;
    m_savedPosition = frame;
    return frame;
}

int32_t qelMovieObject::seek(int32_t position)
{
    m_savedPosition = position;
    if (!m_shown)
        return 1;
    MoviePlayer* player = qelMoviePlayer();
    uint32_t code = player ? player->seek(m_device, position) : noDevice();
    if (code != PlayerOk)
        qelReportMciError(code, "seek");
    return code == PlayerOk;
}

void qelMovieObject::destination(int32_t& x, int32_t& y, int32_t& w, int32_t& h)
{
    bool fullScreenVideo = qelGetBoolSetting("FullScreenVideo", 1);
    bool maximize = qelGetBoolSetting("MaximizeWindow", 0);
    if (m_fullScreen && fullScreenVideo && (isMpeg() || !maximize)) {
        m_left = m_top = 0;
        if (isMpeg() && maximize) {
            m_width = qelScreenWidth();
            m_height = qelScreenHeight();
            x = y = 0;
        } else {
            m_width = qelMediaSizeSetting("MediaWidth", 640);
            m_height = qelMediaSizeSetting("MediaHeight", 480);
            x = m_mediaOffsetX;
            y = m_mediaOffsetY;
        }
    } else {
        x = m_mediaOffsetX + m_left;
        y = m_mediaOffsetY + m_top;
    }
    w = m_width;
    h = m_height;
}

int32_t qelMovieObject::show()
{
    if (!open())
        return 0;
    if (m_shown)
        return 1;
    if (qelWindowObject* port = qelMainPort())
        m_palette = port->palette();
    int32_t x, y, w, h;
    destination(x, y, w, h);
    qelSetEraseSwitch(0);
    MoviePlayer* player = qelMoviePlayer();
    uint32_t code = player->place(m_device, platform::gfx::Rect::fromSize(x, y, w, h));
    if (code != PlayerOk)
        qelReportMciError(code, "put destination rect");
    code = player->show(m_device, true);
    if (code == PlayerOk)
        m_shown = 1;
    else
        qelReportMciError(code, "window show");
    if (m_savedPosition != 0)
        seek(m_savedPosition);
    return m_shown;
}

int32_t qelMovieObject::play(const qelValue& self, int32_t from, int32_t to, int32_t repeat)
{
    MoviePlayer* player = qelMoviePlayer();
    if (m_suspended && m_opened) {
        int32_t x, y, w, h;
        destination(x, y, w, h);
        player->place(m_device, platform::gfx::Rect::fromSize(x, y, w, h));
    } else if (!show()) {
        return 0;
    }
    if (from >= m_length)
        from = 0;
    if (to < 0)
        to = m_length - 1;
    if (to < from)
        to = from;
    if (player->play(m_device, from, to, repeat != 0) != PlayerOk)
        return 0;
    m_playing = 1;
    qelMovieState& s = state();
    if (s.playing.isNil())
        s.playing = qelMakeList(4, 100, 5);
    // A movie played again while it plays is listed once: its end takes it out once.
    qelAddUnique(s.playing, self);
    if (isMpeg())
        qelSetCurrentMovieDevice(int32_t(m_device));
    return 1;
}

int32_t qelMovieObject::cue(const qelValue&, int32_t)
{
    // Cueing readies the device where it stands; the position is not sought.
    if (!open() || !show())
        return 0;
    uint32_t code = qelMoviePlayer()->cue(m_device);
    return code == PlayerOk;
}

void qelMovieObject::leavePlayingList(const char* notice)
{
    qelMovieState& s = state();
    for (int32_t i = 0, n = qelMovieCount(s.playing); i < n; ++i) {
        qelValue movie = qelGet(s.playing, i);
        qelMovieObject* m = qelMovieOf(movie);
        if (m && m->m_device == m_device) {
            qelListRemove(s.playing, movie);
            qelPostEvent(qelMakeMediaEvent(movie, qelStringValue(notice), int32_t(qelClockNow())));
            break;
        }
    }
    if (!s.playing.isNil() && qelMovieCount(s.playing) == 0)
        s.playing = qelNil;
}

int32_t qelMovieObject::ended()
{
    leavePlayingList("ended");
    m_playing = 0;
    return 1;
}

int32_t qelMovieObject::stop()
{
    if (!m_playing)
        return 0;
    if (isMpeg()) {
        qelSetEraseSwitch(0);
        qelSetCurrentMovieDevice(-1);
    }
    MoviePlayer* player = qelMoviePlayer();
    uint32_t code = player ? player->stop(m_device) : noDevice();
    if (code != PlayerOk)
        return 0;
    m_playing = 0;
    leavePlayingList("aborted");
    return 1;
}

int32_t qelMovieObject::suspend()
{
    if (m_shown) {
        stop();
        m_savedPosition = position();
        close();
    }
    m_suspended = 1;
    return 1;
}

int32_t qelMovieObject::move(int32_t x, int32_t y)
{
    int32_t wasShown = m_shown;
    if (wasShown)
        suspend();
    m_left = x;
    m_top = y;
    if (wasShown)
        show();
    return 1;
}

int32_t qelMovieObject::resize(int32_t width, int32_t height)
{
    bool opened = open();
    m_width = width;
    m_height = height;
    return opened;
}

int32_t qelDrawMovieFrame(const qelValue& movie, int32_t position, int32_t x, int32_t y, int32_t width, int32_t height)
{
    qelMovieObject* m = qelMovieOf(movie);
    if (!m || !m->open())
        return 0;
    qelSetEraseSwitch(0);
    if (x >= 0 && y >= 0) {
        m->m_left = x;
        m->m_top = y;
    }
    if (width > 0 && height > 0) {
        m->m_width = width;
        m->m_height = height;
    }
    MoviePlayer* player = qelMoviePlayer();
    qelWindowObject* port = qelMainPort();
    uint32_t code = platform::video::ErrorCannotDecode;
    if (position >= 0)
        player->seek(m->m_device, position);
    if (port && port->offscreenDc()) {
        platform::gfx::Rect place = platform::gfx::Rect::fromSize(
            m->m_left + port->originX, m->m_top + port->originY, m->m_width, m->m_height);
        code = player->drawFrame(m->m_device, port->offscreenDc()->target(), place);
    }
    qelSetEraseSwitch(1);
    if (code != PlayerOk) {
        qelReportMciError(code, "update");
        return 0;
    }
    // The frame went into the port where it was drawn: that area is shown at the next paint.
    port->invalidateWindow(port->refreshRect(m->m_left, m->m_top, m->m_width, m->m_height));
    return 1;
}
