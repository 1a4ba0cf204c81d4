// qelavi: writes a short AVI movie.
//
//   qelavi --codec C [--fps N] [--tone HZ] -o OUT.avi FRAME.png...
//   qelavi --codec C [--fps N] [--tone HZ] --pattern WxH --frames N -o OUT.avi
//
// C is cinepak, msvideo1 or raw8 (8 bits with a palette; PNG frames are matched to a fixed
// palette, the built-in picture changes its palette every frame). --fps defaults to 15. With
// --tone the movie gets a mono 22050 Hz sound track of that pitch, as long as the pictures.
// The built-in picture is a top half whose colour changes every frame, a blue bottom half and a
// white square moving right. Sides must be even.
//
// Errors print their message on stderr and end with status 1.

#include "platform/gfx/Png.h"
#include "platform/video/AviWriter.h"
#include "tools/common/ToolErrors.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace platform::video;

namespace {

constexpr int soundRate = 22050;

constexpr const char* usageText
    = "usage: qelavi --codec cinepak|msvideo1|raw8 [--fps N] [--tone HZ] -o OUT.avi FRAME.png...\n"
      "       qelavi --codec cinepak|msvideo1|raw8 [--fps N] [--tone HZ] --pattern WxH --frames N -o OUT.avi\n";

int number(const std::string& text, int low, int high, const char* what)
{
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < low || value > high)
        qelToolFail(std::string("Bad ") + what + ": " + text);
    return int(value);
}

} // namespace

int main(int argc, char** argv)
{
    std::string codecName;
    std::string out;
    std::string pattern;
    int fps = 15;
    int tone = 0;
    int frames = 0;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                qelToolUsage(usageText);
            return argv[++i];
        };
        if (arg == "--codec")
            codecName = value();
        else if (arg == "--fps")
            fps = number(value(), 1, 60, "frame rate");
        else if (arg == "--tone")
            tone = number(value(), 20, 10000, "tone");
        else if (arg == "--pattern")
            pattern = value();
        else if (arg == "--frames")
            frames = number(value(), 1, 10000, "frame count");
        else if (arg == "-o")
            out = value();
        else if (!arg.empty() && arg[0] == '-')
            qelToolUsage(usageText);
        else
            inputs.push_back(arg);
    }
    AviCodec codec;
    if (!aviCodecFromName(codecName, codec) || out.empty() || (pattern.empty() == inputs.empty()))
        qelToolUsage(usageText);

    int width = 0;
    int height = 0;
    std::vector<platform::gfx::Surface> pictures;
    if (!pattern.empty()) {
        size_t x = pattern.find('x');
        if (x == std::string::npos || frames == 0)
            qelToolUsage(usageText);
        width = number(pattern.substr(0, x), 2, 1024, "width");
        height = number(pattern.substr(x + 1), 2, 1024, "height");
    } else {
        for (const std::string& input : inputs) {
            auto picture = platform::gfx::readPng(input);
            if (!picture)
                qelToolFail("Cannot read picture: " + input);
            pictures.push_back(std::move(*picture));
        }
        width = pictures[0].width();
        height = pictures[0].height();
        frames = int(pictures.size());
    }

    AviWriter writer;
    if (!writer.open(out, codec, width, height, fps, tone ? soundRate : 0))
        qelToolFail(writer.error());
    for (int i = 0; i < frames; ++i) {
        bool added
            = pattern.empty() ? writer.addFrame(pictures[size_t(i)]) : writer.addFrame(patternFrame(width, height, i));
        if (!added)
            qelToolFail(writer.error() + (pattern.empty() ? ": " + inputs[size_t(i)] : std::string()));
    }
    if (tone && !writer.addAudio(toneSamples(tone, soundRate, int(int64_t(frames) * 1000 / fps))))
        qelToolFail(writer.error());
    if (!writer.finish())
        qelToolFail(writer.error());
    return 0;
}
