#include "platform/audio/AudioDevice.h"

namespace platform::audio {

bool NullAudio::playSound(const uint8_t*, size_t size, bool loop)
{
    calls.push_back({ "sound", size, loop });
    soundPlaying = !soundFails;
    soundLooping = soundPlaying && loop;
    return !soundFails;
}

void NullAudio::stopSound()
{
    calls.push_back({ "stop sound", 0, false });
    soundPlaying = soundLooping = false;
}

bool NullAudio::playMusic(const uint8_t*, size_t size)
{
    calls.push_back({ "music", size, false });
    musicPlaying = !musicFails;
    return !musicFails;
}

void NullAudio::stopMusic()
{
    calls.push_back({ "stop music", 0, false });
    musicPlaying = false;
}

std::optional<uint32_t> NullAudio::waveVolume()
{
    if (volumeFails)
        return std::nullopt;
    return wave;
}

bool NullAudio::setWaveVolume(uint32_t volume)
{
    if (volumeFails)
        return false;
    wave = volume;
    return true;
}

bool NullAudio::setMidiVolume(uint32_t volume)
{
    if (volumeFails)
        return false;
    midi = volume;
    return true;
}

} // namespace platform::audio
