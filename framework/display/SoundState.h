#pragma once

// The shared playing state of sounds and music (one of each per process), kept between
// Sound.cpp and Music.cpp.

#include "framework/runtime/Value.h"

#include <cstdint>

namespace platform::audio {
class AudioDevice;
}

struct qelSoundState {
    qelValue currentSound;
    int32_t soundPlaying = 0;
    uint32_t soundStart = 0;
    uint32_t soundEnd = 0;

    // The file name of the last music made from a file (kept for what callers may read).
    qelValue musicFile;
    qelValue currentMusic;
    int32_t musicPlaying = 0;
    uint32_t musicStart = 0;
};

qelSoundState& qelSoundStateNow();
// The process audio device; a headless run that has not chosen one gets the null device.
platform::audio::AudioDevice& qelAudioDevice();
// Posts (media, notice) with the time.
void qelPostMediaNotice(const qelValue& media, const char* notice, uint32_t time);
// (now - start) x 22050 / 1000 in 64 bits; -1 when the difference is negative.
int32_t qelPositionSince(uint32_t start);
