#pragma once

// The registry stand-in: a read-only text file in the registry-export format.
//
//     REGEDIT4                                  (or "Windows Registry Editor Version 5.00")
//
//     [HKEY_LOCAL_MACHINE\SOFTWARE\Maker\Title\1.0\Preferences]
//     "MediaPath"="Media"                       a string value: \\ and \" are escapes
//     @="text"                                  the key's unnamed value (name "")
//     "EventLimit"=dword:00000050               other types: read past and skipped
//     "Name"=hex(1):41,00                       a string value written as bytes
//     "Blob"=hex:01,02,\                        a trailing backslash continues the line
//       03
//
// A file that starts with the bytes FF FE is UTF-16LE (what version 5.00 writes) and is read
// as cp1252 ('?' for characters it lacks); otherwise the bytes are taken as cp1252. The file
// must start with one of the two header lines or it is not read. Key paths and value names
// match without regard to ASCII case; a key that appears twice collects the values of both
// sections, and a value named twice keeps its first position and its last data, as an import
// would. Lines that fit no rule are ignored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct RegValue {
    std::string name;
    std::string data; // cp1252, up to the first NUL
    bool operator==(const RegValue&) const = default;
};

class RegFile {
public:
    // Nothing when the file is missing, unreadable, too large or lacks the header.
    static std::optional<RegFile> load(const std::string& path);
    static std::optional<RegFile> parse(std::string_view bytes);

    // The string values of a key in file order; names longer than 255 characters are left
    // out. Nothing when the key is absent; a key that only has subkeys exists and is empty.
    std::optional<std::vector<RegValue>> stringValues(std::string_view keyPath) const;

private:
    struct Key {
        std::string path;
        std::vector<RegValue> strings;
    };
    Key& keyFor(std::string_view path);

    std::vector<Key> m_keys;
};

constexpr size_t maxRegFileBytes = 16 * 1024 * 1024;

} // namespace platform
