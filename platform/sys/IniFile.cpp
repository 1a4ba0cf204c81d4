#include "platform/sys/IniFile.h"

#include <fstream>

namespace platform {

namespace {

    std::string_view trimmed(std::string_view s)
    {
        size_t b = 0;
        size_t e = s.size();
        while (b < e && (s[b] == ' ' || s[b] == '\t'))
            ++b;
        while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
            --e;
        return s.substr(b, e - b);
    }

    std::string_view unquoted(std::string_view v)
    {
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            return v.substr(1, v.size() - 2);
        return v;
    }

    // The key lines of the first section called `section`, in order, as (key, value) pairs.
    std::vector<std::pair<std::string_view, std::string_view>> sectionLines(
        std::string_view text, std::string_view section)
    {
        // A UTF-8 byte-order mark would otherwise hide the first section header.
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
        std::vector<std::pair<std::string_view, std::string_view>> lines;
        enum { Before, Inside, After } state = Before;
        size_t pos = 0;
        while (pos < text.size() && state != After) {
            size_t end = text.find('\n', pos);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            line = trimmed(line);
            if (line.empty() || line.front() == ';')
                continue;
            if (line.front() == '[') {
                size_t close = line.find(']');
                std::string_view name
                    = trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
                if (state == Inside)
                    state = After;
                else if (equalsIgnoringCase(name, section))
                    state = Inside;
                continue;
            }
            if (state != Inside)
                continue;
            size_t eq = line.find('=');
            if (eq == std::string_view::npos)
                continue;
            std::string_view key = trimmed(line.substr(0, eq));
            if (key.empty())
                continue;
            lines.emplace_back(key, unquoted(trimmed(line.substr(eq + 1))));
        }
        return lines;
    }

} // namespace

std::vector<IniEntry> iniSectionSettings(std::string_view text, std::string_view section)
{
    auto lines = sectionLines(text, section);
    std::vector<IniEntry> entries;
    for (const auto& [key, ignored] : lines) {
        std::string_view value;
        for (const auto& [k, v] : lines) {
            if (equalsIgnoringCase(k, key)) {
                value = v;
                break;
            }
        }
        if (!value.empty())
            entries.push_back({ std::string(key), std::string(value) });
    }
    return entries;
}

std::optional<std::string> iniValue(std::string_view text, std::string_view section, std::string_view key)
{
    for (const auto& [k, v] : sectionLines(text, section)) {
        if (equalsIgnoringCase(k, key))
            return std::string(v);
    }
    return std::nullopt;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 32);
        if (y >= 'a' && y <= 'z')
            y = char(y - 32);
        if (x != y)
            return false;
    }
    return true;
}

std::optional<std::string> readSmallFile(const std::string& path, size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string data;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        data.append(buffer, size_t(in.gcount()));
        if (data.size() > limit)
            return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    return data;
}

std::vector<IniEntry> readIniSectionSettings(const std::string& path, std::string_view section)
{
    auto text = readSmallFile(path, maxIniFileBytes);
    if (!text)
        return {};
    return iniSectionSettings(*text, section);
}

} // namespace platform
