// qelsound: sound files through the framework's sound code.
//
//   qelsound --info FILE   prints the kind, chosen by the extension as the resource loader
//                          chooses: "mid" for music, or for a sound
//                          "wav format F channels C rate R bits B duration MS", the duration in
//                          milliseconds as the sound object computes it
//
// Errors print their message on stderr and end with status 1.

#include "framework/display/SoundHeader.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "tools/common/ToolErrors.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr const char* usageText = "usage: qelsound --info FILE\n";

std::string extensionOf(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || dot == 0 || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot + 1);
    std::transform(
        extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return extension;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::string(argv[1]) != "--info")
        qelToolUsage(usageText);
    qelToolInstallErrorHooks();
    std::string path = argv[2];
    std::string extension = extensionOf(path);
    if (extension != "wav" && extension != "mid")
        qelToolFail("Unsupported sound type: " + extension);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        qelToolFail("Cannot open " + path);
    if (extension == "mid") {
        std::printf("mid\n");
        return 0;
    }
    std::vector<uint8_t> bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    // Streams count in 32 bits.
    if (bytes.size() > size_t(INT32_MAX))
        qelToolFail("Not a valid sound file");
    qelSoundHeader header;
    if (!qelReadSoundHeader(qelNewMemoryStream(bytes.data(), int32_t(bytes.size())), header))
        return 1;
    std::printf("wav format %d channels %d rate %d bits %d duration %d\n", header.formatTag, header.channels,
        header.sampleRate, header.bitsPerSample, qelSoundDurationMs(header.sampleCount, header.sampleRate));
    return 0;
}
