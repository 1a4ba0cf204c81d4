#include "platform/window/Script.h"

#include "platform/sys/Cp1252.h"
#include "platform/sys/LocalTime.h"
#include "platform/window/Keys.h"

#include <charconv>

namespace platform {

namespace {

    constexpr uint32_t maxWait = 24 * 60 * 60 * 1000;

    struct Reader {
        std::string_view rest;

        void skipBlanks()
        {
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
                rest.remove_prefix(1);
        }
        std::string_view word()
        {
            skipBlanks();
            size_t end = 0;
            while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t')
                ++end;
            std::string_view w = rest.substr(0, end);
            rest.remove_prefix(end);
            return w;
        }
        bool atEnd()
        {
            skipBlanks();
            return rest.empty();
        }
    };

    std::optional<int64_t> number(std::string_view w)
    {
        int64_t value = 0;
        auto [end, error] = std::from_chars(w.data(), w.data() + w.size(), value);
        if (w.empty() || error != std::errc() || end != w.data() + w.size())
            return std::nullopt;
        return value;
    }

    bool lowerEquals(std::string_view w, std::string_view lower)
    {
        if (w.size() != lower.size())
            return false;
        for (size_t i = 0; i < w.size(); ++i) {
            char c = w[i] >= 'A' && w[i] <= 'Z' ? char(w[i] + 32) : w[i];
            if (c != lower[i])
                return false;
        }
        return true;
    }

    bool safeFileName(std::string_view name)
    {
        if (name.empty() || name.size() > 200 || name.find("..") != std::string_view::npos || name.front() == '.')
            return false;
        for (char c : name) {
            bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
                || c == '.';
            if (!ok)
                return false;
        }
        return true;
    }

    // Parses one line into `action`; returns an error message or nothing.
    std::optional<std::string> parseLine(std::string_view line, ScriptAction& action)
    {
        using Kind = ScriptAction::Kind;
        Reader r { line };
        std::string_view verb = r.word();

        auto point = [&]() -> std::optional<std::string> {
            auto x = number(r.word());
            auto y = number(r.word());
            if (!x || !y)
                return "expects two whole numbers X Y";
            if (*x < -32768 || *x > 32767 || *y < -32768 || *y > 32767)
                return "coordinates must lie between -32768 and 32767";
            action.x = int(*x);
            action.y = int(*y);
            return std::nullopt;
        };

        std::optional<std::string> error;
        if (verb == "wait") {
            action.kind = Kind::Wait;
            auto ms = number(r.word());
            if (!ms || *ms < 0 || *ms > maxWait)
                return "wait expects milliseconds from 0 to 86400000";
            action.milliseconds = uint32_t(*ms);
        } else if (verb == "move" || verb == "down" || verb == "up" || verb == "click" || verb == "dblclick") {
            action.kind = verb == "move" ? Kind::Move
                : verb == "down"         ? Kind::Down
                : verb == "up"           ? Kind::Up
                : verb == "click"        ? Kind::Click
                                         : Kind::DoubleClick;
            if ((error = point()))
                return std::string(verb) + " " + *error;
        } else if (verb == "key") {
            action.kind = Kind::Key;
            std::string_view keys = r.word();
            while (true) {
                size_t plus = keys.find('+');
                if (plus == std::string_view::npos || plus + 1 == keys.size())
                    break;
                std::string_view mod = keys.substr(0, plus);
                if (lowerEquals(mod, "shift"))
                    action.shift = true;
                else if (lowerEquals(mod, "ctrl"))
                    action.control = true;
                else if (lowerEquals(mod, "alt"))
                    action.alt = true;
                else
                    return "unknown modifier \"" + std::string(mod) + "\" (shift, ctrl, alt)";
                keys.remove_prefix(plus + 1);
            }
            auto vk = virtualKeyNamed(keys);
            if (!vk)
                return "unknown key \"" + std::string(keys) + "\"";
            action.vk = *vk;
        } else if (verb == "text") {
            action.kind = Kind::Text;
            r.skipBlanks();
            if (r.rest.empty() || r.rest.front() != '"')
                return "text expects a quoted string";
            std::string utf8;
            size_t i = 1;
            for (; i < r.rest.size() && r.rest[i] != '"'; ++i) {
                if (r.rest[i] == '\\') {
                    if (i + 1 >= r.rest.size() || (r.rest[i + 1] != '"' && r.rest[i + 1] != '\\'))
                        return "text knows only the escapes \\\" and \\\\";
                    ++i;
                }
                utf8 += r.rest[i];
            }
            if (i >= r.rest.size())
                return "text has no closing quote";
            r.rest.remove_prefix(i + 1);
            size_t pos = 0;
            while (pos < utf8.size()) {
                int32_t ch = cp1252::decodeUtf8(utf8, pos);
                if (ch < 0)
                    return "text is not valid UTF-8";
                int byte = cp1252::fromUnicode(char32_t(ch));
                if (byte <= 0)
                    return "text has a character that cp1252 lacks (U+" + std::to_string(ch) + ")";
                action.text += char(byte);
            }
        } else if (verb == "answer") {
            action.kind = Kind::Answer;
            auto n = number(r.word());
            if (!n || (*n != 1 && *n != 2 && *n != 6 && *n != 7))
                return "answer expects 1 (OK), 2 (Cancel), 6 (Yes) or 7 (No)";
            action.answer = int(*n);
        } else if (verb == "shot") {
            action.kind = Kind::Shot;
            std::string_view name = r.word();
            if (!safeFileName(name))
                return "shot expects a file name of letters, digits, '-', '_' and '.'";
            action.text = name;
        } else if (verb == "close") {
            action.kind = Kind::Close;
        } else if (verb == "date") {
            action.kind = Kind::Date;
            std::string_view day = r.word();
            auto field = [](std::string_view w, size_t at, size_t n) { return number(w.substr(at, n)); };
            if (day.size() != 10 || day[4] != '-' || day[7] != '-')
                return "date expects YYYY-MM-DD";
            auto year = field(day, 0, 4);
            auto month = field(day, 5, 2);
            auto dayOfMonth = field(day, 8, 2);
            std::optional<int64_t> hour = 12;
            std::optional<int64_t> minute = 0;
            // Noon by default: the date stays the same whatever daylight-saving shift applies.
            if (!r.atEnd()) {
                std::string_view time = r.word();
                if (time.size() != 5 || time[2] != ':')
                    return "date expects the time as HH:MM";
                hour = field(time, 0, 2);
                minute = field(time, 3, 2);
            }
            std::optional<int64_t> moment;
            if (year && month && dayOfMonth && hour && minute)
                moment = localMoment(int(*year), int(*month) - 1, int(*dayOfMonth), int(*hour), int(*minute));
            if (!moment)
                return "date " + std::string(day) + " is no calendar date";
            action.moment = *moment;
        } else {
            return "unknown action \"" + std::string(verb) + "\"";
        }
        if (!r.atEnd())
            return "unexpected text after " + std::string(verb);
        return std::nullopt;
    }

} // namespace

std::variant<Script, ScriptError> Script::parse(std::string_view text)
{
    Script script;
    int lineNumber = 0;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    while (!text.empty()) {
        ++lineNumber;
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        // A '#' starts a comment, except inside the quotes of a text line.
        bool quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && quoted)
                ++i;
            else if (line[i] == '"')
                quoted = !quoted;
            else if (line[i] == '#' && !quoted) {
                line = line.substr(0, i);
                break;
            }
        }
        Reader blank { line };
        if (blank.atEnd())
            continue;
        ScriptAction action;
        action.line = lineNumber;
        if (auto error = parseLine(line, action))
            return ScriptError { lineNumber, *error };
        script.m_actions.push_back(std::move(action));
    }
    return script;
}

} // namespace platform
