// A text view opening a 60 KB entry (parse, layout of the whole text as one scrolled page, the
// line index) and drawing its first screen (a 400 x 300 view with its scroll part) into the
// headless window's buffer, against Pango laying out the same plain text at the same width and
// font (Liberation Sans, which "Arial" maps to, 12 pixels at 96 dots per inch) and rendering it
// into a cairo image surface of the view's size. Prints the time ratio.

#include "framework/display/AppWindow.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/Font.h"
#include "framework/display/WindowObject.h"
#include "framework/richtext/PlainText.h"
#include "framework/richtext/RtfParser.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/TextNotation.h"
#include "framework/display/DisplayMakers.h"
#include "framework/ui/FormLayer.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include "bench/RatioReporter.h"
#include "bench/RichTextSample.h"
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <memory>
#include <string>
#include <variant>

namespace {

constexpr int64_t entrySize = 60 * 1024;
constexpr int viewWidth = 400;
constexpr int viewHeight = 300;

// The program's drawing set-up over a headless window: the main port, the form layer, the text
// map maker and the platform's fonts.
struct Screen {
    Screen()
    {
        platform::HeadlessBackend::Options options;
        options.exitWhenStuck = false;
        auto backend = std::make_unique<platform::HeadlessBackend>(options);
        backend->setScript(std::get<platform::Script>(platform::Script::parse("wait 86400000\n")));
        system = std::make_unique<platform::WindowSystem>(std::move(backend));
        qelSetWindowSystem(system.get());
        qelInstallWindowObjectMaker();
        qelInstallDisplayMakers();
        qelInstallFormLayer();
        qelInstallTextMapMaker();
        environment = new qelAppEnvironment(qelNil);
        environment->makeCurrent();
        environment->mainWindow = qelCreateMainWindow();
        qelSetMainPort(environment->mainWindow);
        qelFlushEvents(QEL_ALL_EVENTS);
    }
    std::unique_ptr<platform::WindowSystem> system;
    qelAppEnvironment* environment = nullptr;
};

Screen& screen()
{
    static Screen s;
    return s;
}

const std::string& entry()
{
    static std::string text = richTextSample(size_t(entrySize));
    return text;
}

void TextViewOpenAndDraw(benchmark::State& state)
{
    screen();
    qelValue data = qelDecodeText(qelStringValue(R"((table ("Class" "TextView") ("Hot Spot" (rect 40 40 400 300))
        ("Font" (font "Arial" 9 0))
        ("Scroll" (table ("ScrollRegion" (rect 424 40 16 300)) ("DefaultDraw" true)))))"));
    auto* view = new TextView(data);
    qelValue value = qelControlValue(view);
    view->initialize();
    qelValue images = qelTable(4, 100, 75);
    qelPut(images, qelValue("foto.bmp"), qelListOf({ qelNil, qelValue(120), qelValue(90) }));
    view->setImageList(images);
    qelValue text = qelStringValueN(entry().data(), int32_t(entry().size()));
    for (auto _ : state) {
        view->setText(text);
        view->draw();
    }
    state.counters["lines"] = qelCount(view->lineIndex);
    state.SetBytesProcessed(int64_t(state.iterations()) * entrySize);
}

void PangoLayoutAndRender(benchmark::State& state)
{
    static std::string plain = [] {
        qelValue request = qelTable(4, 100, 75);
        qelPut(request, qelValue("Type"), qelValue("RTF"));
        qelPut(request, qelValue("Buffer"), qelStringValueN(entry().data(), int32_t(entry().size())));
        qelValue parsed = qelParseRTF(request);
        return qelToUtf8(qelCString(qelPlainTextOfRuns(qelGet(parsed, qelValue("TextRuns")))));
    }();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, viewWidth, viewHeight);
    cairo_t* cr = cairo_create(surface);
    PangoFontDescription* font = pango_font_description_from_string("Liberation Sans");
    pango_font_description_set_absolute_size(font, 12 * PANGO_SCALE);
    int lines = 0;
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        PangoLayout* layout = pango_cairo_create_layout(cr);
        pango_cairo_context_set_resolution(pango_layout_get_context(layout), 96);
        pango_layout_set_font_description(layout, font);
        pango_layout_set_width(layout, (viewWidth - 16) * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
        pango_layout_set_text(layout, plain.data(), int(plain.size()));
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, 0, 0);
        pango_cairo_show_layout(cr, layout);
        cairo_surface_flush(surface);
        lines = pango_layout_get_line_count(layout);
        g_object_unref(layout);
    }
    state.counters["lines"] = lines;
    state.SetBytesProcessed(int64_t(state.iterations()) * entrySize);
    pango_font_description_free(font);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

BENCHMARK(TextViewOpenAndDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(PangoLayoutAndRender)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // Values held for the whole run keep the pooled allocator's chunks, as the program does.
    qelValue resident = qelStringValue("resident");
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& t = reporter.times;
    if (t.count("TextViewOpenAndDraw") && t.count("PangoLayoutAndRender")) {
        std::printf("TextViewOpenAndDraw / PangoLayoutAndRender time ratio %.2f (goal: at most 0.5)\n",
            t["TextViewOpenAndDraw"] / t["PangoLayoutAndRender"]);
        std::printf("60 KB entry opened and its first screen drawn in %.2f ms (goal: under 8 ms)\n",
            t["TextViewOpenAndDraw"]);
    }
    benchmark::Shutdown();
    return 0;
}
