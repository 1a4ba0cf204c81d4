#include "tools/diskbuild/Sources.h"

#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"

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
