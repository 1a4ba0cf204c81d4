// Feeds arbitrary bytes to the headless script reader. It must either report a line inside
// the text or give actions whose fields are in range.
#include "platform/window/Script.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <variant>

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto parsed = Script::parse(text);
    int lines = int(std::count(text.begin(), text.end(), '\n')) + 1;
    if (auto* error = std::get_if<ScriptError>(&parsed)) {
        if (error->line < 1 || error->line > lines || error->message.empty())
            std::abort();
        return 0;
    }
    for (const auto& a : std::get<Script>(parsed).actions()) {
        if (a.line < 1 || a.line > lines || a.x < -32768 || a.x > 32767 || a.y < -32768 || a.y > 32767)
            std::abort();
        if (a.kind == ScriptAction::Kind::Shot
            && (a.text.find('/') != std::string::npos || a.text.find("..") != std::string::npos))
            std::abort();
    }
    return 0;
}
