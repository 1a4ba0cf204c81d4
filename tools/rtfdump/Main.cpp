// rtfdump: the rich text parser and layout engine on a file.
//
//   rtfdump FILE                          parses FILE with the parser's default request (the
//                                         stock font, style 0) and prints its items in the quoted
//                                         text notation
//   rtfdump --text FILE                   prints the plain text that copying the text gives
//                                         (UTF-8)
//   rtfdump --layout W H --png OUT FILE   lays FILE out in a W x H area as a screen text view does
//                                         ("Arial" 9 points, 96 dots per inch) and draws its first
//                                         page into the PNG file OUT: runs in their fonts and
//                                         colours, the outlines of boxes and pictures
//
// Errors print their message on stderr and end with status 1.

#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/richtext/PlainText.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayout.h"
#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/ValuePrinter.h"
#include "platform/gfx/MemoryDc.h"
#include "platform/gfx/Png.h"
#include "platform/text/TextDraw.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace platform::gfx;

int printMessage(const qelValue& message)
{
    std::fprintf(stderr, "%s\n", qelToUtf8(qelCString(message)).c_str());
    std::exit(1);
}

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
}

[[noreturn]] void usage()
{
    std::fprintf(stderr,
        "usage: rtfdump FILE\n"
        "       rtfdump --text FILE\n"
        "       rtfdump --layout W H --png OUT FILE\n");
    std::exit(1);
}

qelValue readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("Cannot open file: " + path);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() > 0x7FFFFFF)
        fail("File too large: " + path);
    return qelBufferFromMemory(bytes.data(), int32_t(bytes.size()), 1);
}

qelValue parseFile(const std::string& path, const qelValue& font)
{
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), readFile(path));
    if (!font.isNil())
        qelPut(request, qelValue("Font"), font);
    return qelParseRTF(request);
}

int32_t sizeArgument(const char* text)
{
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (*text == 0 || *end != 0 || n < 1 || n > Surface::maxSide)
        fail(std::string("Bad size: ") + text);
    return int32_t(n);
}

void frame(Dc& dc, const qelValue& rect, ColorRef color)
{
    qelRegionObject* r = qelRegionOf(rect);
    if (!r)
        return;
    dc.selectPen({ PenStyle::Solid, 1, color });
    dc.moveTo(r->left, r->top);
    dc.lineTo(r->right - 1, r->top);
    dc.lineTo(r->right - 1, r->bottom - 1);
    dc.lineTo(r->left, r->bottom - 1);
    dc.lineTo(r->left, r->top);
}

// Outlines of the entries [rect, ..., page] of a list that lie on the first page.
void frameFirstPage(Dc& dc, const qelValue& entries, ColorRef color)
{
    for (int32_t i = 0; i < qelCount(entries); ++i) {
        qelValue entry = qelGet(entries, i);
        if (qelIntValue(qelGet(entry, qelCount(entry) - 1)) == 0)
            frame(dc, qelGet(entry, 0), color);
    }
}

void drawLayout(int32_t width, int32_t height, const std::string& out, const std::string& path)
{
    qelValue parsed = parseFile(path, qelFontValue(qelValue("Arial"), 9, 0));
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
    qelPut(request, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
    qelValue result = qelLayoutText(request, qelRectValue(0, 0, width, height));

    Surface surface(width, height, 0xFFFFFF);
    MemoryDc dc(surface);
    frameFirstPage(dc, qelGet(result, qelValue("Boxes")), rgb(0x80, 0x80, 0x80));
    frameFirstPage(dc, qelGet(result, qelValue("Bitmaps")), rgb(0x40, 0x80, 0x40));
    qelValue fonts = qelGet(result, qelValue("Fonts"));
    qelValue pages = qelGet(result, qelValue("Pages"));
    qelValue runs = qelCount(pages) > 0 ? qelGet(qelGet(pages, 0), 0) : qelNil;
    for (int32_t i = 0; i < qelCount(runs); ++i) {
        qelValue run = qelGet(runs, i);
        if (qelFontObject* font = qelFontOf(qelGet(fonts, qelIntValue(qelGet(run, 3)))))
            font->select(dc);
        // -1 is no colour of its own: such text is drawn near-black, or white on a background.
        int32_t fore = qelIntValue(qelGet(run, 4));
        int32_t back = qelIntValue(qelGet(run, 5));
        if (fore == -1)
            fore = back == -1 ? 1 : 0xFFFFFF;
        dc.setTextColor(ColorRef(fore) & 0xFFFFFF);
        dc.setBkMode(back == -1 ? BkMode::Transparent : BkMode::Opaque);
        if (back != -1)
            dc.setBkColor(ColorRef(back) & 0xFFFFFF);
        qelValue text = qelGet(run, 2);
        platform::text::textOut(dc, qelIntValue(qelGet(run, 0)), qelIntValue(qelGet(run, 1)),
            std::string_view(qelCString(text), size_t(qelCount(text))));
    }
    if (!writePng(surface, out))
        fail("Cannot write file: " + out);
}

} // namespace

int main(int argc, char** argv)
{
    qelSetErrorHook(printMessage);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0].rfind("--", 0) != 0) {
        qelValue runs = qelGet(parseFile(args[0], qelNil), qelValue("TextRuns"));
        std::printf("%s\n", qelCString(qelPrintValue(runs, 1)));
        return 0;
    }
    if (args.size() == 2 && args[0] == "--text") {
        qelValue runs = qelGet(parseFile(args[1], qelNil), qelValue("TextRuns"));
        std::fputs(qelToUtf8(qelCString(qelPlainTextOfRuns(runs))).c_str(), stdout);
        return 0;
    }
    if (args.size() == 6 && args[0] == "--layout" && args[3] == "--png") {
        drawLayout(sizeArgument(args[1].c_str()), sizeArgument(args[2].c_str()), args[4], args[5]);
        return 0;
    }
    usage();
}
