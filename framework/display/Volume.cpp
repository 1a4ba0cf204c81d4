#include "framework/display/Volume.h"

#include "framework/display/SoundState.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/audio/AudioDevice.h"

#include <algorithm>

namespace {

int64_t volumeRange()
{
    // The range comes from the ini file or the registry: a divisor of 0 must not reach the
    // arithmetic.
    int32_t range = qelGetIntSetting(qelStringValue("Volume Range"), 100);
    return range > 0 ? range : 100;
}

} // namespace

int32_t qelGetVolume()
{
    std::optional<uint32_t> word = qelAudioDevice().waveVolume();
    if (!word)
        return -1;
    int64_t mean = (int64_t(*word >> 16) + int64_t(*word & 0xFFFF)) >> 1;
    return int32_t(mean * volumeRange() / 65535);
}

bool qelSetVolume(int32_t volume)
{
    int64_t range = volumeRange();
    int64_t channel = std::clamp<int64_t>(volume, 0, range) * 65535 / range;
    uint32_t word = uint32_t(channel) << 16 | uint32_t(channel);
    platform::audio::AudioDevice& device = qelAudioDevice();
    device.setWaveVolume(word);
    return device.setMidiVolume(word);
}
