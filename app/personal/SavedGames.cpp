#include "app/personal/SavedGames.h"

#include "app/personal/QuizGame.h"
#include "app/shell/UserFiles.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Random.h"

#include <optional>
#include <string>

namespace {

constexpr const char* fileName = "Jogo.DTT";
constexpr const char* asideName = "JOGO.BAD";
constexpr const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int32_t alphabetLength = 26;
// Why: the games can be resumed only at the screens the game has (the save offer writes 5..26).
constexpr int32_t firstScreen = 1;
constexpr int32_t lastScreen = 28;
// Why: with nearly every one of the 26^4 codes taken the draw could go on for ever; this many
// tries find a free code with near certainty whenever a fair share of them is free.
constexpr int32_t codeTries = 100000;

bool isInt(const qelValue& value)
{
    return value.type() == QEL_INT_TYPE;
}

// The table stored in the open file, or nothing when it does not read back as saved games.
std::optional<qelValue> readFile(const qelValue& file)
{
    qelValue table = readUserFile(file);
    if (table.type() != QEL_TABLE_TYPE)
        return std::nullopt;
    return table;
}

} // namespace

qelValue savedGamesPath()
{
    return userFilePath(fileName);
}

bool savedGamesExist()
{
    return qelLocatedFileExists(savedGamesPath());
}

bool isResumableEntry(const qelValue& code, const qelValue& entry)
{
    if (!code.isString() || qelCount(code) != 4)
        return false;
    for (const char* c = qelCString(code); *c; ++c) {
        if (*c < 'A' || *c > 'Z')
            return false;
    }
    if (entry.type() != QEL_TABLE_TYPE)
        return false;
    qelValue screen = qelGet(entry, "Tela");
    qelValue score = qelGet(entry, "Score");
    return isInt(screen) && screen.payload() >= firstScreen && screen.payload() <= lastScreen && isInt(score)
        && score.payload() >= 0;
}

qelValue readSavedGames()
{
    qelValue games = quizTable();
    qelValue path = savedGamesPath();
    if (!qelLocatedFileExists(path))
        return games;
    qelValue file = qelOpenFileStream(path, 1, 1);
    // Held by another opener for the moment: no games now, the file stays as it is.
    if (file.isNil())
        return games;
    std::optional<qelValue> stored = readFile(file);
    file = qelNil;
    if (!stored) {
        moveUserFileAside(path, asideName);
        return games;
    }
    qelTableObject* table = qelTableOf(*stored);
    for (int32_t slot = table->firstIndex(); slot >= 0; slot = table->nextIndex(slot)) {
        qelValue code = table->keyAt(slot);
        qelValue entry = table->valueAt(slot);
        if (isResumableEntry(code, entry))
            qelPut(games, code, entry);
    }
    return games;
}

bool writeSavedGames(const qelValue& games)
{
    return writeUserFile(savedGamesPath(), games);
}

qelValue makeResumeCode(const qelValue& games)
{
    for (int32_t attempt = 0; attempt < codeTries; ++attempt) {
        char code[5] = {};
        for (int i = 0; i < 4; ++i) {
            int32_t r = platform::randomNext();
            int32_t index = (alphabetLength * r) / platform::Random::maximum;
            // r = 32767 gives 26: the last letter.
            if (index > alphabetLength - 1)
                index = alphabetLength - 1;
            code[i] = alphabet[index];
        }
        qelValue value = qelStringValue(code);
        if (!qelContainsKey(games, value))
            return value;
    }
    return qelNil;
}
