#include "app/shell/TrimBlanks.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"

qelValue trimBlanks(const qelValue& text)
{
    if (!text.isString())
        return qelValue("");
    const char* bytes = qelCString(text);
    int32_t begin = 0;
    int32_t end = qelCount(text);
    while (begin < end && bytes[begin] == ' ')
        ++begin;
    while (end > begin && bytes[end - 1] == ' ')
        --end;
    return qelStringValueN(bytes + begin, end - begin);
}
