#include "platform/video/MoviePlayer.h"

namespace platform::video {

std::string playerErrorText(uint32_t code)
{
    switch (code) {
    case PlayerOk:
        return "The command succeeded.";
    case ErrorUnknownDeviceType:
        return "The device type is not installed.";
    case ErrorInvalidDevice:
        return "The device is not open.";
    case ErrorCannotOpenFile:
        return "The file cannot be opened as a movie.";
    case ErrorCannotDecode:
        return "The movie's picture cannot be decoded.";
    case ErrorNotOpenedType:
        return "The movie's device type is not open.";
    default:
        return {};
    }
}

void drawScaled(const gfx::Surface& picture, gfx::Surface& target, const gfx::Rect& rect)
{
    if (picture.isEmpty() || rect.isEmpty())
        return;
    gfx::Rect area = rect.intersected(target.bounds());
    int64_t w = rect.width();
    int64_t h = rect.height();
    for (int y = area.top; y < area.bottom; ++y) {
        int sy = int((int64_t(y) - rect.top) * picture.height() / h);
        const uint32_t* source = picture.row(sy);
        uint32_t* out = target.row(y);
        for (int x = area.left; x < area.right; ++x)
            out[x] = source[(int64_t(x) - rect.left) * picture.width() / w];
    }
}

} // namespace platform::video
