// The user's saved searches: the file's bytes, the file shared by names that fold alike,
// replacing a search only with consent, and a damaged file moved aside without touching the
// other databases' searches.

#include "app/atlas/database/SavedSearches.h"
#include "app/shell/TrimBlanks.h"

#include "../../framework/runtime/ErrorRecorder.h"
#include "../shell/ShellDisk.h"
#include "framework/runtime/TextEncoding.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// "Países" as the program writes it (cp1252).
const qelValue paises()
{
    return qelValue(qelFromUtf8("Países").c_str());
}

qelValue search(const char* name, std::initializer_list<const char*> lines)
{
    qelValue table = qelTable(4, 100, 75);
    qelValue contents = qelMakeList(4, 100, QEL_GENERAL_LIST);
    for (const char* line : lines)
        qelAddItem(contents, line);
    qelPut(table, "Name", name);
    qelPut(table, "Contents", contents);
    return table;
}

std::vector<std::string> namesOf(const qelValue& searches)
{
    std::vector<std::string> out;
    for (int32_t i = 0; i < qelCount(searches); ++i)
        out.push_back(qelCString(qelGet(qelGet(searches, i), "Name")));
    return out;
}

class Searches : public ShellDisk {
protected:
    void SetUp() override
    {
        ShellDisk::SetUp();
        setSavedSearchConfirm([this] {
            ++questions;
            return consent;
        });
    }
    void TearDown() override
    {
        setSavedSearchConfirm(nullptr);
        releaseSavedSearches();
        ShellDisk::TearDown();
    }
    // The program ends and starts again: only the files remain.
    void restart() { releaseSavedSearches(); }

    int questions = 0;
    bool consent = true;
};

} // namespace

TEST_F(Searches, OneSmallSearchIsStoredAsAListOfOneTable)
{
    ErrorRecorder errors;
    addSavedSearch(paises(), search("Sul", { "Bloco: Mercosul" }));
    const Bytes expected = {
        0x30, 0x51, 0x45, 0x4C, 0x3B, 0x00, 0x00, 0x00, // magic, directory at 59
        0x23, 0x01, // a list of one value
        0x09, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // a table of capacity 4, two entries in slot order
        0x22, 0x08, 'C', 'o', 'n', 't', 'e', 'n', 't', 's', // "Contents"
        0x23, 0x01, 0x22, 0x0F, 'B', 'l', 'o', 'c', 'o', ':', ' ', 'M', 'e', 'r', 'c', 'o', 's', 'u', 'l', // ("Bloco: Mercosul")
        0x22, 0x04, 'N', 'a', 'm', 'e', 0x22, 0x03, 'S', 'u', 'l', // "Name" "Sul"
        0x08, 0x01, 0x00, 0x00, 0x00, 0x03, 0x08, 0x00, 0x00, 0x00 }; // directory: item 0 at 8
    EXPECT_EQ(fileBytes(user / "PesqPais.DTT"), expected);
    EXPECT_TRUE(errors.messages.empty());
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(user), fs::directory_iterator()), 1);
}

TEST_F(Searches, NamesThatFoldAlikeShareTheirFile)
{
    EXPECT_EQ(qelToUtf8(qelCString(savedSearchPath(paises()))), user.string() + "\\PesqPais.DTT");
    EXPECT_EQ(qelCString(savedSearchPath("Paises")), user.string() + "\\PesqPais.DTT");
    EXPECT_EQ(qelCString(savedSearchPath(qelValue(qelFromUtf8("Região").c_str()))), user.string() + "\\PesqRegi.DTT");
    EXPECT_EQ(qelCString(savedSearchPath("Estados")), user.string() + "\\PesqEsta.DTT");
    addSavedSearch(paises(), search("Um", { "a" }));
    restart();
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "Um" }));
}

TEST_F(Searches, TheFirstLoadCreatesAnEmptyFileAndTheListIsShared)
{
    qelValue list = loadSavedSearches("Estados");
    EXPECT_EQ(qelCount(list), 0);
    EXPECT_TRUE(fs::exists(user / "PesqEsta.DTT"));
    addSavedSearch("Estados", search("Norte", {}));
    // The caller's list is the cached one, changed in place.
    EXPECT_EQ(qelCount(list), 1);
    EXPECT_TRUE(loadSavedSearches("Estados") == list);
}

TEST_F(Searches, ReplacingANameAsksAndAppendsTheNewOne)
{
    addSavedSearch("Paises", search("A", { "1" }));
    addSavedSearch("Paises", search("B", { "2" }));
    consent = false;
    addSavedSearch("Paises", search("A", { "3" }));
    EXPECT_EQ(questions, 1);
    restart();
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "A", "B" }));
    consent = true;
    qelValue replacement = search("A", { "3" });
    addSavedSearch("Paises", replacement);
    restart();
    qelValue stored = loadSavedSearches("Paises");
    EXPECT_EQ(namesOf(stored), (std::vector<std::string> { "B", "A" }));
    EXPECT_EQ(std::string(qelCString(qelGet(qelGet(qelGet(stored, 1), "Contents"), 0))), "3");
    // A table without a name changes nothing.
    Bytes before = fileBytes(user / "PesqPais.DTT");
    addSavedSearch("Paises", qelTable(4, 100, 75));
    EXPECT_EQ(fileBytes(user / "PesqPais.DTT"), before);
}

TEST_F(Searches, RemovingTakesThatTableAndRewritesTheFile)
{
    addSavedSearch("Paises", search("A", {}));
    addSavedSearch("Paises", search("B", {}));
    qelValue list = loadSavedSearches("Paises");
    removeSavedSearch("Paises", search("A", {})); // an equal table, not the stored one
    EXPECT_EQ(namesOf(list), (std::vector<std::string> { "A", "B" }));
    removeSavedSearch("Paises", qelGet(list, 0));
    EXPECT_EQ(namesOf(list), (std::vector<std::string> { "B" }));
    restart();
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "B" }));
}

TEST_F(Searches, ADamagedFileIsMovedAsideAndTheOthersStayUsable)
{
    addSavedSearch("Estados", search("Sul", {}));
    addSavedSearch("Paises", search("Mercosul", {}));
    restart();
    struct Damage {
        const char* what;
        Bytes bytes;
    };
    Bytes good = fileBytes(user / "PesqPais.DTT");
    Bytes cut(good.begin(), good.begin() + 20);
    // An archive whose item is a table, not a list.
    const Bytes notAList = { 0x30, 0x51, 0x45, 0x4C, 0x11, 0x00, 0x00, 0x00, 0x09, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x08, 0x01, 0x00, 0x00, 0x00, 0x03, 0x08, 0x00, 0x00, 0x00 };
    for (const Damage& damage : { Damage { "cut short", cut }, Damage { "no archive", { 'x', 'y' } },
             Damage { "an item that is no list", notAList } }) {
        ErrorRecorder errors;
        writeBytes(user / "PesqPais.DTT", damage.bytes);
        EXPECT_EQ(qelCount(loadSavedSearches("Paises")), 0) << damage.what;
        EXPECT_EQ(fileBytes(user / "PesqPais.BAD"), damage.bytes) << damage.what;
        EXPECT_EQ(namesOf(loadSavedSearches("Estados")), (std::vector<std::string> { "Sul" })) << damage.what;
        addSavedSearch("Paises", search("Nova", {}));
        restart();
        EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "Nova" })) << damage.what;
        restart();
    }
}

TEST_F(Searches, EntriesThatAreNoSearchesAreLeftOut)
{
    qelValue list = qelListOf({ search("A", {}), qelValue("texto"), qelTable(4, 100, 75), search("B", {}) });
    writeArchive(user / "PesqPais.DTT", { list });
    EXPECT_EQ(namesOf(loadSavedSearches("Paises")), (std::vector<std::string> { "A", "B" }));
}

TEST(TrimBlanks, OnlyOuterBlanksGo)
{
    const std::pair<const char*, const char*> cases[] = {
        { "  Sul  ", "Sul" },
        { "Rio Grande do Sul", "Rio Grande do Sul" },
        { "\tSul\t", "\tSul\t" },
        { "   ", "" },
        { "", "" },
        { " a \t b ", "a \t b" },
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(std::string(qelCString(trimBlanks(in))), out) << '"' << in << '"';
    EXPECT_EQ(std::string(qelCString(trimBlanks(qelMakeInt(3)))), "");
}
