#include "tools/diskbuild/Sources.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"

#include <cstdio>
#include <fstream>
#include <iterator>

qelValue readNotationFile(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return qelNil;
    }
    std::string text = qelFromUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
    return qelDecodeText(qelStringValueN(text.data(), int32_t(text.size())));
}

bool writeArchiveFile(const std::string& path, const std::vector<qelValue>& values, std::string& error)
{
    std::remove(path.c_str());
    qelValue archive = qelCreateArchive(qelValue(path.c_str()), int32_t(values.size()) + 1);
    qelArchiveObject* object = qelArchiveOf(archive);
    for (const qelValue& value : values)
        object->add(value);
    if (object->flush())
        return true;
    error = "cannot write " + path;
    return false;
}
