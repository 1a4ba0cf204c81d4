#pragma once

// The console report of a benchmark program, keeping each benchmark's time for the ratio lines the
// program prints after the run: the median when the run was repeated
// (--benchmark_repetitions), else the single run's time. Benchmarks are named as Google Benchmark
// prints them, arguments included ("RtfParseLayout/60000").

#include <benchmark/benchmark.h>

#include <map>
#include <set>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    times[name] = run.GetAdjustedRealTime();
                    m_medians.insert(name);
                }
            } else if (!m_medians.count(name)) {
                times[name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> times;

private:
    std::set<std::string> m_medians;
};
