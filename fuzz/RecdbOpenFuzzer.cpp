// Opens fuzzed bytes as a record file, read-only, and walks it: first and next, last and
// previous, and finds on several indexes. Nothing may crash, hang or write to the file.
//
// Input: byte 0 selects the form. Even: the rest is the whole file. Odd: the harness builds a
// sound header (byte order, root, height and key types from bytes 1..4) and the rest becomes the
// pages, so the fuzzer spends its time inside the pages rather than on the signature.

#include "recdb/RecDb.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const uint8_t segments[] = {
    3,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    1,
    0,
    0,
    0,
    0,
    0,
    0, // signed 32-bit, descending
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0, // string
    31,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
};
const uint8_t typeChoices[] = { 0, 1, 2, 3, 4, 7, 8, 9, 10, 16 };

std::string scratchFile()
{
    std::filesystem::path dir
        = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    return (dir / ("qel_recdb_fuzz_" + std::to_string(getpid()) + ".db")).string();
}

void put32(std::vector<uint8_t>& f, size_t at, uint32_t v, bool big)
{
    for (int i = 0; i < 4; ++i)
        f[at + size_t(big ? 3 - i : i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> buildFile(const uint8_t* data, size_t size, rdbIndexDef* table)
{
    if (size == 0)
        return {};
    if (!(data[0] & 1))
        return std::vector<uint8_t>(data + 1, data + size);
    if (size < 5)
        return {};
    bool big = data[1] & 1;
    std::vector<uint8_t> file(1024, 0);
    file.insert(file.end(), data + 5, data + size);
    uint32_t pages = uint32_t((file.size() - 1024 + 1023) / 1024);
    const uint32_t words[][2] = { { 0, 1 }, { 4, 'V' }, { 8, 1 }, { 12, pages ? data[2] % pages : 0 }, { 16, 'A' },
        { 20, 'L' }, { 24, 'I' }, { 28, 1u + data[3] % 4 }, { 32, 'D' }, { 36, pages }, { 40, 'A' }, { 44, 1 },
        { 48, 'T' }, { 52, pages }, { 56, '1' }, { 60, 0xFFFFFFFF }, { 344, 0xFFFFFFFF }, { 348, 0xFFFFFFFF } };
    for (auto& w : words)
        put32(file, w[0], w[1], big);
    // Indexes 1 to 14 keep key type 0; index 15 takes a type chosen by the input.
    uint8_t type = typeChoices[data[4] % sizeof typeChoices];
    file[192 + 15] = type;
    file[192 + 20] = 2;
    table[0] = { 1, 0, nullptr };
    table[1] = { 15, type, type == 8 ? segments : nullptr };
    table[2] = { 0, 0, nullptr };
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = scratchFile();
    rdbIndexDef table[3] = {};
    std::vector<uint8_t> file = buildFile(data, size, table);
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    rdbHandle h;
    if (rdbOpen(&h, name.c_str(), 'E', 1, table[0].index ? table : nullptr) == 0) {
        std::vector<uint8_t> buffer(600);
        for (int key : { 1, 15, 20 }) {
            int32_t s = rdbFirst(&h, key, buffer.data(), int32_t(buffer.size()));
            for (int i = 0; s == 0 && i < 2000; ++i)
                s = rdbNext(&h, key, buffer.data(), int32_t(buffer.size()));
            s = rdbLast(&h, key, buffer.data(), int32_t(buffer.size()));
            for (int i = 0; s == 0 && i < 2000; ++i)
                s = rdbPrevious(&h, key, buffer.data(), int32_t(buffer.size()));
            uint8_t probe[16] = { 3, 'a', 'b', 'c', 0 };
            rdbFind(&h, key, key == 1 ? static_cast<const void*>("m") : probe, 0, buffer.data(), 10);
            rdbNext(&h, key, buffer.data(), 0);
            rdbReadCurrent(&h, key, buffer.data(), int32_t(buffer.size()));
        }
        // Writing operations of a read-only handle are refused.
        if (rdbAdd(&h, 1, "x", 1, "y", 1) != -33 || rdbDelete(&h, 1, "m", 0) != -33)
            std::abort();
        rdbClose(&h);
    }
    std::ifstream in(name, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> after(in ? size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(after.data()), std::streamsize(after.size()));
    if (after != file) {
        std::fprintf(stderr, "the record file was written by a read-only open\n");
        std::abort();
    }
    return 0;
}
