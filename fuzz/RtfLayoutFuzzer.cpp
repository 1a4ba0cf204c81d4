// Parse and layout with the fixed-metric test font. The first byte picks the resolution, the
// second the text area (a rectangle or a polygon, small or large); the rest is the text. Pictures
// are sized from their names. Checks that the layout ends and that every run starts inside the
// text area's box horizontally and not above it.

#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayout.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "fuzz/FuzzHooks.h"
#include "platform/text/TestFontProvider.h"

#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

qelValue pictureFromName(const qelValue& name)
{
    int32_t n = qelCount(name);
    if (n % 5 == 4)
        return qelNil;
    return qelListOf({ qelNil, qelValue(n * 7 % 200), qelValue(n * 13 % 300) });
}

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    fuzz::installReturningHooks();
    platform::text::TestFontMetrics metrics;
    metrics.charWidth = 6;
    metrics.ascent = 8;
    metrics.descent = 2;
    metrics.externalLeading = 2;
    metrics.widths = { { 'W', 11 }, { ' ', 3 }, { 'i', 2 } };
    qelSetFontProvider(std::make_shared<platform::text::TestFontProvider>(metrics));
    qelSetPictureLoader(pictureFromName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    setUp();
    static const int32_t resolutions[] = { 96, 96, 300, 288, 600, 72, 1, 0, -3, 1440, 2400, 97 };
    int32_t dpi = resolutions[data[0] % (sizeof resolutions / sizeof resolutions[0])];
    uint8_t shape = data[1];
    std::vector<uint8_t> bytes(data + 2, data + size);

    qelValue request = qelTable(8, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), qelBufferFromMemory(bytes.data(), int32_t(bytes.size()), 0));
    qelPut(request, qelValue("Font"), qelFontValue(qelValue("Arial"), 9, 0));
    qelValue parsed = qelParseRTF(request);

    qelValue layout = qelTable(8, 100, 75);
    qelPut(layout, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
    qelPut(layout, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
    qelPut(layout, qelValue("DPI"), qelValue(dpi));
    if (shape & 0x40)
        qelPut(layout, qelValue("NoBitmaps"), qelTrue);
    if (shape & 0x80)
        qelPut(layout, qelValue("Title"), qelValue("T"));

    int32_t width = 20 + (shape & 7) * 55;
    int32_t height = 20 + ((shape >> 3) & 7) * 40;
    qelValue region;
    if (shape & 0x20) {
        const int32_t xy[] = { 5, 3, 5 + width, 3, 5 + width / 3, 3 + height, 5, 3 + height / 2 };
        region = qelPolygonValue(xy, 4);
    } else {
        region = qelRectValue(5, 3, width, height);
    }
    qelRegionObject* box = qelRegionOf(region);
    qelValue result = qelLayoutText(layout, region);
    qelValue pages = qelGet(result, qelValue("Pages"));
    for (int32_t p = 0; p < qelCount(pages); ++p) {
        qelValue runs = qelGet(qelGet(pages, p), 0);
        for (int32_t r = 0; r < qelCount(runs); ++r) {
            qelValue run = qelGet(runs, r);
            int32_t x = qelGet(run, 0).payload();
            int32_t y = qelGet(run, 1).payload();
            check(x >= box->left && x <= box->right);
            check(y >= box->top);
        }
    }
    return 0;
}
