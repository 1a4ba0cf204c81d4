#pragma once

// The program's back end over SDL2: a window of the client size (or the whole desktop), a
// streaming texture updated from the front buffer's changed rectangles and presented in step
// with the display, waits that sleep until input or the next deadline (the pump bounds them
// by its next timer; the caret's blink bounds them while the caret shows), system and image
// cursors, the caret drawn inverted over the image, message boxes, the clipboard as UTF-8
// and a short tone for the beep.

#include "platform/window/Backend.h"

#include <memory>

namespace platform {

class SdlBackend : public Backend {
public:
    // Nothing when SDL's video cannot start; `error` then says why.
    static std::unique_ptr<SdlBackend> create(std::string* error = nullptr);
    ~SdlBackend() override;

    uint32_t now() override;
    gfx::Size screenSize() override;
    bool openWindow(const WindowParams& params) override;
    void closeWindow() override;
    void showWindow() override;
    void minimizeWindow() override;
    void requestRaise() override;
    bool pollInput(InputEvent& event, bool idle) override;
    void waitInput(int32_t timeoutMs) override;
    void present(const gfx::Surface& front, const gfx::Rect& dirty) override;
    void setCaret(const gfx::Rect& rect, bool visible) override;
    void setCursor(uint32_t standardId, const CursorImage* image) override;
    void setCapture(bool captured) override;
    int messageBox(const std::string& text, const std::string& caption, uint32_t type) override;
    bool setClipboardText(const std::string& text) override;
    std::optional<std::string> clipboardText() override;
    void beep(uint32_t type) override;

private:
    struct State;
    explicit SdlBackend(std::unique_ptr<State> state);
    void upload(const gfx::Rect& rect, bool invertCaret);
    void render();
    void blink();

    std::unique_ptr<State> d;
};

} // namespace platform
