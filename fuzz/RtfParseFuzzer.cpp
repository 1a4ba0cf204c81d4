// The rich text parser over arbitrary bytes given as a buffer with no NUL after them. Every
// reported error returns, so the paths after an error are explored too. Checks that every item is
// well formed: a bare int of a bare type, or a list whose first element is a list type and which
// carries the values of that type.

#include "framework/display/Font.h"
#include "framework/richtext/PlainText.h"
#include "framework/richtext/RtfParser.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Table.h"
#include "fuzz/FuzzHooks.h"

#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkItems(const qelValue& runs, int32_t fontCount)
{
    qelListObject* items = qelListObjectOf(runs);
    check(items != nullptr);
    for (int32_t i = 0; i < items->count; ++i) {
        const qelValue& item = items->cell(i);
        if (item.type() == QEL_INT_TYPE) {
            int32_t t = item.payload();
            check(t == 3 || (t >= 5 && t <= 9) || t == 16);
            continue;
        }
        qelListObject* fields = qelListObjectOf(item);
        check(fields && fields->count >= 2 && fields->cell(0).type() == QEL_INT_TYPE);
        int32_t t = fields->cell(0).payload();
        switch (t) {
        case 1:
            check(fields->count == 5 && fields->cell(1).payload() >= 0 && fields->cell(1).payload() < fontCount);
            break;
        case 2:
        case 10:
        case 11:
        case 20:
            check(fields->count == 2 && fields->cell(1).isString());
            break;
        case 4:
            check(fields->count == 2 && fields->cell(1).payload() >= 0 && fields->cell(1).payload() <= 255);
            break;
        case 12:
        case 13:
        case 17:
        case 21:
            check(fields->count == 3 && fields->cell(2).isString());
            break;
        case 14:
        case 15:
        case 18:
        case 19:
        case 22:
            check(fields->count == 2 && fields->cell(1).type() == QEL_INT_TYPE);
            break;
        default:
            check(false);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    std::vector<uint8_t> bytes(data, data + size);
    qelValue request = qelTable(8, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), qelBufferFromMemory(bytes.data(), int32_t(bytes.size()), 0));
    qelPut(request, qelValue("Font"), qelFontValue(qelValue("Arial"), 9, 0));
    qelPut(request, qelValue("HotStyle"), qelValue(size % 3 == 0 ? 2 : 0));
    qelValue result = qelParseRTF(request);
    qelValue runs = qelGet(result, qelValue("TextRuns"));
    checkItems(runs, qelCount(qelGet(result, qelValue("ListFonts"))));
    qelPlainTextOfRuns(runs);
    return 0;
}
