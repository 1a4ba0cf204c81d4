// Any bytes given to the binary decoder: an error and nil, or a value that encodes and decodes
// again.
#include "FuzzHooks.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    std::vector<uint8_t> bytes(data, data + size);
    qelValue in = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
    qelValue value = qelDecode(in);
    if (value.isNil())
        return 0;
    qelValue out = qelNewMemoryStream(nullptr, 0);
    qelEncode(out, value);
    static_cast<qelMemoryStream*>(out.object())->seek(0);
    qelDecode(out);
    return 0;
}
