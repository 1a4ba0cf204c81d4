// qelmovie: a movie file through the movie decoder.
//
//   qelmovie --info FILE        prints "width W height H length MS codec NAME"
//   qelmovie FILE MS -o OUT.png writes the frame shown MS milliseconds into the movie as a PNG
//
// Errors print their message on stderr and end with status 1.

#include "platform/gfx/Png.h"
#include "platform/video/MovieDecoder.h"
#include "tools/common/ToolErrors.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* usageText = "usage: qelmovie --info FILE\n"
                                  "       qelmovie FILE MS -o OUT.png\n";

void open(platform::video::MovieDecoder& decoder, const std::string& path)
{
    if (!decoder.open(path))
        qelToolFail("Cannot open movie: " + path + ": " + decoder.error());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--info") {
        platform::video::MovieDecoder decoder;
        open(decoder, argv[2]);
        std::printf("width %d height %d length %d codec %s\n", decoder.width(), decoder.height(),
            int(decoder.lengthMs()), decoder.codecName().c_str());
        return 0;
    }
    if (argc == 5 && std::string(argv[3]) == "-o") {
        char* end = nullptr;
        long ms = std::strtol(argv[2], &end, 10);
        if (!*argv[2] || *end || ms < 0 || ms > 0x7FFFFFFF)
            qelToolFail(std::string("Not a time in milliseconds: ") + argv[2]);
        platform::video::MovieDecoder decoder;
        open(decoder, argv[1]);
        if (ms >= decoder.lengthMs())
            qelToolFail("The movie is " + std::to_string(decoder.lengthMs()) + " ms long");
        platform::gfx::Surface picture;
        if (!decoder.decodeFrame(decoder.frameAtMs(int32_t(ms)), picture))
            qelToolFail(std::string("Cannot decode the frame at ") + argv[2] + " ms");
        if (!platform::gfx::writePng(picture, argv[4]))
            qelToolFail(std::string("Cannot write file: ") + argv[4]);
        return 0;
    }
    qelToolUsage(usageText);
}
