// Any text given to the text notation reader: an error and nil, or a value that prints, reads
// back and encodes.
#include "FuzzHooks.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    qelValue text = qelStringValueN(reinterpret_cast<const char*>(data), int32_t(size));
    qelValue value = qelDecodeText(text);
    if (value.isNil())
        return 0;
    qelDecodeText(qelPrintValue(value, 1));
    qelValue out = qelNewMemoryStream(nullptr, 0);
    qelEncode(out, value);
    return 0;
}
