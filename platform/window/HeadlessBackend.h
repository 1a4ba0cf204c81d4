#pragma once

// The back end of tests and scripted runs. Nothing is shown and nothing waits on the real
// clock:
// - the clock is virtual: every wait moves it forward (to the end of the wait, or to the
//   end of a script `wait`), and polls that find nothing while the program is idle move it
//   by 1 ms from the second one without a wait between, so even a program that polls in a
//   loop sees time pass;
// - the script's actions are released one at a time when the program is idle (nothing
//   queued, painted or due), so each action happens after the previous one has been taken
//   and handled; `answer` is taken by the next message box; `shot` writes what the window
//   shows as <screens>/<NAME>.png; after the last action the window is closed as a user would
//   (without a script nothing is released and nothing closes: tests drive the pump directly);
// - recorders keep message boxes, clipboard writes, cursor changes, beeps and presentations;
// - a run that can go no further calls the stuck handler (the program waits for input after
//   the script ended, or runs on for quietLimitMs after the closing, or shows a message box
//   that the script does not answer); by default it prints why and ends the process with
//   exit status 3, or, with exitWhenStuck off, throws HeadlessStuck.

#include "platform/window/Backend.h"
#include "platform/window/Messages.h"
#include "platform/window/Script.h"

#include <atomic>
#include <deque>
#include <stdexcept>

namespace platform {

struct HeadlessStuck : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class HeadlessBackend : public Backend {
public:
    struct Options {
        gfx::Size screen { 640, 480 };
        std::string screensFolder = "."; // where `shot` writes
        // When set, each clipboard write is appended to this file in UTF-8, one line per write
        // ("\n" inside the text written as "\\n"), so that runs of the program can be checked.
        std::string clipboardFile;
        uint32_t quietLimitMs = 60000;
        bool exitWhenStuck = true;
    };
    struct BoxRecord {
        std::string text;
        std::string caption;
        uint32_t type = 0;
        int answer = 0;
    };
    struct CursorRecord {
        uint32_t standardId = 0; // 0 for an image cursor
        int width = 0;
        int height = 0;
        int hotX = 0;
        int hotY = 0;
    };

    HeadlessBackend();
    explicit HeadlessBackend(Options options);

    void setScript(const Script& script);
    bool scriptFinished() const { return m_next >= m_actions.size() && m_pending.empty(); }

    // Recorders and state.
    const std::vector<BoxRecord>& messageBoxes() const { return m_boxes; }
    const std::vector<std::string>& clipboardWrites() const { return m_clipboardWrites; }
    void setClipboard(std::optional<std::string> cp1252) { m_clipboard = std::move(cp1252); }
    const std::vector<CursorRecord>& cursorChanges() const { return m_cursors; }
    const std::vector<uint32_t>& beeps() const { return m_beeps; }
    const std::vector<gfx::Rect>& presentations() const { return m_presentations; }
    const std::vector<std::string>& shots() const { return m_shots; }
    // What the window shows: the front buffer as last presented.
    const gfx::Surface& shown() const { return m_shown; }
    gfx::Rect caretRect() const { return m_caretRect; }
    bool caretVisible() const { return m_caretVisible; }
    bool captured() const { return m_captured; }
    bool windowOpen() const { return m_open; }
    bool windowVisible() const { return m_visible; }
    bool minimized() const { return m_minimized; }
    int raiseCount() const { return m_raises; }
    const WindowParams& windowParams() const { return m_params; }

    uint32_t now() override { return m_now; }
    gfx::Size screenSize() override { return m_options.screen; }
    bool openWindow(const WindowParams& params) override;
    void closeWindow() override;
    void showWindow() override;
    void minimizeWindow() override { m_minimized = true; }
    void requestRaise() override { m_raiseRequests.fetch_add(1); }
    bool pollInput(InputEvent& event, bool idle) override;
    void waitInput(int32_t timeoutMs) override;
    void present(const gfx::Surface& front, const gfx::Rect& dirty) override;
    void setCaret(const gfx::Rect& rect, bool visible) override;
    void setCursor(uint32_t standardId, const CursorImage* image) override;
    void setCapture(bool captured) override { m_captured = captured; }
    int messageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    bool setClipboardText(const std::string& text) override;
    std::optional<std::string> clipboardText() override { return m_clipboard; }
    void beep(uint32_t type) override { m_beeps.push_back(type); }
    // Headless runs play nothing and never open the machine's audio output.
    bool hasAudioOutput() const override { return false; }

private:
    void advance(uint32_t ms);
    bool inWait() const { return m_waiting && !timeReached(m_now, m_waitUntil); }
    // Releases the next action's input into m_pending; false when none can be released now.
    bool releaseNext();
    void mouseTo(int x, int y);
    void stuck(const std::string& why);
    void takeRaiseRequests();

    Options m_options;
    uint32_t m_now = 0;
    std::vector<ScriptAction> m_actions;
    size_t m_next = 0;
    bool m_hasScript = false;
    int m_emptyPolls = 0;
    std::deque<InputEvent> m_pending;
    bool m_waiting = false;
    uint32_t m_waitUntil = 0;
    bool m_closeSent = false;
    uint32_t m_closedAt = 0;
    int m_lastX = -1;
    int m_lastY = -1;
    uint32_t m_answerSince = 0;
    bool m_answerWaiting = false;

    WindowParams m_params;
    bool m_open = false;
    bool m_visible = false;
    bool m_minimized = false;
    bool m_captured = false;
    std::atomic<int> m_raiseRequests = 0;
    int m_raises = 0;
    gfx::Surface m_shown;
    gfx::Rect m_caretRect;
    bool m_caretVisible = false;
    std::vector<BoxRecord> m_boxes;
    std::vector<std::string> m_clipboardWrites;
    std::optional<std::string> m_clipboard;
    std::vector<CursorRecord> m_cursors;
    std::vector<uint32_t> m_beeps;
    std::vector<gfx::Rect> m_presentations;
    std::vector<std::string> m_shots;
};

} // namespace platform
