#pragma once

// The disk's sounds as RIFF WAVE files: one channel of PCM samples.
//
// Layout (numbers little-endian; b = bits per sample / 8, d = data bytes):
//   offset  size  field
//   0       4     "RIFF"
//   4       4     36 + d
//   8       8     "WAVEfmt "
//   16      4     16 (the fmt body's size)
//   20      2     1 (PCM)
//   22      2     1 (one channel)
//   24      4     sample rate r
//   28      4     bytes a second, r x b
//   32      2     block align, b
//   34      2     bits per sample
//   36      4     "data"
//   40      4     d
//   44      d     the samples

#include <cstdint>
#include <vector>

// The file of the samples, given as their bytes (8-bit samples unsigned, 16-bit ones signed and
// little-endian).
std::vector<uint8_t> monoWave(const std::vector<uint8_t>& sampleBytes, uint32_t rate, uint32_t bitsPerSample);
