// The velarim program run headless over a content folder made for the test: the settings files,
// the globals file and a start form; a scripted Alt+F4 ends it.

#include "app/AppHooks.h"
#include "app/Startup.h"
#include "framework/display/AppWindow.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> calls;
qelValue startForm;
qelValue settingsAtSetUp;
qelValue fadeTime;

class RecordingApp : public VelarimStartupApp {
public:
    using VelarimStartupApp::VelarimStartupApp;
    ~RecordingApp() override { calls.push_back("environment deleted"); }
    void registerClasses() override
    {
        calls.push_back("set-up");
        settingsAtSetUp = qelTableOf(settings)->copy();
        VelarimStartupApp::registerClasses();
        fadeTime = qelTableOf(globals)->get("FadeTime");
    }
    void onStart() override
    {
        calls.push_back("start");
        VelarimStartupApp::onStart();
        startForm = activeForm;
    }
    void onKey(int32_t keyCode, int32_t modifiers) override
    {
        calls.push_back("key " + std::to_string(keyCode) + " " + std::to_string(modifiers));
        VelarimStartupApp::onKey(keyCode, modifiers);
    }
    int32_t onQuit() override
    {
        calls.push_back("quit");
        return VelarimStartupApp::onQuit();
    }
    void shutdown() override
    {
        calls.push_back("shut-down");
        VelarimStartupApp::shutdown();
    }
};

class RecordingWindow : public qelWindowBase {
public:
    void onDestroy() override
    {
        calls.push_back("window destroyed");
        qelWindowBase::onDestroy();
    }
};

void writeText(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A content folder: settings files, cursors, the globals file and the start form.
struct Disk {
    Disk()
    {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path()
            / ("velarim-run-" + std::to_string(std::random_device {}()) + "-" + test->name());
        fs::remove_all(root);
        fs::create_directories(root / "Media");
        fs::create_directories(root / "cursors");
        fs::create_directories(root / "user");
        fs::create_directories(root / "shots");
        for (const char* id : { "102", "104" })
            fs::copy_file(fs::path(QEL_TEST_DATA) / "../../fuzz/corpus/cursor/one-bit.cur",
                root / "cursors" / (std::string(id) + ".cur"));
        writeText(
            root / "VL98.ini", "[QELENVIRONMENT]\r\nMediaPath=Media\r\nEventLimit=80\r\nStartupForm=Inicio.frm\r\n");
        writeText(root / "registry.reg",
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Ostrand\\Velarim 98\\1.0\\Preferences]\r\n"
            "\"FromRegistry\"=\"yes\"\r\n\"MediaPath\"=\"Elsewhere\"\r\n");
        // The start form is asked for as "Inicio.frm" and spelled in upper case on the disk.
        writeText(root / "Media" / "INICIO.FRM", "(form (\"Class\" \"qelFormObject\") (\"Name\" \"Startup\"))\n");
        writeText(root / "alt-f4.script", "shot start\nkey alt+F4\n");

        qelValue globalTable = qelTable(4, 100, 75);
        qelTableOf(globalTable)->put("FadeTime", 500);
        std::string globalPath = (root / "Media" / "global.etn").string();
        qelValue stream = qelOpenFileStream(globalPath.c_str(), qelFileStream::Writable | qelFileStream::Create, 0);
        qelEncode(stream, globalTable);
        qelStreamFlush(stream);
        ::setenv("VELARIM_USER_DIR", (root / "user").c_str(), 1);
    }
    ~Disk() { fs::remove_all(root); }

    fs::path root;
};

void createRecordingApp(const qelValue& commandLine)
{
    velarimRunApplication(new RecordingApp(commandLine));
}

} // namespace

TEST(VelarimRun, StartOpensTheStartFormAndAltF4EndsTheRunInOrder)
{
    Disk disk;
    velarimNameProgram();
    velarimInstallServices();
    qelSetWindowMaker([]() -> qelWindowBase* { return new RecordingWindow; });
    qelAppHooks hooks = velarimHooks();
    hooks.CreateApplication = createRecordingApp;
    std::string diskArg = disk.root.string();
    std::string script = (disk.root / "alt-f4.script").string();
    std::string screens = (disk.root / "shots").string();
    std::vector<std::string> args { "velarim", "--headless", "--disk", diskArg, "--script", script, "--screens",
        screens };
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());

    velarimOptions options;
    ASSERT_TRUE(velarimParseOptions(int(argv.size()), argv.data(), options));
    ASSERT_EQ(velarimRun(options, hooks), 0);

    EXPECT_EQ(calls,
        (std::vector<std::string> {
            "set-up", "start", "key 262144 4", "quit", "shut-down", "window destroyed", "environment deleted" }));

    // The settings files were read from the content folder, the ini over the registry.
    qelTableObject* settings = qelTableOf(settingsAtSetUp);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->get("FromRegistry") == "yes");
    EXPECT_TRUE(settings->get("MediaPath") == "Media");
    EXPECT_TRUE(settings->get("SourceDisk") == diskArg.c_str());
    EXPECT_TRUE(fadeTime == 500);

    // The start form came from the content folder's media folder.
    ASSERT_EQ(startForm.type(), QEL_FORM_TYPE);
    qelEncodedFields fields;
    ASSERT_TRUE(qelFieldsOf(startForm, fields));
    EXPECT_TRUE(qelTableOf(fields.values[0])->get("Name") == "Startup");
    EXPECT_TRUE(fs::exists(disk.root / "shots" / "start.png"));
    startForm = qelNil;
    settingsAtSetUp = qelNil;
    qelSetWindowMaker(nullptr);
}

TEST(VelarimRun, TheProgramRunsAScriptOverADiskAndExitsNormally)
{
    Disk disk;
    // The leak checker skips only the cache the font configuration library keeps until exit.
    std::string command = "LSAN_OPTIONS=suppressions='" + std::string(QEL_TEST_DATA) + "/../lsan.supp' "
        + std::string(QEL_BUILD_DIR)
        + "/bin/velarim --headless --disk '" + disk.root.string() + "' --script '"
        + (disk.root / "alt-f4.script").string() + "' --screens '" + (disk.root / "shots").string() + "' 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::exists(disk.root / "shots" / "start.png"));
}

TEST(VelarimRun, HelpListsTheOptions)
{
    std::string command = std::string(QEL_BUILD_DIR) + "/bin/velarim --help";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char chunk[256];
    while (size_t n = std::fread(chunk, 1, sizeof chunk, pipe))
        output.append(chunk, n);
    EXPECT_EQ(::pclose(pipe), 0);
    for (const char* option : { "--headless", "--disk", "--script", "--screens" })
        EXPECT_NE(output.find(option), std::string::npos) << option;
}
