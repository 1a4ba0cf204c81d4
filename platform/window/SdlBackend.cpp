#include "platform/window/SdlBackend.h"

#include "platform/sys/Cp1252.h"
#include "platform/window/Keys.h"
#include "platform/window/Messages.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>

namespace platform {

namespace {

    constexpr uint32_t caretBlinkMs = 530;

    uint8_t virtualKeyOf(const SDL_Keysym& key)
    {
        SDL_Keycode sym = key.sym;
        if (sym >= SDLK_a && sym <= SDLK_z)
            return uint8_t('A' + (sym - SDLK_a));
        // Digits by position, so that layouts with symbols on the digit row still give '0'..'9'.
        if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_9)
            return uint8_t('1' + (key.scancode - SDL_SCANCODE_1));
        if (key.scancode == SDL_SCANCODE_0)
            return '0';
        if (sym >= SDLK_F1 && sym <= SDLK_F12)
            return uint8_t(VK_F1 + (sym - SDLK_F1));
        switch (sym) {
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU; // AltGr arrives as SDLK_MODE and is not Alt
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return VK_END;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_DELETE:
            return VK_DELETE;
        default:
            return 0;
        }
    }

    SDL_SystemCursor systemCursorOf(uint32_t id)
    {
        switch (id) {
        case IDC_IBEAM:
            return SDL_SYSTEM_CURSOR_IBEAM;
        case IDC_WAIT:
            return SDL_SYSTEM_CURSOR_WAIT;
        case IDC_HAND:
            return SDL_SYSTEM_CURSOR_HAND;
        default:
            return SDL_SYSTEM_CURSOR_ARROW;
        }
    }

    bool sameImage(const CursorImage& a, const CursorImage& b)
    {
        return a.width == b.width && a.height == b.height && a.hotX == b.hotX && a.hotY == b.hotY && a.argb == b.argb;
    }

} // namespace

struct SdlBackend::State {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    const gfx::Surface* front = nullptr; // the window's front buffer, from the last presentation
    uint32_t wakeEvent = 0;
    std::atomic<bool> raise = false;
    gfx::Rect caret;
    bool caretVisible = false;
    bool caretOn = false; // the blink phase
    uint32_t nextBlink = 0;
    std::map<uint32_t, SDL_Cursor*> systemCursors;
    SDL_Cursor* imageCursor = nullptr;
    CursorImage imageCursorSource;
    SDL_Cursor* current = nullptr;
    SDL_AudioDeviceID beepDevice = 0;
};

std::unique_ptr<SdlBackend> SdlBackend::create(std::string* error)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (error)
            *error = SDL_GetError();
        return nullptr;
    }
    // A click that activates the window also acts on it, as the design of the screens expects.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    auto state = std::make_unique<State>();
    state->wakeEvent = SDL_RegisterEvents(1);
    return std::unique_ptr<SdlBackend>(new SdlBackend(std::move(state)));
}

SdlBackend::SdlBackend(std::unique_ptr<State> state)
    : d(std::move(state))
{
}

SdlBackend::~SdlBackend()
{
    closeWindow();
    for (auto& [id, cursor] : d->systemCursors)
        SDL_FreeCursor(cursor);
    if (d->imageCursor)
        SDL_FreeCursor(d->imageCursor);
    if (d->beepDevice)
        SDL_CloseAudioDevice(d->beepDevice);
    SDL_Quit();
}

uint32_t SdlBackend::now()
{
    return SDL_GetTicks();
}

gfx::Size SdlBackend::screenSize()
{
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return { 640, 480 };
    return { mode.w, mode.h };
}

bool SdlBackend::openWindow(const WindowParams& params)
{
    closeWindow();
    uint32_t flags = SDL_WINDOW_HIDDEN | (params.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    std::string title = cp1252::toUtf8(params.title);
    d->window = SDL_CreateWindow(
        title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, params.width, params.height, flags);
    if (!d->window)
        return false;
    if (!params.iconArgb.empty()) {
        // SDL copies the icon's pixels, so the surface only borrows the params' buffer.
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(params.iconArgb.data()),
            params.iconWidth, params.iconHeight, 32, params.iconWidth * 4, SDL_PIXELFORMAT_ARGB8888);
        if (icon) {
            SDL_SetWindowIcon(d->window, icon);
            SDL_FreeSurface(icon);
        }
    }
    d->renderer = SDL_CreateRenderer(d->window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!d->renderer)
        d->renderer = SDL_CreateRenderer(d->window, -1, SDL_RENDERER_SOFTWARE);
    if (d->renderer)
        d->texture = SDL_CreateTexture(
            d->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, params.width, params.height);
    if (!d->texture) {
        closeWindow();
        return false;
    }
    SDL_StartTextInput();
    return true;
}

void SdlBackend::closeWindow()
{
    if (d->texture)
        SDL_DestroyTexture(d->texture);
    if (d->renderer)
        SDL_DestroyRenderer(d->renderer);
    if (d->window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(d->window);
    }
    d->texture = nullptr;
    d->renderer = nullptr;
    d->window = nullptr;
    d->front = nullptr;
    d->caretVisible = d->caretOn = false;
}

void SdlBackend::showWindow()
{
    if (!d->window)
        return;
    SDL_ShowWindow(d->window);
    SDL_RaiseWindow(d->window);
}

void SdlBackend::minimizeWindow()
{
    if (d->window)
        SDL_MinimizeWindow(d->window);
}

void SdlBackend::requestRaise()
{
    d->raise = true;
    SDL_Event wake {};
    wake.type = d->wakeEvent;
    SDL_PushEvent(&wake); // safe from any thread
}

bool SdlBackend::pollInput(InputEvent& event, bool)
{
    if (d->raise.exchange(false) && d->window) {
        SDL_RestoreWindow(d->window);
        SDL_RaiseWindow(d->window);
    }
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        event = InputEvent {};
        event.time = e.common.timestamp;
        switch (e.type) {
        case SDL_QUIT:
            event.kind = InputKind::Close;
            return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                event.kind = InputKind::Close;
                return true;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                event.kind = InputKind::FocusGained;
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                event.kind = InputKind::FocusLost;
                return true;
            case SDL_WINDOWEVENT_EXPOSED:
                render();
                break;
            default:
                break;
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.vk = virtualKeyOf(e.key.keysym);
            if (event.vk == 0)
                break;
            event.kind = e.type == SDL_KEYDOWN ? InputKind::KeyDown : InputKind::KeyUp;
            event.repeat = e.key.repeat != 0;
            return true;
        case SDL_TEXTINPUT: {
            // Characters that cp1252 lacks cannot be typed into the system.
            std::string_view typed = e.text.text;
            size_t pos = 0;
            while (pos < typed.size()) {
                int32_t ch = cp1252::decodeUtf8(typed, pos);
                int byte = ch < 0 ? -1 : cp1252::fromUnicode(char32_t(ch));
                if (byte > 0)
                    event.text += char(byte);
            }
            if (event.text.empty())
                break;
            event.kind = InputKind::Text;
            return true;
        }
        case SDL_MOUSEMOTION:
            event.kind = InputKind::MouseMove;
            event.x = e.motion.x;
            event.y = e.motion.y;
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT
                && e.button.button != SDL_BUTTON_MIDDLE)
                break;
            event.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputKind::ButtonDown : InputKind::ButtonUp;
            event.button = e.button.button == SDL_BUTTON_LEFT ? MouseButton::Left
                : e.button.button == SDL_BUTTON_RIGHT         ? MouseButton::Right
                                                              : MouseButton::Middle;
            event.x = e.button.x;
            event.y = e.button.y;
            return true;
        default:
            break;
        }
    }
    return false;
}

void SdlBackend::waitInput(int32_t timeoutMs)
{
    int32_t limit = timeoutMs;
    if (d->caretVisible) {
        uint32_t t = now();
        int32_t untilBlink = timeReached(t, d->nextBlink) ? 0 : int32_t(d->nextBlink - t);
        if (limit < 0 || untilBlink < limit)
            limit = untilBlink;
    }
    if (limit < 0)
        SDL_WaitEvent(nullptr);
    else if (limit > 0)
        SDL_WaitEventTimeout(nullptr, limit);
    if (d->caretVisible && timeReached(now(), d->nextBlink))
        blink();
}

void SdlBackend::upload(const gfx::Rect& area, bool invertCaret)
{
    if (!d->texture || !d->front)
        return;
    gfx::Rect r = area.intersected(d->front->bounds());
    if (r.isEmpty())
        return;
    SDL_Rect target { r.left, r.top, r.width(), r.height() };
    if (!invertCaret) {
        SDL_UpdateTexture(d->texture, &target, d->front->row(r.top) + r.left, int(d->front->pitch()));
        return;
    }
    std::vector<uint32_t> inverted(size_t(r.width()) * size_t(r.height()));
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* source = d->front->row(y) + r.left;
        for (int x = 0; x < r.width(); ++x)
            inverted[size_t(y - r.top) * size_t(r.width()) + size_t(x)] = ~source[x] & 0xFFFFFF;
    }
    SDL_UpdateTexture(d->texture, &target, inverted.data(), r.width() * 4);
}

void SdlBackend::render()
{
    if (!d->renderer || !d->texture)
        return;
    SDL_RenderCopy(d->renderer, d->texture, nullptr, nullptr);
    SDL_RenderPresent(d->renderer); // waits for the display's refresh when it can
}

void SdlBackend::present(const gfx::Surface& front, const gfx::Rect& dirty)
{
    d->front = &front;
    upload(dirty, false);
    if (d->caretVisible && d->caretOn && !dirty.intersected(d->caret).isEmpty())
        upload(d->caret, true);
    render();
}

void SdlBackend::blink()
{
    d->caretOn = !d->caretOn;
    d->nextBlink = now() + caretBlinkMs;
    upload(d->caret, d->caretOn);
    render();
}

void SdlBackend::setCaret(const gfx::Rect& rect, bool visible)
{
    // Take the old caret off the image, then show the new one at once (its blink restarts).
    if (d->caretVisible && d->caretOn)
        upload(d->caret, false);
    d->caret = rect;
    d->caretVisible = visible;
    d->caretOn = visible;
    d->nextBlink = now() + caretBlinkMs;
    if (visible)
        upload(rect, true);
    render();
}

void SdlBackend::setCursor(uint32_t standardId, const CursorImage* image)
{
    SDL_Cursor* cursor = nullptr;
    if (image) {
        if (!d->imageCursor || !sameImage(*image, d->imageCursorSource)) {
            SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(image->argb.data()),
                image->width, image->height, 32, image->width * 4, SDL_PIXELFORMAT_ARGB8888);
            SDL_Cursor* made = surface ? SDL_CreateColorCursor(surface, image->hotX, image->hotY) : nullptr;
            if (surface)
                SDL_FreeSurface(surface);
            if (!made)
                return;
            if (d->imageCursor) {
                if (d->current == d->imageCursor) {
                    SDL_SetCursor(made);
                    d->current = made;
                }
                SDL_FreeCursor(d->imageCursor);
            }
            d->imageCursor = made;
            d->imageCursorSource = *image;
        }
        cursor = d->imageCursor;
    } else {
        auto& cached = d->systemCursors[standardId];
        if (!cached)
            cached = SDL_CreateSystemCursor(systemCursorOf(standardId));
        cursor = cached;
    }
    if (cursor && cursor != d->current) {
        SDL_SetCursor(cursor);
        d->current = cursor;
    }
}

void SdlBackend::setCapture(bool captured)
{
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

int SdlBackend::messageBox(const std::string& text, const std::string& caption, uint32_t type)
{
    std::string message = cp1252::toUtf8(text);
    std::string title = cp1252::toUtf8(caption);
    std::vector<SDL_MessageBoxButtonData> buttons;
    auto add = [&](int id, const char* label, uint32_t flags) { buttons.push_back({ flags, id, label }); };
    constexpr uint32_t enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    constexpr uint32_t escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    switch (type & 0xF) {
    case MB_OKCANCEL:
        add(IDOK, "OK", enter);
        add(IDCANCEL, "Cancel", escape);
        break;
    case MB_YESNOCANCEL:
        add(IDYES, "Yes", enter);
        add(IDNO, "No", 0);
        add(IDCANCEL, "Cancel", escape);
        break;
    case MB_YESNO:
        add(IDYES, "Yes", enter);
        add(IDNO, "No", 0);
        break;
    default:
        add(IDOK, "OK", enter | escape);
        break;
    }
    uint32_t icon = type & 0xF0;
    uint32_t flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT
        | (icon == MB_ICONHAND               ? SDL_MESSAGEBOX_ERROR
                : icon == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING
                                             : SDL_MESSAGEBOX_INFORMATION);
    SDL_MessageBoxData data { flags, d->window, title.c_str(), message.c_str(), int(buttons.size()), buttons.data(),
        nullptr };
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        // No way to show it: at least leave the text where someone can read it.
        std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
        return -1;
    }
    return chosen;
}

bool SdlBackend::setClipboardText(const std::string& text)
{
    std::string utf8 = cp1252::toUtf8(text.substr(0, text.find('\0')));
    return SDL_SetClipboardText(utf8.c_str()) == 0;
}

std::optional<std::string> SdlBackend::clipboardText()
{
    if (!SDL_HasClipboardText())
        return std::nullopt;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8)
        return std::nullopt;
    // A character that cp1252 lacks becomes the substitute control character (0x1A), which no
    // text field takes, rather than a '?' that would paste as if the user had copied it.
    std::string text = cp1252::fromUtf8(utf8, '\x1A');
    SDL_free(utf8);
    return text;
}

void SdlBackend::beep(uint32_t)
{
    if (!d->beepDevice) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return;
        SDL_AudioSpec want {};
        want.freq = 22050;
        want.format = AUDIO_S16SYS;
        want.channels = 1;
        want.samples = 512;
        d->beepDevice = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (!d->beepDevice)
            return;
        SDL_PauseAudioDevice(d->beepDevice, 0);
    }
    if (SDL_GetQueuedAudioSize(d->beepDevice) > 0)
        return; // one beep at a time
    // 120 ms of an 880 Hz square wave at a modest level.
    std::vector<int16_t> tone(22050 * 120 / 1000);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = (i * 880 * 2 / 22050) % 2 ? 4000 : -4000;
    SDL_QueueAudio(d->beepDevice, tone.data(), uint32_t(tone.size() * sizeof(int16_t)));
}

} // namespace platform
