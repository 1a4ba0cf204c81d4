// Opens fuzzed bytes as an index file, read-only, and asks it what the program asks: the count,
// contains and get of a few keys, prefix scans of values and keys, and the file's verification.
// Nothing may crash or hang, and nothing may be written to the file.
//
// Input: byte 0 selects the form. Even: the rest is the whole file. Odd: the harness writes a
// sound header (byte order, root and height from bytes 1..3) and the rest becomes the pages, so
// the fuzzer spends its time in the pages and in the stored values rather than on the signature.

#include "FuzzHooks.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/Verify.h"
#include "recdb/index/IndexObject.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

std::string scratchFile()
{
    std::filesystem::path dir
        = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    return (dir / ("qel_index_fuzz_" + std::to_string(std::random_device {}()) + ".idx")).string();
}

void put32(std::vector<uint8_t>& f, size_t at, uint32_t v, bool big)
{
    for (int i = 0; i < 4; ++i)
        f[at + size_t(big ? 3 - i : i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> buildFile(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    if (!(data[0] & 1))
        return std::vector<uint8_t>(data + 1, data + size);
    if (size < 4)
        return {};
    bool big = data[1] & 1;
    std::vector<uint8_t> file(1024, 0);
    file.insert(file.end(), data + 4, data + size);
    uint32_t pages = uint32_t((file.size() - 1024 + 1023) / 1024);
    const uint32_t words[][2] = { { 0, 1 }, { 4, 'V' }, { 8, 1 }, { 12, pages ? data[2] % pages : 0 }, { 16, 'A' },
        { 20, 'L' }, { 24, 'I' }, { 28, 1u + data[3] % 4 }, { 32, 'D' }, { 36, pages }, { 40, 'A' }, { 44, 1 },
        { 48, 'T' }, { 52, pages }, { 56, '1' }, { 60, 0xFFFFFFFF }, { 344, 0xFFFFFFFF }, { 348, 0xFFFFFFFF } };
    for (auto& w : words)
        put32(file, w[0], w[1], big);
    file[192 + 20] = 2;
    return file;
}

int32_t stopAfterMany()
{
    static int calls = 0;
    return ++calls % 5000 == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    static const std::string name = scratchFile();
    std::vector<uint8_t> file = buildFile(data, size);
    {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    }
    {
        qelValue index = qelOpenIndex(qelStringValue(name.c_str()), 0, 0);
        qelCount(index);
        for (const char* key : { "", "a", "S\xe3o Paulo", "__QEL_INDEX_COUNT__", "zzzz" }) {
            qelValue k = qelStringValue(key);
            qelContainsKey(index, k);
            qelGet(index, k);
        }
        qelGet(index, qelMakeInt(42));
        if (qelIndexObject* object = qelIndexObjectOf(index)) {
            object->valuesWithPrefix(qelStringValue(""), stopAfterMany);
            object->keysWithPrefix(qelStringValue("a"), stopAfterMany);
            object->valuesWithPrefix(qelStringValue("S"), nullptr);
            rdbVerify(&object->handle());
            // A read-only index refuses writes.
            qelPut(index, qelStringValue("new"), qelMakeInt(1));
        }
    }
    std::ifstream in(name, std::ios::binary | std::ios::ate);
    std::vector<uint8_t> after(in ? size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(after.data()), std::streamsize(after.size()));
    if (after != file) {
        std::fprintf(stderr, "the index file was written by a read-only open\n");
        std::abort();
    }
    return 0;
}
