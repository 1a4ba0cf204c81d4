#pragma once

// The input script of a headless run: UTF-8 text, one action a line, '#' starts a comment.
//
//   wait MS              MS milliseconds of clock time pass
//   move X Y             the mouse moves to client coordinates X, Y
//   down X Y / up X Y    the left button is pressed / released at X, Y
//   click X Y            down then up at X, Y
//   dblclick X Y         two clicks at X, Y at the same moment
//   key [MOD+]...NAME    a key pressed and released with modifiers shift+, ctrl+, alt+
//                        (NAME as virtualKeyNamed takes it: Enter, F4, A, ...)
//   text "..."           characters typed; \" and \\ are escapes; they must exist in cp1252
//   answer N             the next message box is answered with button N (1, 2, 6 or 7)
//   shot NAME            a screenshot NAME.png (letters, digits, '-', '_', '.'; no "..")
//   close                the user closes the window
//   date YYYY-MM-DD [HH:MM]
//                        the calendar clock is set to that local date and time (noon when no
//                        time is given); date lines before the first other action set it
//                        before the program starts
//
// Coordinates are 16-bit signed numbers, waits at most one day.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

struct ScriptAction {
    enum class Kind { Wait, Move, Down, Up, Click, DoubleClick, Key, Text, Answer, Shot, Close, Date };
    Kind kind = Kind::Wait;
    int line = 0;
    int x = 0;
    int y = 0;
    uint32_t milliseconds = 0;
    uint8_t vk = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;
    int answer = 0;
    int64_t moment = 0; // Date: seconds since 1970
    std::string text; // cp1252 for Text; the file name for Shot
};

struct ScriptError {
    int line = 0;
    std::string message;
};

class Script {
public:
    // The actions of a script, or the first bad line.
    static std::variant<Script, ScriptError> parse(std::string_view utf8);

    const std::vector<ScriptAction>& actions() const { return m_actions; }

private:
    std::vector<ScriptAction> m_actions;
};

} // namespace platform
