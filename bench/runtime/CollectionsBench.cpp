// Table lookups with short string keys against std::unordered_map<std::string, int>, and value
// handle copy and release against std::shared_ptr, in one run; the ratios are printed at the end
// (ours / peer: below 1 means faster than the peer).

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include "bench/RatioReporter.h"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int keyCount = 1000;

// Keys of 8 to 16 characters, like the property and setting names of forms and resources.
std::vector<std::string> makeKeys()
{
    std::vector<std::string> keys;
    for (int i = 0; i < keyCount; ++i) {
        std::string key = "Key" + std::to_string(i * 7919);
        key.append(size_t(i % 9), char('a' + i % 26));
        keys.push_back(key.substr(0, 16));
    }
    return keys;
}

void tableLookup(benchmark::State& state)
{
    std::vector<std::string> names = makeKeys();
    // Sized as the decoders size a table read from a file: fill at most 75 %.
    qelValue table = qelTable(keyCount * 4 / 3 + 1, 100, 75);
    for (int i = 0; i < keyCount; ++i)
        qelPut(table, qelStringValue(names[size_t(i)].c_str()), qelMakeInt(i));
    // Lookup keys are other string objects with the same texts, as a caller's literal would be.
    std::vector<qelValue> keys;
    for (const std::string& name : names)
        keys.push_back(qelStringValue(name.c_str()));
    qelTableObject* object = qelTableOf(table);
    for (auto _ : state) {
        int64_t sum = 0;
        for (const qelValue& key : keys)
            sum += object->get(key).payload();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * keyCount);
}

void unorderedMapLookup(benchmark::State& state)
{
    std::vector<std::string> names = makeKeys();
    std::unordered_map<std::string, int> map;
    for (int i = 0; i < keyCount; ++i)
        map[names[size_t(i)]] = i;
    std::vector<std::string> keys = names;
    for (auto _ : state) {
        int64_t sum = 0;
        for (const std::string& key : keys)
            sum += map.find(key)->second;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * keyCount);
}

void valueCopy(benchmark::State& state)
{
    qelValue value = qelStringValue("a string value");
    for (auto _ : state) {
        qelValue copy(value);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
}

void sharedPtrCopy(benchmark::State& state)
{
    auto value = std::make_shared<std::string>("a string value");
    for (auto _ : state) {
        std::shared_ptr<std::string> copy(value);
        benchmark::DoNotOptimize(copy);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(tableLookup);
BENCHMARK(unorderedMapLookup);
BENCHMARK(valueCopy);
BENCHMARK(sharedPtrCopy);

void printRatio(const RatioReporter& reporter, const char* ours, const char* peer, const char* goal)
{
    auto a = reporter.times.find(ours);
    auto b = reporter.times.find(peer);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0)
        return;
    std::printf("%-12s / %-20s = %.2f  (goal: %s)\n", ours, peer, a->second / b->second, goal);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (ours / peer):\n");
    printRatio(reporter, "tableLookup", "unorderedMapLookup", "at most 1.5");
    printRatio(reporter, "valueCopy", "sharedPtrCopy", "clearly below 1");
    benchmark::Shutdown();
    return 0;
}
