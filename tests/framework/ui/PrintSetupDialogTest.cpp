// The print set-up dialog answered from a script: a typed file name taken by Enter or by OK (with
// ".pdf" added when missing), a new folder, Escape and Cancel, an empty name refused with a beep
// while the dialog stays open, and the screen under it put back.

#include "ScreenProbe.h"

#include "framework/ui/PrintSetupDialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The dialog (400 x 196) is centred: its corner is at (120, 142). OK spans (312, 294)-(404, 322)
// on the window and Cancel (412, 294)-(504, 322); the folder field lies at y 204 to 228.
const std::string proposed = "/tmp/qel-impressos/Velarim 98.pdf";

} // namespace

TEST(PrintSetupDialog, AnsweredFromTheScript)
{
    struct Case {
        const char* script;
        std::optional<std::string> expected;
        size_t beeps;
    } cases[] = {
        { "key Enter\n", proposed, 0 },
        { "text \"Relat\xC3\xB3rio\"\nkey Enter\n", "/tmp/qel-impressos/Relat\xC3\xB3rio.pdf", 0 },
        { "text \"mapa.PDF\"\nclick 350 308\n", "/tmp/qel-impressos/mapa.PDF", 0 },
        { "click 200 216\nkey Home\nkey shift+End\ntext \"/tmp/outra\"\nkey Enter\n", "/tmp/outra/Velarim 98.pdf",
            0 },
        { "key Backspace\nkey Enter\nclick 350 308\ntext \"atlas\"\nclick 350 308\n", "/tmp/qel-impressos/atlas.pdf",
            2 },
        { "text \"a/b\"\nkey Enter\nkey Escape\n", std::nullopt, 1 },
        { "key Escape\n", std::nullopt, 0 },
        { "click 450 308\n", std::nullopt, 0 },
    };
    for (const Case& c : cases) {
        UiFixture ui(c.script);
        paintPattern(ui);
        std::vector<uint32_t> before = screenCopy(ui);
        std::optional<std::string> chosen = PrintSetupDialog::choose(proposed);
        EXPECT_EQ(chosen, c.expected) << c.script;
        EXPECT_EQ(ui.headless->beeps().size(), c.beeps) << c.script;
        EXPECT_EQ(firstDifference(screenCopy(ui), before), "") << c.script;
        EXPECT_TRUE(recordedErrors().empty()) << c.script;
    }
}
