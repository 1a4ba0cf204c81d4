// The almanac on its sample disk, as a user meets it: the time from the program's start to its
// first frame, and from a click on a main-menu section button to that section's screen drawn.
// The program runs in this process on the headless back end (virtual clock: fades and waits take
// no real time, so what is measured is the work of loading and drawing), driven by a script that
// visits every section from the main menu and goes back, several rounds. A wrapper around the
// back end stamps, on the real clock, the release of each click and every presentation; a
// click's time ends at the last presentation before the program is idle again.
//
// Goals: under 300 ms to the first frame, under one 60 Hz frame (16.7 ms) from click to drawn.
//
//   almanac_bench [rounds]     rounds over the nine sections (default 5)

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

// The menu bar's "Voltar" button, which goes back to the screen before (the main menu).
constexpr int backX = 226, backY = 452;

// Every section in turn from the main menu, each followed by Escape (a section that opens on a
// dialog closes it) and "Voltar"; then the quit question answered yes.
std::string script(int rounds)
{
    std::string text = "wait 1500\n";
    for (int round = 0; round < rounds; ++round)
        for (const Section& section : sections)
            text += "click " + std::to_string(section.x) + " " + std::to_string(section.y) + "\nwait 1500\n"
                + "key Escape\nwait 300\nclick " + std::to_string(backX) + " " + std::to_string(backY) + "\nwait 1500\n";
    return text + "close\nwait 100\nkey Enter\n";
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
        if (idle && m_measuring)
            finishClick();
        bool got = m_inner->pollInput(event, idle);
        if (got && event.kind == platform::InputKind::ButtonUp && event.button == platform::MouseButton::Left) {
            m_measuring = true;
            m_clickAt = Clock::now();
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
        if (m_measuring)
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
    std::optional<Clock::time_point> m_lastPresent;
    int m_clickX = 0, m_clickY = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    fs::path work = fs::temp_directory_path() / ("qel_almanac_bench_" + std::to_string(::getpid()));
    fs::create_directories(work / "user");
    fs::path scriptFile = work / "visit.script";
    {
        std::FILE* file = std::fopen(scriptFile.c_str(), "w");
        std::string text = script(rounds);
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
    if (status != 0)
        std::fprintf(stderr, "almanac_bench: the run ended with status %d\n", status);

    constexpr double frameGoal = 1000.0 / 60.0, startGoal = 300.0;
    std::printf("start to first frame: %.1f ms (goal %.0f ms, %.2fx of it)\n", timings.firstFrame.value_or(0),
        startGoal, timings.firstFrame.value_or(0) / startGoal);
    std::printf("%-16s %8s %8s %8s  (click to drawn, %d rounds; goal %.1f ms)\n", "section", "median", "max",
        "x goal", rounds, frameGoal);
    std::map<std::string, std::vector<double>> bySection;
    for (const Click& click : timings.clicks) {
        std::string name = click.x == backX && click.y == backY ? "(Voltar)" : "";
        for (const Section& section : sections)
            if (click.x == section.x && click.y == section.y)
                name = section.name;
        if (!name.empty())
            bySection[name].push_back(click.ms);
    }
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
    if (!bySection["(Voltar)"].empty())
        std::printf("%-16s %8.2f %8.2f %8.2f\n", "(Voltar)", median(bySection["(Voltar)"]),
            *std::max_element(bySection["(Voltar)"].begin(), bySection["(Voltar)"].end()),
            median(bySection["(Voltar)"]) / frameGoal);
    fs::remove_all(work);
    return status;
}
