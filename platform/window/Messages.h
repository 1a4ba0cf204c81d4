#pragma once

// Window messages, their parameters and the related numeric constants. The numbers are those
// of the Windows programming interface that the display code was written against, so message
// tables can be written with the numbers they were designed with.

#include <cstdint>

namespace platform {

using WindowHandle = uint32_t;

struct Message {
    WindowHandle window = 0; // 0: a message for the thread (WM_QUIT)
    uint32_t id = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    uint32_t time = 0; // clock milliseconds when the message was made
    bool operator==(const Message&) const = default;
};

// Message ids.
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_SETTINGCHANGE = 0x001A;
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_DRAWITEM = 0x002B;
constexpr uint32_t WM_MEASUREITEM = 0x002C;
constexpr uint32_t WM_VKEYTOITEM = 0x002E;
constexpr uint32_t WM_CHARTOITEM = 0x002F;
constexpr uint32_t WM_COMPAREITEM = 0x0039;
constexpr uint32_t WM_WINDOWPOSCHANGING = 0x0046;
constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_SYSDEADCHAR = 0x0107; // the last keyboard message
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_CTLCOLORMSGBOX = 0x0132;
constexpr uint32_t WM_CTLCOLORSTATIC = 0x0138;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_QUERYNEWPALETTE = 0x030F;
constexpr uint32_t WM_PALETTECHANGED = 0x0311;
constexpr uint32_t MM_MCINOTIFY = 0x03B9;
constexpr uint32_t WM_USER = 0x0400;

// Mouse-message wParam flags.
constexpr uint64_t MK_LBUTTON = 0x0001;
constexpr uint64_t MK_RBUTTON = 0x0002;
constexpr uint64_t MK_SHIFT = 0x0004;
constexpr uint64_t MK_CONTROL = 0x0008;
constexpr uint64_t MK_MBUTTON = 0x0010;

// WM_SETCURSOR hit-test code for the client area (low half of lParam).
constexpr int64_t HTCLIENT = 1;

// Message-box styles (buttons in the low 4 bits, icon in the next 4) and answers.
constexpr uint32_t MB_OK = 0x00;
constexpr uint32_t MB_OKCANCEL = 0x01;
constexpr uint32_t MB_YESNOCANCEL = 0x03;
constexpr uint32_t MB_YESNO = 0x04;
constexpr uint32_t MB_ICONHAND = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_ICONASTERISK = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Standard cursors (their handles are these ids).
constexpr uint32_t IDC_ARROW = 32512;
constexpr uint32_t IDC_IBEAM = 32513;
constexpr uint32_t IDC_WAIT = 32514;
constexpr uint32_t IDC_HAND = 32649;

// Mouse position parameter: x in the low 16 bits, y in the next 16, each signed.
constexpr int64_t makePointParam(int x, int y)
{
    return int64_t(uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16));
}
constexpr int pointParamX(int64_t lParam)
{
    return int16_t(uint16_t(uint64_t(lParam)));
}
constexpr int pointParamY(int64_t lParam)
{
    return int16_t(uint16_t(uint64_t(lParam) >> 16));
}

// Clock arithmetic: the millisecond clock wraps every 49.7 days, so deadlines compare by the
// signed difference.
constexpr bool timeReached(uint32_t now, uint32_t deadline)
{
    return int32_t(now - deadline) >= 0;
}

} // namespace platform
