// The record library tests' scratch folder: named for the process that made it, so that two test
// programs running at once (or the same tests of two build trees) never clear or write each
// other's files, distinct for every folder one test makes, and gone once the test is done.

#include "RecDbTestSupport.h"

#include "platform/sys/ProcessId.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using recdbtest::ScratchDir;

TEST(ScratchDir, NamedForItsProcessDistinctAndRemovedAfterUse)
{
    const std::string process = "_" + std::to_string(platform::processId()) + "_";
    std::filesystem::path first;
    std::filesystem::path second;
    {
        ScratchDir a;
        ScratchDir b;
        first = a.folder();
        second = b.folder();
        EXPECT_NE(first.filename().string().find(process), std::string::npos) << first;
        EXPECT_NE(first, second);
        EXPECT_TRUE(std::filesystem::is_directory(first));
        EXPECT_TRUE(std::filesystem::is_directory(second));
    }
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_FALSE(std::filesystem::exists(second));
}
