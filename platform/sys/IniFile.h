#pragma once

// The settings-file reader. A profile file is lines of text (cp1252 bytes):
//
//     ; a comment
//     [SECTION]
//     Key = value
//     Other="quoted value"
//
// Reading a section follows the rules of the classic profile calls: section and key names
// match without regard to ASCII case; names and values are trimmed of blanks and tabs; one
// pair of matching surrounding quotes (" or ') is removed from a value; lines starting with
// ';' and lines without '=' are ignored; when a section name appears twice only the first
// section counts; when a key appears twice, a lookup finds the first line.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

struct IniEntry {
    std::string key; // as written in the file
    std::string value;
    bool operator==(const IniEntry&) const = default;
};

// The settings a section yields: every key line of the section in file order, the key as
// written and its value as a lookup by that key gives it (so a repeated key, in any case,
// carries the first line's value); keys whose value is empty are left out.
std::vector<IniEntry> iniSectionSettings(std::string_view text, std::string_view section);

// The same for a file. A missing or unreadable file, or one larger than maxIniFileBytes (no
// settings file is that large), yields nothing.
std::vector<IniEntry> readIniSectionSettings(const std::string& path, std::string_view section);

// The value a lookup of one key in a section gives; nothing when the section or key is absent.
std::optional<std::string> iniValue(std::string_view text, std::string_view section, std::string_view key);

constexpr size_t maxIniFileBytes = 4 * 1024 * 1024;

// True when the names are equal but for the case of ASCII letters, the rule by which settings
// and registry files match section, key and value names; other bytes must be equal.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Reads a whole file of at most `limit` bytes; nothing when it is missing, unreadable or larger.
std::optional<std::string> readSmallFile(const std::string& path, size_t limit);

} // namespace platform
