// The keyed index object against SQLite and LMDB on the same deterministic key sets: 10,000 and
// 200,000 keys of 5 to 40 bytes (some cp1252 letters) with small values, and 10,000 keys with
// values of 2 to 10 KB. Operations: bulk build in ascending key order, point get (hit and miss,
// random order), prefix scans of 1 to 3 characters, a full scan, and open + get + close (the
// program's own pattern). Prints the time ratios against each peer at the end.
//
// SQLite: a WITHOUT ROWID table with page_size=1024 (our page size), journal off, prepared
// statements reused, lookups inside one transaction; point gets also with cache_size=10, the
// record library's page cache before the index object enlarged it. LMDB: one read transaction
// per batch (per call for open + get + close); its 4 KB memory-mapped pages make it an upper
// bound rather than a like-for-like peer.
//
// Durability is the same on every side: the record library flushes the file to the disk when
// an index built for writing is closed, so SQLite syncs its commit (synchronous=FULL) and LMDB
// its environment once at the end of a build.

#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

#include "bench/RatioReporter.h"
#include <benchmark/benchmark.h>
#include <lmdb.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

struct DataSet {
    std::string name;
    std::vector<std::string> keys; // ascending unsigned bytes
    std::vector<std::string> values;
    std::vector<size_t> order; // a random visiting order of the keys
    std::vector<std::string> misses;
    std::vector<std::string> prefixes;
    std::string folder;
};

const char* const syllables[] = { "ba", "ca", "da", "fe", "gu", "lha", "ma", "nho", "pe", "qui", "ra", "sa", "ta", "vi",
    "xo", "zu", "\xe3o", "\xe7\xe3", "\xe9", "\xed", "\xf3", "\xe2n", "tr", "es", " de ", "-" };

std::string makeKey(std::mt19937& random)
{
    size_t length = 5 + random() % 36;
    std::string key;
    key += char('A' + random() % 26);
    while (key.size() < length)
        key += syllables[random() % (sizeof syllables / sizeof *syllables)];
    key.resize(length);
    return key;
}

std::string root()
{
    std::filesystem::path base = std::filesystem::temp_directory_path() / "qel_index_bench";
    std::filesystem::create_directories(base);
    return base.string();
}

DataSet makeSet(const std::string& name, size_t count, size_t minValue, size_t maxValue, uint32_t seed)
{
    DataSet d;
    d.name = name;
    std::mt19937 random(seed);
    std::map<std::string, int> unique;
    while (unique.size() < count)
        unique[makeKey(random)] = 0;
    for (auto& [key, unused] : unique)
        d.keys.push_back(key);
    for (size_t i = 0; i < count; ++i) {
        std::string value(minValue + random() % (maxValue - minValue + 1), '\0');
        for (char& c : value)
            c = char(random());
        d.values.push_back(value);
    }
    d.order.resize(count);
    for (size_t i = 0; i < count; ++i)
        d.order[i] = i;
    std::shuffle(d.order.begin(), d.order.end(), random);
    while (d.misses.size() < 1000) {
        std::string key = makeKey(random) + "#";
        if (!unique.count(key))
            d.misses.push_back(key);
    }
    for (int i = 0; i < 200; ++i)
        d.prefixes.push_back(d.keys[random() % count].substr(0, 1 + random() % 3));
    d.folder = root() + "/" + name;
    std::filesystem::create_directories(d.folder);
    return d;
}

std::vector<DataSet>& sets()
{
    static std::vector<DataSet> all = [] {
        std::vector<DataSet> s;
        s.push_back(makeSet("10k", 10000, 2, 200, 1));
        s.push_back(makeSet("200k", 200000, 2, 200, 2));
        s.push_back(makeSet("10k_large", 10000, 2048, 10240, 3));
        return s;
    }();
    return all;
}

// The upper bound of the keys that begin with a prefix (its last byte raised; prefixes here never
// end in 0xFF).
std::string prefixEnd(std::string prefix)
{
    prefix.back() = char(uint8_t(prefix.back()) + 1);
    return prefix;
}

bool startsWith(const void* data, size_t size, const std::string& prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// --- our index ------------------------------------------------------------------------------

std::string indexPath(const DataSet& d)
{
    return d.folder + "/data.idx";
}

void buildIndex(const DataSet& d)
{
    std::filesystem::remove(indexPath(d));
    qelValue index = qelCreateIndex(qelStringValue(indexPath(d).c_str()));
    for (size_t i = 0; i < d.keys.size(); ++i) {
        qelValue value = qelBufferFromMemory(const_cast<char*>(d.values[i].data()), int32_t(d.values[i].size()), 1);
        qelPut(index, qelStringValueN(d.keys[i].data(), int32_t(d.keys[i].size())), value);
    }
}

struct OpenIndex {
    explicit OpenIndex(const DataSet& d)
        : value(qelOpenIndex(qelStringValue(indexPath(d).c_str()), 0, 0))
        , object(qelIndexObjectOf(value))
    {
    }
    qelValue value;
    qelIndexObject* object;
};

// --- SQLite ---------------------------------------------------------------------------------

std::string sqlitePath(const DataSet& d)
{
    return d.folder + "/data.sqlite";
}

void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

sqlite3* openSqlite(const DataSet& d, bool create)
{
    sqlite3* db = nullptr;
    int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
    check(sqlite3_open_v2(sqlitePath(d).c_str(), &db, flags, nullptr), db);
    check(sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;", nullptr,
              nullptr, nullptr),
        db);
    return db;
}

void buildSqlite(const DataSet& d)
{
    std::filesystem::remove(sqlitePath(d));
    sqlite3* db = openSqlite(d, true);
    check(sqlite3_exec(db,
              "PRAGMA synchronous=FULL; PRAGMA page_size=1024; CREATE TABLE kv(k BLOB PRIMARY KEY, v BLOB) WITHOUT "
              "ROWID; BEGIN;",
              nullptr, nullptr, nullptr),
        db);
    sqlite3_stmt* insert;
    check(sqlite3_prepare_v2(db, "INSERT INTO kv VALUES(?, ?)", -1, &insert, nullptr), db);
    for (size_t i = 0; i < d.keys.size(); ++i) {
        sqlite3_bind_blob(insert, 1, d.keys[i].data(), int(d.keys[i].size()), SQLITE_STATIC);
        sqlite3_bind_blob(insert, 2, d.values[i].data(), int(d.values[i].size()), SQLITE_STATIC);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// --- LMDB -----------------------------------------------------------------------------------

std::string lmdbPath(const DataSet& d)
{
    return d.folder + "/data.mdb";
}

MDB_env* openLmdb(const DataSet& d, bool write)
{
    MDB_env* env;
    mdb_env_create(&env);
    mdb_env_set_mapsize(env, size_t(1) << 30);
    unsigned flags = MDB_NOSUBDIR | MDB_NOLOCK | (write ? MDB_NOSYNC | MDB_WRITEMAP : MDB_RDONLY);
    if (mdb_env_open(env, lmdbPath(d).c_str(), flags, 0644) != 0) {
        std::fprintf(stderr, "lmdb: cannot open %s\n", lmdbPath(d).c_str());
        std::exit(1);
    }
    return env;
}

void buildLmdb(const DataSet& d)
{
    std::filesystem::remove(lmdbPath(d));
    std::filesystem::remove(lmdbPath(d) + "-lock");
    MDB_env* env = openLmdb(d, true);
    MDB_txn* txn;
    MDB_dbi dbi;
    mdb_txn_begin(env, nullptr, 0, &txn);
    mdb_dbi_open(txn, nullptr, 0, &dbi);
    for (size_t i = 0; i < d.keys.size(); ++i) {
        MDB_val k { d.keys[i].size(), const_cast<char*>(d.keys[i].data()) };
        MDB_val v { d.values[i].size(), const_cast<char*>(d.values[i].data()) };
        mdb_put(txn, dbi, &k, &v, 0);
    }
    mdb_txn_commit(txn);
    mdb_env_sync(env, 1);
    mdb_env_close(env);
}

struct LmdbReader {
    explicit LmdbReader(const DataSet& d)
        : env(openLmdb(d, false))
    {
        mdb_txn_begin(env, nullptr, MDB_RDONLY, &txn);
        mdb_dbi_open(txn, nullptr, 0, &dbi);
    }
    ~LmdbReader()
    {
        mdb_txn_abort(txn);
        mdb_env_close(env);
    }
    MDB_env* env;
    MDB_txn* txn;
    MDB_dbi dbi;
};

// --- the benchmarks -------------------------------------------------------------------------

void ensureBuilt(const DataSet& d)
{
    static std::map<std::string, bool> built;
    if (built[d.name])
        return;
    buildIndex(d);
    buildSqlite(d);
    buildLmdb(d);
    built[d.name] = true;
}

void registerSet(DataSet& d)
{
    const DataSet* p = &d;
    int buildRuns = d.keys.size() > 50000 ? 1 : 3;
    benchmark::RegisterBenchmark(("build/" + d.name + "/index").c_str(),
        [p](benchmark::State& s) {
            for (auto _ : s)
                buildIndex(*p);
        })
        ->Iterations(buildRuns)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("build/" + d.name + "/sqlite").c_str(),
        [p](benchmark::State& s) {
            for (auto _ : s)
                buildSqlite(*p);
        })
        ->Iterations(buildRuns)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("build/" + d.name + "/lmdb").c_str(),
        [p](benchmark::State& s) {
            for (auto _ : s)
                buildLmdb(*p);
        })
        ->Iterations(buildRuns)
        ->Unit(benchmark::kMillisecond);

    for (bool hit : { true, false }) {
        std::string op = hit ? "get_hit/" : "get_miss/";
        auto keyAt = [p, hit](size_t i) -> const std::string& {
            return hit ? p->keys[p->order[i % p->order.size()]] : p->misses[i % p->misses.size()];
        };
        benchmark::RegisterBenchmark((op + d.name + "/index").c_str(), [p, keyAt](benchmark::State& s) {
            ensureBuilt(*p);
            OpenIndex index(*p);
            size_t i = 0;
            for (auto _ : s) {
                const std::string& key = keyAt(i++);
                benchmark::DoNotOptimize(index.object->get(qelStringValueN(key.data(), int32_t(key.size()))));
            }
        });
        for (bool smallCache : { false, true }) {
            std::string peer = smallCache ? "/sqlite_cache10" : "/sqlite";
            benchmark::RegisterBenchmark((op + d.name + peer).c_str(), [p, keyAt, smallCache](benchmark::State& s) {
                ensureBuilt(*p);
                sqlite3* db = openSqlite(*p, false);
                if (smallCache)
                    sqlite3_exec(db, "PRAGMA cache_size=10;", nullptr, nullptr, nullptr);
                sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
                sqlite3_stmt* select;
                check(sqlite3_prepare_v2(db, "SELECT v FROM kv WHERE k = ?", -1, &select, nullptr), db);
                size_t i = 0;
                for (auto _ : s) {
                    const std::string& key = keyAt(i++);
                    sqlite3_bind_blob(select, 1, key.data(), int(key.size()), SQLITE_STATIC);
                    if (sqlite3_step(select) == SQLITE_ROW)
                        benchmark::DoNotOptimize(sqlite3_column_blob(select, 0));
                    sqlite3_reset(select);
                }
                sqlite3_finalize(select);
                sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
                sqlite3_close(db);
            });
        }
        benchmark::RegisterBenchmark((op + d.name + "/lmdb").c_str(), [p, keyAt](benchmark::State& s) {
            ensureBuilt(*p);
            LmdbReader reader(*p);
            size_t i = 0;
            for (auto _ : s) {
                const std::string& key = keyAt(i++);
                MDB_val k { key.size(), const_cast<char*>(key.data()) };
                MDB_val v;
                benchmark::DoNotOptimize(mdb_get(reader.txn, reader.dbi, &k, &v));
            }
        });
    }

    benchmark::RegisterBenchmark(("prefix/" + d.name + "/index").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        OpenIndex index(*p);
        size_t i = 0;
        for (auto _ : s) {
            const std::string& prefix = p->prefixes[i++ % p->prefixes.size()];
            benchmark::DoNotOptimize(
                index.object->valuesWithPrefix(qelStringValueN(prefix.data(), int32_t(prefix.size())), nullptr));
        }
    });
    benchmark::RegisterBenchmark(("prefix/" + d.name + "/sqlite").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        sqlite3* db = openSqlite(*p, false);
        sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
        sqlite3_stmt* select;
        check(sqlite3_prepare_v2(db, "SELECT v FROM kv WHERE k >= ? AND k < ? ORDER BY k", -1, &select, nullptr), db);
        size_t i = 0;
        for (auto _ : s) {
            const std::string& prefix = p->prefixes[i++ % p->prefixes.size()];
            std::string end = prefixEnd(prefix);
            sqlite3_bind_blob(select, 1, prefix.data(), int(prefix.size()), SQLITE_STATIC);
            sqlite3_bind_blob(select, 2, end.data(), int(end.size()), SQLITE_STATIC);
            while (sqlite3_step(select) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_blob(select, 0));
            sqlite3_reset(select);
        }
        sqlite3_finalize(select);
        sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    benchmark::RegisterBenchmark(("prefix/" + d.name + "/lmdb").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        LmdbReader reader(*p);
        MDB_cursor* cursor;
        mdb_cursor_open(reader.txn, reader.dbi, &cursor);
        size_t i = 0;
        for (auto _ : s) {
            const std::string& prefix = p->prefixes[i++ % p->prefixes.size()];
            MDB_val k { prefix.size(), const_cast<char*>(prefix.data()) };
            MDB_val v;
            for (int rc = mdb_cursor_get(cursor, &k, &v, MDB_SET_RANGE);
                 rc == 0 && startsWith(k.mv_data, k.mv_size, prefix); rc = mdb_cursor_get(cursor, &k, &v, MDB_NEXT))
                benchmark::DoNotOptimize(v.mv_data);
        }
        mdb_cursor_close(cursor);
    });

    benchmark::RegisterBenchmark(("full_scan/" + d.name + "/index").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        OpenIndex index(*p);
        for (auto _ : s)
            benchmark::DoNotOptimize(index.object->valuesWithPrefix(qelStringValue(""), nullptr));
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("full_scan/" + d.name + "/sqlite").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        sqlite3* db = openSqlite(*p, false);
        sqlite3_stmt* select;
        check(sqlite3_prepare_v2(db, "SELECT v FROM kv ORDER BY k", -1, &select, nullptr), db);
        for (auto _ : s) {
            while (sqlite3_step(select) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_blob(select, 0));
            sqlite3_reset(select);
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("full_scan/" + d.name + "/lmdb").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        LmdbReader reader(*p);
        MDB_cursor* cursor;
        mdb_cursor_open(reader.txn, reader.dbi, &cursor);
        for (auto _ : s) {
            MDB_val k, v;
            for (int rc = mdb_cursor_get(cursor, &k, &v, MDB_FIRST); rc == 0;
                 rc = mdb_cursor_get(cursor, &k, &v, MDB_NEXT))
                benchmark::DoNotOptimize(v.mv_data);
        }
        mdb_cursor_close(cursor);
    })->Unit(benchmark::kMillisecond);

    benchmark::RegisterBenchmark(("open_get_close/" + d.name + "/index").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        qelValue name = qelStringValue(indexPath(*p).c_str());
        size_t i = 0;
        for (auto _ : s) {
            const std::string& key = p->keys[p->order[i++ % p->order.size()]];
            qelValue index = qelOpenIndex(name, 0, 0);
            benchmark::DoNotOptimize(qelGet(index, qelStringValueN(key.data(), int32_t(key.size()))));
        }
    });
    benchmark::RegisterBenchmark(("open_get_close/" + d.name + "/sqlite").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        size_t i = 0;
        for (auto _ : s) {
            const std::string& key = p->keys[p->order[i++ % p->order.size()]];
            sqlite3* db = nullptr;
            sqlite3_open_v2(sqlitePath(*p).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
            sqlite3_stmt* select;
            check(sqlite3_prepare_v2(db, "SELECT v FROM kv WHERE k = ?", -1, &select, nullptr), db);
            sqlite3_bind_blob(select, 1, key.data(), int(key.size()), SQLITE_STATIC);
            if (sqlite3_step(select) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_blob(select, 0));
            sqlite3_finalize(select);
            sqlite3_close(db);
        }
    });
    benchmark::RegisterBenchmark(("open_get_close/" + d.name + "/lmdb").c_str(), [p](benchmark::State& s) {
        ensureBuilt(*p);
        size_t i = 0;
        for (auto _ : s) {
            const std::string& key = p->keys[p->order[i++ % p->order.size()]];
            LmdbReader reader(*p);
            MDB_val k { key.size(), const_cast<char*>(key.data()) };
            MDB_val v;
            benchmark::DoNotOptimize(mdb_get(reader.txn, reader.dbi, &k, &v));
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    for (DataSet& d : sets())
        registerSet(d);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nTime ratios, our index / peer (below 1: ours is faster)\n");
    std::printf("%-28s %10s %16s %10s  %s\n", "operation", "/ sqlite", "/ sqlite_cache10", "/ lmdb", "goal");
    for (const char* op : { "build", "get_hit", "get_miss", "prefix", "full_scan", "open_get_close" }) {
        for (const DataSet& d : sets()) {
            std::string base = std::string(op) + "/" + d.name + "/";
            auto& t = reporter.times;
            if (!t.count(base + "index"))
                continue;
            auto ratio = [&](const char* peer) {
                char text[16] = "-";
                if (t.count(base + peer))
                    std::snprintf(text, sizeof text, "%.2f", t[base + "index"] / t[base + peer]);
                return std::string(text);
            };
            std::string goal
                = op == std::string("get_hit") || op == std::string("open_get_close") || op == std::string("build")
                ? "at most 1 against sqlite"
                : "for information";
            std::printf("%-28s %10s %16s %10s  %s\n", (std::string(op) + "/" + d.name).c_str(), ratio("sqlite").c_str(),
                ratio("sqlite_cache10").c_str(), ratio("lmdb").c_str(), goal.c_str());
        }
    }
    for (const DataSet& d : sets()) {
        auto size = [](const std::string& path) {
            std::error_code error;
            auto n = std::filesystem::file_size(path, error);
            return error ? 0.0 : double(n);
        };
        // The LMDB file is a sparse map: count its pages in use instead.
        auto lmdbSize = [&d] {
            LmdbReader reader(d);
            MDB_stat stat;
            mdb_stat(reader.txn, reader.dbi, &stat);
            return double(stat.ms_psize) * double(stat.ms_branch_pages + stat.ms_leaf_pages + stat.ms_overflow_pages);
        };
        if (std::filesystem::exists(indexPath(d)))
            std::printf("file size per key, %s: index %.1f, sqlite %.1f, lmdb %.1f bytes\n", d.name.c_str(),
                size(indexPath(d)) / double(d.keys.size()), size(sqlitePath(d)) / double(d.keys.size()),
                lmdbSize() / double(d.keys.size()));
    }
    benchmark::Shutdown();
    std::filesystem::remove_all(root());
    return 0;
}
