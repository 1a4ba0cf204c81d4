// The word search over a small almanac compiled into real keyword files: the queries users type
// (accents, hyphens, prefixes, groups, stray parentheses, the index's own count key), the section
// filter, the phrase filter, the order by name and a key press at a given poll.

#include "tests/app/reference/SearchFixture.h"

#include <gtest/gtest.h>

using namespace searchtest;

namespace {

struct Search {
    KeywordDisk disk;
    KeywordFiles files = disk.open();
    Names names;
    Entries entries;
    ScriptedCancel cancel;
    SearchEngine engine { files, names, entries, cancel };

    std::string run(const std::string& query, int32_t& mask, bool& phrase)
    {
        return labels(engine.search(query, mask, phrase));
    }
};

const char* const everything = "E11 A1 M1 E7 E8 E2 E1 E9 E10 E5 E4 E6 E3";
const char* const rio = "E11 M1 E9 E5 E4 E6";

TEST(SearchEngine, QueriesFindTheItemsOfTheirWordsSortedByName)
{
    Search s;
    ASSERT_TRUE(s.disk.written) << s.disk.message;
    struct Case {
        std::string query;
        int32_t maskIn;
        std::string expected;
        bool phrase;
        int32_t maskOut;
    };
    const Case cases[] = {
        { "", 255, "", false, 255 },
        { "  ,.;-", 255, "", false, 255 },
        { "S\xE3o Paulo", 255, "E10 E3", false, 255 },
        { "S\xC3O   PAULO", 255, "E10 E3", false, 255 },
        { "paulo sao", 255, "E10 E3", false, 255 },
        { "S\xE3o Paulo, Brasil", 255, "A1 E1 E10 E3", false, 255 },
        // The hyphen is a delimiter; a parenthesis is not.
        { "rio-de-janeiro", 255, rio, false, 255 },
        { "rio(janeiro", 255, "", false, 255 },
        { "bras*", 255, "A1 E2 E1 E10", false, 255 },
        { "BRAS*", 255, "A1 E2 E1 E10", false, 255 },
        { "rio*", 255, rio, false, 255 },
        // The key "all" is not a word that a prefix finds; "*" alone asks for it.
        { "a*", 255, "E7 E8 E1 E5 E4 E6", false, 255 },
        { "al*", 255, "", false, 255 },
        { "*", 255, everything, false, 255 },
        { "**", 255, "", false, 255 },
        // Accents fold; the names sort as signed bytes, so Água comes before Abacate and
        // Brasília before Brasil.
        { "\xE1gua abacate", 255, "E7 E8 E5", false, 255 },
        { "AGUA", 255, "E7 E5", false, 255 },
        { "1960", 255, "E2", false, 255 },
        { "brasil.", 255, "A1 E1", false, 255 },
        { "ri", 255, "", false, 255 },
        // Rio before Rio de Janeiro before Rio Negro; an item without a name sorts first.
        { "rio negro", 255, rio, false, 255 },
        // One word in parentheses is an exact lookup and no phrase.
        { "(brasil)", 255, "A1 E1", false, 255 },
        { "(janeiro) sao", 255, "E11 M1 E9 E4 E3", false, 255 },
        { "()", 255, "", false, 255 },
        { "(", 255, "", false, 255 },
        // A group keeps the entries holding all its words and then the phrase; entries only.
        { "(rio janeiro)", 255, "E4", true, 64 },
        { "(Rio Janeiro)", 2, "E4", true, 64 },
        { "(rio negro)", 255, "E6", true, 64 },
        { "(abacate agua)", 255, "", true, 64 },
        // A group still open at the end covers the words after it.
        { "(rio janeiro", 255, "E4", true, 64 },
        // ... but one opened on the last word gives no term at all.
        { "rio (janeiro", 255, rio, false, 255 },
        { "rio (", 255, rio, false, 255 },
        // Words absent from the index, even first, leave the others' items.
        { "xyz brasil", 255, "A1 E1", false, 255 },
        { "xyz* rio", 255, rio, false, 255 },
        { "(xyz) brasil", 255, "A1 E1", false, 255 },
        // The index's own count item is never a word.
        { "_*", 255, "", false, 255 },
        { "__*", 255, "", false, 255 },
        { "__qel_index_count__", 255, "", false, 255 },
        { std::string(300, 'x'), 255, "", false, 255 },
        // The section filter.
        { "rio", 64, "E11 E9 E5 E4 E6", false, 64 },
        { "rio", 16, "M1", false, 16 },
        { "rio brasil", 18, "A1 M1", false, 18 },
        { "brasil", 2, "A1", false, 2 },
    };
    for (const Case& c : cases) {
        int32_t mask = c.maskIn;
        bool phrase = true;
        EXPECT_EQ(s.run(c.query, mask, phrase), c.expected) << '"' << c.query << '"';
        EXPECT_EQ(phrase, c.phrase) << '"' << c.query << '"';
        EXPECT_EQ(mask, c.maskOut) << '"' << c.query << '"';
    }
}

TEST(SearchEngine, AKeyPressStopsTheSearchAtTheNextPollWithWhatItFound)
{
    struct Case {
        std::string query;
        int cancelAt;
        std::string expected;
    };
    // "sao paulo brasil" polls after each of its three words, then after each term;
    // "bras*" after its word, after each of its three lists (brasil, brasileiro, brasilia).
    const Case cases[] = {
        { "sao paulo brasil", 0, "A1 E1 E10 E3" },
        { "sao paulo brasil", 1, "E3" },
        { "sao paulo brasil", 2, "E3" },
        { "sao paulo brasil", 5, "E10 E3" },
        { "sao paulo brasil", 6, "A1 E1 E10 E3" },
        { "bras*", 2, "A1 E1" },
        { "bras*", 3, "A1 E1 E10" },
        { "bras*", 5, "A1 E2 E1 E10" },
        // A group stopped early is the intersection of the lists read so far.
        { "(rio janeiro)", 2, "E4" },
    };
    for (const Case& c : cases) {
        Search s;
        s.cancel.cancelAt = c.cancelAt;
        int32_t mask = 255;
        bool phrase = false;
        EXPECT_EQ(s.run(c.query, mask, phrase), c.expected) << c.query << " at poll " << c.cancelAt;
    }
}

TEST(SearchEngine, ThePhraseFilterReadsOnlyTheGroupsEntriesAndDropsThoseWithoutARecord)
{
    Search s;
    int32_t mask = 255;
    bool phrase = false;
    EXPECT_EQ(s.run("(rio janeiro)", mask, phrase), "E4");
    // E4, E9 and E11 share both words; M1 does too but is no entry.
    EXPECT_EQ(s.entries.reads, 3);
    EXPECT_EQ(SearchEngine::phraseOf("(Rio  Janeiro)"), "rio  janeiro");
    EXPECT_EQ(SearchEngine::phraseOf("x (S\xC3O Paulo) y"), "s\xE3o paulo");
    EXPECT_EQ(SearchEngine::phraseOf("(aberto"), "aberto");
}

TEST(SearchEngine, NamesCompareAsSignedBytesWithAPrefixFirst)
{
    EXPECT_EQ(SearchEngine::compareNames("\xE1gua", "abacate"), -1);
    EXPECT_EQ(SearchEngine::compareNames("rio", "rio negro"), -1);
    EXPECT_EQ(SearchEngine::compareNames("rio negro", "rio"), 1);
    EXPECT_EQ(SearchEngine::compareNames("b", "a\xFF"), 1);
    EXPECT_EQ(SearchEngine::compareNames("", ""), 0);
}

TEST(SearchEngine, FilterBySectionKeepsIdsWithACommonBit)
{
    std::vector<int32_t> ids { E | 1, M | 2, A | 3, (64 | 16) << 16 | 4 };
    EXPECT_EQ(SearchEngine::filterBySection(ids, 255), ids);
    EXPECT_EQ(labels(SearchEngine::filterBySection(ids, 64)), "E1 ?5242884");
    EXPECT_EQ(SearchEngine::filterBySection(ids, 8).size(), 0u);
}

TEST(KeywordWriter, RichTextGivesTheReadersWordsFoldedWithoutLinkTargets)
{
    EXPECT_EQ(KeywordWriter::plainText("{\\b Bras\\'edlia}\\par Capital do {\\uldb Brasil}!\\{jump:brasil\\}."),
        " Bras\xEDlia Capital do  Brasil .");
    std::vector<std::string> words = KeywordWriter::wordsOf("S\xE3o Paulo (SP), 1554; sul-americano");
    EXPECT_EQ(words, (std::vector<std::string> { "sao", "paulo", "sp", "1554", "sul", "americano" }));
}

TEST(KeywordFiles, ValuesThatAreNoArchiveItemsAreNoWordsAndListsComeOutAscending)
{
    recdbtest::ScratchDir dir;
    std::string indexPath = dir.path("k.idx");
    std::string archivePath = dir.path("k.dat");
    {
        qelValue archive = qelCreateArchive(qelValue(archivePath.c_str()), 4);
        qelValue out = qelMakeList(4, 100, QEL_INT_LIST);
        for (int32_t id : { 9, 3, 3, 7 })
            qelListObjectOf(out)->append(qelValue(id));
        qelArchiveOf(archive)->add(out);
        qelArchiveOf(archive)->add(qelValue("not a list"));
        ASSERT_TRUE(qelArchiveOf(archive)->flush());
        qelValue index = qelCreateIndex(qelValue(indexPath.c_str()));
        qelIndexObjectOf(index)->put(qelValue("unsorted"), qelValue(0));
        qelIndexObjectOf(index)->put(qelValue("text"), qelValue(1));
        qelIndexObjectOf(index)->put(qelValue("beyond"), qelValue(2));
        qelIndexObjectOf(index)->put(qelValue("negative"), qelValue(-1));
        qelIndexObjectOf(index)->put(qelValue("named"), qelValue("0"));
    }
    KeywordFiles files(qelOpenIndex(qelValue(indexPath.c_str()), 0, 0), qelOpenArchive(qelValue(archivePath.c_str()), 0));
    int32_t item = -5;
    EXPECT_TRUE(files.lookup("unsorted", item));
    EXPECT_EQ(item, 0);
    for (const char* word : { "beyond", "negative", "named", "absent", "__QEL_INDEX_COUNT__" })
        EXPECT_FALSE(files.lookup(word, item)) << word;
    std::vector<int32_t> ids;
    EXPECT_TRUE(files.postings(0, ids));
    EXPECT_EQ(ids, (std::vector<int32_t> { 3, 7, 9 }));
    ids.clear();
    EXPECT_TRUE(files.postings(1, ids));
    EXPECT_TRUE(ids.empty());
    EXPECT_FALSE(files.postings(2, ids));
    std::vector<int32_t> items;
    EXPECT_TRUE(files.prefixItems("", items));
    EXPECT_EQ(items, (std::vector<int32_t> { 1, 0 }));
}

} // namespace
