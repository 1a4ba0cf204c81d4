// Launches: while recording nothing is started, each launch is kept in order and written as a line
// to the record file, and an empty target is refused; outside recording a program counts as
// started only when it really runs.

#include "platform/sys/Launch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <utility>

TEST(Launch, RecordingKeepsTheTargetsInsteadOfOpeningThem)
{
    std::filesystem::path file
        = std::filesystem::temp_directory_path() / ("launches-" + std::to_string(std::random_device {}()) + ".txt");
    platform::recordLaunches(file.string());
    EXPECT_TRUE(platform::openWithDesktop("/disk/VL98.html"));
    EXPECT_TRUE(platform::openWithDesktop("http://example.com/a b;c"));
    EXPECT_FALSE(platform::openWithDesktop(""));
    EXPECT_EQ(
        platform::recordedLaunches(), (std::vector<std::string> { "/disk/VL98.html", "http://example.com/a b;c" }));
    platform::stopRecordingLaunches();
    EXPECT_FALSE(platform::recordingLaunches());

    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str(), "open /disk/VL98.html\nopen http://example.com/a b;c\n");
    std::filesystem::remove(file);
}

TEST(Launch, RecordedProgramsKeepEachArgumentWholeAndAnswerAsAsked)
{
    std::filesystem::path file
        = std::filesystem::temp_directory_path() / ("programs-" + std::to_string(std::random_device {}()) + ".txt");
    platform::recordLaunches(file.string());
    const std::vector<std::string> browser { "/opt/my browser/run", "http://x.example/a b?q=\"1\";rm -rf $HOME\\" };
    EXPECT_TRUE(platform::startProgram(browser, "/opt/my browser"));
    // A refused start is still recorded: the caller's fallback is what a test looks at.
    platform::answerRecordedLaunches(false, false);
    EXPECT_FALSE(platform::openWithDesktop("http://x.example/"));
    EXPECT_FALSE(platform::startProgram({ "navegador" }));
    EXPECT_FALSE(platform::startProgram({}));
    EXPECT_EQ(platform::recordedPrograms(), (std::vector<std::vector<std::string>> { browser, { "navegador" } }));
    EXPECT_EQ(platform::recordedLaunches(), (std::vector<std::string> { "http://x.example/" }));
    // Recording anew answers success again and forgets what was recorded.
    platform::recordLaunches();
    EXPECT_TRUE(platform::openWithDesktop("a"));
    EXPECT_EQ(platform::recordedPrograms().size(), 0u);
    platform::stopRecordingLaunches();

    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str(),
        "start \"/opt/my browser/run\" \"http://x.example/a b?q=\\\"1\\\";rm -rf $HOME\\\\\"\n"
        "open http://x.example/\n"
        "start \"navegador\"\n");
    std::filesystem::remove(file);
}

TEST(Launch, AProgramIsReportedStartedOnlyWhenItRuns)
{
    ASSERT_FALSE(platform::recordingLaunches());
    EXPECT_TRUE(platform::startProgram({ "true" }));
    EXPECT_TRUE(platform::startProgram({ "true", "two words", "'quoted'" }, "/"));
    EXPECT_FALSE(platform::startProgram({ "/nonexistent/velarim-browser", "http://x.example/" }));
    EXPECT_FALSE(platform::startProgram({ "true" }, "/nonexistent/folder"));
    EXPECT_FALSE(platform::startProgram({ "" }));
}

TEST(Launch, ThePreferredBrowserIsTheFirstProgramOfBROWSER)
{
    const char* saved = std::getenv("BROWSER");
    std::string previous = saved ? saved : "";
    for (auto [value, expected] : { std::pair { "firefox", "firefox" },
             std::pair { "/usr/bin/lynx -dump:w3m", "/usr/bin/lynx" }, std::pair { "", "" } }) {
        setenv("BROWSER", value, 1);
        EXPECT_EQ(platform::preferredBrowser(), expected) << value;
    }
    unsetenv("BROWSER");
    EXPECT_EQ(platform::preferredBrowser(), "");
    if (saved)
        setenv("BROWSER", previous.c_str(), 1);
}
