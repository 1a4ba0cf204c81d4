// Start-up to the first dispatched event with 180 resource-form registrations, each locating its
// compiled file ignoring case through a two-folder ";" list (so half the look-ups miss in the
// first folder). Printed beside the time: the folder listings read per start-up, and the same
// 180 look-ups done by a peer that scans the folder for every name that misses as spelled.

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Directory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int registrations = 180;

fs::path disk;

std::string formName(int i)
{
    char name[32];
    std::snprintf(name, sizeof name, "Form%03d", i);
    return name;
}

void makeDisk()
{
    disk = fs::temp_directory_path() / "qel-startup-bench";
    fs::remove_all(disk);
    fs::create_directories(disk / "Media");
    fs::create_directories(disk / "Installed");
    // On the disk in capitals; half of them installed, the rest only in the media folder.
    for (int i = 0; i < registrations; ++i) {
        std::string file = formName(i) + ".ETN";
        std::transform(file.begin(), file.end(), file.begin(), ::toupper);
        std::ofstream(disk / (i % 2 ? "Installed" : "Media") / file) << '\0';
    }
    // Listings of folders changed a moment ago are read again on each use; start-ups of an
    // installed program see folders that have not changed for a while.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

class StartupApp : public qelAppEnvironment {
public:
    using qelAppEnvironment::qelAppEnvironment;
    void registerClasses() override
    {
        qelAppEnvironment::registerClasses();
        for (int i = 0; i < registrations; ++i) {
            std::string name = formName(i);
            qelRegisterResourceClassEx(name.c_str(), "VLForm", name.c_str());
        }
    }
    void onStart() override
    {
        qelAppEnvironment::onStart();
        qelSetQuitFlag(1);
    }
};

void BM_StartupToFirstEvent(benchmark::State& state)
{
    makeDisk();
    uint64_t reads = 0;
    for (auto _ : state) {
        platform::resetDirectoryCache();
        StartupApp application(qelNil);
        application.setSetting("SourceDisk", disk.string().c_str());
        std::string folders = (disk / "Installed").string() + ";" + (disk / "Media").string();
        application.setSetting("etn", folders.c_str());
        application.makeCurrent();
        application.run();
        reads = platform::directoryReads();
    }
    state.counters["folder_reads"] = double(reads);
}
BENCHMARK(BM_StartupToFirstEvent)->Unit(benchmark::kMillisecond);

// The peer: for a name that misses as spelled, scan its folder and compare ignoring case.
bool naiveExists(const fs::path& folder, const std::string& name, uint64_t& scans)
{
    if (fs::exists(folder / name))
        return true;
    ++scans;
    std::string wanted = name;
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), ::tolower);
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string candidate = entry.path().filename().string();
        std::transform(candidate.begin(), candidate.end(), candidate.begin(), ::tolower);
        if (candidate == wanted)
            return true;
    }
    return false;
}

void BM_LookupsScanningEachMiss(benchmark::State& state)
{
    makeDisk();
    uint64_t scans = 0;
    for (auto _ : state) {
        scans = 0;
        for (int i = 0; i < registrations; ++i) {
            std::string file = formName(i) + ".etn";
            if (!naiveExists(disk / "Installed", file, scans))
                naiveExists(disk / "Media", file, scans);
        }
    }
    state.counters["folder_reads"] = double(scans);
}
BENCHMARK(BM_LookupsScanningEachMiss)->Unit(benchmark::kMillisecond);

void BM_LookupsWithKeptListings(benchmark::State& state)
{
    makeDisk();
    uint64_t reads = 0;
    for (auto _ : state) {
        platform::resetDirectoryCache();
        for (int i = 0; i < registrations; ++i) {
            std::string file = formName(i) + ".etn";
            if (!platform::pathExists((disk / "Installed" / file).string()))
                platform::pathExists((disk / "Media" / file).string());
        }
        reads = platform::directoryReads();
    }
    state.counters["folder_reads"] = double(reads);
}
BENCHMARK(BM_LookupsWithKeptListings)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
