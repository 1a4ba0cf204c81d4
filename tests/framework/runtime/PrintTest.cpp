// Print jobs on the PDF printer: the idle and printing states, every refusal with its numbered
// message in the recorded message boxes, the set-up's choice of output, and the files jobs
// leave (none after an abort or a failed start).

#include "HeadlessFixture.h"

#include "framework/runtime/Print.h"
#include "framework/runtime/StringObject.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string answers(int count)
{
    std::string script;
    for (int i = 0; i < count; ++i)
        script += "answer 1\n";
    return script;
}

struct PrintFixture : HeadlessFixture {
    PrintFixture()
        : HeadlessFixture(1000, answers(20).c_str())
    {
        qelResetPrinting();
        folder = fs::temp_directory_path()
            / ("qel-print-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        setting("PrintFolder", qelStringValue(folder.string().c_str()));
    }
    ~PrintFixture()
    {
        qelResetPrinting();
        qelPrintHooksNow() = {};
        fs::remove_all(folder);
    }
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> texts;
        for (const auto& box : headless->messageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

} // namespace

TEST(Print, RefusalsShowTheirNumberedMessages)
{
    PrintFixture f;
    qelEndDocument();
    qelAbortDocument();
    EXPECT_EQ(qelStartPage(), 0);
    EXPECT_EQ(qelEndPage(), 0);

    ASSERT_EQ(qelStartDocument(qelStringValue("Atlas")), 1);
    EXPECT_EQ(qelIsPrinting(), 1);
    EXPECT_EQ(qelStartDocument(qelStringValue("Other")), 0);
    EXPECT_EQ(qelUseDefaultPrinter(), 0);
    EXPECT_EQ(qelPrintSetupDialog(), 0);
    EXPECT_EQ(qelStartPage(), 1);
    EXPECT_EQ(qelStartPage(), 0);
    EXPECT_EQ(qelEndPage(), 1);
    EXPECT_EQ(qelEndPage(), 0);
    EXPECT_EQ(qelIsPrinting(), 1) << "refusals leave the running job alone";
    qelEndDocument();
    EXPECT_EQ(qelIsPrinting(), 0);

    const std::vector<std::string> expected = {
        "QEL printing error 6. Framework is not currently printing.",
        "QEL printing error 6a. Framework is not currently printing.",
        "QEL printing error 10. Framework is not currently printing.",
        "QEL printing error 12. Framework is not currently printing.",
        "QEL printing error 3. Framework is currently printing.",
        "QEL printing error 1. Framework is currently printing.",
        "QEL printing error 2. Framework is currently printing.",
        "QEL printing error 11. Framework is unable to start printing page.",
        "QEL printing error 13. Framework is unable to end printing page.",
    };
    EXPECT_EQ(f.boxes(), expected);
    EXPECT_EQ(f.headless->messageBoxes()[0].type, 0u) << "an OK box";
    EXPECT_EQ(f.files(), std::vector<std::string> { "Atlas.pdf" });
}

TEST(Print, DefaultPrinterJobFilesAndAborts)
{
    PrintFixture f;
    // The size queries choose the default printer when none is chosen.
    EXPECT_EQ(qelPrinterWidth(), 2381);
    EXPECT_EQ(qelPrinterHeight(), 3368);
    EXPECT_EQ(qelPrinterDpiX(), 288);
    EXPECT_EQ(qelPrinterDpiY(), 288);
    EXPECT_EQ(qelChosenPrinter().deviceName, "PDF Printer");
    EXPECT_EQ(qelChosenPrinter().portName, f.folder.string());

    // The document name comes from the setting; a second job of that name gets a new file.
    f.setting("Print Document Name", qelStringValue("Pa\xEDses/1998"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(qelBeginPrinting(), 1);
        qelStartPage();
        qelEndPage();
        qelEndDocument();
    }
    // An aborted job leaves nothing.
    ASSERT_EQ(qelStartDocument(qelStringValue("Rascunho")), 1);
    qelStartPage();
    qelAbortDocument();
    EXPECT_EQ(qelIsPrinting(), 0);
    EXPECT_EQ(f.files(), (std::vector<std::string> { "Pa\xC3\xADses_1998 (2).pdf", "Pa\xC3\xADses_1998.pdf" }));
    EXPECT_TRUE(f.boxes().empty());

    // A folder that cannot be written: message 5, and the record stays idle.
    f.setting("PrintFolder", qelStringValue((f.folder / "missing" / "deeper").string().c_str()));
    qelUseDefaultPrinter();
    EXPECT_EQ(qelStartDocument(qelStringValue("Atlas")), 0);
    EXPECT_EQ(qelIsPrinting(), 0);
    EXPECT_EQ(f.boxes(), std::vector<std::string> { "QEL printing error 5. Framework is unable to start print job." });
}

TEST(Print, SetUpChoosesTheOutputOrIsCancelled)
{
    PrintFixture f;
    static std::optional<std::string> answer;
    qelPrintHooksNow().chooseOutput = [](const std::string&) { return answer; };

    answer = std::nullopt;
    EXPECT_EQ(qelPrintSetupDialog(), 0);
    EXPECT_EQ(qelChosenPrinter().portName, f.folder.string()) << "cancelling keeps the default printer";

    answer = (f.folder / "Escolhido.PDF").string();
    ASSERT_EQ(qelPrintSetupDialog(), 1);
    ASSERT_EQ(qelStartDocument(qelStringValue("ignored")), 1);
    qelStartPage();
    qelEndPage();
    qelEndDocument();
    EXPECT_EQ(f.files(), std::vector<std::string> { "Escolhido.PDF" });
    EXPECT_EQ(qelPrintOutputPath(), answer);
    EXPECT_TRUE(f.boxes().empty());
}

// Printing to a folder, a job asks where its file goes, proposing the default one: a cancelled
// question cancels the job without a message; a chosen file is written and the user is told
// where it went; a job aborted is not told about.
TEST(Print, AJobAsksWhereItGoesAndTellsWhereItWent)
{
    PrintFixture f;
    static std::vector<std::string> asked;
    static std::vector<std::string> told;
    static std::optional<std::string> answer;
    asked.clear();
    told.clear();
    qelPrintHooksNow().chooseOutput = [](const std::string& proposed) {
        asked.push_back(proposed);
        return answer;
    };
    qelPrintHooksNow().jobWritten = [](const std::string& path) { told.push_back(path); };

    answer = std::nullopt;
    EXPECT_EQ(qelStartDocument(qelStringValue("Atlas")), 0);
    EXPECT_EQ(qelIsPrinting(), 0);
    EXPECT_EQ(asked, std::vector<std::string> { (f.folder / "Atlas.pdf").string() });

    answer = (f.folder / "Mapas.pdf").string();
    ASSERT_EQ(qelStartDocument(qelStringValue("Atlas")), 1);
    qelStartPage();
    qelEndPage();
    qelEndDocument();
    EXPECT_EQ(told, std::vector<std::string> { *answer });

    ASSERT_EQ(qelStartDocument(qelStringValue("Rascunho")), 1);
    qelAbortDocument();
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(f.files(), std::vector<std::string> { "Mapas.pdf" });
    EXPECT_TRUE(f.boxes().empty());
    // The set-up is offered the file a job of the default name would write.
    asked.clear();
    answer = std::nullopt;
    f.setting("Print Document Name", qelStringValue("Mapas"));
    qelPrintSetupDialog();
    EXPECT_EQ(asked, std::vector<std::string> { (f.folder / "Mapas (2).pdf").string() });
}
