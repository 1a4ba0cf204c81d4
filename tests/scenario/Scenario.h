#pragma once

// Runs the velarim program headless over the sample disk through one of this folder's scripts and
// probes pixels of the screenshots it writes. Each run has its own screens and user folder, so
// runs side by side never share the single-instance lock or user files; the leak checker stays on
// for the program, skipping only the caches the font configuration library keeps until exit.

#include "platform/gfx/Png.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/GrayPage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace scenario {

namespace fs = std::filesystem;

struct Probe {
    int x;
    int y;
    uint32_t pixel; // 0x00RRGGBB, as surfaces hold it
    const char* what;
};

// Screenshot name -> the pixels expected in it.
using Probes = std::map<std::string, std::vector<Probe>>;

// A rectangle of the 640 x 480 screen.
struct Area {
    int x, y, w, h;
};
constexpr Area wholeScreen { 0, 0, 640, 480 };

// An installation over the built almanac disk with settings of its own: the intro on or off and,
// when ETN names a folder, the compiled screens there found before the disk's.
class Installation {
public:
    explicit Installation(bool intro, const std::string& etn = "")
        : m_folder(fs::temp_directory_path() / ("velarim-instalacao-" + std::to_string(std::random_device {}())))
    {
        fs::path disk = fs::path(QEL_BUILD_DIR) / "disk";
        fs::create_directories(m_folder);
        fs::copy(disk / "cursors", m_folder / "cursors", fs::copy_options::recursive);
        std::ofstream ini(m_folder / "VL98.ini");
        ini << "[QELENVIRONMENT]\nSourceDisk=" << disk.string()
            << "\nMediaPath=Media\nFullInstall=1\nShowIntro=" << (intro ? "yes" : "no") << "\n";
        if (!etn.empty())
            ini << "etn=" << etn << ";" << (disk / "Media").string() << "\n";
    }
    ~Installation() { fs::remove_all(m_folder); }
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;
    std::string path() const { return m_folder.string(); }

private:
    fs::path m_folder;
};

class Run {
public:
    // Plays SCRIPT (a file of tests/scenario, or an absolute path) on DISK (a folder of the build:
    // the framework's "showcase" or the almanac's "disk"; or an absolute path).
    // WORDS, when given, follow as the program's command line. The files of USERFILES, when
    // given, are in the run's user folder when it starts (the user's files of an earlier run).
    explicit Run(const std::string& script, const std::string& disk = "showcase", const std::string& words = "",
        const fs::path& userFiles = {})
        : m_shots(fs::temp_directory_path()
            / ("velarim-" + fs::path(script).filename().string() + "-" + std::to_string(std::random_device {}())))
    {
        fs::create_directories(m_shots / "user");
        if (!userFiles.empty())
            fs::copy(userFiles, m_shots / "user", fs::copy_options::recursive);
        std::string command = "LSAN_OPTIONS=suppressions='" + std::string(QEL_TEST_DATA) + "/../lsan.supp' "
            + "VELARIM_USER_DIR='" + (m_shots / "user").string() + "' '" + std::string(QEL_BUILD_DIR)
            + "/bin/velarim' --headless --disk '" + (disk.starts_with("/") ? disk : std::string(QEL_BUILD_DIR) + "/" + disk)
            + "' --script '" + (script.starts_with("/") ? script : std::string(QEL_SCENARIO_DIR) + "/" + script)
            + "' --screens '" + m_shots.string() + "' " + words;
        m_status = std::system(command.c_str());
    }
    ~Run() { fs::remove_all(m_shots); }

    bool exitedNormally() const { return WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0; }
    const fs::path& shots() const { return m_shots; }

    std::optional<platform::gfx::Surface> shot(const std::string& name) const
    {
        return platform::gfx::readPng((m_shots / (name + ".png")).string());
    }

    // Every probe of every screenshot, each failure naming the shot and what the pixel shows.
    void expectProbes(const Probes& expected) const
    {
        for (const auto& [name, probes] : expected) {
            std::optional<platform::gfx::Surface> surface = shot(name);
            ASSERT_TRUE(surface) << name;
            for (const Probe& probe : probes)
                EXPECT_EQ(surface->pixel(probe.x, probe.y) & 0xFFFFFF, probe.pixel) << name << ": " << probe.what;
        }
    }

    // Whether two screenshots differ anywhere in the area; a missing shot fails the test.
    bool differs(const std::string& a, const std::string& b, Area area = wholeScreen) const
    {
        auto first = shot(a);
        auto second = shot(b);
        if (!first || !second) {
            ADD_FAILURE() << "no screenshot " << (first ? b : a);
            return false;
        }
        for (int y = area.y; y < area.y + area.h; ++y)
            for (int x = area.x; x < area.x + area.w; ++x)
                if ((first->pixel(x, y) & 0xFFFFFF) != (second->pixel(x, y) & 0xFFFFFF))
                    return true;
        return false;
    }

    // What pdfinfo says of a PDF the run wrote.
    static std::string pdfInfo(const fs::path& pdf) { return commandOutput("pdfinfo '" + pdf.string() + "'"); }

    // What a shell command writes on its standard output.
    static std::string commandOutput(const std::string& command) { return qel::test::commandOutput(command); }

    // The first page of a PDF the run wrote, rendered in grey at DPI dots per inch (pages are
    // printed as pictures: what they show is read from their pixels); empty when it cannot be.
    qel::test::GrayPage pdfFirstPage(const fs::path& pdf, int dpi) const
    {
        fs::path stem = m_shots / "pdfpage";
        commandOutput("pdftoppm -gray -singlefile -r " + std::to_string(dpi) + " '" + pdf.string() + "' '" + stem.string() + "'");
        return qel::test::readPgm(stem.string() + ".pgm");
    }

private:
    fs::path m_shots;
    int m_status = -1;
};

} // namespace scenario
