// Opens fuzzed bytes as a record file, read-only, and walks it: first and next, last and
// previous, and finds on several indexes. Nothing may crash, hang or write to the file.
//
// Input: byte 0 selects the form. Even: the rest is the whole file. Odd: the harness builds a
// sound header (byte order, root, height and key types from bytes 1..4) and the rest becomes the
// pages, so the fuzzer spends its time inside the pages rather than on the signature.

#include "RecordFileInput.h"
#include "recdb/RecDb.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string name = scratchFile();
    rdbIndexDef table[3] = {};
    std::vector<uint8_t> file = fuzz::recordFileFromInput(data, size, 5);
    if (size >= 5 && (data[0] & 1)) {
        // Indexes 1 to 14 keep key type 0; index 15 takes a type chosen by byte 4.
        uint8_t type = typeChoices[data[4] % sizeof typeChoices];
        file[192 + 15] = type;
        table[0] = { 1, 0, nullptr };
        table[1] = { 15, type, type == 8 ? segments : nullptr };
        table[2] = { 0, 0, nullptr };
    }
    fuzz::writeWholeFile(name, file);
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
    fuzz::abortUnlessUnchanged(name, file, "record file");
    return 0;
}
