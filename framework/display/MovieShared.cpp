// What movies share: the movie device, the extension table, the error reports, the end
// notices, closing every movie, and the services the environment and the window call.

#include "framework/display/AppWindow.h"
#include "framework/display/MovieObject.h"
#include "framework/display/MovieState.h"
#include "framework/display/Sound.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/audio/AudioDevice.h"
#include "platform/video/MoviePlayer.h"
#include "platform/window/WindowSystem.h"

#include <string>

qelMovieState& qelMovieStateNow()
{
    // Never destroyed: values must not be released after the allocator has gone.
    static qelMovieState* state = new qelMovieState;
    return *state;
}

qelValue qelMovieText(const std::string& text)
{
    return qelStringValueN(text.data(), int32_t(text.size()));
}

int32_t qelMovieCount(const qelValue& list)
{
    return list.isNil() ? 0 : qelCount(list);
}

namespace {

qelMovieState& state()
{
    return qelMovieStateNow();
}

} // namespace

platform::video::MoviePlayer* qelMoviePlayer()
{
    qelMovieState& s = state();
    if (s.playerGiven)
        return s.player.get();
    platform::WindowSystem* system = qelWindowSystem();
    if (system != s.playerSystem) {
        s.player.reset();
        s.playerSystem = system;
        if (system) {
            // A movie's sound goes to the process audio device, on its movie channel.
            s.player = platform::video::makeMoviePlayer(*system,
                { [] { return platform::audio::audioDevice().movieSoundRate(); },
                    [](const std::vector<int16_t>& samples) { platform::audio::audioDevice().playMovieSound(samples); } });
        }
    }
    return s.player.get();
}

void qelSetMoviePlayer(std::unique_ptr<platform::video::MoviePlayer> player)
{
    qelMovieState& s = state();
    s.playerGiven = player != nullptr;
    s.player = std::move(player);
    s.playerSystem = nullptr;
}

void qelResetMovieState()
{
    qelMovieState& s = state();
    s.extensions = qelNil;
    s.devices = qelNil;
    s.playing = qelNil;
    s.aliasCounter = 0;
    qelSetCurrentMovieDevice(-1);
    qelSetEraseSwitch(1);
}

qelValue qelPlayingMovies()
{
    return state().playing;
}

qelValue qelMovieDevices()
{
    return state().devices;
}

int32_t qelLastMovieAlias()
{
    return state().aliasCounter;
}

void qelReportMciError(uint32_t code, const qelValue& context)
{
    if (!qelGetBoolSetting("ShowVideoErrors", 0))
        return;
    std::string text;
    if (platform::video::MoviePlayer* player = qelMoviePlayer())
        text = player->errorText(code);
    if (text.empty())
        text = std::to_string(code);
    qelMessageBox(qelMovieText("MCI error (" + std::string(qelCString(context)) + "): " + text + "\n"));
}

qelValue qelReadMciExtensions(const qelValue& section)
{
    qelValue written = qelTable(4, 100, 75);
    qelGetProfileString(qelPathJoin(qelAppDirectory(), "win.ini"), section, written);
    qelValue table = qelTable(4, 100, 75);
    for (int32_t i = qelFirstIndex(written); i >= 0; i = qelNextIndex(written, i))
        qelPut(table, qelUpperCase(qelGetKey(written, i)), qelGet(written, i));
    // Without the section (no win.ini on this system) the two kinds of movie still play.
    if (qelCount(table) == 0) {
        qelPut(table, "AVI", "avivideo");
        qelPut(table, "MPG", "mpegvideo");
    }
    return table;
}

void qelMovieObject::notify(int64_t device)
{
    qelValue playing = state().playing;
    for (int32_t i = 0, n = qelMovieCount(playing); i < n; ++i) {
        qelValue movie = qelGet(playing, i);
        qelMovieObject* m = qelMovieOf(movie);
        if (m && m->m_device != 0 && int64_t(m->m_device) == device) {
            m->ended();
            return;
        }
    }
}

void qelMovieObject::realize()
{
}

void qelMovieObject::placeShown()
{
    int32_t device = qelCurrentMovieDevice();
    qelValue playing = state().playing;
    for (int32_t i = 0, n = qelMovieCount(playing); i < n; ++i) {
        qelMovieObject* m = qelMovieOf(qelGet(playing, i));
        if (m && m->m_shown && int32_t(m->m_device) == device) {
            int32_t x, y, w, h;
            m->destination(x, y, w, h);
            if (platform::video::MoviePlayer* player = qelMoviePlayer())
                player->place(m->m_device, platform::gfx::Rect::fromSize(x, y, w, h));
        }
    }
}

void qelReleaseMovie(const qelValue& movie)
{
    if (qelMovieObject* m = qelMovieOf(movie))
        m->close();
}

void qelCloseAllMovies()
{
    qelMovieState& s = state();
    // A copy: stopping takes movies out of the list.
    qelValue playing = s.playing.isNil() ? qelNil : qelCopy(s.playing);
    for (int32_t i = qelMovieCount(playing) - 1; i >= 0; --i) {
        qelValue movie = qelGet(playing, i);
        qelStop(movie);
        qelReleaseMovie(movie);
    }
    s.extensions = qelNil;
    s.playing = qelNil;
    s.devices = qelNil;
}

bool qelAnyMovieOpen()
{
    return qelMovieCount(state().playing) > 0;
}

void qelInstallMovieServices()
{
    qelEnvironmentServices& services = qelServices();
    services.movieFromFile = qelMovieFromFile;
    services.closeAllMovies = qelCloseAllMovies;
    qelMovieWindowHooks hooks;
    hooks.notify = qelMovieObject::notify;
    hooks.realizePalette = qelMovieObject::realize;
    hooks.moved = [](int32_t, int32_t) { qelMovieObject::placeShown(); };
    qelSetMovieWindowHooks(hooks);
    // While a movie plays the event queue waits for messages; the sound poll stays.
    qelSetMediaHooks(qelAnyMovieOpen, qelPollMedia);
}
