// The quiz game's level and question dialogs run modally over a headless window: what each
// button and key answers, and a question that cannot be found.

#include "app/personal/JogoNivelDlg.h"
#include "app/personal/JogoQuestionDlg.h"
#include "app/personal/QuizGame.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"
#include "recdb/index/IndexObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

// A 300 x 100 dialog at (100, 80) with hot spots 50 pixels wide along its top, named in order.
std::string dialogText(std::initializer_list<const char*> names, const std::string& more = "")
{
    std::string text = "(table (\"Resource Table\" (table (\"Origin X\" 100) (\"Origin Y\" 80) (\"Width\" 300)"
                       " (\"Height\" 100)" + more + " (\"Control List\" (list";
    int x = 0;
    for (const char* name : names) {
        text += " (control (\"Class\" \"HotSpot\") (\"Name\" \"" + std::string(name) + "\") (\"Hot Spot\" (rect "
            + std::to_string(x) + " 0 50 20)))";
        x += 50;
    }
    return text + ")))))";
}

// The window's point at the middle of the n-th hot spot.
std::string click(int n)
{
    return "click " + std::to_string(125 + 50 * n) + " 90\n";
}

int32_t runInt(qelDialogObject* dialog, const qelValue& data)
{
    qelValue result = qelRunDialog(qelFormValue(dialog), data);
    return result.type() == QEL_INT_TYPE ? result.payload() : -1;
}

TEST(JogoNivelDlg, LevelButtonsChooseOKKeepsTheChoiceAndCancelGivesZero)
{
    struct Case {
        std::string script;
        int32_t level;
    };
    // 0 "Fácil", 1 "Difícil", 2 "Muito Difícil", 3 "OKButton", 4 "CancelButton", 5 "Fechar".
    for (const Case& c : { Case { click(3), 1 }, Case { click(2) + click(3), 3 }, Case { click(1) + "key Enter\n", 2 },
             Case { click(2) + "key Escape\n", 3 }, Case { click(2) + click(4), 0 }, Case { click(1) + click(5), 0 } }) {
        UiFixture ui(c.script.c_str());
        auto* dialog = new JogoNivelDlg(UiFixture::read(dialogText(
            { quiz::easy, quiz::hard, quiz::veryHard, "OKButton", "CancelButton", "Fechar" }).c_str()));
        EXPECT_EQ(runInt(dialog, qelNil), c.level) << c.script;
    }
}

class QuestionDisk : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-jogo-disk-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media");
    }
    void TearDown() override { fs::remove_all(root); }

    // The question archive with one question at item 1 (item 0 a decoy), indexed under key 23.
    void writeQuestions(UiFixture& ui)
    {
        ui.environment->setSetting("SourceDisk", root.string().c_str());
        ui.environment->setSetting("MediaPath", "Media");
        fs::remove(root / "Media" / "Jogo.DAT");
        fs::remove(root / "Media" / "JGIDList.IDX");
        qelValue archive = qelCreateArchive(qelStringValue((root / "Media" / "Jogo.DAT").string().c_str()), 0);
        qelArchiveOf(archive)->add(qelListOf({ qelMakeInt(0), "Decoy", "x", "y", "z", qelMakeInt(1) }));
        qelArchiveOf(archive)->add(
            qelListOf({ qelMakeInt(23), "Capital?", "Lima", "Bras\xEDlia", "Quito", qelMakeInt(2) }));
        qelArchiveOf(archive)->flush();
        qelValue index = qelCreateIndex(qelStringValue((root / "Media" / "JGIDList.IDX").string().c_str()));
        qelPut(index, "23", qelMakeInt(1));
    }

    qelDialogObject* questionDialog()
    {
        return new JogoQuestionDlg(UiFixture::read(
            dialogText({ "Option1", "Option2", "Option3", "VerCerta", "Continuar", "Fechar" },
                " (\"Question\" (control (\"Class\" \"StaticText\") (\"Name\" \"Question\")"
                " (\"TextRegion\" (rect 0 40 300 20))))")
                .c_str()));
    }

    static qelValue data(int32_t key, int32_t level)
    {
        qelValue table = qelTable(4, 100, 75);
        qelPut(table, "Key", qelMakeInt(key));
        qelPut(table, quiz::level, qelMakeInt(level));
        return table;
    }

    fs::path root;
};

TEST_F(QuestionDisk, ARightAnswerScoresTenALevelAndAWrongOneNothing)
{
    struct Case {
        std::string script;
        int32_t level;
        int32_t points;
    };
    // 0..2 the options (the right one is 2), 3 "VerCerta", 4 "Continuar", 5 "Fechar".
    for (const Case& c : { Case { click(1) + click(4), 3, 30 }, Case { click(1) + "key Escape\n", 1, 10 },
             Case { click(0) + click(3) + click(4), 2, 0 }, Case { click(2) + click(5), 3, 0 },
             Case { "key Escape\n", 3, 0 } }) {
        UiFixture ui(c.script.c_str());
        writeQuestions(ui);
        EXPECT_EQ(runInt(questionDialog(), data(23, c.level)), c.points) << c.script;
        EXPECT_TRUE(recordedErrors().empty()) << c.script << (recordedErrors().empty() ? "" : recordedErrors()[0]);
    }
}

TEST_F(QuestionDisk, AQuestionThatCannotBeFoundEndsAtOnceWithNothing)
{
    // The script would pick the right option if the dialog were shown.
    UiFixture ui((click(1) + click(4)).c_str());
    // No files at all, then a key the index lacks.
    EXPECT_EQ(runInt(questionDialog(), data(23, 3)), 0);
    writeQuestions(ui);
    EXPECT_EQ(runInt(questionDialog(), data(99, 3)), 0);
    EXPECT_TRUE(recordedErrors().empty());
    // The key that is there still answers.
    EXPECT_EQ(runInt(questionDialog(), data(23, 3)), 30);
}

} // namespace
