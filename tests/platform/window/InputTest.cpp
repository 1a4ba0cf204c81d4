#include "platform/window/Input.h"
#include "Harness.h"
#include "platform/window/Keys.h"

using namespace platform;
using namespace platform::testing;

namespace {

struct Msg {
    uint32_t id;
    uint64_t wParam;
    bool operator==(const Msg&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Msg& m)
{
    return out << "{0x" << std::hex << m.id << ", 0x" << m.wParam << std::dec << "}";
}

// The keyboard messages a script produces, with the key state seen while each is handled.
std::vector<Msg> keyMessages(const char* script, std::vector<bool>* controlHeld = nullptr)
{
    Harness h;
    h.headless->setScript(scriptOf(script));
    h.open();
    std::vector<Msg> out;
    h.onMessage = [&](const Message& m) -> int64_t {
        if (m.id >= WM_KEYDOWN && m.id <= WM_SYSCHAR) {
            out.push_back({ m.id, m.wParam });
            if (controlHeld)
                controlHeld->push_back(h.pump().keyDown(VK_CONTROL));
        }
        if (m.id == WM_CLOSE) {
            h.window().destroy();
            h.pump().postQuit(0);
            return 0;
        }
        return h.window().defaultProc(m.id, m.wParam, m.lParam);
    };
    h.run();
    return out;
}

} // namespace

TEST(Input, KeysBecomeVirtualKeyAndCharacterMessages)
{
    struct Case {
        const char* script;
        std::vector<Msg> expected;
    } cases[] = {
        { "key Enter", { { WM_KEYDOWN, VK_RETURN }, { WM_CHAR, 13 }, { WM_KEYUP, VK_RETURN } } },
        { "key Escape", { { WM_KEYDOWN, VK_ESCAPE }, { WM_CHAR, 27 }, { WM_KEYUP, VK_ESCAPE } } },
        { "key Backspace", { { WM_KEYDOWN, VK_BACK }, { WM_CHAR, 8 }, { WM_KEYUP, VK_BACK } } },
        { "key shift+Tab",
            { { WM_KEYDOWN, VK_SHIFT }, { WM_KEYDOWN, VK_TAB }, { WM_CHAR, 9 }, { WM_KEYUP, VK_TAB },
                { WM_KEYUP, VK_SHIFT } } },
        { "key ctrl+Z",
            { { WM_KEYDOWN, VK_CONTROL }, { WM_KEYDOWN, 'Z' }, { WM_CHAR, 26 }, { WM_KEYUP, 'Z' },
                { WM_KEYUP, VK_CONTROL } } },
        { "key ctrl+5",
            { { WM_KEYDOWN, VK_CONTROL }, { WM_KEYDOWN, '5' }, { WM_KEYUP, '5' }, { WM_KEYUP, VK_CONTROL } } },
        // Letters and other keys make no character by themselves: typed text does.
        { "key Q", { { WM_KEYDOWN, 'Q' }, { WM_KEYUP, 'Q' } } },
        { "key F12", { { WM_KEYDOWN, VK_F12 }, { WM_KEYUP, VK_F12 } } },
        { "key Delete", { { WM_KEYDOWN, VK_DELETE }, { WM_KEYUP, VK_DELETE } } },
        // While Alt is held keys are system keys and make no characters.
        { "key alt+F3",
            { { WM_SYSKEYDOWN, VK_MENU }, { WM_SYSKEYDOWN, VK_F1 + 2 }, { WM_SYSKEYUP, VK_F1 + 2 },
                { WM_KEYUP, VK_MENU } } },
        { "key alt+Enter",
            { { WM_SYSKEYDOWN, VK_MENU }, { WM_SYSKEYDOWN, VK_RETURN }, { WM_SYSKEYUP, VK_RETURN },
                { WM_KEYUP, VK_MENU } } },
        { "key Alt", { { WM_SYSKEYDOWN, VK_MENU }, { WM_SYSKEYUP, VK_MENU } } },
        // Control with Alt is not a system key.
        { "key ctrl+alt+A",
            { { WM_KEYDOWN, VK_CONTROL }, { WM_KEYDOWN, VK_MENU }, { WM_KEYDOWN, 'A' }, { WM_KEYUP, 'A' },
                { WM_KEYUP, VK_MENU }, { WM_KEYUP, VK_CONTROL } } },
        { "text \"a\xC3\xA7\xE2\x82\xAC\"", { { WM_CHAR, 'a' }, { WM_CHAR, 0xE7 }, { WM_CHAR, 0x80 } } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyMessages(c.script), c.expected) << c.script;
}

TEST(Input, KeyStateFollowsTheMessagesTaken)
{
    std::vector<bool> control;
    keyMessages("key ctrl+A\nkey B", &control);
    // Control is down from its own key-down to its key-up, and not after.
    EXPECT_EQ(control, (std::vector<bool> { true, true, true, true, false, false, false }));
}

TEST(Input, AltGrFocusLossAndKeyDetails)
{
    InputTranslator t;
    std::deque<Message> out;
    gfx::Size client { 100, 100 };
    auto feed = [&](InputKind kind, uint8_t vk = 0, std::string text = {}, bool repeat = false) {
        InputEvent e;
        e.kind = kind;
        e.vk = vk;
        e.text = std::move(text);
        e.repeat = repeat;
        e.time = 42;
        t.translate(e, 7, client, false, out);
    };
    feed(InputKind::FocusGained);
    feed(InputKind::FocusGained); // no change, no message
    // Text typed with Alt held is a system character; AltGr reports no Alt key, so what it
    // types is an ordinary character.
    feed(InputKind::KeyDown, VK_MENU);
    feed(InputKind::Text, 0, "q");
    feed(InputKind::KeyUp, VK_MENU);
    feed(InputKind::Text, 0, "@");
    // A key held down repeats with the previous-state bit; a release whose press went
    // elsewhere is dropped.
    feed(InputKind::KeyDown, 'X');
    feed(InputKind::KeyDown, 'X', {}, true);
    feed(InputKind::KeyUp, 'Y');
    // Losing the focus while Alt is held (Alt+Tab) forgets Alt: keys afterwards are plain.
    feed(InputKind::KeyDown, VK_MENU);
    feed(InputKind::FocusLost);
    feed(InputKind::FocusGained);
    feed(InputKind::KeyDown, 'A');
    feed(InputKind::Close);

    std::vector<std::pair<uint32_t, uint64_t>> got;
    for (const auto& m : out) {
        got.push_back({ m.id, m.wParam });
        EXPECT_EQ(m.window, 7u);
        EXPECT_EQ(m.time, 42u);
    }
    std::vector<std::pair<uint32_t, uint64_t>> expected = { { WM_SETFOCUS, 0 }, { WM_SYSKEYDOWN, VK_MENU },
        { WM_SYSCHAR, 'q' }, { WM_SYSKEYUP, VK_MENU }, { WM_CHAR, '@' }, { WM_KEYDOWN, 'X' }, { WM_KEYDOWN, 'X' },
        { WM_SYSKEYDOWN, VK_MENU }, { WM_KILLFOCUS, 0 }, { WM_SETFOCUS, 0 }, { WM_KEYDOWN, 'A' }, { WM_CLOSE, 0 } };
    ASSERT_EQ(got, expected);
    // lParam: repeat count 1, bit 29 while Alt is held, bit 30 when already down, bit 31 on release.
    EXPECT_EQ(out[1].lParam, 1 | (1 << 29));
    EXPECT_EQ(out[3].lParam, int64_t(1) | (1 << 29) | (1 << 30) | (int64_t(1) << 31));
    EXPECT_EQ(out[5].lParam, 1);
    EXPECT_EQ(out[6].lParam, 1 | (1 << 30));
}

TEST(Input, MouseMessagesCarryButtonsPositionAndCapture)
{
    Harness h;
    h.headless->setScript(scriptOf("move 10 20\n"
                                   "down 10 20\n"
                                   "move -5 70\n" // outside, but the window captures on button-down
                                   "up -5 70\n"
                                   "move -6 71\n" // outside without capture: dropped
                                   "key shift+Enter\n"
                                   "dblclick 63 47\n"));
    std::vector<int> capturedAt;
    h.onMessage = [&](const Message& m) -> int64_t {
        if (m.id == WM_LBUTTONDOWN)
            h.window().setCapture();
        if (m.id == WM_LBUTTONUP)
            h.window().releaseCapture();
        if (m.id == WM_CLOSE) {
            h.window().destroy();
            h.pump().postQuit(0);
        }
        if (m.id == WM_PAINT)
            h.window().validate(nullptr);
        return 0;
    };
    h.open(64, 48);
    h.run();
    auto mouse = h.only({ WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_SETCURSOR });
    struct Expect {
        uint32_t id;
        uint64_t wParam;
        int x, y;
    };
    std::vector<Expect> expected = {
        { WM_SETCURSOR, 0, 0, 0 }, // the window chooses the cursor before each message...
        { WM_MOUSEMOVE, 0, 10, 20 },
        { WM_SETCURSOR, 0, 0, 0 },
        { WM_LBUTTONDOWN, MK_LBUTTON, 10, 20 },
        { WM_MOUSEMOVE, MK_LBUTTON, -5, 70 }, // ...but not while it holds the capture
        { WM_LBUTTONUP, 0, -5, 70 },
        { WM_SETCURSOR, 0, 0, 0 },
        { WM_MOUSEMOVE, 0, 63, 47 },
        { WM_SETCURSOR, 0, 0, 0 },
        { WM_LBUTTONDOWN, MK_LBUTTON, 63, 47 },
        { WM_LBUTTONUP, 0, 63, 47 }, // captured since the button-down
        { WM_SETCURSOR, 0, 0, 0 },
        { WM_LBUTTONDOWN, MK_LBUTTON, 63, 47 },
        { WM_LBUTTONUP, 0, 63, 47 },
    };
    ASSERT_EQ(mouse.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(mouse[i].id, expected[i].id) << i;
        if (expected[i].id == WM_SETCURSOR) {
            EXPECT_EQ(mouse[i].lParam & 0xFFFF, HTCLIENT);
            EXPECT_EQ(uint32_t(mouse[i].lParam >> 16), mouse[i + 1].id);
            continue;
        }
        EXPECT_EQ(mouse[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(pointParamX(mouse[i].lParam), expected[i].x) << i;
        EXPECT_EQ(pointParamY(mouse[i].lParam), expected[i].y) << i;
    }
    // A double click is two clicks at one moment.
    auto downs = h.only({ WM_LBUTTONDOWN });
    EXPECT_EQ(downs[1].time, downs[2].time);
    EXPECT_FALSE(h.headless->captured());
}

TEST(Input, ModifierFlagsOnMouseMessages)
{
    InputTranslator t;
    std::deque<Message> out;
    auto feed = [&](InputKind kind, uint8_t vk, MouseButton button = MouseButton::Left) {
        InputEvent e;
        e.kind = kind;
        e.vk = vk;
        e.button = button;
        e.x = 3;
        e.y = 4;
        t.translate(e, 1, { 10, 10 }, false, out);
    };
    feed(InputKind::KeyDown, VK_SHIFT);
    feed(InputKind::KeyDown, VK_CONTROL);
    feed(InputKind::ButtonDown, 0, MouseButton::Right);
    feed(InputKind::ButtonDown, 0, MouseButton::Middle);
    feed(InputKind::MouseMove, 0);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[2].id, WM_RBUTTONDOWN);
    EXPECT_EQ(out[3].id, WM_MBUTTONDOWN);
    EXPECT_EQ(out[4].wParam, MK_SHIFT | MK_CONTROL | MK_RBUTTON | MK_MBUTTON);
}
