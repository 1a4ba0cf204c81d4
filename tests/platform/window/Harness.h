#pragma once

// A headless window system with a window whose procedure records every message and behaves
// like a plain application window: it paints from a fill colour, and closing ends the run.

#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <gtest/gtest.h>
#include <variant>

namespace platform::testing {

inline Script scriptOf(std::string_view text)
{
    auto parsed = Script::parse(text);
    if (auto* error = std::get_if<ScriptError>(&parsed))
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
    return std::get_if<Script>(&parsed) ? std::get<Script>(parsed) : Script {};
}

struct Harness {
    HeadlessBackend* headless;
    std::vector<Message> log;
    std::function<int64_t(const Message&)> onMessage; // replaces the default handling when set
    uint32_t fill = 0x336699;
    WindowSystem system; // last: its window sends WM_DESTROY to the procedure above

    explicit Harness(HeadlessBackend::Options options = quiet())
        : Harness(std::make_unique<HeadlessBackend>(options))
    {
    }
    explicit Harness(std::unique_ptr<HeadlessBackend> backend)
        : headless(backend.get())
        , system(std::move(backend))
    {
    }
    static HeadlessBackend::Options quiet()
    {
        HeadlessBackend::Options o;
        o.exitWhenStuck = false;
        return o;
    }

    Window& window() { return system.window(); }
    Pump& pump() { return system.pump(); }

    WindowHandle open(int width = 64, int height = 48)
    {
        WindowHandle h = window().create({ "Test", width, height, false },
            [this](WindowHandle w, uint32_t id, uint64_t wp, int64_t lp) { return proc(w, id, wp, lp); });
        window().show();
        return h;
    }

    int64_t proc(WindowHandle w, uint32_t id, uint64_t wp, int64_t lp)
    {
        Message m { w, id, wp, lp, pump().now() };
        log.push_back(m);
        if (onMessage)
            return onMessage(m);
        switch (id) {
        case WM_PAINT: {
            auto paint = window().beginPaint();
            window().front().fill(paint.rect, fill);
            window().endPaint(paint);
            return 0;
        }
        case WM_CLOSE:
            window().destroy();
            pump().postQuit(0);
            return 0;
        default:
            return window().defaultProc(id, wp, lp);
        }
    }

    // Runs the loop until WM_QUIT; returns the exit code.
    int run()
    {
        Message m;
        while (pump().wait(m, -1) != 0)
            pump().dispatch(m);
        return int(m.wParam);
    }

    // The ids of the recorded messages of the given kinds, in order.
    std::vector<Message> only(std::initializer_list<uint32_t> ids) const
    {
        std::vector<Message> out;
        for (const auto& m : log) {
            for (uint32_t id : ids) {
                if (m.id == id)
                    out.push_back(m);
            }
        }
        return out;
    }
};

} // namespace platform::testing
