#include "platform/window/Keys.h"

#include <cstdio>

namespace platform {

namespace {

    struct Named {
        std::string_view name;
        uint8_t vk;
    };

    constexpr Named names[] = {
        { "Backspace", VK_BACK },
        { "Tab", VK_TAB },
        { "Enter", VK_RETURN },
        { "Shift", VK_SHIFT },
        { "Ctrl", VK_CONTROL },
        { "Alt", VK_MENU },
        { "Escape", VK_ESCAPE },
        { "PageUp", VK_PRIOR },
        { "PageDown", VK_NEXT },
        { "End", VK_END },
        { "Home", VK_HOME },
        { "Left", VK_LEFT },
        { "Up", VK_UP },
        { "Right", VK_RIGHT },
        { "Down", VK_DOWN },
        { "Insert", VK_INSERT },
        { "Delete", VK_DELETE },
    };

    char upper(char c)
    {
        return c >= 'a' && c <= 'z' ? char(c - 32) : c;
    }

    bool sameName(std::string_view a, std::string_view b)
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (upper(a[i]) != upper(b[i]))
                return false;
        }
        return true;
    }

} // namespace

std::optional<uint8_t> virtualKeyNamed(std::string_view name)
{
    for (const auto& n : names) {
        if (sameName(n.name, name))
            return n.vk;
    }
    if (name.size() == 1) {
        char c = upper(name[0]);
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return uint8_t(c);
    }
    if ((name.size() == 2 || name.size() == 3) && upper(name[0]) == 'F') {
        int n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 12 && name[1] != '0')
            return uint8_t(VK_F1 + n - 1);
    }
    return std::nullopt;
}

std::string_view virtualKeyName(uint8_t vk, char (&scratch)[8])
{
    for (const auto& n : names) {
        if (n.vk == vk)
            return n.name;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        scratch[0] = char(vk);
        return { scratch, 1 };
    }
    if (vk >= VK_F1 && vk <= VK_F12)
        return { scratch, size_t(std::snprintf(scratch, sizeof scratch, "F%d", vk - VK_F1 + 1)) };
    return { scratch, size_t(std::snprintf(scratch, sizeof scratch, "0x%02X", vk)) };
}

std::optional<uint8_t> keyCharacter(uint8_t vk, bool control)
{
    if (control) {
        if (vk >= 'A' && vk <= 'Z')
            return uint8_t(vk - 'A' + 1);
        switch (vk) {
        case VK_RETURN:
            return 10;
        case VK_BACK:
            return 127;
        case VK_ESCAPE:
            return 27;
        default:
            return std::nullopt;
        }
    }
    switch (vk) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
        return vk;
    default:
        return std::nullopt;
    }
}

} // namespace platform
