// Feeds arbitrary bytes to the settings-file and registry-export readers. Every setting read
// must have a key and a value; every string value must stop before any NUL.
#include "platform/sys/IniFile.h"
#include "platform/sys/RegFile.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& entry : platform::iniSectionSettings(text, "QELENVIRONMENT")) {
        if (entry.key.empty() || entry.value.empty())
            std::abort();
    }
    (void)platform::iniValue(text, "QELENVIRONMENT", "MediaPath");
    if (auto file = platform::RegFile::parse(text)) {
        for (const char* key : { "K", "HKEY_LOCAL_MACHINE\\SOFTWARE",
                 "HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Preferences" }) {
            if (auto values = file->stringValues(key)) {
                for (const auto& v : *values) {
                    if (v.data.find('\0') != std::string::npos || v.name.size() > 255)
                        std::abort();
                }
            }
        }
    }
    return 0;
}
