// A whole quiz game on the almanac's disk, played by a script over a headless window: the
// player answers through the first screens, leaves on screen 5 keeping the game, comes back,
// and resumes it with its code typed in small letters.

#include "app/personal/JogoEntrarDlg.h"
#include "app/personal/JogoForm.h"
#include "app/personal/JogoNivelDlg.h"
#include "app/personal/JogoQuestionDlg.h"
#include "app/personal/JogoRegrasDlg.h"
#include "app/personal/JogoSairDlg.h"
#include "app/personal/JogoScoreDlg.h"
#include "app/personal/QuizGame.h"
#include "app/shell/Registrations.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/History.h"
#include "platform/sys/Folders.h"
#include "platform/sys/Random.h"
#include "tests/framework/ui/UiFixture.h"

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

// The screen the game is entered from: a press anywhere in its corner goes to "Jogo0".
class StartScreen : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    void handleControl(const qelValue&) override { qelHistoryGoTo("Jogo0", qelNil); }
};

// Where the script presses, in window coordinates (the screens' and dialogs' resources).
const std::string enter = "click 10 10\n";
const std::string next = "click 560 446\n";
const std::string leave = "click 210 446\n";
const std::string rulesOk = "click 320 382\n";
const std::string question1 = "click 120 196\n";
const std::string question2 = "click 120 246\n";
const std::string veryHard = "click 230 321\nclick 410 261\n";
const std::string easy = "click 410 261\n";
const std::string cancelLevel = "click 410 311\n";
const std::string back = "click 80 446\n";
const std::string keepGame = "click 230 316\n";
const std::string savedGame = "click 420 176\n";
const std::string startOk = "click 220 334\n";

// Option k of the question dialog, then "Continuar".
std::string option(int k)
{
    return "click 116 " + std::to_string(214 + 42 * (k - 1)) + "\nclick 250 356\n";
}

class QuizGameOnTheDisk : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-jogo-user-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    void install(UiFixture& ui)
    {
        ui.environment->setSetting("SourceDisk", (std::string(QEL_BUILD_DIR) + "/disk").c_str());
        ui.environment->setSetting("MediaPath", "Media");
        for (qelNamedObject* prototype : std::initializer_list<qelNamedObject*> { new JogoForm, new JogoNivelDlg,
                 new JogoQuestionDlg, new JogoEntrarDlg, new JogoSairDlg, new JogoScoreDlg, new JogoRegrasDlg })
            ui.environment->registerClass(prototype);
        velarimRegister(0, velarimRegistrations.size());
        start = qelFormValue(new StartScreen(UiFixture::read(
            "(table (\"Resource Table\" (table (\"Control List\" (list (control (\"Class\" \"HotSpot\")"
            " (\"Name\" \"Entrar\") (\"Hot Spot\" (rect 0 0 40 40))))))))")));
        qelFormOf(start)->name = "Inicio";
        qelPut(ui.environment->globals, "Inicio", start);
        platform::randomSeed(1);
        qelHistoryGoTo("Inicio", qelNil);
    }

    Bytes savedBytes() const
    {
        std::ifstream in(user / "Jogo.DTT", std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static std::vector<std::string> historyNames()
    {
        std::vector<std::string> names;
        qelValue list = qelGet(qelHistoryTable(), "List");
        for (int32_t i = 0; i < qelCount(list); ++i)
            names.push_back(qelCString(qelGet(qelGet(list, i), 0)));
        return names;
    }

    fs::path user;
    qelValue start;
};

TEST_F(QuizGameOnTheDisk, AGameLeftOnScreen5ResumesThereWithItsScore)
{
    // Screens 0 and 1 (the rules), then every question at the top level, all answered right:
    // screen 2 has two (1960; Palmas), screens 3 and 4 one each (São Francisco; Pacífico).
    std::string script = enter + next + rulesOk + next + question1 + veryHard + option(2) + question2 + veryHard
        + option(3) + next + question1 + veryHard + option(3) + next + question1 + veryHard + option(2) + next;
    // On screen 5 the player leaves and keeps the game: back on the start screen.
    std::string resume = leave + keepGame + enter + next + savedGame + "text \"aofv\"\n" + startOk;
    UiFixture ui((script + resume).c_str());
    install(ui);
    ui.runScript();
    EXPECT_TRUE(recordedErrors().empty()) << (recordedErrors().empty() ? "" : recordedErrors()[0]);

    // The game kept under the first code of the generator seeded with 1, "AOFV": screen 5 and
    // 120 points. The archive's header ("0QEL", the directory at 49); from 8 the table
    // (capacity 4, one pair) of the code and its table (capacity 4, two pairs) of "Tela" 5 and
    // "Score" 120, small ints; then the directory, the int list [8].
    const Bytes golden { 0x30, 0x51, 0x45, 0x4C, 0x31, 0, 0, 0,
        0x09, 4, 0, 0, 0, 1, 0, 0, 0, 0x22, 4, 'A', 'O', 'F', 'V',
        0x09, 4, 0, 0, 0, 2, 0, 0, 0, 0x22, 4, 'T', 'e', 'l', 'a', 0x20, 5, 0x22, 5, 'S', 'c', 'o', 'r', 'e', 0x20, 120,
        0x08, 1, 0, 0, 0, 3, 8, 0, 0, 0 };
    EXPECT_EQ(savedBytes(), golden);

    // Resumed: on screen 5 with the score, the history as if walked there from "Jogo0".
    qelFormObject* form = qelFormOf(ui.environment->activeForm);
    ASSERT_TRUE(form);
    EXPECT_EQ(std::string(qelCString(form->name)), "Jogo5");
    EXPECT_EQ(quizGame().score, 120);
    EXPECT_EQ(quizGame().steps, 6);
    EXPECT_EQ(historyNames(), (std::vector<std::string> { "Inicio", "Jogo0", "Jogo1", "Jogo2", "Jogo3", "Jogo4" }));
}

TEST_F(QuizGameOnTheDisk, LeavingAfterSteppingBackOffersTheFurthestScreenAndItsScore)
{
    // Every question at the first level, always the first option: right on screens 2 (the first
    // question), 3 and 5, 30 points by screen 7. On screen 3 the level is cancelled once first:
    // the question stays open and is asked again.
    std::string script = enter + next + rulesOk + next + question1 + easy + option(1) + question2 + easy + option(1)
        + next + question1 + cancelLevel + question1 + easy + option(1) + next;
    for (int screen = 4; screen <= 6; ++screen)
        script += question1 + easy + option(1) + next;
    // From 7: back to 6 and on again (7 opens fresh, 6 adds nothing), then back twice to 5 and
    // leave, keeping the game.
    script += back + next + back + back + leave + keepGame;
    UiFixture ui(script.c_str());
    install(ui);
    ui.runScript();
    EXPECT_TRUE(recordedErrors().empty()) << (recordedErrors().empty() ? "" : recordedErrors()[0]);

    qelValue archive = qelOpenArchive(qelStringValue((user / "Jogo.DTT").string().c_str()), 0);
    ASSERT_EQ(qelCount(archive), 1);
    qelValue entry = qelGet(qelGet(archive, 0), qelValue("AOFV"));
    EXPECT_EQ(qelGetInt(entry, "Tela"), 7);
    EXPECT_EQ(qelGetInt(entry, "Score"), 30);
    // Back on the screen the game was entered from.
    qelFormObject* form = qelFormOf(ui.environment->activeForm);
    ASSERT_TRUE(form);
    EXPECT_EQ(std::string(qelCString(form->name)), "Inicio");
}

} // namespace
