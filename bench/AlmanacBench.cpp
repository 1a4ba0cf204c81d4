// The almanac on its sample disk, as a user meets it: the time from the program's start to its
// first frame, and from a click on a main-menu section button to that section's screen drawn.
// The program runs in this process on the headless back end (virtual clock: fades and waits take
// no real time, so what is measured is the work of loading and drawing), driven by a script that
// clicks one section's button on the main menu and quits. Each run is a process of its own (this
// program started again with --section N), as a user starts the program: a section is never
// entered warm from an earlier visit, and the screens' different menu bars need no way back. A
// wrapper around the
// back end stamps, on the real clock, the release of each click and every presentation; a
// click's time ends at the last presentation within 50 ms of virtual time after it (what the
// click drew at once, before any timer of the new screen), taken when the script's next input
// comes.
//
// Goals: under 300 ms to the first frame, under one 60 Hz frame (16.7 ms) from click to drawn.
//
//   almanac_bench [rounds]     runs of each of the nine sections (default 5)

#include "app/AppHooks.h"
#include "app/Startup.h"
#include "platform/window/HeadlessBackend.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Section {
    const char* name;
    int x, y; // the centre of its main-menu button
};

// The main menu's section buttons (MainForm.frm: 184 x 92 each, three columns, three rows).
const Section sections[] = {
    { "Verbetes", 116, 118 }, { "Midias", 320, 118 }, { "Atlas", 524, 118 },
    { "BancoDeDados", 116, 224 }, { "LinhaDoTempo", 320, 224 }, { "Retrospectiva", 524, 224 },
    { "Agenda", 116, 330 }, { "Curiosidades", 320, 330 }, { "Jogo", 524, 330 },
};

// The main menu, then one section's button, then the quit question answered yes.
std::string script(const Section& section)
{
    return "wait 1500\nclick " + std::to_string(section.x) + " " + std::to_string(section.y)
        + "\nwait 1500\nclose\nwait 100\nkey Enter\n";
}

struct Click {
    int x, y;
    double ms; // from the click's release to the last presentation it caused
};

// What a run measured; kept outside the back end, which the run destroys at its end.
struct Timings {
    std::optional<double> firstFrame;
    std::vector<Click> clicks;
};

// The headless back end with real-clock stamps: the first presentation, and per click (a left
// button release) the last presentation before the next idle poll.
class TimingBackend : public platform::Backend {
public:
    TimingBackend(std::unique_ptr<platform::Backend> inner, Clock::time_point start, Timings& timings)
        : m_inner(std::move(inner))
        , m_start(start)
        , m_timings(timings)
    {
    }

    uint32_t now() override { return m_inner->now(); }
    platform::gfx::Size screenSize() override { return m_inner->screenSize(); }
    bool openWindow(const platform::WindowParams& params) override { return m_inner->openWindow(params); }
    void closeWindow() override { m_inner->closeWindow(); }
    void showWindow() override { m_inner->showWindow(); }
    void minimizeWindow() override { m_inner->minimizeWindow(); }
    void requestRaise() override { m_inner->requestRaise(); }
    bool pollInput(platform::InputEvent& event, bool idle) override
    {
        bool got = m_inner->pollInput(event, idle);
        bool press = got && (event.kind == platform::InputKind::ButtonDown || event.kind == platform::InputKind::KeyDown);
        if (press && m_measuring)
            finishClick();
        if (got && event.kind == platform::InputKind::ButtonUp && event.button == platform::MouseButton::Left) {
            m_measuring = true;
            m_clickAt = Clock::now();
            m_clickVirtual = m_inner->now();
            m_lastPresent.reset();
            m_clickX = event.x;
            m_clickY = event.y;
        }
        return got;
    }
    void waitInput(int32_t timeoutMs) override { m_inner->waitInput(timeoutMs); }
    void present(const platform::gfx::Surface& front, const platform::gfx::Rect& dirty) override
    {
        m_inner->present(front, dirty);
        Clock::time_point at = Clock::now();
        if (!m_timings.firstFrame)
            m_timings.firstFrame = millisecondsBetween(m_start, at);
        // Why 50 ms: the click's own drawing happens at once on the virtual clock; later
        // presentations are the new screen's timers (a caret, a movie), not the click's.
        if (m_measuring && m_inner->now() - m_clickVirtual <= 50)
            m_lastPresent = at;
    }
    void setCaret(const platform::gfx::Rect& rect, bool visible) override { m_inner->setCaret(rect, visible); }
    void setCursor(uint32_t standardId, const platform::CursorImage* image) override
    {
        m_inner->setCursor(standardId, image);
    }
    void setCapture(bool captured) override { m_inner->setCapture(captured); }
    int messageBox(const std::string& text, const std::string& caption, uint32_t type) override
    {
        return m_inner->messageBox(text, caption, type);
    }
    bool setClipboardText(const std::string& text) override { return m_inner->setClipboardText(text); }
    std::optional<std::string> clipboardText() override { return m_inner->clipboardText(); }
    void beep(uint32_t type) override { m_inner->beep(type); }
    bool hasAudioOutput() const override { return m_inner->hasAudioOutput(); }

private:
    void finishClick()
    {
        m_measuring = false;
        if (m_lastPresent)
            m_timings.clicks.push_back({ m_clickX, m_clickY, millisecondsBetween(m_clickAt, *m_lastPresent) });
    }

    std::unique_ptr<platform::Backend> m_inner;
    Clock::time_point m_start;
    Timings& m_timings;
    bool m_measuring = false;
    Clock::time_point m_clickAt;
    uint32_t m_clickVirtual = 0;
    std::optional<Clock::time_point> m_lastPresent;
    int m_clickX = 0, m_clickY = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// One run on the disk with the section's script; prints "first-frame MS click MS".
int runSection(const Section& section)
{
    fs::path work = fs::temp_directory_path() / ("qel_almanac_bench_" + std::to_string(::getpid()));
    fs::create_directories(work / "user");
    fs::path scriptFile = work / "visit.script";
    {
        std::FILE* file = std::fopen(scriptFile.c_str(), "w");
        std::string text = script(section);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    ::setenv("VELARIM_USER_DIR", (work / "user").c_str(), 1);

    Clock::time_point start = Clock::now();
    velarimNameProgram();
    velarimInstallServices();
    velarimOptions options;
    options.headless = true;
    options.disk = QEL_ALMANAC_BENCH_DISK;
    options.script = scriptFile.string();
    options.screens = work.string();
    Timings timings;
    velarimSetDiskFolder(options.disk);
    qelEntryParams params;
    params.programFolder = options.disk;
    params.makeBackend = [&]() -> std::unique_ptr<platform::Backend> {
        auto inner = velarimMakeBackend(options);
        return inner ? std::make_unique<TimingBackend>(std::move(inner), start, timings) : nullptr;
    };
    int status = qelMain(params, velarimHooks());
    fs::remove_all(work);
    if (!timings.firstFrame || timings.clicks.empty())
        return 1;
    std::printf("%.3f %.3f\n", *timings.firstFrame, timings.clicks.front().ms);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--section")
        return runSection(sections[std::clamp(std::atoi(argv[2]), 0, int(std::size(sections)) - 1)]);
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> starts;
    std::map<std::string, std::vector<double>> bySection;
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < std::size(sections); ++i) {
            std::string command = std::string("'") + argv[0];
            command += "' --section " + std::to_string(i);
            double firstFrame = 0, click = 0;
            std::FILE* run = ::popen(command.c_str(), "r");
            bool read = run && std::fscanf(run, "%lf %lf", &firstFrame, &click) == 2;
            if (run)
                ::pclose(run);
            if (!read) {
                std::fprintf(stderr, "almanac_bench: the run of %s measured nothing\n", sections[i].name);
                continue;
            }
            starts.push_back(firstFrame);
            bySection[sections[i].name].push_back(click);
        }

    constexpr double frameGoal = 1000.0 / 60.0, startGoal = 300.0;
    double start = median(starts);
    std::printf("start to first frame: median %.1f ms over %zu starts (goal %.0f ms, %.2fx of it)\n", start,
        starts.size(), startGoal, start / startGoal);
    std::printf("%-16s %8s %8s %8s  (click to drawn, %d runs each; goal %.1f ms)\n", "section", "median", "max",
        "x goal", rounds, frameGoal);
    for (const Section& section : sections) {
        const std::vector<double>& times = bySection[section.name];
        if (times.empty()) {
            std::printf("%-16s %8s\n", section.name, "-");
            continue;
        }
        double middle = median(times);
        std::printf("%-16s %8.2f %8.2f %8.2f\n", section.name, middle, *std::max_element(times.begin(), times.end()),
            middle / frameGoal);
    }
    return 0;
}
