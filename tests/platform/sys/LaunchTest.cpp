// Launches while recording: nothing is started, each target is kept in order and written as an
// "open" line to the record file, and an empty target is refused.

#include "platform/sys/Launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

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
