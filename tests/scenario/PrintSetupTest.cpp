// Printing from the text screen on the sample disk, run headless: the print set-up dialog over
// the screen, a file name typed into it, the PDF where that name says, the screen as it was once
// the dialog closed, and a cancelled print that writes nothing.

#include "Scenario.h"

#include <vector>

using scenario::Probes;

namespace {

// Surface pixels are 0x00RRGGBB. The dialog (400 x 196) is centred at (120, 142).
constexpr uint32_t titleBand = 0x103060;
constexpr uint32_t panel = 0xD8D8D8;
constexpr uint32_t buttonFace = 0xECECEC;

} // namespace

TEST(PrintSetup, TheTypedFileNameIsWhereThePdfGoes)
{
    scenario::Run run("print.script");
    ASSERT_TRUE(run.exitedNormally());
    run.expectProbes({
        { "setup",
            { { 300, 146, titleBand, "title band" }, { 126, 330, panel, "panel" },
                { 330, 298, buttonFace, "OK button" }, { 500, 298, buttonFace, "Cancel button" } } },
    });
    EXPECT_FALSE(run.differs("texto", "printed"));
    EXPECT_FALSE(run.differs("texto", "cancelled"));

    std::vector<std::string> pdfs;
    for (const auto& entry : scenario::fs::directory_iterator(run.shots() / "user"))
        if (entry.path().extension() == ".pdf")
            pdfs.push_back(entry.path().filename().string());
    EXPECT_EQ(pdfs, std::vector<std::string> { "Amazonas.pdf" });

    std::string output = scenario::Run::pdfInfo(run.shots() / "user" / "Amazonas.pdf");
    EXPECT_NE(output.find("Pages:           1\n"), std::string::npos) << output;
}
