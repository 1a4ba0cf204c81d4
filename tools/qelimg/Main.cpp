// qelimg: a picture through the framework's image values.
//
//   qelimg FILE -o OUT.png   loads FILE (BMP, DIB, RLE or JPEG, chosen by its extension as the
//                            resource loader chooses), draws it on a surface of its size and
//                            writes that surface as a PNG
//   qelimg --info FILE       prints "width W height H bits B colours C" (a JPEG picture decodes
//                            to 24 bits without a colour table)
//
// Errors print their message on stderr and end with status 1.

#include "framework/display/ContextValue.h"
#include "framework/display/DibImage.h"
#include "framework/display/Image.h"
#include "framework/display/JpegImage.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Png.h"
#include "tools/common/ToolErrors.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* usageText = "usage: qelimg FILE -o OUT.png\n"
                                  "       qelimg --info FILE\n";

std::string extensionOf(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return "";
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

qelValue loadImage(const std::string& path)
{
    std::string extension = extensionOf(path);
    if (extension != "bmp" && extension != "dib" && extension != "rle" && extension != "jpg" && extension != "pic")
        qelToolFail("Unsupported picture type: " + path);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        qelToolFail("Cannot open file: " + path);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() > 0x7FFFFFFF)
        qelToolFail("File too large: " + path);
    qelValue buffer = qelBufferFromMemory(bytes.data(), int32_t(bytes.size()), 1);
    qelValue image = qelImageObject::create(buffer, qelStringValue(extension.c_str()));
    if (image.isNil())
        qelToolFail("Cannot read picture: " + path);
    return image;
}

int info(const std::string& path)
{
    qelValue image = loadImage(path);
    qelImageObject* i = qelImageOf(image);
    int bits = 24;
    int colours = 0;
    if (auto* dib = dynamic_cast<qelDIBImageObject*>(i)) {
        bits = dib->dib()->header.bitCount;
        colours = dib->colourCount;
    }
    std::printf("width %d height %d bits %d colours %d\n", int(i->width()), int(i->height()), bits, colours);
    return 0;
}

int convert(const std::string& path, const std::string& out)
{
    qelValue image = loadImage(path);
    qelImageObject* i = qelImageOf(image);
    if (i->width() <= 0 || i->height() <= 0)
        qelToolFail("Empty picture: " + path);
    // A JPEG picture whose header reads but whose data is damaged would draw nothing.
    if (std::string(i->typeName()) == "jpg" && qelJPEGToDIB(i->data).isNil())
        qelToolFail("Cannot decode picture: " + path);
    platform::gfx::Surface surface(i->width(), i->height(), 0);
    platform::gfx::MemoryDc dc(surface);
    qelDrawImage(qelContextValue(&dc), 0, 0, image, 0, 0, 0, 0);
    if (!platform::gfx::writePng(surface, out))
        qelToolFail("Cannot write file: " + out);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qelToolInstallErrorHooks();
    if (argc == 3 && std::strcmp(argv[1], "--info") == 0)
        return info(argv[2]);
    if (argc == 4 && std::strcmp(argv[2], "-o") == 0)
        return convert(argv[1], argv[3]);
    qelToolUsage(usageText);
}
