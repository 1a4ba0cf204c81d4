// Opens fuzzed bytes as an index file, read-only, and asks it what the program asks: the count,
// contains and get of a few keys, prefix scans of values and keys, and the file's verification.
// Nothing may crash or hang, and nothing may be written to the file.
//
// Input: byte 0 selects the form. Even: the rest is the whole file. Odd: the harness writes a
// sound header (byte order, root and height from bytes 1..3) and the rest becomes the pages, so
// the fuzzer spends its time in the pages and in the stored values rather than on the signature.

#include "FuzzHooks.h"
#include "RecordFileInput.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/Verify.h"
#include "recdb/index/IndexObject.h"

#include <cstdint>
#include <filesystem>
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
    std::vector<uint8_t> file = fuzz::recordFileFromInput(data, size, 4);
    fuzz::writeWholeFile(name, file);
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
    fuzz::abortUnlessUnchanged(name, file, "index file");
    return 0;
}
