// The saved quiz games: the resume codes the seeded generator gives, the bytes of Jogo.DTT, and
// a damaged file that neither ends the program nor loses the games that can still be resumed.

#include "app/personal/SavedGames.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Folders.h"
#include "platform/sys/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class SavedGames : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-jogo-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        environment.makeCurrent();
        platform::randomSeed(1);
    }
    void TearDown() override
    {
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    Bytes fileBytes() const
    {
        std::ifstream in(user / "Jogo.DTT", std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static qelValue game(int32_t screen, int32_t score)
    {
        qelValue entry = qelTable(4, 100, 75);
        qelPut(entry, "Tela", qelMakeInt(screen));
        qelPut(entry, "Score", qelMakeInt(score));
        return entry;
    }

    fs::path user;
    qelEnvironment environment;
};

TEST_F(SavedGames, CodesFollowTheSeededSequenceAndSkipCodesTheFileHolds)
{
    qelValue games = qelTable(4, 100, 75);
    EXPECT_EQ(std::string(qelCString(makeResumeCode(games))), "AOFV");
    EXPECT_EQ(std::string(qelCString(makeResumeCode(games))), "PMJX");
    // With "AOFV" and "PMJX" taken, the sequence from the start skips them.
    platform::randomSeed(1);
    qelPut(games, "AOFV", game(5, 0));
    qelPut(games, "PMJX", game(6, 0));
    EXPECT_EQ(std::string(qelCString(makeResumeCode(games))), "VTEW");
}

TEST_F(SavedGames, TheFileIsAnArchiveOfOneTableWithItsDirectoryLast)
{
    qelValue games = qelTable(4, 100, 75);
    qelPut(games, "AOFV", game(7, 130));
    ASSERT_TRUE(writeSavedGames(games));
    Bytes bytes = fileBytes();
    ASSERT_GE(bytes.size(), 18u);
    // "0QEL", then the directory's offset; the directory is the int list [8].
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes { '0', 'Q', 'E', 'L' }));
    uint32_t directory = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24;
    EXPECT_EQ(directory + 10, bytes.size());
    EXPECT_EQ(Bytes(bytes.end() - 10, bytes.end()), (Bytes { 8, 1, 0, 0, 0, 3, 8, 0, 0, 0 }));
    // The table reads back whole: the code and its screen and score.
    qelValue read = readSavedGames();
    ASSERT_EQ(qelCount(read), 1);
    EXPECT_EQ(qelGetInt(qelGet(read, qelValue("AOFV")), "Tela"), 7);
    EXPECT_EQ(qelGetInt(qelGet(read, qelValue("AOFV")), "Score"), 130);
}

TEST_F(SavedGames, EntriesThatCannotBeResumedAreLeftOutAndTheOthersKept)
{
    qelValue games = qelTable(4, 100, 75);
    qelPut(games, "GOOD", game(26, 500));
    qelPut(games, "FAR", game(5, 0));       // three letters
    qelPut(games, "abcd", game(5, 0));      // small letters
    qelPut(games, "HIGH", game(99, 0));     // no such screen
    qelPut(games, "ZERO", game(0, 0));      // the start is no place to resume
    qelPut(games, "LOSS", game(5, -10));    // a score below 0
    qelPut(games, "TEXT", qelValue("Tela")); // not a table
    ASSERT_TRUE(writeSavedGames(games));
    qelValue read = readSavedGames();
    EXPECT_EQ(qelCount(read), 1);
    EXPECT_TRUE(qelContainsKey(read, qelValue("GOOD")));
}

TEST_F(SavedGames, ADamagedFileIsMovedAsideAndReadsAsNoGames)
{
    for (const Bytes& damaged : { Bytes { 'n', 'o', 't' }, Bytes { '0', 'Q', 'E', 'L', 200, 0, 0, 0 } }) {
        std::ofstream(user / "Jogo.DTT", std::ios::binary)
            .write(reinterpret_cast<const char*>(damaged.data()), std::streamsize(damaged.size()));
        EXPECT_EQ(qelCount(readSavedGames()), 0);
        EXPECT_FALSE(fs::exists(user / "Jogo.DTT"));
        EXPECT_TRUE(fs::exists(user / "JOGO.BAD"));
    }
    // An archive whose item is not a table is no saved-games file either.
    {
        qelValue archive = qelCreateArchive(qelStringValue((user / "Jogo.DTT").string().c_str()), 0);
        qelArchiveOf(archive)->add(qelValue("AOFV"));
    }
    EXPECT_EQ(qelCount(readSavedGames()), 0);
    EXPECT_FALSE(fs::exists(user / "Jogo.DTT"));
}

} // namespace
