// The quiz game's end scene over a headless window: the grade pop-ups by the last answer and by
// whether the score reached 770, and the hint that leaves the answers open.

#include "app/personal/JogoForm.h"
#include "app/personal/QuizGame.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/ui/History.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The end scene: four answer buttons (ids 4 to 7) along the top, "Próximo" closed, and the
// pop-ups, each a 100 x 50 box at (300, 300) named by its picture's name.
std::string endScene()
{
    std::string text = "(table (\"Resource Table\" (table (\"Name\" \"Jogo28\") (\"Form Name\" \"tela28\")";
    std::string controls;
    std::string group;
    for (int id = 4; id <= 7; ++id) {
        std::string name = "Resposta" + std::to_string(id);
        text += " (\"" + name + "\" (control (\"Class\" \"HotSpot\") (\"Name\" \"" + name + "\") (\"PopUpId\" "
            + std::to_string(id) + ") (\"Hot Spot\" (rect " + std::to_string(50 * (id - 4)) + " 0 50 20))))";
        controls += " (reference \"" + name + "\")";
        if (id != 7)
            group += " (reference \"" + name + "\")";
    }
    text += " (\"" + std::string(quiz::next) + "\" (control (\"Class\" \"HotSpot\") (\"Name\" \"" + quiz::next
        + "\") (\"Disabled\" true) (\"Hot Spot\" (rect 500 400 50 20))))";
    controls += " (reference \"" + std::string(quiz::next) + "\")";
    text += " (\"PopUpImage\" (control (\"Class\" \"Bitmap\") (\"Name\" \"PopUpImage\") (\"Hidden\" true)))";
    text += " (\"AltGroup\" (list" + group + "))";
    text += " (\"PopUpList\" (table";
    for (const char* item : { "Item4", "Item5", "Item6", "Item7", "ItemA", "ItemB", "ItemC", "ItemD", "ItemE" })
        text += " (\"" + std::string(item) + "\" (list \"" + item + "\" 300 300))";
    text += "))";
    return text + " (\"Control List\" (list" + controls + ")))))";
}

// The window's point of an answer button, and a point beside every pop-up.
std::string answer(int id)
{
    return "click " + std::to_string(25 + 50 * (id - 4)) + " 10\n";
}
constexpr const char* beside = "click 10 200\n";

struct Outcome {
    std::string shown;
    bool nextOpen;
    bool answersOpen;
};

Outcome play(int32_t score, const std::string& script)
{
    UiFixture ui(script.c_str());
    qelValue form = qelFormValue(new JogoForm(UiFixture::read(endScene().c_str())));
    qelHistoryGoTo(form, qelNil);
    quizGame().score = score;
    ui.runScript();
    auto disabled = [&](const char* name) { return qelIsTrue(qelGet(qelGet(form, qelValue(name)), "Disabled")); };
    qelValue picture = qelGet(form, qelValue("PopUpImage"));
    Outcome outcome { qelIsTrue(qelGet(picture, "Hidden")) ? "" : qelCString(qelGet(picture, "Image")),
        !disabled(quiz::next), !disabled("Resposta5") };
    return outcome;
}

TEST(JogoForm, TheEndSceneGradesByTheAnswerAndTheScoreOf770)
{
    struct Case {
        int32_t score;
        int answerId;
        Outcome expected;
    };
    for (const Case& c : { Case { 770, 4, { "ItemA", true, false } }, Case { 769, 4, { "ItemB", false, false } },
             Case { 770, 5, { "ItemC", true, false } }, Case { 769, 6, { "ItemD", false, false } },
             Case { 900, 7, { "ItemE", false, true } } }) {
        Outcome outcome = play(c.score, answer(c.answerId) + beside);
        EXPECT_EQ(outcome.shown, c.expected.shown) << c.score << " " << c.answerId;
        EXPECT_EQ(outcome.nextOpen, c.expected.nextOpen) << c.score << " " << c.answerId;
        EXPECT_EQ(outcome.answersOpen, c.expected.answersOpen) << c.score << " " << c.answerId;
    }
}

TEST(JogoForm, AnAnswerShowsItsOwnPopUpBeforeTheGrade)
{
    Outcome outcome = play(770, answer(5));
    EXPECT_EQ(outcome.shown, "Item5");
    EXPECT_TRUE(outcome.nextOpen);
    EXPECT_FALSE(outcome.answersOpen);
}

TEST(JogoForm, ScreenNumbersAreTheDigitsAfterTheFirstFourCharacters)
{
    struct Case {
        const char* name;
        int32_t number;
    };
    for (const Case& c : { Case { "Jogo12", 12 }, Case { "tela05", 5 }, Case { "Jogo0", 0 }, Case { "Jogo", 0 },
             Case { "tela9x", 9 }, Case { "Jogo99999999999", 0 } })
        EXPECT_EQ(quizScreenNumber(qelValue(c.name)), c.number) << c.name;
    EXPECT_EQ(quizScreenNumber(qelNil), 0);
}

} // namespace
