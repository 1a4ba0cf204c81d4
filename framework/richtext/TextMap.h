#pragma once

// Text maps (type 17): a laid-out text as a value the value system can copy, store and encode.
// A text map holds the size of its text area and two values: the first is carried and encoded
// (the text view stores the font list there, which drawing reads), the second is the page list
// of the layout, each page a list [runs, hot areas].
//
// Binary form after the type byte 0x11: int32 width, int32 height, the first value encoded, the
// second value encoded.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelTextMapObject final : public qelObject {
public:
    qelTextMapObject(int32_t width, int32_t height, const qelValue& first, const qelValue& second)
        : width(width)
        , height(height)
        , first(first)
        , second(second)
    {
    }

    const int32_t width;
    const int32_t height;
    const qelValue first;
    const qelValue second;
};

qelValue qelTextMapValue(int32_t width, int32_t height, const qelValue& first, const qelValue& second);
// The text map object of a value, or null.
qelTextMapObject* qelTextMapOf(const qelValue& value);

// The number of pages; a page's runs and its hot areas (an index outside the page list is the
// list's "index out of range" error, and gives nil).
int32_t qelTextMapPageCount(const qelValue& textMap);
qelValue qelTextMapPageRuns(const qelValue& textMap, int32_t page);
qelValue qelTextMapPageHotAreas(const qelValue& textMap, int32_t page);

// The target of the first hot area [region, target] of the list whose region contains the point;
// nil when none does or the list is nil.
qelValue qelHitTextMap(const qelValue& hotAreas, int32_t x, int32_t y);

// Installs the text map maker and field reader into the value layer's hooks, so that decoding
// makes real text maps and encoding reads them back.
void qelInstallTextMapMaker();
