// Searches over the disk's country and state databases (their records and value indexes as
// the build writes them), and over small databases made here for the scan path and damaged
// content.

#include "app/atlas/database/DBQuery.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Field numbers of the disk's layout (content/almanac/data/bdados.tbl).
enum CountryField : int32_t {
    Nome = 1,
    Densidade = 2,
    Area = 3,
    Populacao = 4,
    Altitude = 5,
    Capital = 6,
    Continente = 7,
    Regiao = 8,
    Blocos = 9,
    Temperatura = 14,
};
enum StateField : int32_t { StateArea = 2, StatePopulacao = 4, StateCapital = 5, StateRegiao = 7 };

qelValue utf8(const char* text)
{
    return qelValue(qelFromUtf8(text).c_str());
}

qelValue openDiskArchive(const char* file)
{
    std::string path = std::string(QEL_BUILD_DIR) + "/disk/Media/" + file;
    return qelOpenArchive(qelValue(path.c_str()), 0);
}

void loadDisk(DBQuery& query, int32_t kind)
{
    std::string name = DBQuery::fileName(kind);
    query.loadFrom(kind, openDiskArchive((name + ".dat").c_str()), openDiskArchive((name + ".idx").c_str()));
}

// The names (field 1) of a result, in UTF-8; "<nil>" for no result.
std::vector<std::string> names(const qelValue& records)
{
    if (records.isNil())
        return { "<nil>" };
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(records); ++i)
        out.push_back(qelToUtf8(qelCString(qelGet(qelGet(records, i), 1))));
    return out;
}

using Names = std::vector<std::string>;

} // namespace

TEST(DBQuery, TheDisksDatabasesHoldEveryCountryAndState)
{
    DBQuery countries;
    loadDisk(countries, DBQuery::Countries);
    ASSERT_GE(qelCount(countries.records()), 190);
    for (int32_t i = 0; i < qelCount(countries.records()); ++i)
        ASSERT_EQ(qelCount(qelGet(countries.records(), i)), 87) << i;
    Names all = names(countries.runQuery());
    EXPECT_EQ(all.front(), "Afeganistão");
    EXPECT_EQ(int32_t(all.size()), qelCount(countries.records()));

    DBQuery states;
    loadDisk(states, DBQuery::States);
    ASSERT_EQ(qelCount(states.records()), 27);
    EXPECT_EQ(qelCount(qelGet(states.records(), 0)), 50);
    EXPECT_EQ(states.fieldCount(), 49);
}

TEST(DBQuery, CountryCases)
{
    struct Case {
        const char* what;
        std::function<void(DBQuery&)> build;
        Names expected;
    };
    const std::vector<Case> cases = {
        { "a bloc through the index, in record order",
            [](DBQuery& q) { q.addTextCriterion(Blocos, "Mercosul"); },
            { "Argentina", "Brasil", "Paraguai", "Uruguai" } },
        { "two values of one field: the last one's records, then the earlier ones'",
            [](DBQuery& q) { q.addTextCriterion(Blocos, "Mercosul;Nafta"); },
            { "Canadá", "Estados Unidos", "México", "Argentina", "Brasil", "Paraguai", "Uruguai" } },
        { "a part written with blanks around it",
            [](DBQuery& q) { q.addTextCriterion(Blocos, utf8("Nafta ;  Mercosul")); },
            { "Argentina", "Brasil", "Paraguai", "Uruguai", "Canadá", "Estados Unidos", "México" } },
        { "a text and a number criterion",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "ALADI");
                q.filterNumeric(Populacao, ">", 100000000.0f);
            },
            { "Brasil", "México" } },
        { "an accented bloc and a ceiling on the area",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, utf8("União Européia"));
                q.filterNumeric(Area, "<", 50000.0f);
            },
            { "Bélgica", "Dinamarca", "Luxemburgo", "Países Baixos" } },
        { "sorted by population, descending",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Mercosul");
                q.setSortOrder(Populacao, "Desc");
            },
            { "Brasil", "Argentina", "Paraguai", "Uruguai" } },
        { "sorted by name with accents folded",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, utf8("União Européia"));
                q.filterNumeric(Area, "<", 100000.0f);
                q.setSortOrder(Nome, "Ascen");
            },
            { "Áustria", "Bélgica", "Dinamarca", "Irlanda", "Luxemburgo", "Países Baixos", "Portugal" } },
        { "a missing altitude sorts as 0, before every figure",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, utf8("União Européia"));
                q.filterNumeric(Area, "<", 50000.0f);
                q.setSortOrder(Altitude, "Ascen");
            },
            { "Bélgica", "Países Baixos", "Dinamarca", "Luxemburgo" } },
        { "the capital has no index: the records are scanned",
            [](DBQuery& q) { q.addTextCriterion(Capital, utf8("Brasília")); },
            { "Brasil" } },
        { "texts compare exactly",
            [](DBQuery& q) { q.addTextCriterion(Capital, utf8("brasília")); },
            { "<nil>" } },
        { "a missing figure satisfies no comparison",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Asean");
                q.filterNumeric(Altitude, "<", 1.0e9f);
            },
            { "Brunei", "Filipinas", "Indonésia", "Laos", "Malásia", "Tailândia" } },
        { "criteria that do not meet, then a third: nothing",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Nafta");
                q.addTextCriterion(Continente, utf8("África"));
                q.filterNumeric(Populacao, ">", 0.0f);
            },
            { "<nil>" } },
        { "\"Todos\" removes the field's criterion and leaves the field unchosen",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Nafta");
                q.addTextCriterion(Regiao, "Caribe");
                q.addTextCriterion(Regiao, "Todos");
            },
            { "Canadá", "Estados Unidos", "México" } },
        { "\"Todos\" among parts drops the parts before it",
            [](DBQuery& q) { q.addTextCriterion(Blocos, "Mercosul;Todos;Nafta"); },
            { "Canadá", "Estados Unidos", "México" } },
        { "\" \" as operator removes the numeric criterion",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Nafta");
                q.filterNumeric(Populacao, ">", 200000000.0f);
                q.filterNumeric(Populacao, " ", 0.0f);
            },
            { "Canadá", "Estados Unidos", "México" } },
        { "a hidden field still restricts",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Nafta");
                q.filterNumeric(Populacao, ">", 200000000.0f);
                q.setFieldShown(Populacao, 0);
            },
            { "Estados Unidos" } },
        { "a removed field takes its criterion along",
            [](DBQuery& q) {
                q.addTextCriterion(Blocos, "Nafta");
                q.filterNumeric(Populacao, ">", 200000000.0f);
                q.removeField(Populacao);
                q.addField(Populacao);
            },
            { "Canadá", "Estados Unidos", "México" } },
        { "an unknown operator matches nothing",
            [](DBQuery& q) { q.filterNumeric(Populacao, "<>", 1.0f); },
            { "<nil>" } },
    };
    for (const Case& c : cases) {
        DBQuery query;
        loadDisk(query, DBQuery::Countries);
        c.build(query);
        EXPECT_EQ(names(query.runQuery()), c.expected) << c.what;
    }
}

TEST(DBQuery, StateCases)
{
    DBQuery query;
    loadDisk(query, DBQuery::States);
    query.addTextCriterion(StateRegiao, "Sul");
    EXPECT_EQ(names(query.runQuery()), (Names { "Paraná", "Rio Grande do Sul", "Santa Catarina" }));
    query.setSortOrder(StatePopulacao, "Desc");
    EXPECT_EQ(names(query.runQuery()), (Names { "Rio Grande do Sul", "Paraná", "Santa Catarina" }));
    query.setSortOrder(StatePopulacao, "");
    query.filterNumeric(StateArea, ">", 200000.0f);
    EXPECT_EQ(names(query.runQuery()), (Names { "Rio Grande do Sul" }));
    // A search that selects nothing keeps the previous result.
    query.filterNumeric(StateArea, ">", 1.0e9f);
    EXPECT_TRUE(query.runQuery().isNil());
    EXPECT_EQ(names(query.resultRecords()), (Names { "Rio Grande do Sul" }));

    std::vector<std::string> regions;
    qelValue values = query.fieldValues(StateRegiao);
    for (int32_t i = 0; i < qelCount(values); ++i)
        regions.push_back(qelToUtf8(qelCString(qelGet(values, i))));
    EXPECT_EQ(regions, (Names { "Todos", "Centro-Oeste", "Nordeste", "Norte", "Sudeste", "Sul" }));
    EXPECT_TRUE(query.fieldValues(0).isNil());
    EXPECT_TRUE(query.fieldValues(50).isNil());
}

TEST(DBQuery, FieldSelection)
{
    DBQuery query;
    loadDisk(query, DBQuery::Countries);
    query.addField(Nome);
    query.addField(Populacao);
    query.addField(Area);
    query.setFieldShown(Populacao, 0);
    query.addField(Populacao); // already chosen, hidden: unchanged
    auto ints = [](const qelValue& list) {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < qelCount(list); ++i)
            out.push_back(qelIntAt(list, i));
        return out;
    };
    EXPECT_EQ(ints(query.fieldSelection()), (std::vector<int32_t> { Nome, -Populacao, Area }));
    EXPECT_EQ(ints(query.shownFields()), (std::vector<int32_t> { Nome, Area }));
    query.setFieldShown(Populacao, -1);
    query.setFieldShown(Area, -1);
    EXPECT_EQ(ints(query.fieldSelection()), (std::vector<int32_t> { Nome, Populacao, -Area }));
    query.setFieldShown(Area, 7);
    query.setFieldShown(Temperatura, 0); // not chosen: nothing
    EXPECT_EQ(ints(query.fieldSelection()), (std::vector<int32_t> { Nome, Populacao, Area }));
    query.setSortOrder(Nome, "Ascen");
    EXPECT_EQ(query.sortField(), Nome);
    EXPECT_EQ(query.sortDescending(), 0);
    query.setSortOrder(Nome, "qualquer");
    EXPECT_EQ(query.sortDescending(), 1);
    query.setSortOrder(Nome, "");
    EXPECT_EQ(query.sortField(), -1);
}

class SmallDatabase : public testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("qel-dbquery-" + std::to_string(std::random_device {}()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    qelValue archive(const char* file, const std::vector<qelValue>& items)
    {
        std::string path = (folder / file).string();
        {
            qelValue created = qelCreateArchive(qelValue(path.c_str()), 0);
            for (const qelValue& item : items)
                qelArchiveOf(created)->add(item);
            qelArchiveOf(created)->flush();
        }
        return qelOpenArchive(qelValue(path.c_str()), 0);
    }

    // A state record: name, then field 7 given, the rest missing.
    static qelValue record(const char* name, const qelValue& field7)
    {
        qelValue r = qelMakeList(50, 100, QEL_GENERAL_LIST);
        qelAddItem(r, name);
        qelAddItem(r, name);
        for (int32_t i = 2; i < 50; ++i)
            qelAddItem(r, i == 7 ? field7 : qelValue("n.d."));
        return r;
    }

    fs::path folder;
};

TEST_F(SmallDatabase, ScannedMultiValuedTextsOfferAndMatchEachPart)
{
    qelValue data = archive("d.dat",
        { record("um", "norte; Sul"), record("dois", "Sul"), record("tres", "n.d."), record("quatro", "Leste;Sul ") });
    qelValue index = archive("d.idx", { qelTable(4, 100, 75) });
    DBQuery query;
    query.loadFrom(DBQuery::States, data, index);
    std::vector<std::string> values;
    qelValue list = query.fieldValues(7);
    for (int32_t i = 0; i < qelCount(list); ++i)
        values.push_back(qelCString(qelGet(list, i)));
    EXPECT_EQ(values, (Names { "Todos", "Leste", "norte", "Sul" }));
    query.addTextCriterion(7, "Sul");
    EXPECT_EQ(names(query.runQuery()), (Names { "um", "dois", "quatro" }));
}

TEST_F(SmallDatabase, DamagedRecordsAndIndexEntriesAreLeftOut)
{
    // A record that is not a list and one cut short keep their numbers; the index points past
    // the records and holds a value that is not a number.
    qelValue shortRecord = qelListOf({ "curto", "curto" });
    qelValue data = archive("d.dat", { record("um", "Sul"), qelValue("estragado"), shortRecord });
    qelValue values = qelTable(4, 100, 75);
    qelPut(values, "Sul", qelListOf({ qelMakeInt(0), qelMakeInt(1), qelMakeInt(9), qelValue("x"), qelMakeInt(-1) }));
    qelValue index = qelTable(4, 100, 75);
    qelPut(index, "7", values);
    DBQuery query;
    query.loadFrom(DBQuery::States, data, archive("d.idx", { index }));
    ASSERT_EQ(qelCount(query.records()), 3);
    EXPECT_EQ(qelCount(qelGet(query.records(), 1)), 50);
    EXPECT_EQ(qelCount(qelGet(query.records(), 2)), 50);
    query.addTextCriterion(7, "Sul");
    qelValue result = query.runQuery();
    ASSERT_EQ(qelCount(result), 2);
    EXPECT_EQ(names(result)[0], "um");
    query.filterNumeric(7, ">=", 0.0f); // "n.d." everywhere but in record 0, whose "Sul" reads 0
    EXPECT_EQ(names(query.runQuery()), (Names { "um" }));
    query.setSortOrder(7, "Ascen");
    EXPECT_EQ(names(query.runQuery()), (Names { "um" }));
}
