// The internet launcher with launches recorded: the shortcut handed to the desktop, and when the
// desktop cannot open the address, the browser looked for in order ($BROWSER with the local
// page, win.ini, "WebBrowser") and started with the address as one argument.

#include "app/personal/InternetLauncher.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Folders.h"
#include "platform/sys/Launch.h"
#include "tests/framework/ui/UiFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Programs = std::vector<std::vector<std::string>>;

class InternetLauncherTest : public testing::Test {
protected:
    void SetUp() override
    {
        user = fs::temp_directory_path() / ("qel-internet-" + std::to_string(std::random_device {}()));
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        if (const char* browser = std::getenv("BROWSER"))
            savedBrowser = browser;
        unsetenv("BROWSER");
        // The program folder (where win.ini is read) is the user folder too.
        previousProgram = qelAppDirectory();
        qelSetAppDirectoryFromPath(qelStringValue((user / "velarim").string().c_str()));
        ui.environment->setGlobal("TempUrlFileName", "VL98.url");
        ui.environment->setGlobal("HtmlFakePageStart", "<a href=\"");
        ui.environment->setGlobal("HtmlFakePageEnd", "\">");
        ui.environment->setGlobal("MsgNoBrowserInstalled", "Sem navegador");
        platform::recordLaunches();
    }
    void TearDown() override
    {
        platform::stopRecordingLaunches();
        if (previousProgram.isString())
            qelSetAppDirectoryFromPath(previousProgram + "/velarim");
        if (!savedBrowser.empty())
            setenv("BROWSER", savedBrowser.c_str(), 1);
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(user);
    }

    std::string fileText(const char* name)
    {
        std::ifstream in(user / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> boxes()
    {
        std::vector<std::string> texts;
        for (const auto& box : ui.headless->messageBoxes())
            texts.push_back(box.text);
        return texts;
    }
    std::string webBrowser()
    {
        qelValue setting = qelGetSetting("WebBrowser");
        return setting.isString() ? qelCString(setting) : "(none)";
    }

    UiFixture ui;
    fs::path user;
    std::string savedBrowser;
    qelValue previousProgram;
};

TEST_F(InternetLauncherTest, TheDesktopOpensTheAddressAndTheShortcutStays)
{
    ui.environment->setSetting("WebBrowser", "/usr/bin/antigo");
    EXPECT_EQ(openInternetPage("http://www.velarim.com.br/a b;c"), 1);
    EXPECT_EQ(platform::recordedLaunches(), std::vector<std::string> { "http://www.velarim.com.br/a b;c" });
    EXPECT_EQ(fileText("VL98.url"), "[InternetShortcut]\nURL=http://www.velarim.com.br/a b;c");
    EXPECT_EQ(webBrowser(), "");
    EXPECT_FALSE(fs::exists(user / "VL97.htm"));
    // The next call writes the shortcut anew.
    EXPECT_EQ(openInternetPage("http://x.example/"), 1);
    EXPECT_EQ(fileText("VL98.url"), "[InternetShortcut]\nURL=http://x.example/");
    // An address that is no string opens nothing.
    EXPECT_EQ(openInternetPage(qelNil), 0);
    EXPECT_EQ(platform::recordedLaunches().size(), 2u);
}

TEST_F(InternetLauncherTest, WithoutTheDesktopTheBrowserIsLookedForInOrderAndGetsTheAddressWhole)
{
    platform::answerRecordedLaunches(false, true);
    // The address with blanks, quotes and shell characters, from a "file:" link.
    const std::string address = "file:/tmp/p\xE1gina \"1\";rm -rf $HOME `x`.htm";
    const std::string argument = "/tmp/p\xC3\xA1gina \"1\";rm -rf $HOME `x`.htm";
    struct Case {
        const char* environmentBrowser; // $BROWSER, or null
        const char* winIni; // the "WEB" entry of win.ini, or null
        const char* setting; // "WebBrowser", or null
        std::string expectedProgram;
    };
    for (const Case& c :
        { Case { "/opt/nav/nav --new-window:lynx", "/opt/ini/nav ^.htm", "/opt/set/nav", "/opt/nav/nav" },
            Case { nullptr, "/opt/ini/nav ^.htm", "/opt/set/nav", "/opt/ini/nav" },
            Case { nullptr, nullptr, "/opt/meu navegador/nav", "/opt/meu navegador/nav" } }) {
        platform::recordLaunches();
        platform::answerRecordedLaunches(false, true);
        if (c.environmentBrowser)
            setenv("BROWSER", c.environmentBrowser, 1);
        else
            unsetenv("BROWSER");
        fs::remove(user / "win.ini");
        if (c.winIni)
            std::ofstream(user / "win.ini") << "[extensions]\r\nweb=" << c.winIni << "\r\n";
        ui.environment->setSetting("WebBrowser", c.setting ? qelValue(c.setting) : qelNil);

        EXPECT_EQ(openInternetPage(qelValue(address.c_str())), 1) << c.expectedProgram;
        EXPECT_EQ(platform::recordedPrograms(), (Programs { { c.expectedProgram, argument } }));
        // The browser that ran is remembered; neither the shortcut nor the local page is left.
        EXPECT_EQ(webBrowser(), c.expectedProgram);
        EXPECT_FALSE(fs::exists(user / "VL98.url"));
        EXPECT_FALSE(fs::exists(user / "VL97.htm"));
    }
    unsetenv("BROWSER");
    EXPECT_TRUE(boxes().empty());
}

TEST_F(InternetLauncherTest, AnExistingLocalPageIsUsedAndRemoved)
{
    platform::answerRecordedLaunches(false, true);
    setenv("BROWSER", "nav", 1);
    std::ofstream(user / "VL97.htm") << "<html>antiga</html>";
    EXPECT_EQ(openInternetPage("http://x.example/"), 1);
    EXPECT_EQ(platform::recordedPrograms(), (Programs { { "nav", "http://x.example/" } }));
    EXPECT_FALSE(fs::exists(user / "VL97.htm"));
    unsetenv("BROWSER");
}

TEST_F(InternetLauncherTest, NoBrowserIsToldAndABrowserThatDoesNotStartIsNot)
{
    platform::answerRecordedLaunches(false, false);
    ui.headless->setScript(std::get<platform::Script>(platform::Script::parse("answer 1\nanswer 1\n")));
    // No browser anywhere, or an empty "WebBrowser" (stored after the desktop last opened a
    // page): the user is told, nothing is started.
    for (qelValue setting : { qelNil, qelEmptyString() }) {
        ui.environment->setSetting("WebBrowser", setting);
        EXPECT_EQ(openInternetPage("http://x.example/"), 0);
    }
    EXPECT_EQ(boxes(), (std::vector<std::string> { "Sem navegador", "Sem navegador" }));
    EXPECT_TRUE(platform::recordedPrograms().empty());
    // A named browser that does not start: 0, no message, and it is not remembered anew.
    ui.environment->setSetting("WebBrowser", "/opt/quebrado/nav");
    setenv("BROWSER", "/opt/outro/nav", 1);
    EXPECT_EQ(openInternetPage("http://x.example/"), 0);
    unsetenv("BROWSER");
    EXPECT_EQ(platform::recordedPrograms(), (Programs { { "/opt/outro/nav", "http://x.example/" } }));
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(webBrowser(), "/opt/quebrado/nav");
    for (const char* left : { "VL98.url", "VL97.htm" })
        EXPECT_FALSE(fs::exists(user / left)) << left;
}

} // namespace
