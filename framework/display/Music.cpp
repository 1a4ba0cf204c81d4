#include "framework/display/Music.h"

#include "framework/display/SoundState.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/EventQueue.h"
#include "platform/audio/AudioDevice.h"

qelMusicObject::qelMusicObject(const qelValue& source, int32_t inMemory)
    : qelSoundBaseObject(source, inMemory)
{
    if (!inMemory)
        qelSoundStateNow().musicFile = source;
}

int32_t qelMusicObject::play(const qelValue& self, int32_t, int32_t, int32_t)
{
    qelSoundState& s = qelSoundStateNow();
    if (s.musicPlaying)
        return 0;
    qelValue data = bytes();
    qelBufferObject* buffer = qelBufferOf(data);
    if (!buffer || !qelAudioDevice().playMusic(buffer->bytes(), size_t(buffer->length)))
        return 0;
    s.musicPlaying = 1;
    s.musicStart = qelClockNow();
    s.currentMusic = self;
    return 1;
}

int32_t qelMusicObject::isPlaying()
{
    qelSoundState& s = qelSoundStateNow();
    return s.musicPlaying && s.currentMusic.object() == this;
}

int32_t qelMusicObject::stop()
{
    if (!isPlaying())
        return 0;
    qelSoundState& s = qelSoundStateNow();
    s.musicPlaying = 0;
    qelAudioDevice().stopMusic();
    qelValue previous = std::move(s.currentMusic);
    s.currentMusic = qelNil;
    qelPostMediaNotice(previous, "aborted", qelClockNow());
    return 1;
}

int32_t qelMusicObject::position()
{
    qelSoundState& s = qelSoundStateNow();
    return s.musicPlaying ? qelPositionSince(s.musicStart) : -1;
}

qelValue qelCurrentMusic()
{
    return qelSoundStateNow().currentMusic;
}

qelValue qelMusicFile()
{
    return qelSoundStateNow().musicFile;
}
