#include "platform/sys/RegFile.h"

#include "platform/sys/Cp1252.h"
#include "platform/sys/IniFile.h"

#include <charconv>

namespace platform {

namespace {

    std::string_view trimmed(std::string_view s)
    {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
            s.remove_suffix(1);
        return s;
    }

    // UTF-16LE (after its byte-order mark) to cp1252. An odd last byte is dropped; an unpaired
    // surrogate becomes '?'.
    std::string utf16ToCp1252(std::string_view bytes)
    {
        std::string out;
        out.reserve(bytes.size() / 2);
        size_t i = 0;
        auto unit = [&](size_t at) { return char32_t(uint8_t(bytes[at]) | (uint8_t(bytes[at + 1]) << 8)); };
        while (i + 1 < bytes.size()) {
            char32_t ch = unit(i);
            i += 2;
            if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < bytes.size() && unit(i) >= 0xDC00 && unit(i) < 0xE000) {
                ch = 0x10000 + ((ch - 0xD800) << 10) + (unit(i) - 0xDC00);
                i += 2;
            }
            int byte = cp1252::fromUnicode(ch);
            out += byte < 0 ? '?' : char(byte);
        }
        return out;
    }

    // Reads a quoted string starting at s[pos] == '"'; advances pos past the closing quote.
    std::optional<std::string> quoted(std::string_view s, size_t& pos)
    {
        if (pos >= s.size() || s[pos] != '"')
            return std::nullopt;
        std::string out;
        for (size_t i = pos + 1; i < s.size(); ++i) {
            char c = s[i];
            if (c == '"') {
                pos = i + 1;
                return out;
            }
            if (c == '\\' && i + 1 < s.size())
                c = s[++i];
            out += c;
        }
        return std::nullopt; // no closing quote
    }

    // "41,00,42" -> bytes; nothing when a pair is malformed.
    std::optional<std::string> hexBytes(std::string_view s)
    {
        std::string out;
        size_t i = 0;
        while (true) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
                ++i;
            if (i == s.size())
                return out;
            // A pair is two hexadecimal digits; from_chars takes no sign or prefix for an
            // unsigned byte, so "+1" and "0x" are malformed as they should be.
            unsigned char byte = 0;
            if (i + 1 >= s.size() || std::from_chars(s.data() + i, s.data() + i + 2, byte, 16).ptr != s.data() + i + 2)
                return std::nullopt;
            out += char(byte);
            i += 2;
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
                ++i;
            if (i == s.size())
                return out;
            if (s[i] != ',')
                return std::nullopt;
            ++i;
        }
    }

} // namespace

std::optional<RegFile> RegFile::load(const std::string& path)
{
    auto bytes = readSmallFile(path, maxRegFileBytes);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

RegFile::Key& RegFile::keyFor(std::string_view path)
{
    for (auto& key : m_keys) {
        if (equalsIgnoringCase(key.path, path))
            return key;
    }
    m_keys.push_back({ std::string(path), {} });
    return m_keys.back();
}

std::optional<RegFile> RegFile::parse(std::string_view bytes)
{
    bool wide = bytes.starts_with("\xFF\xFE");
    std::string text = wide ? utf16ToCp1252(bytes.substr(2)) : std::string(bytes);
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF"))
        rest.remove_prefix(3);

    auto nextLine = [&rest]() {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return trimmed(line);
    };

    std::string_view header;
    while (!rest.empty() && (header = nextLine()).empty()) { }
    if (header != "REGEDIT4" && header != "Windows Registry Editor Version 5.00")
        return std::nullopt;
    // hex(1) data holds the string as the file's own version wrote it.
    bool wideStrings = header != "REGEDIT4";

    RegFile file;
    Key* key = nullptr;
    while (!rest.empty()) {
        std::string logical(nextLine());
        // A trailing backslash joins the next line (only hex data is written that way).
        while (logical.ends_with('\\') && logical.find('=') != std::string::npos
            && logical.find("=hex") != std::string::npos && !rest.empty()) {
            logical.pop_back();
            logical += nextLine();
        }
        std::string_view line = logical;
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            key = nullptr;
            if (line.back() != ']' || line.starts_with("[-"))
                continue; // malformed, or a deletion, which a read-only registry ignores
            key = &file.keyFor(line.substr(1, line.size() - 2));
            continue;
        }
        if (!key)
            continue;
        std::string name;
        size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else {
            auto n = quoted(line, pos);
            if (!n)
                continue;
            name = std::move(*n);
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            continue;
        std::string_view data = trimmed(line.substr(pos + 1));
        std::optional<std::string> value;
        if (data.starts_with('"')) {
            size_t at = 0;
            value = quoted(data, at);
            if (value && !trimmed(data.substr(at)).empty())
                value.reset(); // text after the closing quote: not a value line
        } else if (data.starts_with("hex(1):")) {
            auto raw = hexBytes(data.substr(7));
            if (raw)
                value = wideStrings ? utf16ToCp1252(*raw) : *raw;
        }
        if (!value) {
            // Another type (dword, hex, hex(2), ...) or a deletion replaces a string of that
            // name; malformed data is ignored.
            if (data.starts_with("dword:") || data.starts_with("hex") || data == "-")
                std::erase_if(key->strings, [&](const RegValue& v) { return equalsIgnoringCase(v.name, name); });
            continue;
        }
        // String data ends at its first NUL, as the string reader of the registry gives it.
        if (size_t nul = value->find('\0'); nul != std::string::npos)
            value->resize(nul);
        bool replaced = false;
        for (auto& existing : key->strings) {
            if (equalsIgnoringCase(existing.name, name)) {
                existing.data = *value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            key->strings.push_back({ std::move(name), std::move(*value) });
    }
    return file;
}

std::optional<std::vector<RegValue>> RegFile::stringValues(std::string_view keyPath) const
{
    std::optional<std::vector<RegValue>> result;
    for (const auto& key : m_keys) {
        if (equalsIgnoringCase(key.path, keyPath)) {
            result = std::vector<RegValue>();
            for (const auto& v : key.strings) {
                if (v.name.size() <= 255)
                    result->push_back(v);
            }
            return result;
        }
        if (key.path.size() > keyPath.size() && key.path[keyPath.size()] == '\\'
            && equalsIgnoringCase(std::string_view(key.path).substr(0, keyPath.size()), keyPath))
            result = std::vector<RegValue>();
    }
    return result;
}

} // namespace platform
