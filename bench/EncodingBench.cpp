// Decoding and encoding value trees against msgpack-cxx, and reading the text notation against a
// JSON parser, over equivalent data: 400 records shaped like the content's tables (string keys,
// names, small and large ints, floats, lists, a nested table). The tables are made as the text
// notation reader makes them when content is compiled (4 slots, doubling when full), so they
// have the capacities that encoded content holds. Prints each pair's time ratio, from the
// medians of ten repetitions run in random order (a single run on a busy machine can be off by
// a fifth either way); flags given on the command line come after these and so override them.

#include "framework/runtime/Encoding.h"
#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextNotation.h"
#include "framework/runtime/ValuePrinter.h"

#include "bench/RatioReporter.h"
#include <benchmark/benchmark.h>
#include <msgpack.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Data {
    qelValue tree;
    std::vector<uint8_t> encoded;
    std::string text;
    msgpack::sbuffer packed;
    std::string json;
};

std::string word(std::mt19937& random, size_t length)
{
    std::string s;
    for (size_t i = 0; i < length; ++i)
        s += char('a' + random() % 26);
    return s;
}

const Data& data()
{
    static Data d = [] {
        Data d;
        std::mt19937 random(99);
        qelValue records = qelMakeList(400, 100, 5);
        nlohmann::json json = nlohmann::json::array();
        msgpack::sbuffer packed;
        msgpack::packer<msgpack::sbuffer> pk(packed);
        pk.pack_array(400);
        for (int r = 0; r < 400; ++r) {
            std::string name = word(random, 12);
            int32_t id = int32_t(random() % 100);
            int32_t population = int32_t(random() % 200000000);
            float area = float(random() % 100000) / 8.0f;
            std::vector<int32_t> flags { int32_t(random() % 2), int32_t(random() % 300), -int32_t(random() % 5000) };
            std::vector<std::string> tags { word(random, 5), word(random, 7), word(random, 4) };
            std::string capital = word(random, 9);
            int32_t rank = int32_t(random() % 200);

            qelValue t = qelTable(4, 100, 75);
            auto put = [&](const char* key, const qelValue& v) { qelEncodingAccess::put(t, qelStringValue(key), v); };
            put("Name", qelStringValue(name.c_str()));
            put("Id", qelMakeInt(id));
            put("Population", qelMakeInt(population));
            put("Area", qelMakeFloat(area));
            qelValue f = qelMakeList(4, 100, 5), g = qelMakeList(4, 100, 5);
            for (int32_t n : flags)
                qelEncodingAccess::append(f, qelMakeInt(n));
            for (auto& s : tags)
                qelEncodingAccess::append(g, qelStringValue(s.c_str()));
            put("Flags", f);
            put("Tags", g);
            qelValue sub = qelTable(4, 100, 75);
            qelEncodingAccess::put(sub, qelStringValue("Capital"), qelStringValue(capital.c_str()));
            qelEncodingAccess::put(sub, qelStringValue("Rank"), qelMakeInt(rank));
            put("Sub", sub);
            qelEncodingAccess::append(records, t);

            json.push_back({ { "Name", name }, { "Id", id }, { "Population", population }, { "Area", area },
                { "Flags", flags }, { "Tags", tags }, { "Sub", { { "Capital", capital }, { "Rank", rank } } } });

            pk.pack_map(7);
            pk.pack(std::string("Name")), pk.pack(name);
            pk.pack(std::string("Id")), pk.pack(id);
            pk.pack(std::string("Population")), pk.pack(population);
            pk.pack(std::string("Area")), pk.pack(area);
            pk.pack(std::string("Flags")), pk.pack(flags);
            pk.pack(std::string("Tags")), pk.pack(tags);
            pk.pack(std::string("Sub")), pk.pack_map(2), pk.pack(std::string("Capital")), pk.pack(capital),
                pk.pack(std::string("Rank")), pk.pack(rank);
        }
        d.tree = records;
        qelValue stream = qelNewMemoryStream(nullptr, 0);
        qelEncode(stream, records);
        auto* memory = static_cast<qelMemoryStream*>(stream.object());
        d.encoded.assign(memory->data(), memory->data() + memory->tell());
        d.text = qelCString(qelPrintValue(records, 1));
        d.json = json.dump(1);
        d.packed.write(packed.data(), packed.size());
        return d;
    }();
    return d;
}

void QelDecode(benchmark::State& state)
{
    const Data& d = data();
    std::vector<uint8_t> bytes = d.encoded;
    for (auto _ : state) {
        qelValue stream = qelNewMemoryStream(bytes.data(), int32_t(bytes.size()));
        benchmark::DoNotOptimize(qelDecode(stream));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}

void MsgpackDecode(benchmark::State& state)
{
    const Data& d = data();
    for (auto _ : state) {
        msgpack::object_handle handle = msgpack::unpack(d.packed.data(), d.packed.size());
        benchmark::DoNotOptimize(handle.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d.packed.size()));
}

void QelEncode(benchmark::State& state)
{
    const Data& d = data();
    for (auto _ : state) {
        qelValue stream = qelNewMemoryStream(nullptr, 64 * 1024);
        qelEncode(stream, d.tree);
        benchmark::DoNotOptimize(stream);
    }
}

void MsgpackEncode(benchmark::State& state)
{
    const Data& d = data();
    msgpack::object_handle handle = msgpack::unpack(d.packed.data(), d.packed.size());
    for (auto _ : state) {
        msgpack::sbuffer out(64 * 1024);
        msgpack::pack(out, handle.get());
        benchmark::DoNotOptimize(out.data());
    }
}

void QelTextRead(benchmark::State& state)
{
    const Data& d = data();
    qelValue text = qelStringValue(d.text.c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(qelDecodeText(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d.text.size()));
}

void JsonParse(benchmark::State& state)
{
    const Data& d = data();
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(d.json));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d.json.size()));
}

BENCHMARK(QelDecode);
BENCHMARK(MsgpackDecode);
BENCHMARK(QelEncode);
BENCHMARK(MsgpackEncode);
BENCHMARK(QelTextRead);
BENCHMARK(JsonParse);

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> arguments { argv[0] };
    char repetitions[] = "--benchmark_repetitions=10";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.end(), { repetitions, interleaving, aggregates });
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = int(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());
    // The program always holds pooled values (settings, globals) while it runs, so the pooled
    // allocator keeps its chunks between one decoded tree and the next; it releases them only
    // when no block at all is in use. This value plays that part for the whole run, so that no
    // benchmark measures chunks being returned to the system and taken again each iteration,
    // which the program never does.
    qelValue resident = qelStringValue("resident");
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* ours, const char* peer, const char* goal) {
        if (reporter.times.count(ours) && reporter.times.count(peer))
            std::printf(
                "%-12s / %-14s time ratio %.2f  (%s)\n", ours, peer, reporter.times[ours] / reporter.times[peer], goal);
    };
    std::printf("\nSizes: binary %zu bytes, msgpack %zu, text notation %zu, JSON %zu\n", data().encoded.size(),
        data().packed.size(), data().text.size(), data().json.size());
    ratio("QelDecode", "MsgpackDecode", "goal: at most 1");
    ratio("QelEncode", "MsgpackEncode", "for information");
    ratio("QelTextRead", "JsonParse", "goal: at most 1");
    benchmark::Shutdown();
    return 0;
}
