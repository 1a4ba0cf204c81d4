#include "tools/diskbuild/Wave.h"

#include "tools/diskbuild/Bytes.h"

#include <string>

std::vector<uint8_t> monoWave(const std::vector<uint8_t>& sampleBytes, uint32_t rate, uint32_t bitsPerSample)
{
    uint32_t block = bitsPerSample / 8;
    uint32_t dataBytes = uint32_t(sampleBytes.size());
    std::vector<uint8_t> out { 'R', 'I', 'F', 'F' };
    put32(out, 36 + dataBytes);
    for (char c : std::string("WAVEfmt "))
        out.push_back(uint8_t(c));
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, rate);
    put32(out, rate * block);
    put16(out, block);
    put16(out, bitsPerSample);
    for (char c : std::string("data"))
        out.push_back(uint8_t(c));
    put32(out, dataBytes);
    out.insert(out.end(), sampleBytes.begin(), sampleBytes.end());
    return out;
}
