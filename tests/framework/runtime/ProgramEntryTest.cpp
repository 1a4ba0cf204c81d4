#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Folders.h"
#include "platform/sys/SingleInstance.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowSystem.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// What the application saw of its run.
struct Run {
    int created = 0;
    std::vector<std::string> words;
    std::string folder;
    int second = -1; // exit status of a copy started during the run
    int raises = 0;
    bool deleted = false;
};
Run run;
std::vector<std::string> secondWords;
bool secondRun = false;

qelEntryParams headless(std::vector<std::string> words, std::string folder = {})
{
    qelEntryParams params;
    params.programFolder = std::move(folder);
    params.words = std::move(words);
    params.makeBackend = [] { return std::make_unique<platform::HeadlessBackend>(platform::HeadlessBackend::Options {}); };
    return params;
}

class RecordingEnvironment : public qelEnvironmentBase {
public:
    ~RecordingEnvironment() override { run.deleted = true; }
};

qelValue version()
{
    return "1.0";
}
qelValue title()
{
    return "Velarim 98";
}
qelValue otherTitle()
{
    return "Outro";
}
qelValue shortName()
{
    return "VL98";
}

const qelAppHooks* currentHooks = nullptr;

void createApplication(const qelValue& commandLine)
{
    ++run.created;
    for (int32_t i = 0; i < qelCount(commandLine); ++i)
        run.words.emplace_back(qelCString(qelGet(commandLine, i)));
    run.folder = qelCString(qelAppDirectory());
    (new RecordingEnvironment())->makeCurrent();
    if (secondRun) {
        run.second = qelMain(headless(secondWords), *currentHooks);
        // The request reached this copy's back end; the next wait takes it.
        qelWait(10);
        run.raises = static_cast<platform::HeadlessBackend&>(qelWindowSystem()->backend()).raiseCount();
    }
}

const qelAppHooks hooks { version, title, shortName, createApplication };
const qelAppHooks otherHooks { version, otherTitle, shortName, createApplication };

// Gives each test its own user folder, where the single-instance lock lives.
struct UserFolder {
    explicit UserFolder(const char* name)
    {
        std::filesystem::path path = std::filesystem::path(testing::TempDir()) / name;
        std::filesystem::create_directories(path);
        setenv(platform::userFolderVariable().c_str(), path.c_str(), 1);
        run = Run {};
        secondRun = false;
        secondWords.clear();
    }
    ~UserFolder() { unsetenv(platform::userFolderVariable().c_str()); }
};

int runMain(const qelEntryParams& params, const qelAppHooks& with = hooks)
{
    currentHooks = &with;
    return qelMain(params, with);
}

TEST(ProgramEntry, CommandLineBecomesAListOfWordsSplitAtEveryBlank)
{
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> words;
    };
    for (const Case& c : {
             Case { {}, {} },
             Case { { "Agenda" }, { "Agenda" } },
             Case { { "a", "", "b" }, { "a", "", "b" } },
             Case { { "x y" }, { "x", "y" } },
         }) {
        UserFolder folder("entry-words");
        EXPECT_EQ(runMain(headless(c.args)), 0);
        EXPECT_EQ(run.created, 1);
        EXPECT_EQ(run.words, c.words);
        // After the run the environment is deleted and the title and folder are forgotten.
        EXPECT_TRUE(run.deleted);
        EXPECT_EQ(qelCurrentEnvironment(), nullptr);
        EXPECT_TRUE(qelAppTitle().isNil());
        EXPECT_TRUE(qelAppDirectory().isNil());
        EXPECT_EQ(qelWindowSystem(), nullptr);
    }
}

TEST(ProgramEntry, TheGivenFolderIsTheProgramFolder)
{
    UserFolder folder("entry-disk");
    EXPECT_EQ(runMain(headless({}, "/srv/disk")), 0);
    EXPECT_EQ(run.folder, "/srv/disk");
}

TEST(ProgramEntry, ABackEndThatCannotStartEndsWithStatusOne)
{
    UserFolder folder("entry-options");
    qelEntryParams failing;
    failing.makeBackend = [] { return std::unique_ptr<platform::Backend>(); };
    EXPECT_EQ(runMain(failing), 1);
    EXPECT_EQ(runMain(qelEntryParams {}), 1);
    EXPECT_EQ(run.created, 0);
    EXPECT_EQ(qelWindowSystem(), nullptr);
}

TEST(ProgramEntry, ASecondCopyAsksTheFirstToRaiseItsWindowAndEndsAtOnce)
{
    UserFolder folder("entry-second");
    secondRun = true;
    secondWords = { "Agenda" };
    EXPECT_EQ(runMain(headless({})), 0);
    EXPECT_EQ(run.created, 1); // the second copy created nothing
    EXPECT_EQ(run.second, 0);
    EXPECT_EQ(run.raises, 1);
}

TEST(ProgramEntry, ACopyWithAnotherTitleDoesNotBlock)
{
    UserFolder folder("entry-titles");
    platform::SingleInstance other(platform::userFolder(), "Outro");
    ASSERT_TRUE(other.acquire([] {}));
    EXPECT_EQ(runMain(headless({})), 0);
    EXPECT_EQ(run.created, 1);
    EXPECT_EQ(runMain(headless({}), otherHooks), 0);
    EXPECT_EQ(run.created, 1);
}

class FailingEnvironment : public qelEnvironmentBase {
public:
    ~FailingEnvironment() override
    {
        std::fputs("environment deleted\n", stderr);
        // A failure while the environment goes away calls the fatal hook again.
        qelEntryFatalHook(-1);
    }
};

TEST(ProgramEntry, FatalHookDeletesTheEnvironmentOnceAndExitsWithMinusOne)
{
    EXPECT_EXIT(
        {
            (new FailingEnvironment())->makeCurrent();
            qelEntryFatalHook(-1);
        },
        testing::ExitedWithCode(255), "environment deleted\n\n\\[Exiting abnormally...\\]");
}

TEST(ProgramEntry, DateTimeBreaksTheLocalTimeDown)
{
    // Brazil's old daylight-saving rule, written out so that no time-zone files are needed.
    setenv("TZ", "BRT3BRST,M10.3.0/0,M2.3.0/0", 1);
    qelValue january = qelDateTime(1579089600); // 2020-01-15 12:00 UTC
    EXPECT_EQ(qelGet(january, qelValue("Month")), 0);
    EXPECT_EQ(qelGet(january, qelValue("Year")), 2020);
    EXPECT_EQ(qelGet(january, qelValue("Day")), 15);
    EXPECT_EQ(qelGet(january, qelValue("Hours")), 10);
    EXPECT_EQ(qelGet(january, qelValue("Day of Week")), 3);
    EXPECT_EQ(qelGet(january, qelValue("Day of Year")), 14);
    EXPECT_EQ(qelGet(january, qelValue("Daylight Savings Time")), qelTrue);
    qelValue july = qelDateTime(1594814400); // 2020-07-15 12:00 UTC
    EXPECT_EQ(qelGet(july, qelValue("Month")), 6);
    EXPECT_EQ(qelGet(july, qelValue("Hours")), 9);
    EXPECT_EQ(qelGet(july, qelValue("Daylight Savings Time")), qelFalse);
    unsetenv("TZ");
}

} // namespace
