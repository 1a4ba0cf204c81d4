#pragma once

// The input form of the harnesses that open fuzzed record files read-only, and their check that
// the open wrote nothing.
//
// Byte 0 selects the form. Even: the rest is the whole file. Odd: the harness writes a sound
// header (byte order, root and height from bytes 1..3) and the input after its first
// `headerBytes` bytes becomes the pages, so the fuzzer spends its time inside the pages rather
// than on the signature. A harness may take more header bytes for choices of its own.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fuzz {

inline void put32(std::vector<uint8_t>& f, size_t at, uint32_t v, bool big)
{
    for (int i = 0; i < 4; ++i)
        f[at + size_t(big ? 3 - i : i)] = uint8_t(v >> (8 * i));
}

// The file bytes of an input; empty when an odd-form input is shorter than its header bytes.
inline std::vector<uint8_t> recordFileFromInput(const uint8_t* data, size_t size, size_t headerBytes)
{
    if (size == 0)
        return {};
    if (!(data[0] & 1))
        return std::vector<uint8_t>(data + 1, data + size);
    if (size < headerBytes)
        return {};
    bool big = data[1] & 1;
    std::vector<uint8_t> file(1024, 0);
    file.insert(file.end(), data + headerBytes, data + size);
    uint32_t pages = uint32_t((file.size() - 1024 + 1023) / 1024);
    const uint32_t words[][2] = { { 0, 1 }, { 4, 'V' }, { 8, 1 }, { 12, pages ? data[2] % pages : 0 }, { 16, 'A' },
        { 20, 'L' }, { 24, 'I' }, { 28, 1u + data[3] % 4 }, { 32, 'D' }, { 36, pages }, { 40, 'A' }, { 44, 1 },
        { 48, 'T' }, { 52, pages }, { 56, '1' }, { 60, 0xFFFFFFFF }, { 344, 0xFFFFFFFF }, { 348, 0xFFFFFFFF } };
    for (auto& w : words)
        put32(file, w[0], w[1], big);
    file[192 + 20] = 2;
    return file;
}

inline void writeWholeFile(const std::string& name, const std::vector<uint8_t>& file)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

// Aborts with "the <what> was written by a read-only open" unless the file still holds `file`.
inline void abortUnlessUnchanged(const std::string& name, const std::vector<uint8_t>& file, const char* what)
{
    std::ifstream in(name, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> after(in ? size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(after.data()), std::streamsize(after.size()));
    if (after != file) {
        std::fprintf(stderr, "the %s was written by a read-only open\n", what);
        std::abort();
    }
}

} // namespace fuzz
