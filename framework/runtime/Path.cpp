#include "framework/runtime/Path.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <cstring>
#include <string>

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

int32_t lastSeparator(const qelValue& path)
{
    int32_t backslash = qelFindLast(path, "\\", 0);
    int32_t slash = qelFindLast(path, "/", 0);
    return backslash > slash ? backslash : slash;
}

} // namespace

qelValue qelPathJoin(const qelValue& directory, const qelValue& name)
{
    const char* folder = qelCString(directory);
    const char* file = qelCString(name);
    if (!*folder || !*file || isSeparator(file[0]) || file[1] == ':')
        return qelStringValue(file);
    std::string joined = folder;
    if (!isSeparator(joined.back()))
        joined += '\\';
    joined += file;
    return qelStringValueN(joined.data(), int32_t(joined.size()));
}

qelValue qelFileNamePart(const qelValue& path)
{
    int32_t at = lastSeparator(path);
    if (at <= 0)
        return qelStringValue(qelCString(path));
    return qelStringValue(qelCString(path) + at + 1);
}

qelValue qelDirectoryPart(const qelValue& path)
{
    int32_t at = lastSeparator(path);
    if (at <= 0)
        return qelEmptyString();
    return qelStringValueN(qelCString(path), at);
}

qelValue qelExtension(const qelValue& path)
{
    int32_t at = qelFindLast(path, ".", 0);
    if (at <= 0)
        return qelEmptyString();
    return qelStringValue(qelCString(path) + at + 1);
}
