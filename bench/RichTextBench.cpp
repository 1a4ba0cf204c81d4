// Rich text: parse and layout of a 60 KB entry and of a 1 MB text at 400 pixels width (a
// scrolling text view: one page as tall as the text), against Pango laying out the same plain
// text with the same font (Liberation Sans, which "Arial" maps to, 12 pixels at 96 dots per inch)
// and width, with word wrapping. Pango also shapes and handles bidirectional text, so it does
// more work per character; our layout must still be no slower. Prints the time ratios.
//
// The texts are generated (RichTextSample.h).

#include "framework/display/Font.h"
#include "framework/display/Region.h"
#include "framework/richtext/PlainText.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextLayout.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"

#include "bench/RatioReporter.h"
#include "bench/RichTextSample.h"
#include <benchmark/benchmark.h>
#include <pango/pangoft2.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

struct Text {
    std::string rtf;
    qelValue parsed;
    std::string plainUtf8;
};

qelValue parseRequest(const std::string& rtf)
{
    qelValue request = qelTable(4, 100, 75);
    qelPut(request, qelValue("Type"), qelValue("RTF"));
    qelPut(request, qelValue("Buffer"), qelStringValueN(rtf.data(), int32_t(rtf.size())));
    qelPut(request, qelValue("Font"), qelFontValue(qelValue("Arial"), 9, 0));
    return request;
}

qelValue layoutRequest(const qelValue& parsed)
{
    static qelValue images = [] {
        qelValue t = qelTable(4, 100, 75);
        qelPut(t, qelValue("foto.bmp"), qelListOf({ qelNil, qelValue(120), qelValue(90) }));
        return t;
    }();
    qelValue request = qelTable(8, 100, 75);
    qelPut(request, qelValue("TextRuns"), qelGet(parsed, qelValue("TextRuns")));
    qelPut(request, qelValue("ListFonts"), qelGet(parsed, qelValue("ListFonts")));
    qelPut(request, qelValue("Images"), images);
    return request;
}

const qelValue& textArea()
{
    static qelValue area = qelRectValue(0, 0, 400, 0x7FFFFFF);
    return area;
}

Text& text(size_t size)
{
    static std::map<size_t, Text> texts;
    Text& t = texts[size];
    if (t.rtf.empty()) {
        t.rtf = richTextSample(size);
        t.parsed = qelParseRTF(parseRequest(t.rtf));
        t.plainUtf8 = qelToUtf8(qelCString(qelPlainTextOfRuns(qelGet(t.parsed, qelValue("TextRuns")))));
    }
    return t;
}

int32_t lineCount(const qelValue& laidOut)
{
    qelValue runs = qelGet(qelGet(qelGet(laidOut, qelValue("Pages")), 0), 0);
    int32_t lines = 0, lastY = -1;
    for (int32_t i = 0; i < qelCount(runs); ++i) {
        int32_t y = qelIntValue(qelGet(qelGet(runs, i), 1));
        lines += y != lastY;
        lastY = y;
    }
    return lines;
}

void RtfParse(benchmark::State& state)
{
    Text& t = text(size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(qelParseRTF(parseRequest(t.rtf)));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.rtf.size()));
}

void RtfLayout(benchmark::State& state)
{
    Text& t = text(size_t(state.range(0)));
    qelValue request = layoutRequest(t.parsed);
    qelValue result;
    for (auto _ : state)
        result = qelLayoutText(request, textArea());
    state.counters["lines"] = lineCount(result);
}

void RtfParseLayout(benchmark::State& state)
{
    Text& t = text(size_t(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(qelLayoutText(layoutRequest(qelParseRTF(parseRequest(t.rtf))), textArea()));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.rtf.size()));
}

void PangoWrap(benchmark::State& state)
{
    Text& t = text(size_t(state.range(0)));
    PangoFontMap* map = pango_ft2_font_map_new();
    pango_ft2_font_map_set_resolution(PANGO_FT2_FONT_MAP(map), 96, 96);
    PangoContext* context = pango_font_map_create_context(map);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans");
    pango_font_description_set_absolute_size(font, 12 * PANGO_SCALE);
    int lines = 0;
    for (auto _ : state) {
        PangoLayout* layout = pango_layout_new(context);
        pango_layout_set_font_description(layout, font);
        pango_layout_set_width(layout, 400 * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
        pango_layout_set_text(layout, t.plainUtf8.data(), int(t.plainUtf8.size()));
        lines = pango_layout_get_line_count(layout);
        g_object_unref(layout);
    }
    state.counters["lines"] = lines;
    pango_font_description_free(font);
    g_object_unref(context);
    g_object_unref(map);
}

constexpr int64_t entrySize = 60 * 1024;
constexpr int64_t largeSize = 1024 * 1024;

BENCHMARK(RtfParse)->Arg(entrySize)->Arg(largeSize)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfLayout)->Arg(entrySize)->Arg(largeSize)->Unit(benchmark::kMillisecond);
BENCHMARK(RtfParseLayout)->Arg(entrySize)->Arg(largeSize)->Unit(benchmark::kMillisecond);
BENCHMARK(PangoWrap)->Arg(entrySize)->Arg(largeSize)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // Values held for the whole run keep the pooled allocator's chunks, as the program does.
    qelValue resident = qelStringValue("resident");
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int64_t size : { entrySize, largeSize }) {
        std::string arg = std::to_string(size);
        auto& t = reporter.times;
        std::string ours = "RtfParseLayout/" + arg, peer = "PangoWrap/" + arg;
        if (t.count(ours) && t.count(peer))
            std::printf("%s / %s time ratio %.2f (goal: below 1)\n", ours.c_str(), peer.c_str(), t[ours] / t[peer]);
    }
    if (reporter.times.count("RtfParseLayout/" + std::to_string(entrySize)))
        std::printf("60 KB entry parsed and laid out in %.2f ms (goal: under 16 ms)\n",
            reporter.times["RtfParseLayout/" + std::to_string(entrySize)]);
    benchmark::Shutdown();
    return 0;
}
