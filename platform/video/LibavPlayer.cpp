#include "platform/video/LibavPlayer.h"

#include "platform/window/WindowSystem.h"

#include <algorithm>

namespace platform::video {

namespace {

    // The notification code of a play that reached its end.
    constexpr uint64_t notifySuccessful = 1;

    // The device types the decoder serves.
    bool knownType(const std::string& type)
    {
        return type == "avivideo" || type == "mpegvideo";
    }

} // namespace

LibavPlayer::LibavPlayer(WindowSystem& system)
    : m_system(system)
{
    m_system.pump().setTimedWork(this, [this](uint32_t now) { return advance(now); });
    addPresentationLayer(this, 10);
}

LibavPlayer::~LibavPlayer()
{
    removePresentationLayer(this);
    m_system.pump().setTimedWork(this, nullptr);
    if (m_sounding)
        sound({});
}

std::unique_ptr<MoviePlayer> makeMoviePlayer(WindowSystem& system, MovieSoundOutput sound)
{
    auto player = std::make_unique<LibavPlayer>(system);
    player->setSoundOutput(std::move(sound));
    return player;
}

void LibavPlayer::setSoundOutput(SoundOutput output)
{
    m_sound = std::move(output);
}

void LibavPlayer::sound(const std::vector<int16_t>& samples)
{
    if (m_sound.play)
        m_sound.play(samples);
}

LibavPlayer::Movie* LibavPlayer::movie(uint32_t device)
{
    auto found = m_movies.find(device);
    return found == m_movies.end() ? nullptr : found->second.get();
}

void LibavPlayer::changed(const gfx::Rect& rect)
{
    if (!rect.isEmpty())
        m_system.window().frontChanged(rect);
}

void LibavPlayer::stopSound(Movie& m)
{
    for (auto& [id, other] : m_movies) {
        if (other.get() == &m && m_sounding == id) {
            m_sounding = 0;
            sound({});
        }
    }
}

bool LibavPlayer::decodePosition(Movie& m)
{
    if (m.pictureFrame == m.position && !m.picture.isEmpty())
        return true;
    if (!m.decoder.decodeFrame(m.position, m.picture))
        return false;
    m.pictureFrame = m.position;
    return true;
}

uint32_t LibavPlayer::openType(const std::string& deviceType, uint32_t& device)
{
    if (!knownType(deviceType))
        return ErrorUnknownDeviceType;
    device = m_nextId++;
    m_types[device] = deviceType;
    return PlayerOk;
}

uint32_t LibavPlayer::openElement(const std::string& deviceType, const std::string& path, const std::string&,
    WindowHandle notifyWindow, uint32_t& device)
{
    if (std::none_of(m_types.begin(), m_types.end(), [&](const auto& t) { return t.second == deviceType; }))
        return ErrorNotOpenedType;
    auto m = std::make_unique<Movie>();
    if (!m->decoder.open(path))
        return ErrorCannotOpenFile;
    m->deviceType = deviceType;
    m->notifyWindow = notifyWindow;
    device = m_nextId++;
    m_movies[device] = std::move(m);
    return PlayerOk;
}

uint32_t LibavPlayer::close(uint32_t device)
{
    if (m_types.erase(device))
        return PlayerOk;
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (m->shown)
        changed(m->place);
    stopSound(*m);
    m_movies.erase(device);
    return PlayerOk;
}

uint32_t LibavPlayer::sourceSize(uint32_t device, int& width, int& height)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    width = m->decoder.width();
    height = m->decoder.height();
    return PlayerOk;
}

uint32_t LibavPlayer::length(uint32_t device, int32_t& frames)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    frames = m->decoder.frameCount();
    return PlayerOk;
}

uint32_t LibavPlayer::position(uint32_t device, int32_t& frame)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    advance(m_system.now());
    frame = m->position;
    return PlayerOk;
}

uint32_t LibavPlayer::seek(uint32_t device, int32_t frame)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (m->playing) {
        m->playing = false;
        stopSound(*m);
    }
    m->position = std::clamp(frame, 0, m->decoder.frameCount() - 1);
    if (m->shown) {
        if (!decodePosition(*m))
            return ErrorCannotDecode;
        changed(m->place);
    }
    return PlayerOk;
}

uint32_t LibavPlayer::cue(uint32_t device)
{
    return movie(device) ? PlayerOk : ErrorInvalidDevice;
}

uint32_t LibavPlayer::play(uint32_t device, int32_t from, int32_t to, bool repeat)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    int32_t last = m->decoder.frameCount() - 1;
    m->from = std::clamp(from, 0, last);
    m->to = std::clamp(to, m->from, last);
    m->repeat = repeat;
    m->playing = true;
    m->started = m_system.now();
    m->position = m->from;
    if (m->shown && decodePosition(*m))
        changed(m->place);
    m_soundRate = m_sound.rate && m->decoder.hasAudio() ? m_sound.rate() : 0;
    if (m_soundRate > 0) {
        auto samples
            = m->decoder.decodeAudio(m->decoder.frameStartMs(m->from), m->decoder.frameStartMs(m->to + 1), m_soundRate);
        if (!samples.empty()) {
            m_sounding = device;
            sound(samples);
        }
    }
    return PlayerOk;
}

uint32_t LibavPlayer::stop(uint32_t device)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (m->playing) {
        advance(m_system.now());
        m->playing = false;
        stopSound(*m);
    }
    return PlayerOk;
}

uint32_t LibavPlayer::place(uint32_t device, const gfx::Rect& rect)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (m->shown)
        changed(m->place.united(rect));
    m->place = rect;
    return PlayerOk;
}

uint32_t LibavPlayer::show(uint32_t device, bool visible)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (visible && !decodePosition(*m))
        return ErrorCannotDecode;
    if (m->shown != visible)
        changed(m->place);
    m->shown = visible;
    return PlayerOk;
}

uint32_t LibavPlayer::drawFrame(uint32_t device, gfx::Surface& target, const gfx::Rect& rect)
{
    Movie* m = movie(device);
    if (!m)
        return ErrorInvalidDevice;
    if (!decodePosition(*m))
        return ErrorCannotDecode;
    drawScaled(m->picture, target, rect);
    return PlayerOk;
}

std::optional<uint32_t> LibavPlayer::advance(uint32_t now)
{
    std::optional<uint32_t> next;
    auto due = [&](int64_t ms) {
        uint32_t wait = uint32_t(std::max<int64_t>(ms, 1));
        if (!next || wait < *next)
            next = wait;
    };
    for (auto& [id, entry] : m_movies) {
        Movie& m = *entry;
        if (!m.playing)
            continue;
        const MovieDecoder& d = m.decoder;
        int64_t base = d.frameStartMs(m.from);
        // Every frame lasts at least a millisecond, so a range always takes some time.
        int64_t range = std::max<int64_t>(d.frameStartMs(m.to + 1) - base, 1);
        int64_t elapsed = std::max<int32_t>(int32_t(now - m.started), 0);
        if (elapsed >= range) {
            if (m.repeat) {
                int64_t rounds = elapsed / range;
                m.started += uint32_t(rounds * range);
                elapsed -= rounds * range;
                if (m_sounding == id)
                    sound(m.decoder.decodeAudio(int32_t(base), int32_t(base + range), m_soundRate));
            } else {
                m.playing = false;
                m.position = m.to;
                if (m.shown && m.pictureFrame != m.position && decodePosition(m))
                    changed(m.place);
                if (m_sounding == id) {
                    m_sounding = 0;
                    sound({});
                }
                m_system.pump().post(m.notifyWindow, MM_MCINOTIFY, notifySuccessful, int64_t(id));
                continue;
            }
        }
        int32_t frame = std::clamp(d.frameAtMs(int32_t(base + elapsed)), m.from, m.to);
        m.position = frame;
        if (m.shown && m.pictureFrame != frame && decodePosition(m))
            changed(m.place);
        int64_t frameEnd = frame >= m.to ? range : d.frameStartMs(frame + 1) - base;
        due(frameEnd - elapsed);
    }
    return next;
}

bool LibavPlayer::active() const
{
    return std::any_of(m_movies.begin(), m_movies.end(), [](const auto& entry) {
        const Movie& m = *entry.second;
        return m.shown && !m.picture.isEmpty() && !m.place.isEmpty();
    });
}

void LibavPlayer::compose(gfx::Surface& shown, gfx::Rect& dirty)
{
    for (auto& [id, entry] : m_movies) {
        Movie& m = *entry;
        if (!m.shown || m.picture.isEmpty() || m.place.isEmpty())
            continue;
        drawScaled(m.picture, shown, m.place);
        dirty = dirty.united(m.place.intersected(shown.bounds()));
    }
}

} // namespace platform::video
