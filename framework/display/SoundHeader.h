#pragma once

// The header of a RIFF WAVE sound, as the sound object reads it to learn its length.
//
// Layout (all numbers little-endian):
//   offset  size  field
//   0       4     "RIFF"
//   4       4     RIFF size (not used)
//   8       4     "WAVE"
//   12      4     "fmt "
//   16      4     fmt size n (at least 16)
//   20      n     fmt body:  0 format tag (16 bits), 2 channels (16), 4 sample rate (32),
//                            12 block align (16), 14 bits per sample (16),
//                            18 samples per block (16, IMA ADPCM only; needs n >= 20)
//   then chunks of (identifier, size, size bytes, a pad byte when the size is odd) up to "data",
//   whose size is the data size d.
//
// Sample count from d: PCM (tag 1) d / block align; IMA ADPCM (tag 0x11) (d / block align) x
// samples per block / channels; any other tag d x 8 / (bits per sample x channels). A divisor
// of 0 gives 0 samples.

#include "framework/runtime/Value.h"

#include <cstdint>

constexpr int32_t QEL_WAVE_FORMAT_PCM = 1;
constexpr int32_t QEL_WAVE_FORMAT_IMA_ADPCM = 0x11;

struct qelSoundHeader {
    int32_t formatTag = 0;
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t blockAlign = 0;
    int32_t bitsPerSample = 0;
    int32_t samplesPerBlock = 0;
    uint32_t dataSize = 0;
    // Brought into int32 range.
    int32_t sampleCount = 0;
};

// Reads the header from the stream's position. False after a report through qelError: "Not a
// valid sound file", or the stream's read error when it ends inside a number.
bool qelReadSoundHeader(const qelValue& stream, qelSoundHeader& header);

// The sample count the data size gives for the format (64-bit arithmetic, cut to int32 range).
int32_t qelSoundSampleCount(const qelSoundHeader& header);
// sampleCount x 1000 / rate in milliseconds, computed in 64 bits; 0 for a rate of 0 or less.
int32_t qelSoundDurationMs(int32_t sampleCount, int32_t sampleRate);
