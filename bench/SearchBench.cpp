// The word search (keyword index, posting-list archive, general names, entry records) against
// SQLite FTS5 on one synthetic corpus at the size of a full almanac: 12,000 entries with long
// texts, 8,000 media items, 3,000 timeline events, 1,500 curiosities and 1,000 articles, over a
// vocabulary of 60,000 words drawn with a Zipf distribution. The corpus goes through the
// project's keyword writer into "KeyWord.idx"/"KeyWord.dat", with a general name list, an entry
// list-id index and an entry archive, as the disk builder writes them; FTS5 gets the same rows
// (the words as the writer reads them, the packed id, the section and the lower-cased name).
//
// Each query ends in a list sorted by name: ours by the search's own sort, FTS5's by ORDER BY
// with a collation that compares as the search does (signed bytes, a prefix first). Before
// timing, each query's results are compared (as sets, and in order where names differ). The
// phrase query is "(rio janeiro)" (entries holding both words and then the phrase) against
// FTS5's phrase "rio janeiro" over entries.
//
//   search_bench [runs]      runs per query (default 15)

#include "app/reference/KeywordFiles.h"
#include "app/reference/KeywordWriter.h"
#include "app/reference/SearchEngine.h"
#include "app/reference/SearchSources.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Item {
    int32_t id;
    int32_t section;
    std::string heading;
    std::string text; // rich text for entries, plain for the rest
    std::string name; // "Section: heading"
};

struct Corpus {
    std::vector<std::string> vocabulary;
    std::vector<Item> items;
};

// Words of 2 to 10 letters from syllables; none holds "rio" or "janeiro", so the phrase query's
// words occur only where the generator puts them, and substring and word matches agree.
std::vector<std::string> makeVocabulary(size_t count, std::mt19937& random)
{
    static const char* const syllables[] = { "ba", "ca", "da", "fe", "gu", "lha", "ma", "nho", "pe", "qui", "ra",
        "sa", "ta", "vi", "xo", "zu", "te", "lo", "mi", "no", "pa", "ce", "bo", "de", "an", "es", "or", "ul" };
    std::set<std::string> seen { "rio", "janeiro", "all", "brasil", "brasileiro", "brasilia", "brasa", "sao", "paulo" };
    // The most common words first: the named ones sit at chosen ranks below.
    std::vector<std::string> words;
    while (words.size() < count) {
        std::string word;
        size_t parts = 1 + random() % 4;
        for (size_t i = 0; i < parts; ++i)
            word += syllables[random() % (sizeof syllables / sizeof *syllables)];
        if (word.find("rio") != std::string::npos || word.find("janeiro") != std::string::npos)
            continue;
        if (seen.insert(word).second)
            words.push_back(word);
    }
    // Ranks: "de" like a common word, "brasil" frequent, its family and the phrase's words less so.
    words[20] = "brasil";
    words[400] = "rio";
    words[900] = "janeiro";
    words[1500] = "brasileiro";
    words[3000] = "brasilia";
    words[9000] = "brasa";
    words[200] = "sao";
    words[300] = "paulo";
    return words;
}

Corpus makeCorpus()
{
    std::mt19937 random(1998);
    Corpus corpus;
    corpus.vocabulary = makeVocabulary(60000, random);
    // Zipf: rank r drawn with weight 1 / (r + 1).
    std::vector<double> cumulative(corpus.vocabulary.size());
    double sum = 0;
    for (size_t r = 0; r < cumulative.size(); ++r)
        cumulative[r] = sum += 1.0 / double(r + 1);
    std::uniform_real_distribution<double> uniform(0, sum);
    auto word = [&]() -> const std::string& {
        size_t r = size_t(std::lower_bound(cumulative.begin(), cumulative.end(), uniform(random)) - cumulative.begin());
        return corpus.vocabulary[std::min(r, cumulative.size() - 1)];
    };
    struct Section {
        int32_t bit;
        const char* label;
        int32_t count;
        int32_t words;
    };
    const Section sections[] = { { 64, "Verbetes", 12000, 300 }, { 16, "M\xED" "dias", 8000, 30 },
        { 8, "Linha do Tempo", 3000, 40 }, { 4, "Curiosidades", 1500, 60 }, { 32, "Retrospectiva", 1000, 120 } };
    for (const Section& section : sections) {
        for (int32_t n = 1; n <= section.count; ++n) {
            Item item;
            item.id = section.bit << 16 | n;
            item.section = section.bit;
            std::string heading = word() + " " + word();
            heading[0] = char(heading[0] - 'a' + 'A');
            item.heading = heading;
            std::string body;
            for (int32_t w = 0; w < section.words; ++w) {
                body += word();
                // Some entries name the city, a few of them as the phrase.
                if (section.bit == 64 && w == 10 && n % 13 == 0)
                    body += n % 2 ? " rio janeiro" : " janeiro rio";
                body += (w % 12 == 11) ? ". " : " ";
            }
            item.text = section.bit == 64 ? "{\\b " + heading + "}\\par\\par " + body : body;
            item.name = std::string(section.label) + ": " + heading;
            corpus.items.push_back(std::move(item));
        }
    }
    return corpus;
}

struct OurSide {
    qelValue names;
    qelValue listIds;
    qelValue entries;
    std::string folder;
};

OurSide writeOurFiles(const Corpus& corpus, const std::string& folder)
{
    KeywordWriter writer;
    for (const Item& item : corpus.items)
        writer.addRichText(item.id, item.heading + " " + item.text);
    std::string error;
    if (!writer.write(folder + "/KeyWord.idx", folder + "/KeyWord.dat", error)) {
        std::fprintf(stderr, "search_bench: %s\n", error.c_str());
        std::exit(1);
    }
    std::printf("keyword index: %zu words\n", writer.wordCount());
    {
        qelValue names = qelCreateIndex(qelValue((folder + "/GNRNList.IDX").c_str()));
        qelValue listIds = qelCreateIndex(qelValue((folder + "/VDBLstID.IDX").c_str()));
        std::remove((folder + "/Verbetes.DAT").c_str());
        qelValue entries = qelCreateArchive(qelValue((folder + "/Verbetes.DAT").c_str()), 12001);
        int32_t record = 0;
        for (const Item& item : corpus.items) {
            qelIndexObjectOf(names)->put(qelValue(item.id), qelValue(item.name.c_str()));
            if (item.section != 64)
                continue;
            qelValue list = qelMakeList(6, 100, QEL_GENERAL_LIST);
            for (const qelValue& element : { qelValue(item.id & 0xFFFF), qelValue(item.heading.c_str()),
                     qelValue(item.heading.c_str()), qelValue(1), qelValue(item.text.c_str()) })
                qelListObjectOf(list)->append(element);
            qelArchiveOf(entries)->add(list);
            qelIndexObjectOf(listIds)->put(qelValue(item.id & 0xFFFF), qelValue(record++));
        }
        qelArchiveOf(entries)->flush();
    }
    OurSide side;
    side.folder = folder;
    side.names = qelOpenIndex(qelValue((folder + "/GNRNList.IDX").c_str()), 0, 0);
    return side;
}

int signedCompare(void*, int la, const void* a, int lb, const void* b)
{
    std::string x(static_cast<const char*>(a), size_t(la));
    std::string y(static_cast<const char*>(b), size_t(lb));
    return SearchEngine::compareNames(x, y);
}

sqlite3* writeFts(const Corpus& corpus, const std::string& path)
{
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_create_collation(db, "SIGNED", SQLITE_UTF8, nullptr, signedCompare);
    sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
        "CREATE VIRTUAL TABLE items USING fts5(body, pid UNINDEXED, section UNINDEXED, name UNINDEXED,"
        " tokenize='unicode61 remove_diacritics 0', prefix='2 3 4');",
        nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO items(body, pid, section, name) VALUES(?, ?, ?, ?)", -1, &insert, nullptr);
    for (const Item& item : corpus.items) {
        std::string body;
        for (const std::string& w : KeywordWriter::wordsOf(KeywordWriter::plainText(item.heading + " " + item.text)))
            body += w + " ";
        std::string name = item.name;
        for (char& c : name)
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
            else if (uint8_t(c) >= 0xC0 && uint8_t(c) <= 0xDE && uint8_t(c) != 0xD7)
                c = char(uint8_t(c) + 0x20);
        sqlite3_bind_text(insert, 1, body.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 2, item.id);
        sqlite3_bind_int(insert, 3, item.section);
        sqlite3_bind_blob(insert, 4, name.data(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return db;
}

struct NoCancel final : SearchCancel {
    bool cancelRequested() override { return false; }
};

struct Query {
    std::string label;
    std::string ours;
    std::string fts; // the FTS5 statement
};

std::vector<int32_t> runOurs(OurSide& side, KeywordFiles& keywords, const std::string& query)
{
    IndexNames names(side.names);
    // The entry files open once per search, as the dialog opens them.
    EntryRecordTexts entries([&side](qelValue& listIds, qelValue& records) {
        listIds = qelOpenIndex(qelValue((side.folder + "/VDBLstID.IDX").c_str()), 0, 0);
        records = qelOpenArchive(qelValue((side.folder + "/Verbetes.DAT").c_str()), 0);
    });
    NoCancel cancel;
    SearchEngine engine(keywords, names, entries, cancel);
    int32_t mask = SearchEngine::allSections;
    bool phrase = false;
    return engine.search(query, mask, phrase);
}

std::vector<int32_t> runFts(sqlite3* db, const std::string& sql)
{
    std::vector<int32_t> ids;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "search_bench: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    while (sqlite3_step(statement) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int(statement, 0));
    sqlite3_finalize(statement);
    return ids;
}

struct Timing {
    double median;
    double p95;
};

Timing timeRuns(int runs, const std::function<void()>& run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return { ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(std::ceil(0.95 * double(ms.size()))) - 1)] };
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string folder = (fs::temp_directory_path() / "qel_search_bench").string();
    fs::remove_all(folder);
    fs::create_directories(folder);

    Corpus corpus = makeCorpus();
    std::printf("corpus: %zu items, vocabulary %zu words\n", corpus.items.size(), corpus.vocabulary.size());
    OurSide ours = writeOurFiles(corpus, folder);
    sqlite3* db = writeFts(corpus, folder + "/fts.db");
    KeywordFiles keywords(qelOpenIndex(qelValue((folder + "/KeyWord.idx").c_str()), 0, 0),
        qelOpenArchive(qelValue((folder + "/KeyWord.dat").c_str()), 0));

    const std::string order = " ORDER BY name COLLATE SIGNED";
    const std::string common = corpus.vocabulary[2];
    const std::string rare = corpus.vocabulary[50000];
    const std::string union3 = corpus.vocabulary[700] + " " + corpus.vocabulary[5000] + " " + corpus.vocabulary[20000];
    const Query queries[] = {
        { "common word", common, "SELECT pid FROM items WHERE items MATCH '" + common + "'" + order },
        { "rare word", rare, "SELECT pid FROM items WHERE items MATCH '" + rare + "'" + order },
        { "3-word union", union3,
            "SELECT pid FROM items WHERE items MATCH '" + corpus.vocabulary[700] + " OR " + corpus.vocabulary[5000]
                + " OR " + corpus.vocabulary[20000] + "'" + order },
        { "bras*", "bras*", "SELECT pid FROM items WHERE items MATCH 'bras*'" + order },
        { "a*", "a*", "SELECT pid FROM items WHERE items MATCH 'a*'" + order },
        { "*", "*", "SELECT pid FROM items" + order },
        { "(rio janeiro)", "(rio janeiro)",
            "SELECT pid FROM items WHERE items MATCH '\"rio janeiro\"' AND section = 64" + order },
    };

    bool same = true;
    std::printf("\n%-16s %8s %12s %12s %12s %12s %8s\n", "query", "items", "ours med", "ours p95", "fts5 med",
        "fts5 p95", "ratio");
    for (const Query& query : queries) {
        std::vector<int32_t> a = runOurs(ours, keywords, query.ours);
        std::vector<int32_t> b = runFts(db, query.fts);
        std::vector<int32_t> sa(a), sb(b);
        std::sort(sa.begin(), sa.end());
        std::sort(sb.begin(), sb.end());
        if (sa != sb) {
            same = false;
            std::printf("%-16s DIFFERENT SETS: ours %zu, fts5 %zu\n", query.label.c_str(), a.size(), b.size());
            continue;
        }
        Timing t1 = timeRuns(runs, [&] { runOurs(ours, keywords, query.ours); });
        Timing t2 = timeRuns(runs, [&] { runFts(db, query.fts); });
        std::printf("%-16s %8zu %10.2fms %10.2fms %10.2fms %10.2fms %7.2fx\n", query.label.c_str(), a.size(),
            t1.median, t1.p95, t2.median, t2.p95, t1.median / t2.median);
    }
    sqlite3_close(db);
    std::printf("\nresults %s\n", same ? "identical on both sides" : "DIFFER");
    return same ? 0 : 1;
}
