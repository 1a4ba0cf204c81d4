#include "app/reference/MediaLayout.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <string>

namespace medialayout {

PicturePlace placePicture(int32_t w, int32_t h, int32_t minLeft, int32_t minTop, int32_t bottom)
{
    PicturePlace place;
    place.x = std::max((screenWidth - w) / 2, minLeft);
    place.y = std::max(minTop + (bottom - h - minTop) / 2, minTop);
    place.height = h;
    int32_t excess = place.y + h - bottom;
    if (excess > 0) {
        place.cut = true;
        place.cutTop = excess / 2;
        place.height = bottom - minTop;
    }
    return place;
}

namespace {

// The number of a size prefix "{\word N}" at the head of the text and the text after its "}".
// The number counts only when the "}" stands before `limit` (a longer number is dropped with
// its prefix); a prefix without "}" is no prefix.
bool takePrefix(std::string& text, const char* word, size_t limit, int32_t* number)
{
    std::string head = word;
    if (text.compare(0, head.size(), head) != 0)
        return false;
    size_t close = text.find('}');
    if (close == std::string::npos)
        return false;
    bool counts = close < limit;
    if (counts)
        *number = std::atoi(text.substr(head.size(), close - head.size()).c_str());
    text.erase(0, close + 1);
    return counts;
}

} // namespace

TextPlace fitText(const qelValue& text, int32_t x, int32_t y, int32_t w, int32_t h, int32_t top, int32_t lineHeight,
    int32_t bottom, int32_t tableMinLeft)
{
    TextPlace place;
    place.text = text;
    if (!text.isString() || qelCount(text) == 0 || qelCString(text)[0] != '{')
        return place;
    place.fitted = true;
    std::string body(qelCString(text), size_t(qelCount(text)));
    place.y = top != 0 ? top : y;
    place.x = x;
    place.w = w;
    place.h = h;
    int32_t n = 0;
    if (takePrefix(body, "{\\width ", 12, &n)) {
        place.w = 40 * n;
        place.x = (screenWidth - place.w) / 2;
        if (place.x <= tableMinLeft) {
            place.x = tableMinLeft;
            place.w = (screenWidth / 2 - place.x) * 2;
        }
    }
    if (takePrefix(body, "{\\height ", 13, &n))
        place.h = lineHeight * n + 1;
    // A font without height cannot count lines: the text then keeps the room it has.
    if (place.y + place.h > bottom && lineHeight > 0)
        place.h = ((bottom - place.y) / lineHeight) * lineHeight + 1;
    place.text = qelStringValueN(body.data(), int32_t(body.size()));
    return place;
}

qelValue shortName(const qelValue& name)
{
    if (!name.isString())
        return name;
    int32_t comma = qelFindString(name, ",", 0);
    return comma > 0 ? qelLeft(name, comma) : name;
}

void thumbnailSize(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t* outW, int32_t* outH)
{
    *outW = 0;
    *outH = 0;
    // A picture without pixels has no proportions (the division would be by zero).
    if (w <= 0 || h <= 0)
        return;
    int32_t scaledH = int32_t(int64_t(maxW) * h / w);
    int32_t scaledW = maxW;
    if (scaledH > maxH) {
        scaledH = maxH;
        scaledW = int32_t(int64_t(maxH) * w / h);
    }
    *outW = scaledW;
    *outH = scaledH;
}

} // namespace medialayout
