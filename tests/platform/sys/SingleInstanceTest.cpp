#include "platform/sys/SingleInstance.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;
namespace fs = std::filesystem;

namespace {

struct SingleInstanceTest : ::testing::Test {
    fs::path base = fs::temp_directory_path()
        / ("instance-test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-"
            + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    void SetUp() override
    {
        fs::create_directories(base / "a");
        fs::create_directories(base / "b");
    }
    void TearDown() override { fs::remove_all(base); }
};

} // namespace

TEST_F(SingleInstanceTest, SecondCopyRaisesTheFirstAndStepsAside)
{
    std::atomic<int> raised = 0;
    auto first = std::make_unique<SingleInstance>((base / "a").string(), "VL98");
    ASSERT_TRUE(first->acquire([&] { ++raised; }));

    SingleInstance second((base / "a").string(), "VL98");
    EXPECT_FALSE(second.acquire({}));
    EXPECT_FALSE(second.held());
    // The second copy waits for the first copy's answer, so the request has been handled.
    EXPECT_EQ(raised, 1);

    SingleInstance third((base / "a").string(), "VL98");
    EXPECT_FALSE(third.acquire({}));
    EXPECT_EQ(raised, 2);

    // Once the first copy ends, the next start runs.
    first.reset();
    EXPECT_TRUE(third.acquire({}));
}

TEST_F(SingleInstanceTest, UserFoldersAndNamesAreSeparate)
{
    int raised = 0;
    SingleInstance a((base / "a").string(), "VL98");
    SingleInstance b((base / "b").string(), "VL98");
    SingleInstance other((base / "a").string(), "OTHER");
    EXPECT_TRUE(a.acquire([&] { ++raised; }));
    EXPECT_TRUE(b.acquire([&] { ++raised; }));
    EXPECT_TRUE(other.acquire([&] { ++raised; }));
    EXPECT_EQ(raised, 0);
}
