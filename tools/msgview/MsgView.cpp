// Opens a 640 x 480 window and prints every message the pump hands out, decoded: key names,
// characters (cp1252, shown as UTF-8), mouse positions and button flags. A click shows the
// caret where it happened; F2 asks a Yes/No question; F3 copies a text to the clipboard and
// F4 prints what the clipboard holds; F5 beeps. Close the window to end.
//
//   msgview [--timer MS] [--fullscreen]

#include "platform/sys/Cp1252.h"
#include "platform/window/Keys.h"
#include "platform/window/SdlBackend.h"
#include "platform/window/WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace platform;

namespace {

const char* nameOf(uint32_t id)
{
    switch (id) {
    case WM_CREATE:
        return "WM_CREATE";
    case WM_DESTROY:
        return "WM_DESTROY";
    case WM_SETFOCUS:
        return "WM_SETFOCUS";
    case WM_KILLFOCUS:
        return "WM_KILLFOCUS";
    case WM_PAINT:
        return "WM_PAINT";
    case WM_CLOSE:
        return "WM_CLOSE";
    case WM_ERASEBKGND:
        return "WM_ERASEBKGND";
    case WM_SETCURSOR:
        return "WM_SETCURSOR";
    case WM_KEYDOWN:
        return "WM_KEYDOWN";
    case WM_KEYUP:
        return "WM_KEYUP";
    case WM_CHAR:
        return "WM_CHAR";
    case WM_SYSKEYDOWN:
        return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
        return "WM_SYSKEYUP";
    case WM_SYSCHAR:
        return "WM_SYSCHAR";
    case WM_TIMER:
        return "WM_TIMER";
    case WM_MOUSEMOVE:
        return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
        return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
        return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN:
        return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
        return "WM_RBUTTONUP";
    case WM_MBUTTONDOWN:
        return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP:
        return "WM_MBUTTONUP";
    default:
        return nullptr;
    }
}

void print(const Message& m, const Pump& pump)
{
    const char* name = nameOf(m.id);
    if (name)
        std::printf("%8u %-15s", m.time, name);
    else
        std::printf("%8u 0x%04X         ", m.time, m.id);
    char scratch[8];
    switch (m.id) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: {
        auto key = virtualKeyName(uint8_t(m.wParam), scratch);
        std::printf(" vk 0x%02X %-9.*s lParam 0x%08llX", unsigned(m.wParam), int(key.size()), key.data(),
            (unsigned long long)m.lParam);
        break;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        if (m.wParam < 32 || m.wParam == 127)
            std::printf(" code %u", unsigned(m.wParam));
        else
            std::printf(" code %u '%s'", unsigned(m.wParam), cp1252::toUtf8(std::string(1, char(m.wParam))).c_str());
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        std::printf(" x %d y %d flags 0x%02X", pointParamX(m.lParam), pointParamY(m.lParam), unsigned(m.wParam));
        break;
    case WM_TIMER:
        std::printf(" id %llu", (unsigned long long)m.wParam);
        break;
    default:
        std::printf(" wParam 0x%llX lParam 0x%llX", (unsigned long long)m.wParam, (unsigned long long)m.lParam);
        break;
    }
    std::printf(
        "  [shift %d ctrl %d alt %d]\n", pump.keyDown(VK_SHIFT), pump.keyDown(VK_CONTROL), pump.keyDown(VK_MENU));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    uint32_t timer = 0;
    bool fullscreen = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timer") == 0 && i + 1 < argc)
            timer = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (std::strcmp(argv[i], "--fullscreen") == 0)
            fullscreen = true;
        else {
            std::fprintf(stderr, "usage: msgview [--timer MS] [--fullscreen]\n");
            return 2;
        }
    }
    std::string error;
    auto backend = SdlBackend::create(&error);
    if (!backend) {
        std::fprintf(stderr, "msgview: cannot start the display: %s\n", error.c_str());
        return 1;
    }
    WindowSystem system(std::move(backend));
    Window& window = system.window();
    Pump& pump = system.pump();
    WindowHandle handle = window.create(
        { "msgview", 640, 480, fullscreen }, [&](WindowHandle w, uint32_t id, uint64_t wp, int64_t lp) -> int64_t {
            switch (id) {
            case WM_PAINT: {
                auto paint = window.beginPaint();
                window.front().fill(paint.rect, 0x808080);
                window.endPaint(paint);
                return 0;
            }
            case WM_LBUTTONDOWN:
                window.setCapture();
                window.destroyCaret();
                window.createCaret(2, 16);
                window.setCaretPos(pointParamX(lp), pointParamY(lp));
                window.showCaret();
                return 0;
            case WM_LBUTTONUP:
                window.releaseCapture();
                return 0;
            case WM_KEYDOWN:
                if (wp == VK_F1 + 1) {
                    int answer = system.messageBox(
                        "Is this a question with \xE7 and \x80?", "msgview", MB_YESNO | MB_ICONQUESTION);
                    std::printf("message box answer: %d\n", answer);
                } else if (wp == VK_F1 + 2) {
                    system.setClipboardText("msgview: S\xE3o Paulo \x80 5");
                } else if (wp == VK_F1 + 3) {
                    auto text = system.clipboardText();
                    std::printf("clipboard: %s\n", text ? cp1252::toUtf8(*text).c_str() : "(no text)");
                } else if (wp == VK_F1 + 4) {
                    system.beep();
                }
                return 0;
            case WM_CLOSE:
                window.destroy();
                pump.postQuit(0);
                return 0;
            default:
                return window.defaultProc(id, wp, lp);
            }
        });
    if (!handle) {
        std::fprintf(stderr, "msgview: cannot open the window\n");
        return 1;
    }
    window.show();
    if (timer)
        pump.setTimer(handle, 1, timer);
    Message m;
    int result;
    while ((result = pump.wait(m, -1)) != 0) {
        print(m, pump);
        pump.dispatch(m);
    }
    return int(m.wParam);
}
