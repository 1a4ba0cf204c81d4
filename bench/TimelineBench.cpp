// The timeline's year search: the scan of "TimeLine.dat" that the screen runs for "Ir", over
// 3,000 events (ten centuries before Christ to the end of the second millennium, three events a
// year, six eras), for a year near the end of the timeline (the scan's worst case short of a
// year past every event) and for one past every event. The peer is SQLite finding the first
// event of that year or later in a table indexed by year. Before timing, both must find the same
// event for every year searched.
//
//   timeline_bench [Google Benchmark flags]

#include "app/reference/LinhaTempoForm.h"
#include "bench/RatioReporter.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int32_t eventCount = 3000;
constexpr int32_t firstYear = -1000;

int32_t yearOf(int32_t item)
{
    return firstYear + item / 3;
}

struct Fixture {
    Fixture()
    {
        folder = fs::temp_directory_path() / ("timeline-bench-" + std::to_string(std::random_device {}()));
        fs::create_directories(folder);
        qelValue writer = qelCreateArchive(qelStringValue((folder / "TimeLine.dat").string().c_str()), 0);
        for (int32_t item = 0; item < eventCount; ++item) {
            qelValue event = qelMakeList(6, 100, QEL_GENERAL_LIST);
            std::string text = std::to_string(yearOf(item)) + " \x96 Acontecimento de n\xfamero " + std::to_string(item);
            qelAddItem(event, qelMakeInt(item));
            qelAddItem(event, qelMakeInt(yearOf(item)));
            qelAddItem(event, qelStringValue(std::to_string(yearOf(item)).c_str()));
            qelAddItem(event, qelStringValue(text.c_str()));
            qelAddItem(event, qelMakeInt(1 + item * 6 / eventCount));
            qelArchiveOf(writer)->add(event);
        }
        qelArchiveOf(writer)->flush();
        writer = qelNil;
        // Read as the screen reads it: opened read-only from the file.
        archive = qelOpenArchive(qelStringValue((folder / "TimeLine.dat").string().c_str()), 0);

        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, "CREATE TABLE events(item INTEGER PRIMARY KEY, year INTEGER, era INTEGER, text TEXT);"
                         "CREATE INDEX by_year ON events(year, item);", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO events VALUES(?, ?, ?, ?)", -1, &insert, nullptr);
        for (int32_t item = 0; item < eventCount; ++item) {
            sqlite3_bind_int(insert, 1, item);
            sqlite3_bind_int(insert, 2, yearOf(item));
            sqlite3_bind_int(insert, 3, 1 + item * 6 / eventCount);
            sqlite3_bind_text(insert, 4, "Acontecimento", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(db, "SELECT item FROM events WHERE year >= ? ORDER BY year, item LIMIT 1", -1, &query,
            nullptr);
    }
    ~Fixture()
    {
        sqlite3_finalize(query);
        sqlite3_close(db);
        archive = qelNil;
        fs::remove_all(folder);
    }

    int32_t peerSearch(int32_t year)
    {
        sqlite3_bind_int(query, 1, year);
        int32_t item = sqlite3_step(query) == SQLITE_ROW ? sqlite3_column_int(query, 0) : eventCount;
        sqlite3_reset(query);
        return item;
    }

    fs::path folder;
    qelValue archive;
    sqlite3* db = nullptr;
    sqlite3_stmt* query = nullptr;
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

// A year whose first event lies near the end, and one past every event.
constexpr int32_t lateYear = 990;
constexpr int32_t pastYear = 2000;

void BM_TimelineYearSearch(benchmark::State& state)
{
    Fixture& f = fixture();
    int32_t year = int32_t(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(timelineFindYear(f.archive, eventCount, year));
}
BENCHMARK(BM_TimelineYearSearch)->Arg(lateYear)->Arg(pastYear)->Unit(benchmark::kMillisecond);

void BM_SqliteYearSearch(benchmark::State& state)
{
    Fixture& f = fixture();
    int32_t year = int32_t(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(f.peerSearch(year));
}
BENCHMARK(BM_SqliteYearSearch)->Arg(lateYear)->Arg(pastYear)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Fixture& f = fixture();
    for (int32_t year : { firstYear - 1, firstYear, -1, 0, 1, 500, lateYear, yearOf(eventCount - 1), pastYear }) {
        int32_t ours = timelineFindYear(f.archive, eventCount, year).item;
        int32_t peer = f.peerSearch(year);
        if (ours != peer) {
            std::fprintf(stderr, "year %d: the scan found item %d, SQLite item %d\n", year, ours, peer);
            return 1;
        }
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int32_t year : { lateYear, pastYear }) {
        std::string arg = std::to_string(year);
        auto& t = reporter.times;
        std::string ours = "BM_TimelineYearSearch/" + arg, peer = "BM_SqliteYearSearch/" + arg;
        if (t.count(ours) && t.count(peer))
            std::printf("%s / %s time ratio %.1f\n", ours.c_str(), peer.c_str(), t[ours] / t[peer]);
        if (t.count(ours))
            std::printf("year %d searched over %d events in %.2f ms (goal: under 20 ms)\n", year, eventCount, t[ours]);
    }
    benchmark::Shutdown();
    return 0;
}
