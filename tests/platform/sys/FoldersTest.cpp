#include "platform/sys/Folders.h"
#include "platform/sys/ProgramName.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
namespace fs = std::filesystem;

TEST(Folders, ProgramFolderHoldsTheRunningProgram)
{
    std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(fs::exists(fs::path(folder) / "platform_sys_FoldersTest"));
}

TEST(Folders, UserFolderChoice)
{
    fs::path base = fs::temp_directory_path()
        / ("folders-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    // The variable and the data folder's name come from the program's name.
    setProgramName("velarim");
    EXPECT_EQ(userFolderVariable(), "VELARIM_USER_DIR");

    // The variable wins and its folder is made.
    ::setenv(userFolderVariable().c_str(), (base / "user/").c_str(), 1);
    EXPECT_EQ(userFolder(), (base / "user").string());
    EXPECT_TRUE(fs::is_directory(base / "user"));

    // Without it: the XDG data folder, even when the program's folder could be written.
    ::unsetenv(userFolderVariable().c_str());
    ::setenv("XDG_DATA_HOME", (base / "data").c_str(), 1);
    EXPECT_EQ(userFolder(), (base / "data/velarim").string());
    EXPECT_TRUE(fs::is_directory(base / "data/velarim"));
    fs::remove_all(base);
}
