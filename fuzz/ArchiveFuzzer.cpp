// Any bytes opened as an archive: refused, or every item read; then an item added to a writable
// copy and read back.
#include "FuzzHooks.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/MemoryStream.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    std::vector<uint8_t> bytes(data, data + size);
    {
        qelValue stream = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
        qelValue archive = qelOpenArchive(stream, 0);
        if (qelArchiveObject* a = qelArchiveOf(archive)) {
            int32_t count = std::min(a->count(), 64);
            for (int32_t i = 0; i < count; ++i)
                a->get(i);
        }
    }
    qelValue copy = qelNewMemoryStream(nullptr, int32_t(bytes.size()));
    static_cast<qelMemoryStream*>(copy.object())->write(bytes.data(), int32_t(bytes.size()));
    qelValue archive = qelOpenArchive(copy, 1);
    if (qelArchiveObject* a = qelArchiveOf(archive)) {
        a->add(qelMakeInt(7));
        a->flush();
        a->get(a->count() - 1);
    }
    return 0;
}
