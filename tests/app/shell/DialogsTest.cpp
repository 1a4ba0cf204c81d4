// The quit, yes/no and about dialogs run modally over a headless window, each object run twice
// as the registered one is: what each button and key answers, and that every run starts clean.

#include "app/shell/MessagesDialog.h"
#include "app/shell/QuitDlg.h"
#include "app/shell/SobreDlg.h"
#include "framework/runtime/ValuePrinter.h"
#include "framework/ui/DialogObject.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A 300 x 100 dialog at (100, 80) with four named hot spots along its top, 60 pixels apart:
// "OKButton", "Sim", "Não", "Fechar", then "Outro" (a name no dialog knows) and one with the
// "close" action.
const char* const dialogText = "(table (\"Resource Table\" (table (\"Origin X\" 100) (\"Origin Y\" 80)"
                               " (\"Width\" 300) (\"Height\" 100) (\"Control List\" (list"
                               " (control (\"Class\" \"HotSpot\") (\"Name\" \"OKButton\") (\"Hot Spot\" (rect 0 0 50 20)))"
                               " (control (\"Class\" \"HotSpot\") (\"Name\" \"Sim\") (\"Hot Spot\" (rect 50 0 50 20)))"
                               " (control (\"Class\" \"HotSpot\") (\"Name\" \"N\xE3o\") (\"Hot Spot\" (rect 100 0 50 20)))"
                               " (control (\"Class\" \"HotSpot\") (\"Name\" \"Fechar\") (\"Hot Spot\" (rect 150 0 50 20)))"
                               " (control (\"Class\" \"HotSpot\") (\"Name\" \"Outro\") (\"Hot Spot\" (rect 200 0 50 20)))"
                               " (control (\"Class\" \"HotSpot\") (\"Action\" \"close\") (\"Hot Spot\" (rect 250 0 50 20)))"
                               ")))))";

// The window's point at the middle of each hot spot.
constexpr const char* clickOK = "click 125 90\n";
constexpr const char* clickSim = "click 175 90\n";
constexpr const char* clickNao = "click 225 90\n";
constexpr const char* clickFechar = "click 275 90\n";
constexpr const char* clickOther = "click 325 90\n";
constexpr const char* clickClose = "click 375 90\n";

template<typename Dialog> std::pair<std::string, std::string> runTwice(const std::string& script)
{
    UiFixture ui(script.c_str());
    qelValue dialog = qelFormValue(new Dialog(UiFixture::read(dialogText)));
    std::string first = qelCString(qelPrintValue(qelRunDialog(dialog, qelNil), 1));
    std::string second = qelCString(qelPrintValue(qelRunDialog(dialog, qelNil), 1));
    return { first, second };
}

using Answers = std::pair<std::string, std::string>;

TEST(QuitDlg, OnlyOKAndEnterAnswerTrueAndEachRunStartsAtFalse)
{
    struct Case {
        std::string script;
        Answers expected;
    };
    for (const Case& c : { Case { std::string(clickOK) + "key Escape\n", { "true", "false" } },
             Case { "key Enter\n" + std::string(clickFechar), { "true", "false" } },
             Case { std::string(clickClose) + clickOther + "key Enter\n", { "false", "true" } } }) {
        EXPECT_EQ(runTwice<QuitDlg>(c.script), c.expected) << c.script;
    }
}

TEST(MessagesDialog, EnterAndEscapeAnswerNoAndNeverRepeatThePreviousAnswer)
{
    struct Case {
        std::string script;
        Answers expected;
    };
    // The printed answer "Não" (the printer writes bytes above 127 as escapes). A control of
    // another name does nothing: the run goes on to the next action.
    const std::string no = "\"N\\xe3o\"";
    for (const Case& c : { Case { std::string(clickSim) + "key Escape\n", { "\"Sim\"", no } },
             Case { std::string(clickOther) + clickClose + "key Enter\n" + clickFechar, { no, no } },
             Case { std::string(clickNao) + clickSim, { no, "\"Sim\"" } } }) {
        EXPECT_EQ(runTwice<MessagesDialog>(c.script), c.expected) << c.script;
    }
}

// Counts the notifications that reach the about box.
class CountingSobreDlg : public SobreDlg {
public:
    using SobreDlg::SobreDlg;
    void handleControl(const qelValue& control) override
    {
        ++notices;
        SobreDlg::handleControl(control);
    }
    int notices = 0;
};

TEST(SobreDlg, OKFecharEnterAndEscapeCloseItAndOtherControlsDoNot)
{
    // First run: "Outro" and the "close" action leave it open, "OKButton" closes it. Second:
    // "Sim" leaves it open, "Fechar" closes it. Then Enter, then Escape.
    std::string script = std::string(clickOther) + clickClose + clickOK + clickSim + clickFechar + "key Enter\nkey Escape\n";
    UiFixture ui(script.c_str());
    auto* about = new CountingSobreDlg(UiFixture::read(dialogText));
    qelValue dialog = qelFormValue(about);
    for (int notices : { 3, 5, 5, 5 }) {
        EXPECT_TRUE(qelRunDialog(dialog, qelNil).isNil());
        EXPECT_EQ(about->notices, notices);
    }
}

} // namespace
